#include "platform/os/PortWatcher.h"

#include <dirent.h>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "platform/os/EmulatedPortFolder.h"

namespace {

constexpr std::uint32_t kEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;
// A folder on the way to the ports folder: the next one may be made, replaced or made private.
constexpr std::uint32_t kPathEvents = IN_CREATE | IN_MOVED_TO | IN_ATTRIB | IN_DELETE_SELF |
                                      IN_MOVE_SELF | IN_ONLYDIR | IN_DONT_FOLLOW;
constexpr std::uint32_t kFolderEvents =
    kEntryEvents | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_DONT_FOLLOW;
const std::string kDescription = ".description";

bool IsTtyName(const std::string& name) {
    return name.size() > 3 && name.compare(0, 3, "tty") == 0;
}

bool IsCableName(const std::string& name) {
    return EmulatedPortFolder::IsPortName(name, "CABLE");
}

bool IsEmulatedName(const std::string& name) {
    return EmulatedPortFolder::IsPortName(name, "EMU") || IsCableName(name);
}

void Unwatch(int inotifyFd, int* wd) {
    if (*wd >= 0) {
        inotify_rm_watch(inotifyFd, *wd);  // fails harmlessly when the kernel removed it already
        *wd = -1;
    }
}

}  // namespace

// Everything the watcher's thread owns. Reports are transitions of what was last reported (or
// found at the start), so that a node seen by two sources is reported once, while one that goes
// and comes back before its events are read is still reported gone and back.
class PortWatcher::Loop {
public:
    Loop(Callback onEvent, const Options& options)
        : m_onEvent(std::move(onEvent)),
          m_devRoot(options.devRoot),
          m_runtimeDir(options.runtimeDir.empty() ? EmulatedPortFolder::RuntimeDir()
                                                  : options.runtimeDir),
          m_useUdev(options.useUdev) {}

    ~Loop() {
        if (m_monitor != nullptr) {
            udev_monitor_unref(m_monitor);
        }
        if (m_udev != nullptr) {
            udev_unref(m_udev);
        }
        if (m_inotify >= 0) {
            close(m_inotify);
        }
    }
    Loop(const Loop&) = delete;
    Loop& operator=(const Loop&) = delete;

    // Sets the watches up and takes what exists now as the starting point.
    bool Open() {
        m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_inotify < 0) {
            return false;
        }
        // IN_ATTRIB: the access rights that udev gives a node after making it.
        m_devWatch =
            inotify_add_watch(m_inotify, m_devRoot.c_str(), kEntryEvents | IN_ATTRIB | IN_ONLYDIR);
        ResyncDev();
        WatchEmulatedFolder();
        OpenUdev();
        return true;
    }

    void Run(int stopFd) {
        m_reporting = true;
        pollfd fds[3] = {{stopFd, POLLIN, 0},
                         {m_inotify, POLLIN, 0},
                         {m_monitor != nullptr ? udev_monitor_get_fd(m_monitor) : -1, POLLIN, 0}};
        for (;;) {
            if (poll(fds, 3, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (fds[0].revents != 0) {
                return;
            }
            if ((fds[1].revents & POLLIN) != 0) {
                ReadInotify();
            }
            if ((fds[2].revents & POLLIN) != 0) {
                ReadUdev();
            }
        }
    }

private:
    void Report(PortEvent::Kind kind, const std::string& name) {
        if (kind == PortEvent::Kind::Changed) {
            // Only a port reported (or found) present changes; a change is never a duplicate.
            const auto it = m_present.find(name);
            if (m_reporting && it != m_present.end() && it->second) {
                m_onEvent(PortEvent{kind, name});
            }
            return;
        }
        bool& present = m_present[name];
        const bool now = kind == PortEvent::Kind::Appeared;
        if (present == now) {
            return;
        }
        present = now;
        if (m_reporting) {
            m_onEvent(PortEvent{kind, name});
        }
    }

    // Reports what changed among the names that `inScope` selects, given those present now.
    template <class Scope>
    void Resync(Scope inScope, const std::set<std::string>& presentNow) {
        for (auto& entry : m_present) {
            if (entry.second && inScope(entry.first) && presentNow.count(entry.first) == 0) {
                Report(PortEvent::Kind::Disappeared, entry.first);
            }
        }
        for (const std::string& name : presentNow) {
            Report(PortEvent::Kind::Appeared, name);
        }
    }

    bool TtyPresent(const std::string& name) const {
        struct stat st = {};
        return lstat((m_devRoot + "/" + name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
    }

    // As the port services see it: a link of the right form, and for a cable its description.
    // The folder is opened for each look only: an open folder would hold back the kernel's
    // report of its removal (and of its parent's) until it is closed.
    bool EmulatedPresent(const EmulatedPortFolder& folder, const std::string& name) const {
        return m_folderWatch >= 0 && folder.ReadPtyLink(name) &&
               (!IsCableName(name) || folder.ReadDescription(name));
    }

    void ResyncDev() {
        std::set<std::string> present;
        if (DIR* dir = opendir(m_devRoot.c_str())) {
            while (dirent* e = readdir(dir)) {
                if (IsTtyName(e->d_name) && TtyPresent(e->d_name)) {
                    present.insert(e->d_name);
                }
            }
            closedir(dir);
        }
        Resync(IsTtyName, present);
    }

    void ResyncEmulated() {
        std::set<std::string> present;
        const EmulatedPortFolder folder(m_runtimeDir, false);
        for (int n = 0; n < EmulatedPortFolder::kMaxPorts; ++n) {
            for (const char* prefix : {"EMU", "CABLE"}) {
                std::string name = prefix + std::to_string(n);
                if (EmulatedPresent(folder, name)) {
                    present.insert(name);
                }
            }
        }
        Resync(IsEmulatedName, present);
    }

    // A tty node under the dev root was made (or moved in) or removed (or moved away).
    void OnTty(const std::string& name, bool created) {
        if (!created) {
            Report(PortEvent::Kind::Disappeared, name);
        } else if (TtyPresent(name)) {
            Report(PortEvent::Kind::Appeared, name);
        }
    }

    // A tty node's attributes changed (its access rights, among others); one not seen before
    // counts as made.
    void OnTtyChanged(const std::string& name) {
        const auto it = m_present.find(name);
        if (it == m_present.end() || !it->second) {
            OnTty(name, true);
        } else if (TtyPresent(name)) {
            Report(PortEvent::Kind::Changed, name);
        }
    }

    void OnFolderEntry(std::string name, bool created) {
        const size_t base = name.size() - std::min(name.size(), kDescription.size());
        if (name.compare(base, std::string::npos, kDescription) == 0 &&
            IsCableName(name.substr(0, base))) {
            name.resize(base);  // a cable counts from its description on, until either goes
        }
        if (!IsEmulatedName(name)) {
            return;
        }
        if (!created) {
            Report(PortEvent::Kind::Disappeared, name);
        } else if (EmulatedPresent(EmulatedPortFolder(m_runtimeDir, false), name)) {
            Report(PortEvent::Kind::Appeared, name);
        }
    }

    // Watches the runtime folder and brenvo/ so that the ports folder is found whenever it is
    // made (by the first emulator that publishes) or made again; then watches the ports folder
    // itself when it is safe to use. Entries made before its watch began are caught up.
    void WatchEmulatedFolder() {
        if (m_runtimeDir.empty()) {
            return;
        }
        if (m_runtimeWatch < 0) {
            m_runtimeWatch = inotify_add_watch(m_inotify, m_runtimeDir.c_str(), kPathEvents);
        }
        if (m_parentWatch < 0) {
            m_parentWatch =
                inotify_add_watch(m_inotify, (m_runtimeDir + "/brenvo").c_str(), kPathEvents);
        }
        if (m_parentWatch < 0 || m_folderWatch >= 0) {
            return;
        }
        const EmulatedPortFolder folder(m_runtimeDir, false);
        if (!folder.IsUsable()) {
            return;
        }
        m_folderWatch = inotify_add_watch(m_inotify, folder.Path().c_str(), kFolderEvents);
        if (m_folderWatch >= 0) {
            ResyncEmulated();
        }
    }

    void OnEvent(const inotify_event& e) {
        const std::string name = e.len > 0 ? e.name : "";
        if ((e.mask & IN_Q_OVERFLOW) != 0) {
            // Events were lost: compare with what is there now.
            ResyncDev();
            ResyncEmulated();
            WatchEmulatedFolder();
        } else if (e.wd == m_devWatch) {
            if ((e.mask & IN_ISDIR) != 0 || !IsTtyName(name)) {
                return;
            }
            if ((e.mask & IN_ATTRIB) != 0) {
                OnTtyChanged(name);
            } else {
                OnTty(name, (e.mask & (IN_CREATE | IN_MOVED_TO)) != 0);
            }
        } else if (e.wd == m_folderWatch) {
            if ((e.mask & kSelfEvents) != 0) {
                // Removed or moved away: what it held is gone with it; wait for a new one.
                Unwatch(m_inotify, &m_folderWatch);
                ResyncEmulated();
                WatchEmulatedFolder();
            } else if ((e.mask & IN_ISDIR) == 0) {
                OnFolderEntry(name, (e.mask & (IN_CREATE | IN_MOVED_TO)) != 0);
            }
        } else if (e.wd == m_runtimeWatch || e.wd == m_parentWatch) {
            if ((e.mask & kSelfEvents) != 0) {
                Unwatch(m_inotify, e.wd == m_runtimeWatch ? &m_runtimeWatch : &m_parentWatch);
            } else if (name != (e.wd == m_runtimeWatch ? "brenvo" : "ports")) {
                return;
            }
            WatchEmulatedFolder();
        }
    }

    void ReadInotify() {
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t n = read(m_inotify, buffer, sizeof buffer);
            if (n <= 0) {
                return;  // EAGAIN: all read
            }
            for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                OnEvent(*e);
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
    }

    // udev's monitor, where udev runs: it reports a node once its rules (access rights) are
    // applied, which may be after inotify saw the node made: its add then counts as a change.
    // Without udev, or when the monitor cannot be made, inotify alone watches.
    void OpenUdev() {
        if (!m_useUdev || access("/run/udev/control", F_OK) != 0) {
            return;
        }
        m_udev = udev_new();
        if (m_udev != nullptr) {
            m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
        }
        if (m_monitor == nullptr ||
            udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "tty", nullptr) < 0 ||
            udev_monitor_enable_receiving(m_monitor) < 0) {
            if (m_monitor != nullptr) {
                udev_monitor_unref(m_monitor);
                m_monitor = nullptr;
            }
        }
    }

    void ReadUdev() {
        while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
            const char* action = udev_device_get_action(device);
            const char* name = udev_device_get_sysname(device);
            if (action != nullptr && name != nullptr && IsTtyName(name)) {
                if (std::strcmp(action, "add") == 0 || std::strcmp(action, "change") == 0) {
                    OnTtyChanged(name);
                } else if (std::strcmp(action, "remove") == 0) {
                    OnTty(name, false);
                }
            }
            udev_device_unref(device);
        }
    }

    Callback m_onEvent;
    const std::string m_devRoot;
    const std::string m_runtimeDir;
    const bool m_useUdev;
    bool m_reporting = false;  // off while the starting point is taken
    int m_inotify = -1;
    int m_devWatch = -1;
    int m_runtimeWatch = -1;
    int m_parentWatch = -1;
    int m_folderWatch = -1;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    std::map<std::string, bool> m_present;  // per name: last reported (or found) present
};

PortWatcher::PortWatcher(Callback onEvent) : PortWatcher(std::move(onEvent), Options()) {}

PortWatcher::PortWatcher(Callback onEvent, Options options)
    : m_onEvent(std::move(onEvent)), m_options(std::move(options)) {}

PortWatcher::~PortWatcher() {
    Stop();
}

bool PortWatcher::Start() {
    if (m_thread.joinable()) {
        return false;
    }
    auto loop = std::make_unique<Loop>(m_onEvent, m_options);
    if (!loop->Open()) {
        return false;
    }
    m_stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stopFd < 0) {
        return false;
    }
    m_thread = std::thread([loop = std::move(loop), stopFd = m_stopFd] { loop->Run(stopFd); });
    return true;
}

void PortWatcher::Stop() {
    if (m_stopFd >= 0) {
        const std::uint64_t one = 1;
        ssize_t ignored = write(m_stopFd, &one, sizeof one);
        (void)ignored;
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (m_stopFd >= 0) {
        close(m_stopFd);
        m_stopFd = -1;
    }
}
