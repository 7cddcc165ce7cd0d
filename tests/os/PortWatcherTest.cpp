// The port watcher over a fake dev root and a private runtime folder: what it reports, in order.
#include "platform/os/PortWatcher.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/os/EmulatedPortFolder.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

class Rig {
public:
    Rig() {
        mkdir(m_dev.c_str(), 0755);
        // Published links point to a terminal that exists: a link to a vanished one is stale.
        m_pty = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[64] = {};
        if (m_pty >= 0 && ptsname_r(m_pty, name, sizeof name) == 0) {
            m_ptyPath = name;
        }
    }
    ~Rig() {
        m_watcher.reset();  // no report after this
        close(m_pty);
    }

    void Touch(const std::string& path) { std::ofstream(path) << "x"; }
    void DevNode(const std::string& name) { Touch(DevPath(name)); }
    std::string DevPath(const std::string& name) const { return m_dev + "/" + name; }
    void RemoveDevNode(const std::string& name) { unlink((m_dev + "/" + name).c_str()); }
    std::string Ports() const { return m_runtime.PortsPath(); }
    std::string Runtime() const { return m_runtime.Path(); }
    // A link to a pseudo-terminal's name, as the emulator makes it; a cable with its description.
    std::string Publish(const std::string& prefix) {
        const std::string description = "QELVORN-Configuration-Cable";
        return EmulatedPortFolder(true).Publish(prefix, m_ptyPath,
                                                prefix == "CABLE" ? &description : nullptr);
    }
    void Unpublish(const std::string& name) { EmulatedPortFolder().Unpublish(name); }

    bool Start() {
        PortWatcher::Options options;
        options.devRoot = m_dev;
        options.useUdev = false;
        m_watcher = std::make_unique<PortWatcher>(
            [this](const PortEvent& e) {
                std::unique_lock<std::mutex> lock(m_mutex);
                const char* sign = e.kind == PortEvent::Kind::Appeared      ? "+"
                                   : e.kind == PortEvent::Kind::Disappeared ? "-"
                                                                            : "~";
                m_events.push_back(sign + e.name);
                m_changed.notify_all();
                // The watcher's thread waits here, so that the kernel's queue fills meanwhile.
                m_changed.wait(lock, [&] { return !m_holding || e.name != kHoldName; });
            },
            options);
        return m_watcher->Start();
    }
    // Makes tty `marker` and waits until it is reported: everything before it has been read.
    void Settle(const std::string& marker) {
        DevNode(marker);
        std::unique_lock<std::mutex> lock(m_mutex);
        EXPECT_TRUE(m_changed.wait_for(lock, std::chrono::seconds(5), [&] {
            return !m_events.empty() && m_events.back() == "+" + marker;
        })) << marker;
    }
    // The watcher's thread stops taking events once it has reported tty `kHoldName`, until
    // Release().
    void Hold() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_holding = true;
        }
        Settle(kHoldName);
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_holding = false;
        m_changed.notify_all();
    }
    // More events than the kernel queues for one watcher, on files that are no ports.
    void OverflowTheQueue() {
        int limit = 16384;
        std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> limit;
        const std::string path = m_dev + "/notes";
        for (int i = 0; i <= limit / 2; ++i) {
            close(open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
            unlink(path.c_str());
        }
    }
    static constexpr const char* kHoldName = "ttyHOLD";

    // Every report up to an end marker, without it.
    std::vector<std::string> Reports() {
        Settle("ttyEND");
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> events = m_events;
        if (!events.empty()) {
            events.pop_back();  // the marker
        }
        return events;
    }

private:
    TempRuntimeDir m_runtime;
    std::string m_dev = m_runtime.Path() + "/dev";
    int m_pty = -1;
    std::string m_ptyPath;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_events;
    bool m_holding = false;
    std::unique_ptr<PortWatcher> m_watcher;
};

struct Case {
    const char* name;
    std::function<void(Rig&)> before;  // what exists when the watcher starts
    std::function<void(Rig&)> act;     // what happens while it watches
    std::vector<std::string> expected;
};

TEST(PortWatcherTest, ReportsPortsThatComeAndGo) {
    const std::vector<Case> cases = {
        {"tty nodes made and removed",
         [](Rig& r) { r.DevNode("ttyACM0"); },
         [](Rig& r) {
             r.DevNode("ttyUSB0");
             r.RemoveDevNode("ttyACM0");
         },
         {"+ttyUSB0", "-ttyACM0"}},
        {"emulated port published and removed",
         [](Rig& r) { r.Publish("EMU"); },
         [](Rig& r) {
             r.Publish("EMU");
             r.Unpublish("EMU0");
         },
         {"+EMU1", "-EMU0"}},
        {"a port replaced before its events are read is reported gone and back",
         [](Rig& r) { r.Publish("EMU"); },
         [](Rig& r) {
             r.Unpublish("EMU0");
             r.Publish("EMU");
         },
         {"-EMU0", "+EMU0"}},
        {"a cable counts once its description is there",
         [](Rig&) { EmulatedPortFolder(true); },
         [](Rig& r) {
             r.Publish("CABLE");
             ASSERT_EQ(symlink("/dev/pts/7", (r.Ports() + "/CABLE1").c_str()), 0);
             r.Settle("ttyS4");  // the bare link has been seen
             r.Touch(r.Ports() + "/CABLE1.description");
             r.Unpublish("CABLE0");
         },
         {"+CABLE0", "+ttyS4", "+CABLE1", "-CABLE0"}},
        {"the ports folder made after the start, removed and made again",
         nullptr,
         [](Rig& r) {
             r.Publish("EMU");
             r.Settle("ttyS4");
             r.Unpublish("EMU0");
             ASSERT_EQ(rmdir(r.Ports().c_str()), 0);
             ASSERT_EQ(rmdir((r.Runtime() + "/brenvo").c_str()), 0);
             r.Settle("ttyS5");  // the folder's removal has been seen
             r.Publish("CABLE");
         },
         {"+EMU0", "+ttyS4", "-EMU0", "+ttyS5", "+CABLE0"}},
        {"access rights given to a node after it was made",
         [](Rig& r) { r.DevNode("ttyS1"); },
         [](Rig& r) {
             r.DevNode("ttyUSB5");
             r.Settle("ttyS6");  // the node's making has been seen
             ASSERT_EQ(chmod(r.DevPath("ttyUSB5").c_str(), 0600), 0);
             ASSERT_EQ(chmod(r.DevPath("ttyS1").c_str(), 0600), 0);
             r.DevNode("sda2");
             ASSERT_EQ(chmod(r.DevPath("sda2").c_str(), 0600), 0);
         },
         {"+ttyUSB5", "+ttyS6", "~ttyUSB5", "~ttyS1"}},
        {"a queue overflow: what changed meanwhile is found by looking again",
         [](Rig& r) { r.DevNode("ttyACM2"); },
         [](Rig& r) {
             r.Hold();
             r.OverflowTheQueue();
             r.DevNode("ttyUSB9");
             r.RemoveDevNode("ttyACM2");
             r.Release();
             r.Settle("ttyZZ");  // after ttyUSB9, whether the look again sees it or not
         },
         {"+ttyHOLD", "-ttyACM2", "+ttyUSB9", "+ttyZZ"}},
        {"other files are not ports",
         [](Rig& r) { r.Publish("EMU"); },
         [](Rig& r) {
             r.DevNode("tty");  // the controlling terminal of whoever opens it
             r.DevNode("sda1");
             r.Touch(r.Runtime() + "/ttyUSB3");  // beside the dev root, not in it
             mkdir((r.Runtime() + "/dev/ttyDIR").c_str(), 0755);
             for (const char* name : {"EMU64", "EMU07", "CABLE0.description.new", "notes",
                                      "EMU0.description", "EMU2.description"}) {
                 r.Touch(r.Ports() + "/" + name);
             }
             ASSERT_EQ(symlink("/etc/passwd", (r.Ports() + "/EMU3").c_str()), 0);
             unlink((r.Ports() + "/EMU0.description").c_str());
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        if (c.before) {
            c.before(rig);
        }
        ASSERT_TRUE(rig.Start());
        c.act(rig);
        EXPECT_EQ(rig.Reports(), c.expected);
    }
}

}  // namespace
