#include "platform/os/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

constexpr const char* kMark = ".~brenvo-";
constexpr std::size_t kRandomDigits = 16;
constexpr std::size_t kMaxName = NAME_MAX;
constexpr time_t kLeftoverAgeSeconds = 60 * 60;
constexpr int kNameAttempts = 100;

std::mutex g_testingMutex;
std::function<void(const std::string&)> g_step;
std::atomic<bool> g_unnamedAllowed{true};

std::string ResolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// Where the target's new files go, and how their names begin.
struct Place {
    std::string folder;
    std::string prefix;  // "." + the target's name, cut so that a whole name fits, + the mark

    explicit Place(const std::string& target) {
        const std::size_t slash = target.rfind('/');
        folder = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
        std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
        const std::size_t room = kMaxName - 1 - std::strlen(kMark) - kRandomDigits;
        prefix = "." + name.substr(0, room) + kMark;
    }
    std::string PathOf(const std::string& name) const { return folder + "/" + name; }
};

// 16 random hex digits; the kernel's generator, else the clock, the process and a count (a clash
// only costs another attempt: names are always created exclusively).
std::string RandomPart() {
    std::uint64_t value = 0;
    if (::getrandom(&value, sizeof value, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof value)) {
        static std::atomic<std::uint64_t> count{0};
        timespec t{};
        ::clock_gettime(CLOCK_REALTIME, &t);
        value = (static_cast<std::uint64_t>(t.tv_nsec) << 20) ^
                static_cast<std::uint64_t>(t.tv_sec) ^
                (static_cast<std::uint64_t>(::getpid()) << 40) ^ (count++ * 0x9E3779B97F4A7C15ULL);
    }
    static const char kHex[] = "0123456789abcdef";
    std::string digits(kRandomDigits, '0');
    for (std::size_t i = 0; i < kRandomDigits; ++i, value >>= 4) {
        digits[i] = kHex[value & 0xF];
    }
    return digits;
}

// Whether `name` is one that a save of this target gives its new file.
bool IsNewFileName(const char* name, const std::string& prefix) {
    if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0) {
        return false;
    }
    const char* p = name + prefix.size();
    std::size_t digits = 0;
    for (; (*p >= '0' && *p <= '9') || (*p >= 'a' && *p <= 'f'); ++p) {
        ++digits;
    }
    return *p == '\0' && digits == kRandomDigits;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes `name` when it is certainly a new file whose save died: a regular file of this user
// with one link, unchanged for long by `now` (the file system's clock), whose lock nobody holds.
void RemoveIfDead(int folder, const char* name, const timespec& now) {
    struct stat seen = {};
    if (::fstatat(folder, name, &seen, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(seen.st_mode)) {
        return;
    }
    // Read and write: a lock over a network file system needs a descriptor that may write.
    const int fd = ::openat(folder, name, O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat st = {};
    if (::fstat(fd, &st) == 0 && SameFile(st, seen) && S_ISREG(st.st_mode) &&
        st.st_uid == ::geteuid() && st.st_nlink == 1 &&
        now.tv_sec - st.st_mtim.tv_sec >= kLeftoverAgeSeconds &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // Still the file that was judged: its name is removed only while it names this file.
        struct stat again = {};
        if (::fstatat(folder, name, &again, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(again, st)) {
            ::unlinkat(folder, name, 0);
        }
    }
    ::close(fd);
}

// Removes the new files of earlier saves of this target that died part-way; `ownName` is this
// save's. `now` is the time stamp of this save's new file.
void RemoveLeftovers(const Place& place, const std::string& ownName, const timespec& now) {
    DIR* dir = ::opendir(place.folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (IsNewFileName(entry->d_name, place.prefix) && ownName != entry->d_name) {
            RemoveIfDead(::dirfd(dir), entry->d_name, now);
        }
    }
    ::closedir(dir);
}

// A new file with a name of its own, created exclusively so that nothing else is ever
// overwritten. Returns the descriptor, or -1 with errno set.
int CreateNamed(const Place& place, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = place.prefix + RandomPart();
        const int fd = ::open(place.PathOf(name).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Gives the unnamed file `fd` a new file's name. 0, EEXIST after every attempt, or the errno of
// a file system or system without the means.
int NameUnnamed(int fd, const Place& place, std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = place.prefix + RandomPart();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, place.PathOf(name).c_str(),
                     AT_SYMLINK_FOLLOW) == 0) {
            return 0;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    const int error = errno;
    name.clear();
    return error;
}

int WriteAll(int fd, const std::string& contents) {
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

void RunTestingStep(const std::string& newFile) {
    std::function<void(const std::string&)> step;
    {
        std::lock_guard<std::mutex> lock(g_testingMutex);
        step = g_step;
    }
    if (step) {
        step(newFile);
    }
}

enum class Outcome { Done, NoUnnamedFile };

// One save through a new file that is unnamed until complete (`unnamed`) or named from the start.
// NoUnnamedFile: the file system or the system offers no unnamed file; nothing was changed.
Outcome Save(const std::string& target, const std::string& contents, const struct stat* old,
             bool unnamed, int& error) {
    const Place place(target);
    std::string name;
    const int fd = unnamed ? ::open(place.folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)
                           : CreateNamed(place, name);
    if (fd < 0) {
        error = errno;
        return unnamed && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
                   ? Outcome::NoUnnamedFile
                   : Outcome::Done;
    }
    // Held until the target is replaced: the clean-up of other saves leaves a locked file alone.
    // A file system without locks is no failure; the age rule then guards the file.
    ::flock(fd, LOCK_EX | LOCK_NB);
    struct stat created = {};
    error = ::fstat(fd, &created) != 0 ? errno : 0;
    if (error == 0) {
        RemoveLeftovers(place, name, created.st_mtim);
    }
    if (error == 0 && old != nullptr && ::fchmod(fd, old->st_mode & 07777) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = WriteAll(fd, contents);
    }
    // The contents reach the disk before the name does, so a crash leaves the old file or the new.
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (error == 0 && unnamed) {
        error = NameUnnamed(fd, place, name);
        if (error != 0 && error != EEXIST) {
            ::close(fd);
            return Outcome::NoUnnamedFile;  // e.g. no /proc: the named way still works
        }
    }
    if (error == 0) {
        RunTestingStep(place.PathOf(name));
        if (::rename(place.PathOf(name).c_str(), target.c_str()) != 0) {
            error = errno;
        }
    }
    if (error != 0 && !name.empty()) {
        ::unlink(place.PathOf(name).c_str());
    }
    // After fsync the contents are on the disk: the close has nothing left to lose.
    ::close(fd);
    return Outcome::Done;
}

}  // namespace

int NotARegularFileError(mode_t mode) {
    if (S_ISDIR(mode)) {
        return EISDIR;
    }
    return S_ISFIFO(mode) || S_ISSOCK(mode) ? kErrorTargetIsPipe : kErrorTargetIsDevice;
}

const char* FileErrorText(int error) {
    switch (error) {
        case kErrorTargetIsPipe:
            return "Is a pipe";
        case kErrorTargetIsDevice:
            return "Is a device";
        default:
            return std::strerror(error);
    }
}

int WriteFileSafely(const std::string& path, const std::string& contents) {
    const std::string target = ResolvedTarget(path);
    struct stat old = {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        return NotARegularFileError(old.st_mode);
    }
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return errno;
    }
    int error = 0;
    if (!g_unnamedAllowed.load(std::memory_order_relaxed) ||
        Save(target, contents, exists ? &old : nullptr, true, error) == Outcome::NoUnnamedFile) {
        Save(target, contents, exists ? &old : nullptr, false, error);
    }
    return error;
}

void SetSafeSaveStepForTesting(std::function<void(const std::string& newFile)> step) {
    std::lock_guard<std::mutex> lock(g_testingMutex);
    g_step = std::move(step);
}

void SetUnnamedNewFilesForTesting(bool allowed) {
    g_unnamedAllowed.store(allowed, std::memory_order_relaxed);
}
