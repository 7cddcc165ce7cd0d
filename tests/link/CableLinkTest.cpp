// The cable link through the production driver on an emulated cable, in real time.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "emulator/PtyPlayer.h"
#include "link/CableTransport.h"
#include "tests/support/ScriptedResponder.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class CableLinkTest : public testing::Test {
protected:
    void Play(const std::string& description, unsigned baud = 19200) {
        PtyPlayer::Options options;
        options.baudRate = baud;
        options.publish = PtyPlayer::Publish::Cable;
        options.description = description;
        m_player = std::make_unique<PtyPlayer>(m_device, options);
        ASSERT_TRUE(m_player->Start());
        ASSERT_EQ(m_player->PublishedName(), "CABLE0");
    }
    void Open() {
        FT_STATUS status = 99;
        CString matched;
        ASSERT_TRUE(CableFindAndOpen(m_cable, status, matched));
        ASSERT_EQ(status, FT_OK);
        ASSERT_TRUE(CableIsOpen(m_cable));
        m_matched = matched.GetString();
    }
    void TearDown() override {
        if (m_cable != nullptr) {
            CurrentCableDriver().Close(m_cable);
        }
        m_player.reset();
    }

    TempRuntimeDir m_runtime;
    ScriptedResponder m_device;
    std::unique_ptr<PtyPlayer> m_player;
    FT_HANDLE m_cable = nullptr;
    std::string m_matched;
};

TEST_F(CableLinkTest, ShortReplyComesBackWhenTheReadTimeOutHasPassed) {
    m_device.SetReply({ScriptedResponder::Pattern(20), 0, false});
    Play("QELVORN-Configuration-Cable");
    Open();
    EXPECT_EQ(m_matched, "QELVORN-Configuration-Cable");
    const BYTE identify[] = {0x69};
    CableWrite(m_cable, identify, 1);
    BYTE buffer[100] = {};
    Clock::time_point start = Clock::now();
    DWORD count = CableRead(m_cable, buffer, 100);
    double elapsed = MsSince(start);
    ASSERT_EQ(count, 20u);
    std::vector<std::uint8_t> expected = ScriptedResponder::Pattern(20);
    EXPECT_EQ(std::memcmp(buffer, expected.data(), 20), 0);
    // 20 bytes at 19200 baud take about 10 ms: the rest is the one 250 ms deadline.
    EXPECT_GE(elapsed, 249.0);
    EXPECT_LT(elapsed, 1000.0);
    EXPECT_EQ(m_device.Received(), (std::vector<std::uint8_t>{0x69}));
}

TEST_F(CableLinkTest, ReadEndsAsSoonAsTheCountHasArrived) {
    m_device.SetReply({ScriptedResponder::Pattern(512), 0, false});
    Play("Dimmer KAV5806", 4000000);
    Open();
    EXPECT_EQ(m_matched, "Dimmer KAV5806");
    const BYTE command[] = {0xf4, 0x00};
    CableWrite(m_cable, command, 2);
    std::vector<BYTE> buffer(512);
    Clock::time_point start = Clock::now();
    EXPECT_EQ(CableRead(m_cable, buffer.data(), 512), 512u);
    EXPECT_LT(MsSince(start), 200.0);
}

TEST_F(CableLinkTest, ReadTimeOutIsOneDeadlineNotAGapBetweenBytes) {
    // 100 bytes at 5 ms each take 500 ms. A read that waited 250 ms after each byte would take
    // them all; the 250 ms read returns with about half, and the rest is there for the next.
    m_device.SetReply({ScriptedResponder::Pattern(100), 0, false});
    Play("QELVORN-Configuration-Cable", 2000);
    Open();
    const BYTE identify[] = {0x69};
    CableWrite(m_cable, identify, 1);
    BYTE buffer[100] = {};
    Clock::time_point start = Clock::now();
    DWORD first = CableRead(m_cable, buffer, 100);
    EXPECT_LT(MsSince(start), 400.0);
    EXPECT_GE(first, 10u);
    EXPECT_LT(first, 100u);
    DWORD total = first;
    for (int i = 0; i < 4 && total < 100; ++i) {
        total += CableRead(m_cable, buffer + total, 100 - total);
    }
    ASSERT_EQ(total, 100u);
    std::vector<std::uint8_t> expected = ScriptedResponder::Pattern(100);
    EXPECT_EQ(std::memcmp(buffer, expected.data(), 100), 0);
}

TEST_F(CableLinkTest, LineIsSetTo19200EightNoneOne) {
    Play("QELVORN-Configuration-Cable");
    Open();
    int slave = open(m_player->SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    close(slave);
    EXPECT_EQ(cfgetispeed(&t), static_cast<speed_t>(B19200));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
}

TEST_F(CableLinkTest, RefusedSettingsLeaveTheLineAsItWas) {
    Play("QELVORN-Configuration-Cable");
    Open();
    CableDriver& driver = CurrentCableDriver();
    EXPECT_EQ(driver.SetBaudRate(m_cable, 12345), FT_IO_ERROR);
    EXPECT_EQ(driver.SetDataCharacteristics(m_cable, 8, 1, 0), FT_IO_ERROR);  // 1.5 stop bits
    EXPECT_EQ(driver.SetFlowControl(m_cable, 0x0200, 0, 0), FT_IO_ERROR);     // DTR/DSR
    // A later change builds on the line as it was, not on what was refused.
    EXPECT_EQ(driver.SetFlowControl(m_cable, 0x0100, 0, 0), FT_OK);  // RTS/CTS
    int slave = open(m_player->SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    close(slave);
    EXPECT_EQ(cfgetispeed(&t), static_cast<speed_t>(B19200));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CRTSCTS));
}

TEST_F(CableLinkTest, OtherCablesAreNotOpened) {
    Play("USB <-> Serial Cable");
    FT_STATUS status = 99;
    CString matched;
    EXPECT_FALSE(CableFindAndOpen(m_cable, status, matched));
    EXPECT_FALSE(CableIsOpen(m_cable));
}

TEST_F(CableLinkTest, HungUpDeviceEndsTheReadAtOnce) {
    m_device.SetReply({ScriptedResponder::Pattern(5), 0, true});
    Play("QELVORN-Configuration-Cable", 4000000);
    Open();
    const BYTE identify[] = {0x69};
    CableWrite(m_cable, identify, 1);
    BYTE buffer[100];
    DWORD first = CableRead(m_cable, buffer, 100);
    EXPECT_LE(first, 5u);
    Clock::time_point start = Clock::now();
    EXPECT_EQ(CableRead(m_cable, buffer, 100), 0u);
    CableWrite(m_cable, identify, 1);  // goes nowhere, returns
    EXPECT_LT(MsSince(start), 250.0);
}

// The window looks at an idle link now and then: a device that went away in between is noticed
// without a read or a write, and a device that is there is not taken for gone.
TEST_F(CableLinkTest, AnIdleCableWhoseDeviceWentAwayIsGone) {
    Play("QELVORN-Configuration-Cable");
    Open();
    EXPECT_FALSE(CableIsGone(m_cable));
    m_player->Unplug();
    EXPECT_TRUE(CableIsGone(m_cable));
}

TEST_F(CableLinkTest, DriverListsTheEmulatedCableWithItsTexts) {
    Play("QELVORN-Configuration-Cable");
    CableDriver& driver = CurrentCableDriver();
    DWORD count = 0;
    ASSERT_EQ(driver.CreateDeviceInfoList(&count), FT_OK);
    ASSERT_GE(count, 1u);
    char serial[FT_SERIAL_SIZE];
    char description[FT_DESCRIPTION_SIZE];
    DWORD flags, type, id, loc;
    FT_HANDLE handle;
    ASSERT_EQ(driver.GetDeviceInfoDetail(count - 1, &flags, &type, &id, &loc, serial, description,
                                         &handle),
              FT_OK);
    EXPECT_STREQ(description, "QELVORN-Configuration-Cable");
    EXPECT_STREQ(serial, "CABLE0");
    EXPECT_EQ(
        driver.GetDeviceInfoDetail(count, &flags, &type, &id, &loc, serial, description, &handle),
        FT_DEVICE_NOT_FOUND);
    FT_HANDLE opened = nullptr;
    EXPECT_EQ(driver.Open(static_cast<int>(count), &opened), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(opened, nullptr);
    BYTE byte;
    DWORD read = 7;
    EXPECT_EQ(driver.Read(reinterpret_cast<FT_HANDLE>(&read), &byte, 1, &read), FT_INVALID_HANDLE);
    EXPECT_EQ(read, 0u);
}

}  // namespace
