#include "platform/os/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

std::string ResolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// A new file beside `target`, created exclusively so that nothing else is ever overwritten; the
// mode is narrowed by the umask as for any new file. Returns the descriptor, or -1 with errno set.
int CreateBeside(const std::string& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + ".new" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
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

}  // namespace

int WriteFileSafely(const std::string& path, const std::string& contents) {
    const std::string target = ResolvedTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        return EISDIR;
    }
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return errno;
    }

    std::string temporary;
    const int fd = CreateBeside(target, temporary);
    if (fd < 0) {
        return errno;
    }
    int error = 0;
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = WriteAll(fd, contents);
    }
    // The contents reach the disk before the name does, so a crash leaves the old file or the new.
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
    }
    return error;
}
