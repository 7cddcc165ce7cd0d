// Every command over each link that carries it, against the dimmer emulator on a real
// pseudo-terminal published in a private port folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "emulator/DimmerEmulator.h"
#include "emulator/PtyPlayer.h"
#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/SerialTransport.h"
#include "tests/support/RecordingTimeService.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using Table = std::array<WORD, TABLE_ENTRIES>;

// Where the test does not measure the wire, the emulator answers fast: two cores are shared by
// the test, its reader thread and the emulator.
constexpr unsigned FAST_BAUD = 2000000;

Table Pattern(WORD seed) {
    Table table{};
    for (int i = 0; i < TABLE_ENTRIES; ++i) {
        table[static_cast<std::size_t>(i)] = static_cast<WORD>(seed * (i + 1) + (i << 8));
    }
    return table;
}

class ProtocolRoundTripTest : public ::testing::Test {
protected:
    void TearDown() override {
        SerialClose();
        if (m_cable) {
            CurrentCableDriver().Close(m_cable);
        }
        m_player.reset();
    }

    void Play(const char* model, unsigned baud, bool reallyWait = false) {
        m_time = std::make_unique<RecordingTimeService>(reallyWait);
        m_dimmer = std::make_unique<DimmerEmulator>(*FindDimmerModel(model));
        PtyPlayer::Options options;
        options.baudRate = baud;
        const bool cable = m_dimmer->Model().link == DimmerLink::Cable;
        options.publish = cable ? PtyPlayer::Publish::Cable : PtyPlayer::Publish::SerialPort;
        options.description = CABLE_DESCRIPTION;
        m_player = std::make_unique<PtyPlayer>(*m_dimmer, options);
        ASSERT_TRUE(m_player->Start());
        if (cable) {
            FT_STATUS status = 99;
            CString description;
            ASSERT_TRUE(CableFindAndOpen(m_cable, status, description));
            ASSERT_EQ(status, FT_OK);
            ASSERT_EQ(description, CABLE_DESCRIPTION);
            ASSERT_TRUE(CableIsOpen(m_cable));
        } else {
            ASSERT_TRUE(SerialOpen(m_player->ComNumber()));
        }
    }

    // Commands without a reply are taken on the emulator's thread: wait (bounded) for them.
    bool Arrived(std::uint64_t bytes) {
        for (int i = 0; i < 400 && m_player->ReceivedCount() < bytes; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return m_player->ReceivedCount() >= bytes;
    }

    TempRuntimeDir m_runtime;
    std::unique_ptr<RecordingTimeService> m_time;
    std::unique_ptr<DimmerEmulator> m_dimmer;
    std::unique_ptr<PtyPlayer> m_player;
    FT_HANDLE m_cable = nullptr;
};

TEST_F(ProtocolRoundTripTest, CableQp4EveryCommand) {
    Play("qp4", FAST_BAUD);
    EXPECT_EQ(CableIdentify(m_cable), m_dimmer->Model().identifyText);

    const Table table = Pattern(7);
    EXPECT_TRUE(CableWriteTable(m_cable, CMD_WRITE_TABLE_B, 3, table.data()));
    Table back{};
    EXPECT_EQ(CableReadTable(m_cable, 3, back.data()), TABLE_IMAGE_SIZE);
    EXPECT_EQ(back, table);

    const std::uint64_t before = m_player->ReceivedCount();
    EXPECT_TRUE(SendOutputLevel(m_cable, 2, 1023));
    for (WORD address = 0; address < 3; ++address) {
        CableWriteEepromByte(m_cable, address, static_cast<BYTE>(0x12 + 0x22 * address));
    }
    CableWriteShutdownTemperature(m_cable, 556);
    ASSERT_TRUE(Arrived(before + 3 + 3 * 5 + 3));
    WORD raw = 0;
    EXPECT_EQ(CableReadShutdownTemperature(m_cable, &raw), 2u);
    EXPECT_EQ(raw, 556);

    m_dimmer->SetRawTemperatures({512, 535, 769, 470});
    BYTE reply[TEMPERATURE_REPLY_FOUR_READINGS] = {};
    ASSERT_EQ(CableReadTemperature(m_cable, reply, TEMPERATURE_REPLY_FOUR_READINGS), 8u);
    EXPECT_EQ(WordFromWire(reply), 512);
    EXPECT_EQ(WordFromWire(reply + 2), 535);
    EXPECT_EQ(WordFromWire(reply + 4), 769);
    EXPECT_EQ(WordFromWire(reply + 6), 470);

    const DimmerSnapshot s = m_dimmer->Snapshot();
    EXPECT_EQ(s.levels[2], 1023);
    EXPECT_EQ(s.eepromBytes, 3u);
    EXPECT_EQ(s.eepromBadChecks, 0u);
    EXPECT_EQ(m_dimmer->EepromByte(1), 0x34);
    EXPECT_EQ(m_dimmer->EepromByte(2), 0x56);
    EXPECT_EQ(s.ignored, 0u);
}

TEST_F(ProtocolRoundTripTest, CableQp1OneByteTemperatureAndTableA) {
    Play("qp1", FAST_BAUD);
    BYTE reply[1] = {};
    m_dimmer->SetTemperatureByte(25);
    EXPECT_EQ(CableReadTemperature(m_cable, reply, 1), 1u);
    EXPECT_EQ(reply[0], 25);
    m_dimmer->SetTemperatureByte(200);
    EXPECT_EQ(CableReadTemperature(m_cable, reply, 1), 1u);
    EXPECT_EQ(reply[0], 200);

    const Table table = Pattern(3);
    EXPECT_TRUE(CableWriteTable(m_cable, CMD_WRITE_TABLE_A, 0, table.data()));
    EXPECT_EQ(m_dimmer->Snapshot().tables[0], table);
}

TEST_F(ProtocolRoundTripTest, CableKav5806TakesCode187AsOutputTwelve) {
    Play("kav5806", FAST_BAUD);
    const std::uint64_t before = m_player->ReceivedCount();
    EXPECT_TRUE(SendOutputLevel(m_cable, 11, 65535));
    ASSERT_TRUE(Arrived(before + 3));
    EXPECT_EQ(m_dimmer->Snapshot().levels[11], 65535);
    EXPECT_EQ(m_dimmer->Snapshot().eepromBytes, 0u);
}

// At the cable's own rate the 512-byte reply (about 270 ms) fits the pause and the read time-out.
TEST_F(ProtocolRoundTripTest, CableTableReadAtTheWireRate) {
    Play("qp2", CABLE_BAUD_RATE, /*reallyWait=*/true);
    const Table table = Pattern(11);
    m_dimmer->SetTable(1, table);
    Table back{};
    EXPECT_EQ(CableReadTable(m_cable, 1, back.data()), TABLE_IMAGE_SIZE);
    EXPECT_EQ(back, table);
}

TEST_F(ProtocolRoundTripTest, CableTableWriteEndsWhenTheDimmerHangsUp) {
    Play("qp3", FAST_BAUD);
    m_dimmer->SetFault(DimmerFault::HangUpMidTransfer);
    const Table table = Pattern(5);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CableWriteTable(m_cable, CMD_WRITE_TABLE_A, 1, table.data()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    // The player notes its hang-up just after closing the line, which the link may see first.
    for (int i = 0; i < 100 && !m_player->HasHungUp(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(m_player->HasHungUp());
    EXPECT_EQ(m_dimmer->Snapshot().tableWrites[1], 0u);
    Table back = table;
    EXPECT_EQ(CableReadTable(m_cable, 1, back.data()), 0u);
    EXPECT_EQ(back, table);
}

TEST_F(ProtocolRoundTripTest, SerialT5qmEveryCommand) {
    Play("t5qm", FAST_BAUD);
    DWORD count = 0;
    EXPECT_EQ(SerialIdentify(&count), m_dimmer->Model().identifyText);
    EXPECT_GT(count, 0u);

    const Table table = Pattern(13);
    EXPECT_TRUE(SerialWriteTable(CMD_WRITE_TABLE_B, 8, table.data()));
    Table back{};
    EXPECT_EQ(SerialReadTable(8, back.data()), TABLE_IMAGE_SIZE);
    EXPECT_EQ(back, table);

    const std::uint64_t before = m_player->ReceivedCount();
    EXPECT_TRUE(SendOutputLevel(nullptr, 4, 0x0102));
    ASSERT_TRUE(Arrived(before + 3));
    EXPECT_EQ(m_dimmer->Snapshot().levels[4], 0x0102);
    EXPECT_EQ(m_dimmer->Snapshot().ignored, 0u);
}

TEST_F(ProtocolRoundTripTest, SerialR8pIdentifiesAtTheWireRate) {
    Play("nwe-r8p", SERIAL_BAUD_RATE);
    EXPECT_EQ(SerialIdentify(), m_dimmer->Model().identifyText);
    const std::uint64_t before = m_player->ReceivedCount();
    EXPECT_TRUE(SendOutputLevel(nullptr, 0, 1023));
    ASSERT_TRUE(Arrived(before + 3));
    EXPECT_EQ(m_dimmer->Snapshot().levels[0], 1023);
}

TEST_F(ProtocolRoundTripTest, SerialSilentDimmerGivesAnEmptyText) {
    Play("t5qm", SERIAL_BAUD_RATE);
    m_dimmer->SetFault(DimmerFault::Silent);
    DWORD count = 99;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SerialIdentify(&count), "");
    EXPECT_EQ(count, 0u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
}

TEST_F(ProtocolRoundTripTest, SerialLateTableReplyIsNoTable) {
    Play("t5qm", FAST_BAUD);
    m_dimmer->SetFault(DimmerFault::LateReplies, 120);
    Table back{};
    back.fill(9);
    EXPECT_EQ(SerialReadTable(0, back.data()), 0u);
    EXPECT_TRUE(std::all_of(back.begin(), back.end(), [](WORD w) { return w == 9; }));
}

}  // namespace
