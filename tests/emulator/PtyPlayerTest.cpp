// The pseudo-terminal player: raw line, pacing at the wire rate, late replies, hang-up,
// publishing and a clean stop.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "emulator/IdentifyResponder.h"
#include "emulator/PtyPlayer.h"
#include "tests/support/ScriptedResponder.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The program's side of the line: the slave, opened raw.
class Line {
public:
    explicit Line(const std::string& path) {
        m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    }
    ~Line() {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool Send(const std::vector<std::uint8_t>& bytes) {
        return write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Collects until `count` bytes arrived or `timeoutMs` passed; the arrival time of each byte.
    std::vector<std::uint8_t> Receive(size_t count, int timeoutMs,
                                      std::vector<double>* arrivalMs = nullptr) {
        std::vector<std::uint8_t> bytes;
        Clock::time_point start = Clock::now();
        while (bytes.size() < count && MsSince(start) < timeoutMs) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 10) <= 0 || (p.revents & POLLIN) == 0) {
                if ((p.revents & POLLHUP) != 0)
                    break;
                continue;
            }
            std::uint8_t chunk[256];
            ssize_t n = read(m_fd, chunk, sizeof chunk);
            if (n <= 0)
                break;
            bytes.insert(bytes.end(), chunk, chunk + n);
            if (arrivalMs != nullptr)
                arrivalMs->resize(bytes.size(), MsSince(start));
        }
        return bytes;
    }
    bool Valid() const { return m_fd >= 0; }
    // What a wait for input reports within `timeoutMs`: 0 when nothing happened.
    short Events(int timeoutMs) const {
        pollfd p{m_fd, POLLIN, 0};
        return poll(&p, 1, timeoutMs) == 1 ? p.revents : 0;
    }

private:
    int m_fd = -1;
};

PtyPlayer::Options Rate(unsigned baud) {
    PtyPlayer::Options options;
    options.baudRate = baud;
    return options;
}

TEST(PtyPlayerTest, LineIsRawBothWays) {
    // Line ends, the interrupt and end-of-file characters, and the top bit all pass untouched.
    const std::vector<std::uint8_t> bytes{'\r', '\n', 0x03, 0x04, 0x11, 0x13, 0x7f, 0xff, 0x00};
    ScriptedResponder device({bytes, 0, false});
    PtyPlayer player(device, Rate(4000000));
    ASSERT_TRUE(player.Start());
    Line line(player.SlavePath());
    ASSERT_TRUE(line.Valid());
    ASSERT_TRUE(line.Send(bytes));
    EXPECT_EQ(line.Receive(bytes.size(), 1000), bytes);  // the reply, and no echo before it
    EXPECT_EQ(device.Received(), bytes);
    EXPECT_TRUE(line.Receive(1, 50).empty());  // and nothing after it
}

TEST(PtyPlayerTest, RepliesArePacedAtTheBaudRate) {
    ScriptedResponder device({ScriptedResponder::Pattern(480), 0, false});
    PtyPlayer player(device, Rate(115200));
    ASSERT_TRUE(player.Start());
    Line line(player.SlavePath());
    ASSERT_TRUE(line.Send({0xf4}));
    std::vector<double> arrival;
    Clock::time_point start = Clock::now();
    std::vector<std::uint8_t> reply = line.Receive(480, 2000, &arrival);
    ASSERT_EQ(reply, ScriptedResponder::Pattern(480));
    // 480 bytes of ten bits at 115200 baud take 41.7 ms; never sooner, and the first byte is not
    // held back until the end.
    EXPECT_GE(MsSince(start), 41.0);
    EXPECT_LT(arrival.front(), 30.0);
    EXPECT_GE(arrival[239] - arrival.front(), 15.0);
}

TEST(PtyPlayerTest, LateReplyWaitsItsDelay) {
    ScriptedResponder device({{1, 2, 3}, 120, false});
    PtyPlayer player(device, Rate(4000000));
    ASSERT_TRUE(player.Start());
    Line line(player.SlavePath());
    Clock::time_point start = Clock::now();
    ASSERT_TRUE(line.Send({0x69}));
    EXPECT_EQ(line.Receive(3, 2000), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_GE(MsSince(start), 120.0);
}

TEST(PtyPlayerTest, HangUpDeliversTheReplyThenClosesTheLine) {
    ScriptedResponder device({{7, 8, 9}, 0, true});
    PtyPlayer player(device, Rate(4000000));
    ASSERT_TRUE(player.Start());
    Line line(player.SlavePath());
    ASSERT_TRUE(line.Send({0x69}));
    EXPECT_EQ(line.Receive(3, 1000), (std::vector<std::uint8_t>{7, 8, 9}));
    Clock::time_point start = Clock::now();
    while (!player.HasHungUp() && MsSince(start) < 1000) {
    }
    EXPECT_TRUE(player.HasHungUp());
    // A slave without its master is dead: hang-up or an error, never data.
    short events = line.Events(100);
    EXPECT_NE(events & (POLLHUP | POLLERR), 0);
    EXPECT_TRUE(line.Receive(1, 50).empty());
}

TEST(PtyPlayerTest, StopIsPromptEvenDuringALongLateReply) {
    ScriptedResponder device({{1}, 60000, false});
    PtyPlayer player(device, Rate(115200));
    ASSERT_TRUE(player.Start());
    Line line(player.SlavePath());
    ASSERT_TRUE(line.Send({0x69}));
    Clock::time_point sent = Clock::now();
    while (player.ReceivedCount() == 0 && MsSince(sent) < 1000) {
    }
    ASSERT_EQ(player.ReceivedCount(), 1u);
    Clock::time_point start = Clock::now();
    player.Stop();
    EXPECT_LT(MsSince(start), 500.0);
    player.Stop();  // twice is harmless
}

TEST(PtyPlayerTest, StopIsPromptWhenNobodyReadsAHugeReply) {
    ScriptedResponder device({std::vector<std::uint8_t>(1 << 20, 0x55), 0, false});
    PtyPlayer player(device, Rate(4000000));
    ASSERT_TRUE(player.Start());
    Line line(player.SlavePath());
    ASSERT_TRUE(line.Send({0x69}));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the buffers fill up
    Clock::time_point start = Clock::now();
    player.Stop();
    EXPECT_LT(MsSince(start), 500.0);
}

TEST(PtyPlayerTest, PublishesSerialPortsAndCablesAndRemovesThemAtTheEnd) {
    TempRuntimeDir runtime;
    std::string ports = runtime.PortsPath();
    IdentifyResponder device("QP1");
    PtyPlayer::Options serial = Rate(115200);
    serial.publish = PtyPlayer::Publish::SerialPort;
    PtyPlayer::Options cable = Rate(19200);
    cable.publish = PtyPlayer::Publish::Cable;
    cable.description = "QELVORN-Configuration-Cable";
    {
        PtyPlayer first(device, serial);
        PtyPlayer second(device, serial);
        PtyPlayer third(device, cable);
        ASSERT_TRUE(first.Start());
        ASSERT_TRUE(second.Start());
        ASSERT_TRUE(third.Start());
        EXPECT_EQ(first.PublishedName(), "EMU0");
        EXPECT_EQ(second.PublishedName(), "EMU1");
        EXPECT_EQ(second.ComNumber(), 194);
        EXPECT_EQ(third.PublishedName(), "CABLE0");
        EXPECT_EQ(third.ComNumber(), 0);
        char target[64] = {};
        ASSERT_GT(readlink((ports + "/EMU1").c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(std::string(target), second.SlavePath());
        std::ifstream description(ports + "/CABLE0.description");
        std::string text;
        std::getline(description, text);
        EXPECT_EQ(text, "QELVORN-Configuration-Cable");
        struct stat st = {};
        ASSERT_EQ(stat(ports.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        first.Stop();
        EXPECT_NE(access((ports + "/EMU0").c_str(), F_OK), 0);
        EXPECT_EQ(access((ports + "/EMU1").c_str(), F_OK), 0);
    }
    for (const char* name : {"EMU1", "CABLE0", "CABLE0.description"}) {
        struct stat st = {};
        EXPECT_NE(lstat((ports + "/" + name).c_str(), &st), 0) << name;
    }
}

TEST(PtyPlayerTest, StaleLinkOfAVanishedEmulatorIsReplaced) {
    TempRuntimeDir runtime;
    IdentifyResponder device("QP1");
    PtyPlayer::Options serial = Rate(115200);
    serial.publish = PtyPlayer::Publish::SerialPort;
    PtyPlayer first(device, serial);
    ASSERT_TRUE(first.Start());
    ASSERT_EQ(symlink("/dev/pts/999999", (runtime.PortsPath() + "/EMU0").c_str()), -1);
    ASSERT_EQ(symlink("/dev/pts/999999", (runtime.PortsPath() + "/EMU1").c_str()), 0);
    ASSERT_EQ(symlink("/etc/passwd", (runtime.PortsPath() + "/EMU2").c_str()), 0);
    PtyPlayer second(device, serial);
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(second.PublishedName(), "EMU1");  // the vanished one is reused
    PtyPlayer third(device, serial);
    ASSERT_TRUE(third.Start());
    EXPECT_EQ(third.PublishedName(), "EMU3");  // a foreign link is left alone
}

TEST(PtyPlayerTest, UnplugHangsUpAndRemovesThePortPlugPublishesItAgain) {
    TempRuntimeDir runtime;
    const std::string link = runtime.PortsPath() + "/EMU0";
    IdentifyResponder device("QP1");
    PtyPlayer::Options serial = Rate(4000000);
    serial.publish = PtyPlayer::Publish::SerialPort;
    PtyPlayer player(device, serial);
    ASSERT_TRUE(player.Start());
    const std::string first = player.SlavePath();
    Line line(first);
    player.Unplug();
    EXPECT_FALSE(player.IsPlugged());
    EXPECT_NE(line.Events(1000) & (POLLHUP | POLLERR), 0);
    struct stat st = {};
    EXPECT_NE(lstat(link.c_str(), &st), 0);

    ASSERT_TRUE(player.Plug());
    EXPECT_EQ(player.PublishedName(), "EMU0");
    EXPECT_NE(player.SlavePath(), first);  // the old line is still held open here
    char target[64] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), player.SlavePath());
    Line again(player.SlavePath());
    ASSERT_TRUE(again.Send({0x69}));
    const std::vector<std::uint8_t> reply = again.Receive(3, 1000);
    EXPECT_EQ(std::string(reply.begin(), reply.end()), "QP1");
}

TEST(PtyPlayerTest, WithoutARuntimeFolderPublishingFails) {
    TempRuntimeDir runtime;
    unsetenv("XDG_RUNTIME_DIR");
    IdentifyResponder device("QP1");
    PtyPlayer::Options serial = Rate(115200);
    serial.publish = PtyPlayer::Publish::SerialPort;
    PtyPlayer player(device, serial);
    EXPECT_FALSE(player.Start());
    PtyPlayer unpublished(device, Rate(115200));
    EXPECT_TRUE(unpublished.Start());
}

TEST(IdentifyResponderTest, AnswersEachIdentifyByteAndNothingElse) {
    IdentifyResponder device("T5 QM");
    const std::uint8_t mixed[] = {0xb0, 0x00, 0x69, 0xff, 0x69};
    DeviceReply reply = device.OnReceive(mixed, sizeof mixed);
    EXPECT_EQ(std::string(reply.bytes.begin(), reply.bytes.end()), "T5 QMT5 QM");
    const std::uint8_t other[] = {0xbc};
    EXPECT_TRUE(device.OnReceive(other, 1).bytes.empty());
    EXPECT_FALSE(reply.hangUp);
    EXPECT_EQ(reply.delayMs, 0u);
}

}  // namespace
