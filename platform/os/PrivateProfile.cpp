#include "platform/os/PrivateProfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/os/ProfileText.h"
#include "platform/os/SafeFile.h"
#include "platform/os/TimeService.h"

namespace {

// A larger file is refused rather than read into memory.
constexpr off_t kMaxProfileBytes = kMaxPrivateProfileBytes;
// How long a file counts as unchanged since it was last looked at. A save or open is thousands of
// calls in a row, and looking at the file costs more than the call itself; a flush always looks.
constexpr LONGLONG kRecheckMs = 10;

// Milliseconds on the time service's clock, so that a test decides when a recheck is due.
LONGLONG NowMs() {
    LONGLONG counter = 0;
    LONGLONG frequency = 1;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter / frequency * 1000 + counter % frequency * 1000 / frequency;
}

// What tells a file that someone else changed from the one that was read.
struct Signature {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};

    static Signature Of(const struct stat& st) {
        return Signature{true, st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    }
    bool operator==(const Signature& o) const {
        return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size &&
               mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec &&
               ctime.tv_sec == o.ctime.tv_sec && ctime.tv_nsec == o.ctime.tv_nsec;
    }
    bool operator!=(const Signature& o) const { return !(*this == o); }
};

Signature SignatureOf(const std::string& path) {
    struct stat st = {};
    return ::stat(path.c_str(), &st) == 0 ? Signature::Of(st) : Signature{};
}

// A missing file reads as an empty one. Returns 0 or an errno.
int ReadProfileFile(const std::string& path, std::string& bytes, Signature& signature) {
    bytes.clear();
    signature = Signature{};
    // Non-blocking, so that a pipe chosen by mistake cannot hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? 0 : errno;
    }
    struct stat st = {};
    int error = 0;
    if (::fstat(fd, &st) != 0) {
        error = errno;
    } else if (!S_ISREG(st.st_mode)) {
        error = NotARegularFileError(st.st_mode);
    } else if (st.st_size > kMaxProfileBytes) {
        error = EFBIG;
    }
    char chunk[65536];
    while (error == 0) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = errno;
        } else if (n == 0) {
            break;
        } else if (bytes.size() + static_cast<size_t>(n) > static_cast<size_t>(kMaxProfileBytes)) {
            error = EFBIG;  // it grew while being read
        } else {
            bytes.append(chunk, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    if (error == 0) {
        signature = Signature::Of(st);
    }
    return error;
}

struct Write {
    std::string section, key, value;
};

struct Entry {
    bool loaded = false;
    ProfileText text;
    Signature signature;
    LONGLONG checkedMs = 0;
    // Every write since the last flush, in call order: applied again to a file that changed.
    std::vector<Write> writes;
    bool changed = false;  // the held text differs from the file
    int error = 0;         // the first write since the last flush that could not read the file
};

class ProfileCache {
public:
    ~ProfileCache() {
        for (auto& [path, entry] : m_entries) {
            Save(path, entry);
        }
    }

    std::mutex& Lock() { return m_mutex; }

    // The entry of the file, read again when the file is not the one that was read. Null when
    // the file cannot be read (the failure is in `error`).
    Entry* Current(const std::string& path, int& error) {
        auto it = m_entries.find(path);
        if (it == m_entries.end()) {
            // Only files with writes or failures to flush need to stay besides this one.
            for (auto e = m_entries.begin(); e != m_entries.end();) {
                e = (e->second.writes.empty() && e->second.error == 0) ? m_entries.erase(e)
                                                                       : std::next(e);
            }
            it = m_entries.try_emplace(path).first;
        }
        Entry& entry = it->second;
        error = Refresh(path, entry);
        return error == 0 ? &entry : nullptr;
    }

    Entry* Find(const std::string& path) {
        const auto it = m_entries.find(path);
        return it == m_entries.end() ? nullptr : &it->second;
    }

    void Forget(const std::string& path) { m_entries.erase(path); }

    // Writes the file when the writes since the last flush changed it; returns 0 or an errno. A
    // write that could not read the file is missing from what is held: the held text is then not
    // written at all rather than written without it.
    static int Save(const std::string& path, Entry& entry) {
        if (entry.error != 0) {
            return entry.error;
        }
        if (entry.writes.empty()) {
            return 0;
        }
        int error = Refresh(path, entry, true);
        if (error == 0 && entry.changed) {
            error = WriteFileSafely(path, entry.text.Text());
            if (error == 0) {
                entry.signature = SignatureOf(path);
                entry.checkedMs = NowMs();
            }
        }
        if (error == 0) {
            entry.writes.clear();
            entry.changed = false;
        }
        return error;
    }

private:
    static void Apply(Entry& entry, const Write& write) {
        entry.changed |= entry.text.Set(write.section, write.key, write.value) ==
                         ProfileText::SetResult::Changed;
    }

    static int Refresh(const std::string& path, Entry& entry, bool always = false) {
        const LONGLONG now = NowMs();
        if (entry.loaded && !always && now - entry.checkedMs < kRecheckMs) {
            return 0;
        }
        entry.checkedMs = now;
        if (entry.loaded && SignatureOf(path) == entry.signature) {
            return 0;
        }
        std::string bytes;
        Signature signature;
        const int error = ReadProfileFile(path, bytes, signature);
        entry.loaded = error == 0;
        if (error != 0) {
            return error;
        }
        entry.text.Load(bytes);
        entry.signature = signature;
        entry.changed = false;
        for (const Write& write : entry.writes) {
            Apply(entry, write);
        }
        return 0;
    }

    std::mutex m_mutex;
    std::map<std::string, Entry> m_entries;
};

ProfileCache& Cache() {
    static ProfileCache cache;
    return cache;
}

DWORD CopyOut(std::string_view text, char* out, DWORD size) {
    if (out == nullptr || size == 0) {
        return 0;
    }
    const size_t count = std::min<size_t>(text.size(), size - 1);
    std::memcpy(out, text.data(), count);
    out[count] = '\0';
    return static_cast<DWORD>(count);
}

}  // namespace

DWORD GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultValue,
                               char* returnedString, DWORD size, const char* fileName) {
    if (appName != nullptr && keyName != nullptr && fileName != nullptr) {
        ProfileCache& cache = Cache();
        std::lock_guard<std::mutex> lock(cache.Lock());
        int error = 0;
        if (const Entry* entry = cache.Current(fileName, error)) {
            if (const auto value = entry->text.Find(appName, keyName)) {
                return CopyOut(*value, returnedString, size);
            }
        }
    }
    std::string_view fallback = defaultValue ? defaultValue : "";
    const size_t length = fallback.find_last_not_of(' ');  // spaces only: a tab stays
    fallback = fallback.substr(0, length == std::string_view::npos ? 0 : length + 1);
    return CopyOut(UnquoteProfileValue(fallback), returnedString, size);
}

BOOL WritePrivateProfileStringA(const char* appName, const char* keyName, const char* string,
                                const char* fileName) {
    if (fileName != nullptr && appName == nullptr && keyName == nullptr && string == nullptr) {
        const int error = FlushPrivateProfile(fileName);
        errno = error;
        return error == 0 ? TRUE : FALSE;
    }
    if (fileName == nullptr || appName == nullptr || keyName == nullptr || string == nullptr) {
        errno = EINVAL;
        return FALSE;
    }
    ProfileCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.Lock());
    int error = 0;
    Entry* entry = cache.Current(fileName, error);
    if (entry == nullptr) {
        // Nothing is written over a file that could not be read; the flush reports it.
        if (Entry* failed = cache.Find(fileName); failed && failed->error == 0) {
            failed->error = error;
        }
        errno = error;
        return FALSE;
    }
    const Write write{appName, keyName, string};
    const ProfileText::SetResult result = entry->text.Set(write.section, write.key, write.value);
    if (result == ProfileText::SetResult::Refused) {
        errno = EINVAL;
        return FALSE;
    }
    entry->changed |= result == ProfileText::SetResult::Changed;
    entry->writes.push_back(write);
    return TRUE;
}

int FlushPrivateProfile(const char* fileName) {
    if (fileName == nullptr) {
        return EINVAL;
    }
    ProfileCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.Lock());
    Entry* entry = cache.Find(fileName);
    if (entry == nullptr) {
        return 0;
    }
    const int error = ProfileCache::Save(fileName, *entry);
    if (error != 0) {
        cache.Forget(fileName);  // later calls see the file as it is on disk
    }
    return error;
}

void DiscardPrivateProfile(const char* fileName) {
    if (fileName == nullptr) {
        return;
    }
    ProfileCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.Lock());
    cache.Forget(fileName);
}
