// Ports that must never be opened, let alone written to: ports held by someone else, links of the
// wrong form, folders that others may write, pseudo-terminals that are a terminal of a session.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/os/EmulatedPortFolder.h"
#include "platform/os/SerialPortService.h"
#include "platform/os/TtyDevice.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

constexpr const char* kCom193 = "\\\\.\\COM193";  // EMU0

// A pseudo-terminal pair made by the test; the master shows whether anything was written.
class Pty {
public:
    Pty() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
            m_slave = ptsname(m_master);
            // Keep one slave open so that the master does not read EIO.
            m_hold = open(m_slave.c_str(), O_RDWR | O_NOCTTY);
        }
    }
    ~Pty() {
        if (m_hold >= 0)
            close(m_hold);
        if (m_master >= 0)
            close(m_master);
    }
    const std::string& Slave() const { return m_slave; }
    bool Valid() const { return m_hold >= 0; }
    // Whether any byte arrived at the master.
    bool Received() const {
        char c;
        return read(m_master, &c, 1) == 1;
    }

private:
    int m_master = -1;
    int m_hold = -1;
    std::string m_slave;
};

class PortSafetyTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.Valid());
        EmulatedPortFolder folder(true);
        ASSERT_TRUE(folder.IsUsable());
        m_ports = folder.Path();
    }
    void LinkEmu0(const std::string& target) {
        unlink((m_ports + "/EMU0").c_str());
        ASSERT_EQ(symlink(target.c_str(), (m_ports + "/EMU0").c_str()), 0);
    }
    // Opens COM193 and, when it opens, writes to it as a request would.
    bool OpensAndWrites() {
        SerialPortService& service = CurrentSerialPortService();
        HANDLE port = service.CreateFile(kCom193);
        if (port == nullptr) {
            return false;
        }
        DWORD written = 0;
        service.WriteFile(port, "i", 1, &written);
        service.CloseHandle(port);
        return true;
    }

    TempRuntimeDir m_runtime;
    Pty m_pty;
    std::string m_ports;
};

TEST_F(PortSafetyTest, ValidLinkOpensAndReachesTheDevice) {
    LinkEmu0(m_pty.Slave());
    EXPECT_TRUE(OpensAndWrites());
    EXPECT_TRUE(m_pty.Received());
}

TEST_F(PortSafetyTest, PortHeldByAnotherProcessDoesNotOpen) {
    LinkEmu0(m_pty.Slave());
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int fd = open(m_pty.Slave().c_str(), O_RDWR | O_NOCTTY);
        char c = flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        (void)!read(release[0], &c, 1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    EXPECT_FALSE(OpensAndWrites());
    EXPECT_FALSE(m_pty.Received());
    (void)!write(release[1], "x", 1);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(OpensAndWrites());  // free again once the holder has gone
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        close(fd);
}

TEST_F(PortSafetyTest, OurOwnOpenHoldsThePortExclusively) {
    LinkEmu0(m_pty.Slave());
    SerialPortService& service = CurrentSerialPortService();
    HANDLE first = service.CreateFile(kCom193);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(service.CreateFile(kCom193), nullptr);
    service.CloseHandle(first);
    HANDLE again = service.CreateFile(kCom193);
    EXPECT_NE(again, nullptr);
    service.CloseHandle(again);
}

TEST_F(PortSafetyTest, LinksOfTheWrongFormAreRefused) {
    std::string number = m_pty.Slave().substr(std::string("/dev/pts/").size());
    std::string file = m_runtime.Path() + "/not-a-port";
    int fd = open(file.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    close(fd);
    const std::string targets[] = {
        "/dev/pts//" + number,
        "/dev/pts/./" + number,
        "/dev/pts/../pts/" + number,
        "dev/pts/" + number,
        "/dev/pts/" + number + "/",
        "/dev/pts/0x" + number,
        "/dev/pts/",
        "/dev/tty",
        "/dev/ptmx",
        file,
    };
    for (const std::string& target : targets) {
        LinkEmu0(target);
        EXPECT_FALSE(OpensAndWrites()) << target;
    }
    // A link to a link to the port.
    std::string hop = m_runtime.Path() + "/hop";
    ASSERT_EQ(symlink(m_pty.Slave().c_str(), hop.c_str()), 0);
    LinkEmu0(hop);
    EXPECT_FALSE(OpensAndWrites());
    // Not a link at all.
    unlink((m_ports + "/EMU0").c_str());
    fd = open((m_ports + "/EMU0").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, m_pty.Slave().data(), m_pty.Slave().size()),
              static_cast<ssize_t>(m_pty.Slave().size()));
    close(fd);
    EXPECT_FALSE(OpensAndWrites());

    EXPECT_FALSE(m_pty.Received());
    struct stat st = {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
}

TEST_F(PortSafetyTest, FoldersThatOthersMayWriteAreNotUsed) {
    LinkEmu0(m_pty.Slave());
    const std::string folders[] = {m_ports, m_runtime.Path() + "/brenvo"};
    for (const std::string& folder : folders) {
        for (mode_t mode : {0770, 0702, 0777}) {
            ASSERT_EQ(chmod(folder.c_str(), mode), 0);
            EXPECT_FALSE(OpensAndWrites()) << folder << " " << std::oct << mode;
        }
        ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
    }
    EXPECT_FALSE(m_pty.Received());
    EXPECT_TRUE(OpensAndWrites());
    EXPECT_TRUE(m_pty.Received());
}

TEST_F(PortSafetyTest, PortsFolderReachedThroughALinkIsNotUsed) {
    LinkEmu0(m_pty.Slave());
    std::string brenvo = m_runtime.Path() + "/brenvo";
    ASSERT_EQ(rename(m_ports.c_str(), (brenvo + "/real-ports").c_str()), 0);
    ASSERT_EQ(symlink((brenvo + "/real-ports").c_str(), m_ports.c_str()), 0);
    EXPECT_FALSE(OpensAndWrites());
    EXPECT_FALSE(m_pty.Received());
}

TEST_F(PortSafetyTest, StaleLinkToASessionsTerminalIsNeverWritten) {
    LinkEmu0(m_pty.Slave());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A shell's terminal: a new session whose controlling terminal is this pseudo-terminal.
        setsid();
        int fd = open(m_pty.Slave().c_str(), O_RDWR);
        (void)!write(ready[1], fd >= 0 ? "y" : "n", 1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    EXPECT_FALSE(OpensAndWrites());
    EXPECT_FALSE(m_pty.Received());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(OpensAndWrites());  // it was the session, nothing else
}

TEST_F(PortSafetyTest, RealPortMustMatchItsDeviceNumber) {
    struct stat st = {};
    ASSERT_EQ(stat(m_pty.Slave().c_str(), &st), 0);
    PortLocation where;
    where.kind = PortLocation::Kind::Real;
    where.devicePath = m_pty.Slave();
    where.device = st.st_rdev + 1;
    EXPECT_EQ(TtyDevice::Open(where), nullptr);
    where.device = st.st_rdev;
    EXPECT_NE(TtyDevice::Open(where), nullptr);
    where.devicePath = "/dev/null";  // a character device, but no tty
    struct stat null = {};
    ASSERT_EQ(stat("/dev/null", &null), 0);
    where.device = null.st_rdev;
    EXPECT_EQ(TtyDevice::Open(where), nullptr);
}

TEST_F(PortSafetyTest, EmulatedPortOfAnotherUserIsRefused) {
    if (getuid() != 0) {
        GTEST_SKIP() << "giving a terminal away needs root";
    }
    LinkEmu0(m_pty.Slave());
    ASSERT_EQ(chown(m_pty.Slave().c_str(), 4242, static_cast<gid_t>(-1)), 0);
    EXPECT_FALSE(OpensAndWrites());
    EXPECT_FALSE(m_pty.Received());
}

}  // namespace

TEST_F(PortSafetyTest, CablesPublishedAtTheSameMomentKeepTheirOwnDescriptions) {
    constexpr int kEmulators = 6;
    for (int round = 0; round < 20; ++round) {
        std::string names[kEmulators];
        std::thread starts[kEmulators];
        for (int k = 0; k < kEmulators; ++k) {
            starts[k] = std::thread([&, k] {
                EmulatedPortFolder folder;
                const std::string description = "cable " + std::to_string(k);
                names[k] = folder.Publish("CABLE", m_pty.Slave(), &description);
            });
        }
        for (std::thread& t : starts) {
            t.join();
        }
        EmulatedPortFolder folder;
        for (int k = 0; k < kEmulators; ++k) {
            ASSERT_FALSE(names[k].empty()) << "round " << round;
            for (int j = 0; j < k; ++j) {
                EXPECT_NE(names[k], names[j]) << "round " << round;
            }
            EXPECT_EQ(folder.ReadDescription(names[k]).value_or("(none)"),
                      "cable " + std::to_string(k))
                << "round " << round << ", " << names[k];
        }
        for (const std::string& name : names) {
            folder.Unpublish(name);
        }
    }
}
