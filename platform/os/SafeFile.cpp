#include "platform/os/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kNewSuffix = ".new";  // then the process id, '-' and a count

std::string ResolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// A new file beside `target`, created exclusively so that nothing else is ever overwritten; the
// mode is narrowed by the umask as for any new file. Returns the descriptor, or -1 with errno set.
int CreateBeside(const std::string& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + kNewSuffix + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Whether `name` is `prefix` followed by "<process id>-<count>", as CreateBeside names its files.
bool IsNewFileName(const char* name, const std::string& prefix, pid_t& pid) {
    if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0) {
        return false;
    }
    const char* p = name + prefix.size();
    long long id = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9' && digits < 10; ++p, ++digits) {
        id = id * 10 + (*p - '0');
    }
    if (digits == 0 || *p++ != '-' || *p == '\0') {
        return false;
    }
    for (; *p >= '0' && *p <= '9'; ++p) {
    }
    pid = static_cast<pid_t>(id);
    return *p == '\0' && id > 0 && id <= INT_MAX;
}

// Removes the new files of earlier saves of `target` whose process is gone: a save that was killed
// part-way leaves its new file behind. Files of a running process (this one included) may belong
// to a save in progress and stay; so do files that are not ours to remove.
void RemoveLeftovers(const std::string& target) {
    const size_t slash = target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
    const std::string prefix =
        target.substr(slash == std::string::npos ? 0 : slash + 1) + kNewSuffix;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        pid_t pid = 0;
        if (!IsNewFileName(entry->d_name, prefix, pid) || pid == ::getpid() ||
            ::kill(pid, 0) == 0 || errno != ESRCH) {
            continue;
        }
        struct stat st = {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid()) {
            ::unlinkat(fd, entry->d_name, 0);
        }
    }
    ::closedir(dir);
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
    RemoveLeftovers(target);

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
