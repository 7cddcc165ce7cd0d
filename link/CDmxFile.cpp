#include "link/CDmxFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <new>

namespace {

// Closes the descriptor on every way out of Load.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

CDmxFile::~CDmxFile() {
    Release();
}

bool CDmxFile::Load(CString path) {
    bool tooLarge = false;
    return Load(path, INT_MAX, tooLarge);
}

bool CDmxFile::Load(CString path, LONG maxSize, bool& tooLarge) {
    tooLarge = false;
    m_strPath = path;
    m_nSize = 0;
    Release();
    // Non-blocking, so that a named pipe cannot hold the open; only a regular file is read.
    FileDescriptor file(::open(path.GetString(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    struct stat info = {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > INT_MAX) {
        return false;
    }
    // Judged on the file that was opened, not on whatever the path named a moment before.
    if (info.st_size > maxSize) {
        tooLarge = true;
        return false;
    }
    const auto size = static_cast<LONG>(info.st_size);
    std::unique_ptr<char[]> data(new (std::nothrow) char[size > 0 ? size : 1]);
    if (!data) {
        return false;
    }
    LONG done = 0;
    while (done < size) {
        const ssize_t got = ::read(file.Get(), data.get() + done, static_cast<size_t>(size - done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;  // a read error, or the file shrank meanwhile
        }
        done += static_cast<LONG>(got);
    }
    m_pData = std::move(data);
    m_nSize = size;
    return true;
}

bool CDmxFile::Release() {
    const bool had = m_pData != nullptr;
    m_pData.reset();
    m_nSize = 0;  // GetAt has nothing left to reach
    return had;
}
