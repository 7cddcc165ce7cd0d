#include "platform/os/EmulatedPortFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

// The files beside a published link.
constexpr char kDescriptionSuffix[] = ".description";
constexpr char kSerialSuffix[] = ".serial";

// A folder we may trust: ours, and no one else may add or replace entries in it.
bool IsPrivateFolder(int fd) {
    struct stat st = {};
    return fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

int OpenSubfolder(int parentFd, const char* name, bool create) {
    if (create && mkdirat(parentFd, name, 0700) != 0 && errno != EEXIST) {
        return -1;
    }
    return openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool IsPtyTarget(const std::string& target) {
    static const std::string prefix = "/dev/pts/";
    if (target.size() <= prefix.size() || target.size() > prefix.size() + 9 ||
        target.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (size_t i = prefix.size(); i < target.size(); ++i) {
        if (target[i] < '0' || target[i] > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string EmulatedPortFolder::RuntimeDir() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr && runtime[0] == '/' ? std::string(runtime) : std::string();
}

bool EmulatedPortFolder::IsPortName(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 2 ||
        name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    int n = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return false;
        }
        n = n * 10 + (name[i] - '0');
    }
    // One spelling per number: EMU07 names nothing.
    return n < kMaxPorts && std::to_string(n).size() == name.size() - prefix.size();
}

EmulatedPortFolder::EmulatedPortFolder(bool create) : EmulatedPortFolder(RuntimeDir(), create) {}

EmulatedPortFolder::EmulatedPortFolder(const std::string& runtimeDir, bool create) {
    if (runtimeDir.empty() || runtimeDir[0] != '/') {
        return;
    }
    int runtimeFd = open(runtimeDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (runtimeFd < 0) {
        return;
    }
    // The parent is checked as well: whoever may write it could swap the ports folder.
    int brenvoFd = OpenSubfolder(runtimeFd, "brenvo", create);
    close(runtimeFd);
    if (brenvoFd < 0) {
        return;
    }
    int portsFd = -1;
    if (IsPrivateFolder(brenvoFd)) {
        portsFd = OpenSubfolder(brenvoFd, "ports", create);
    }
    close(brenvoFd);
    if (portsFd < 0) {
        return;
    }
    if (!IsPrivateFolder(portsFd)) {
        close(portsFd);
        return;
    }
    m_dirFd = portsFd;
    m_path = runtimeDir + "/brenvo/ports";
}

EmulatedPortFolder::~EmulatedPortFolder() {
    if (m_dirFd >= 0) {
        close(m_dirFd);
    }
}

std::optional<std::string> EmulatedPortFolder::ReadPtyLink(const std::string& name) const {
    if (m_dirFd < 0) {
        return std::nullopt;
    }
    struct stat st = {};
    if (fstatat(m_dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(st.st_mode) ||
        st.st_uid != getuid()) {
        return std::nullopt;
    }
    char buffer[64];
    ssize_t n = readlinkat(m_dirFd, name.c_str(), buffer, sizeof buffer);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof buffer)) {
        return std::nullopt;
    }
    std::string target(buffer, static_cast<size_t>(n));
    if (!IsPtyTarget(target)) {
        return std::nullopt;
    }
    return target;
}

std::optional<std::string> EmulatedPortFolder::ReadDescription(const std::string& name) const {
    return ReadBeside(name, kDescriptionSuffix);
}

std::optional<std::string> EmulatedPortFolder::ReadSerialNumber(const std::string& name) const {
    return ReadBeside(name, kSerialSuffix);
}

std::optional<std::string> EmulatedPortFolder::ReadBeside(const std::string& name,
                                                          const char* suffix) const {
    if (m_dirFd < 0) {
        return std::nullopt;
    }
    std::string file = name + suffix;
    int fd = openat(m_dirFd, file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st = {};
    char buffer[64];
    ssize_t n = -1;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == getuid()) {
        n = read(fd, buffer, sizeof buffer - 1);
    }
    close(fd);
    if (n < 0) {
        return std::nullopt;
    }
    std::string text(buffer, static_cast<size_t>(n));
    size_t end = text.find_first_of("\r\n");
    if (end != std::string::npos) {
        text.resize(end);
    }
    return text;
}

bool EmulatedPortFolder::WriteBeside(const std::string& name, const char* suffix,
                                     const std::string& text) {
    const std::string file = name + suffix;
    const std::string temp = file + ".new";
    int fd =
        openat(m_dirFd, temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const std::string line = text + "\n";
    const bool written = write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    close(fd);
    if (!written || renameat(m_dirFd, temp.c_str(), m_dirFd, file.c_str()) != 0) {
        unlinkat(m_dirFd, temp.c_str(), 0);
        return false;
    }
    return true;
}

namespace {
// Emulators starting and stopping together serialise their changes to the folder, so that one
// never removes a link that another has just made in place of a stale one.
class FolderLock {
public:
    explicit FolderLock(int dirFd) : m_fd(dirFd) {
        while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FolderLock() { flock(m_fd, LOCK_UN); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd;
};
}  // namespace

std::string EmulatedPortFolder::Publish(const std::string& prefix, const std::string& ptyPath,
                                        const std::string* description,
                                        const std::string* serialNumber) {
    if (m_dirFd < 0 || !IsPtyTarget(ptyPath)) {
        return std::string();
    }
    FolderLock lock(m_dirFd);
    for (int n = 0; n < kMaxPorts; ++n) {
        std::string name = prefix + std::to_string(n);
        struct stat st = {};
        if (fstatat(m_dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            // A link left by an emulator that did not end cleanly: its pseudo-terminal is gone.
            std::optional<std::string> old = ReadPtyLink(name);
            if (!old || access(old->c_str(), F_OK) == 0) {
                continue;
            }
            RemoveLink(name);
        }
        if (symlinkat(ptyPath.c_str(), m_dirFd, name.c_str()) != 0) {
            if (errno == EEXIST) {
                continue;
            }
            return std::string();
        }
        if ((serialNumber != nullptr && !WriteBeside(name, kSerialSuffix, *serialNumber)) ||
            (description != nullptr && !WriteBeside(name, kDescriptionSuffix, *description))) {
            RemoveLink(name);
            return std::string();
        }
        return name;
    }
    return std::string();
}

void EmulatedPortFolder::Unpublish(const std::string& name, const std::string& ptyPath) {
    if (m_dirFd < 0 || name.empty()) {
        return;
    }
    FolderLock lock(m_dirFd);
    // Once this emulator's terminal is gone another one may have taken the name over.
    if (!ptyPath.empty() && ReadPtyLink(name) != ptyPath) {
        return;
    }
    RemoveLink(name);
}

void EmulatedPortFolder::RemoveLink(const std::string& name) {
    unlinkat(m_dirFd, name.c_str(), 0);
    unlinkat(m_dirFd, (name + kDescriptionSuffix).c_str(), 0);
    unlinkat(m_dirFd, (name + kSerialSuffix).c_str(), 0);
}
