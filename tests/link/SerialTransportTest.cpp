// The serial link against the emulator on a real pseudo-terminal, in real time.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "emulator/IdentifyResponder.h"
#include "emulator/PtyPlayer.h"
#include "link/DeviceCommands.h"
#include "link/SerialTransport.h"
#include "platform/os/EmulatedPortFolder.h"
#include "platform/os/SerialPortService.h"
#include "tests/support/ScriptedResponder.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Passes everything to the production service and counts the reader's reads.
class CountingPortService final : public SerialPortService {
public:
    CountingPortService() : m_inner(CurrentSerialPortService()) { SetSerialPortService(this); }
    ~CountingPortService() override { SetSerialPortService(nullptr); }
    HANDLE CreateFile(const char* name) override { return m_inner.CreateFile(name); }
    BOOL SetCommState(HANDLE p, const DCB& d) override { return m_inner.SetCommState(p, d); }
    BOOL PurgeComm(HANDLE p, DWORD f) override { return m_inner.PurgeComm(p, f); }
    BOOL SetCommMask(HANDLE p, DWORD m) override { return m_inner.SetCommMask(p, m); }
    BOOL EscapeCommFunction(HANDLE p, DWORD f) override { return m_inner.EscapeCommFunction(p, f); }
    BOOL WriteFile(HANDLE p, const void* d, DWORD n, DWORD* w) override {
        return m_inner.WriteFile(p, d, n, w);
    }
    BOOL ReadFile(HANDLE p, void* b, DWORD n, DWORD* r) override {
        m_reads.fetch_add(1, std::memory_order_relaxed);
        const long long cpu = ThreadCpuNs();
        const BOOL result = m_inner.ReadFile(p, b, n, r);
        m_readCpuNs.fetch_add(ThreadCpuNs() - cpu, std::memory_order_relaxed);
        return result;
    }
    BOOL CancelIoEx(HANDLE p) override { return m_inner.CancelIoEx(p); }
    BOOL CloseHandle(HANDLE p) override { return m_inner.CloseHandle(p); }
    long Reads() const { return m_reads.load(std::memory_order_relaxed); }
    // The processor time the reader spent in its reads, waits included.
    double ReadCpuMs() const { return m_readCpuNs.load(std::memory_order_relaxed) / 1e6; }

private:
    static long long ThreadCpuNs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
    }
    SerialPortService& m_inner;
    std::atomic<long> m_reads{0};
    std::atomic<long long> m_readCpuNs{0};
};

class SerialTransportTest : public testing::Test {
protected:
    // A published emulated port at `baud`, opened through the transport.
    void Play(unsigned baud) {
        PtyPlayer::Options options;
        options.baudRate = baud;
        options.publish = PtyPlayer::Publish::SerialPort;
        m_player = std::make_unique<PtyPlayer>(m_device, options);
        ASSERT_TRUE(m_player->Start());
        ASSERT_EQ(m_player->PublishedName(), "EMU0");
        ASSERT_EQ(m_player->ComNumber(), 193);
        ASSERT_TRUE(SerialOpen(m_player->ComNumber()));
    }
    void TearDown() override {
        SerialClose();
        m_player.reset();
    }
    // Waits (bounded) until the device has received `count` bytes.
    bool DeviceReceived(std::uint64_t count) {
        for (int i = 0; i < 200 && m_player->ReceivedCount() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return m_player->ReceivedCount() == count;
    }

    TempRuntimeDir m_runtime;
    ScriptedResponder m_device;
    std::unique_ptr<PtyPlayer> m_player;
    // Rates for tests that do not depend on wire timing: the reply is there almost at once.
    static constexpr unsigned kFast = 4000000;
};

TEST_F(SerialTransportTest, OpenAppliesRawLineSettingsOnTheTty) {
    Play(115200);
    termios t{};
    int slave = open(m_player->SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    close(slave);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B115200));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
}

TEST_F(SerialTransportTest, CapacityZeroWritesAndReturnsWithoutReader) {
    m_device.SetReply({{1, 2, 3}, 0, false});
    Play(kFast);
    CountingPortService counting;
    const BYTE request[] = {0xb2, 0xff, 0x03};
    BYTE reply[16] = {};
    DWORD count = 77;
    Clock::time_point start = Clock::now();
    EXPECT_TRUE(SerialRequest(request, 3, reply, 0, &count, 50));
    EXPECT_LT(MsSince(start), 40.0);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(counting.Reads(), 0);
    ASSERT_TRUE(DeviceReceived(3));
    EXPECT_EQ(m_device.Received(), (std::vector<std::uint8_t>{0xb2, 0xff, 0x03}));
}

TEST_F(SerialTransportTest, ShortReplyReturnsAtTheTimeOutWithWhatArrived) {
    m_device.SetReply({{'a', 'b', 'c'}, 0, false});
    Play(115200);
    const BYTE request[] = {0x69};
    BYTE reply[1000] = {};
    DWORD count = 0;
    Clock::time_point start = Clock::now();
    EXPECT_TRUE(SerialRequest(request, 1, reply, 1000, &count, 50));
    double elapsed = MsSince(start);
    EXPECT_GE(elapsed, 50.0);
    EXPECT_LT(elapsed, 500.0);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), 3), "abc");
}

TEST_F(SerialTransportTest, LongReplyEndsTheWaitAtCapacity) {
    m_device.SetReply({ScriptedResponder::Pattern(600), 0, false});
    Play(kFast);
    const BYTE request[] = {0xf4, 0x00};
    std::vector<BYTE> reply(600, 0);
    DWORD count = 0;
    Clock::time_point start = Clock::now();
    EXPECT_TRUE(SerialRequest(request, 2, reply.data(), 512, &count, 3000));
    EXPECT_LT(MsSince(start), 1500.0);
    ASSERT_EQ(count, 512u);
    std::vector<std::uint8_t> expected = ScriptedResponder::Pattern(512);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reply.begin()));
    EXPECT_EQ(reply[512], 0);  // nothing past the capacity is touched
}

// A table's reply at the link's own rate: taken whole as its last byte arrives, by a reader that
// sleeps through the wire time instead of waking for every byte.
TEST_F(SerialTransportTest, ATableReplyIsTakenAsItsLastByteArrivesWithoutAWakeForEveryByte) {
    m_device.SetReply({ScriptedResponder::Pattern(512), 0, false});
    Play(115200);
    CountingPortService counting;
    const BYTE request[] = {0xf4, 0x00};
    std::vector<BYTE> reply(512, 0);
    DWORD count = 0;
    double afterLastByteMs = 0;
    double readCpuMs = 0;
    // 44.4 ms of the window are wire time, and a loaded machine may wake a thread late: a few
    // tries keep the test about the reader, not the scheduler.
    for (int attempt = 0; attempt < 5 && (count != 512 || afterLastByteMs > 5.0); ++attempt) {
        const double cpuBefore = counting.ReadCpuMs();
        EXPECT_TRUE(SerialRequest(request, 2, reply.data(), 512, &count, 100));
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);  // the clock of the player's time stamps
        afterLastByteMs =
            (static_cast<double>(now.tv_sec) * 1e9 + now.tv_nsec - m_player->LastReplyEndNs()) /
            1e6;
        readCpuMs = counting.ReadCpuMs() - cpuBefore;
    }
    ASSERT_EQ(count, 512u);
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), ScriptedResponder::Pattern(512).begin()));
    EXPECT_LE(afterLastByteMs, 5.0);
    EXPECT_LT(readCpuMs, 1.0);
}

TEST_F(SerialTransportTest, NullReplyStillWaitsAndLeavesTheCountAtZero) {
    m_device.SetReply({{1, 2, 3}, 0, false});
    Play(kFast);
    const BYTE request[] = {0x69};
    DWORD count = 5;
    Clock::time_point start = Clock::now();
    EXPECT_TRUE(SerialRequest(request, 1, nullptr, 1000, &count, 50));
    EXPECT_GE(MsSince(start), 50.0);
    EXPECT_EQ(count, 0u);
}

TEST_F(SerialTransportTest, SilentDeviceGivesNoBytesAfterTheTimeOut) {
    Play(115200);
    const BYTE request[] = {0x69};
    BYTE reply[1000];
    DWORD count = 9;
    Clock::time_point start = Clock::now();
    EXPECT_TRUE(SerialRequest(request, 1, reply, 1000, &count, 50));
    EXPECT_GE(MsSince(start), 50.0);
    EXPECT_EQ(count, 0u);
}

TEST_F(SerialTransportTest, ConsecutiveRequestsEachGetTheirOwnReply) {
    IdentifyResponder identify("NWE Dimmer R8P");
    PtyPlayer::Options options;
    options.baudRate = kFast;
    options.publish = PtyPlayer::Publish::SerialPort;
    PtyPlayer player(identify, options);
    ASSERT_TRUE(player.Start());
    ASSERT_TRUE(SerialOpen(player.ComNumber()));
    for (int i = 0; i < 20; ++i) {
        const BYTE request[] = {CMD_IDENTIFY};
        BYTE reply[1000] = {};
        DWORD count = 0;
        ASSERT_TRUE(SerialRequest(request, 1, reply, 1000, &count, 50));
        ASSERT_EQ(std::string(reinterpret_cast<char*>(reply), count), "NWE Dimmer R8P") << i;
    }
    SerialClose();
}

TEST_F(SerialTransportTest, ClosedPortRefusesRequestsAndSendsNothing) {
    Play(kFast);
    SerialClose();
    EXPECT_FALSE(SerialIsOpen());
    const BYTE request[] = {0x69};
    BYTE reply[10];
    DWORD count = 4;
    EXPECT_FALSE(SerialRequest(request, 1, reply, 10, &count, 50));
    EXPECT_EQ(count, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(m_player->ReceivedCount(), 0u);
}

TEST_F(SerialTransportTest, LastComNumberNamesTheLastEmulatedPort) {
    IdentifyResponder identify("T5QM");
    PtyPlayer::Options options;
    options.baudRate = kFast;
    PtyPlayer player(identify, options);
    ASSERT_TRUE(player.Start());
    EmulatedPortFolder folder(true);
    ASSERT_TRUE(folder.IsUsable());
    ASSERT_EQ(symlink(player.SlavePath().c_str(), (folder.Path() + "/EMU63").c_str()), 0);
    ASSERT_TRUE(SerialOpen(256));
    const BYTE request[] = {CMD_IDENTIFY};
    BYTE reply[100] = {};
    DWORD count = 0;
    EXPECT_TRUE(SerialRequest(request, 1, reply, 100, &count, 50));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), count), "T5QM");
    SerialClose();
    EXPECT_FALSE(SerialOpen(257));
    EXPECT_FALSE(SerialOpen(0));
}

TEST_F(SerialTransportTest, HangUpEndsTheRequestAtItsTimeOutAndNothingSpinsAfterwards) {
    m_device.SetReply({ScriptedResponder::Pattern(10), 0, true});
    Play(kFast);
    CountingPortService counting;
    const BYTE request[] = {0xf4, 0x01};
    BYTE reply[512] = {};
    DWORD count = 0;
    Clock::time_point start = Clock::now();
    EXPECT_TRUE(SerialRequest(request, 2, reply, 512, &count, 300));
    double elapsed = MsSince(start);
    EXPECT_GE(elapsed, 300.0);
    EXPECT_LT(elapsed, 1500.0);
    EXPECT_EQ(count, 10u);
    EXPECT_TRUE(m_player->HasHungUp());

    // The device is gone: a reader that kept polling the dead line would read thousands of times.
    long readsBefore = counting.Reads();
    start = Clock::now();
    EXPECT_TRUE(SerialRequest(request, 2, reply, 512, &count, 200));
    EXPECT_GE(MsSince(start), 200.0);
    EXPECT_EQ(count, 0u);
    EXPECT_LT(counting.Reads() - readsBefore, 20);
    EXPECT_LT(counting.Reads(), 40);
}

}  // namespace
