#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "emulator/DimmerEmulator.h"
#include "link/DeviceProtocol.h"
#include "tests/support/RecordingCableDriver.h"

namespace {

using Bytes = std::vector<BYTE>;
using Texts = std::vector<std::string>;

class DeviceProtocolCableTest : public ::testing::Test {
protected:
    RecordingTimeService time;
    RecordingCableDriver driver{&time};
    FT_HANDLE cable = driver.OpenedHandle();

    static std::array<WORD, TABLE_ENTRIES> Ramp(WORD first) {
        std::array<WORD, TABLE_ENTRIES> table{};
        for (int i = 0; i < TABLE_ENTRIES; ++i) {
            table[static_cast<std::size_t>(i)] = static_cast<WORD>(first + 3 * i);
        }
        return table;
    }
};

TEST_F(DeviceProtocolCableTest, OutputLevelsAreCodeLowHighThenTenMilliseconds) {
    struct Case {
        int outputIndex;
        WORD level;
        Bytes bytes;
    } cases[] = {
        {2, 1023, {0xb2, 0xff, 0x03}},
        {0, 0, {0xb0, 0x00, 0x00}},
        {11, 65535, {187, 255, 255}},
        {0, 300, {0xb0, 0x2c, 0x01}},
    };
    for (const Case& c : cases) {
        driver.ClearLog();
        EXPECT_TRUE(SendOutputLevel(cable, c.outputIndex, c.level));
        EXPECT_EQ(driver.Writes(), std::vector<Bytes>{c.bytes});
        EXPECT_EQ(driver.Log().back().Text(), "Sleep(10)");
        EXPECT_EQ(driver.Log().size(), 2u);
    }
}

// The probe's bound lies far beyond what a working dimmer needs.
static_assert(TABLE_CONFIRM_LIMIT_MS >= 3000u, "the table-write probe gives up too early");
constexpr DWORD kProbes = TABLE_CONFIRM_LIMIT_MS / TABLE_PROBE_PAUSE_MS;  // when reads are instant

TEST_F(DeviceProtocolCableTest, OutputIndexOutsideTheTwelveSendsNothing) {
    // Output 13 would form the temperature request's code.
    EXPECT_FALSE(SendOutputLevel(cable, 12, 5));
    EXPECT_FALSE(SendOutputLevel(cable, -1, 5));
    WORD table[TABLE_ENTRIES] = {};
    EXPECT_FALSE(CableWriteTable(cable, CMD_WRITE_TABLE_A, 12, table));
    EXPECT_EQ(CableReadTable(cable, 200, table), 0u);
    EXPECT_TRUE(driver.Log().empty());
}

TEST_F(DeviceProtocolCableTest, NothingReachesAClosedCable) {
    WORD table[TABLE_ENTRIES] = {};
    WORD raw = 0;
    BYTE reply[8];
    EXPECT_EQ(CableIdentify(nullptr), "");
    EXPECT_FALSE(CableWriteTable(nullptr, CMD_WRITE_TABLE_A, 0, table));
    EXPECT_EQ(CableReadTable(nullptr, 0, table), 0u);
    EXPECT_EQ(CableReadTemperature(nullptr, reply, 1), 0u);
    EXPECT_EQ(CableReadShutdownTemperature(nullptr, &raw), 0u);
    EXPECT_EQ(raw, 0xffff);
    CableWriteShutdownTemperature(nullptr, 535);
    // The pacing of levels and EEPROM bytes is kept without a link.
    EXPECT_TRUE(SendOutputLevel(nullptr, 0, 1));
    CableWriteEepromByte(nullptr, 0, 1);
    EXPECT_EQ(driver.Texts(), (Texts{"Sleep(10)", "Sleep(10)"}));
}

TEST_F(DeviceProtocolCableTest, EepromByteCarriesItsCheckByte) {
    CableWriteEepromByte(cable, 291, 90);
    CableWriteEepromByte(cable, 0x0002, 0x56);
    EXPECT_EQ(driver.Writes(), (std::vector<Bytes>{{187, 35, 1, 90, 120}, {187, 2, 0, 86, 84}}));
    EXPECT_EQ(driver.Texts()[1], "Sleep(10)");
    EXPECT_EQ(driver.Texts()[3], "Sleep(10)");
}

TEST_F(DeviceProtocolCableTest, IdentifyDrainsWritesAndReadsTheTextUpToTheZero) {
    struct Case {
        Bytes reply;
        const char* text;
    } cases[] = {
        {{'Q', 'P', '1', 0, 'x'}, "QP1"},
        {{'Q', 'P', '4'}, "QP4"},
        {{}, ""},
        {{0, 'Q'}, ""},
    };
    for (const Case& c : cases) {
        driver.ClearLog();
        driver.ScriptRead({'o', 'l', 'd'});  // stale bytes
        driver.ScriptRead(c.reply);
        EXPECT_EQ(CableIdentify(cable), c.text);
        EXPECT_EQ(driver.Texts(), (Texts{"Read(100)->3", "Write(69)",
                                         "Read(100)->" + std::to_string(c.reply.size())}));
    }
}

TEST_F(DeviceProtocolCableTest, TableWriteFollowsTheTenStepsUntilTheProbeIsAnswered) {
    auto table = Ramp(0x0102);
    driver.ScriptRead({0x55});  // whatever follows the trailer is drained
    driver.ScriptRead({});
    driver.ScriptRead({});
    driver.ScriptRead({'Q', 'P'});
    EXPECT_TRUE(CableWriteTable(cable, CMD_WRITE_TABLE_A, 0, table.data()));
    EXPECT_EQ(driver.Texts(),
              (Texts{"Write(bf)", "Write(00)", "Sleep(100)", "Write[512]", "Sleep(1000)",
                     "Write(ff)", "Sleep(100)", "Read(100)->1", "Write(69)", "Sleep(100)",
                     "Read(100)->0", "Sleep(100)", "Read(100)->0", "Sleep(100)", "Read(100)->2"}));
    const Bytes image = driver.Writes()[2];
    EXPECT_EQ(image[0], 0x02);
    EXPECT_EQ(image[1], 0x01);
    EXPECT_EQ(image[511], HighByte(table[255]));
}

TEST_F(DeviceProtocolCableTest, TableWriteSendsTheCodeAndIndexItIsGiven) {
    auto table = Ramp(0);
    driver.ScriptRead({});
    driver.ScriptRead({'k'});
    EXPECT_TRUE(CableWriteTable(cable, CMD_WRITE_TABLE_B, 11, table.data()));
    EXPECT_EQ(driver.Writes()[0], Bytes{0xf3});
    EXPECT_EQ(driver.Writes()[1], Bytes{11});
}

TEST_F(DeviceProtocolCableTest, UnansweredProbeEndsAfterItsBoundAsNotConfirmed) {
    auto table = Ramp(0);
    EXPECT_FALSE(CableWriteTable(cable, CMD_WRITE_TABLE_A, 3, table.data()));
    const Texts texts = driver.Texts();
    const auto probeStart = std::find(texts.begin(), texts.end(), "Write(69)");
    ASSERT_NE(probeStart, texts.end());
    const Texts probes(probeStart + 1, texts.end());
    ASSERT_EQ(probes.size(), 2u * kProbes);
    for (std::size_t i = 0; i < probes.size(); i += 2) {
        EXPECT_EQ(probes[i], "Sleep(100)");
        EXPECT_EQ(probes[i + 1], "Read(100)->0");
    }
    const auto pauses = time.Pauses();
    const DWORD waited = std::accumulate(pauses.begin(), pauses.end(), DWORD{0});
    EXPECT_EQ(waited, 1200u + TABLE_CONFIRM_LIMIT_MS);
}

TEST_F(DeviceProtocolCableTest, TableReadDrainsRequestsPausesAndDecodes) {
    Bytes image(TABLE_IMAGE_SIZE);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<BYTE>(i * 7);
    }
    image[10] = 0xff;
    image[11] = 0x03;
    driver.ScriptRead({1, 2});
    driver.ScriptRead(image);
    WORD table[TABLE_ENTRIES] = {};
    EXPECT_EQ(CableReadTable(cable, 2, table), TABLE_IMAGE_SIZE);
    EXPECT_EQ(driver.Texts(),
              (Texts{"Read(512)->2", "Write(f4 02)", "Sleep(100)", "Read(512)->512"}));
    EXPECT_EQ(table[5], 1023);
    EXPECT_EQ(table[0], 0x0700);
    EXPECT_EQ(table[255], image[510] | image[511] << 8);
}

TEST_F(DeviceProtocolCableTest, ShortTableReplyLeavesTheTableAlone) {
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{511}}) {
        driver.ScriptRead({});
        driver.ScriptRead(Bytes(size, 0xaa));
        WORD table[TABLE_ENTRIES];
        std::fill(std::begin(table), std::end(table), WORD{7});
        EXPECT_EQ(CableReadTable(cable, 0, table), size);
        EXPECT_TRUE(std::all_of(std::begin(table), std::end(table), [](WORD w) { return w == 7; }));
    }
}

TEST_F(DeviceProtocolCableTest, TemperatureRepliesAreReadInTheirLength) {
    driver.ScriptRead({25});
    driver.ScriptRead({0x00, 0x02, 0x17, 0x02, 0x01, 0x03, 0xd6, 0x01});
    BYTE reply[TEMPERATURE_REPLY_FOUR_READINGS] = {};
    EXPECT_EQ(CableReadTemperature(cable, reply, 1), 1u);
    EXPECT_EQ(reply[0], 25);
    EXPECT_EQ(CableReadTemperature(cable, reply, 8), 8u);
    EXPECT_EQ(WordFromWire(reply + 2), 535);
    EXPECT_EQ(WordFromWire(reply + 6), 470);
    EXPECT_EQ(CableReadTemperature(cable, reply, 100), 0u);  // asks for 8 at most
    EXPECT_EQ(driver.Texts(), (Texts{"Write(bc)", "Read(1)->1", "Write(bc)", "Read(8)->8",
                                     "Write(bc)", "Read(8)->0"}));
}

TEST_F(DeviceProtocolCableTest, ShutdownTemperatureReadAndWrite) {
    WORD raw = 0;
    driver.ScriptRead({0x17, 0x02});
    EXPECT_EQ(CableReadShutdownTemperature(cable, &raw), 2u);
    EXPECT_EQ(raw, 535);
    driver.ScriptRead({0x17});
    EXPECT_EQ(CableReadShutdownTemperature(cable, &raw), 1u);
    EXPECT_EQ(raw, 0xffff);  // a short reply is no reading
    CableWriteShutdownTemperature(cable, 535);
    CableWriteShutdownTemperature(cable, 65535);
    CableWriteShutdownTemperature(cable, 556);
    EXPECT_EQ(driver.Texts(), (Texts{"Write(bd)", "Read(2)->2", "Write(bd)", "Read(2)->1",
                                     "Write(be 17 02)", "Write(be ff ff)", "Write(be 2c 02)"}));
}

// The cable operations against the emulated dimmer, with no pseudo-terminal in between.
TEST_F(DeviceProtocolCableTest, RoundTripsWithTheDimmerModel) {
    DimmerEmulator dimmer(*FindDimmerModel("qp4"));
    driver.AttachResponder(&dimmer);
    EXPECT_EQ(CableIdentify(cable), FindDimmerModel("qp4")->identifyText);

    auto table = Ramp(1);
    EXPECT_TRUE(CableWriteTable(cable, CMD_WRITE_TABLE_B, 3, table.data()));
    WORD back[TABLE_ENTRIES] = {};
    EXPECT_EQ(CableReadTable(cable, 3, back), TABLE_IMAGE_SIZE);
    EXPECT_TRUE(std::equal(table.begin(), table.end(), back));

    SendOutputLevel(cable, 1, 1000);
    CableWriteEepromByte(cable, 7, 0x42);
    CableWriteShutdownTemperature(cable, 556);
    WORD raw = 0;
    EXPECT_EQ(CableReadShutdownTemperature(cable, &raw), 2u);
    EXPECT_EQ(raw, 556);
    BYTE reply[8];
    dimmer.SetRawTemperatures({512, 535, 769, 470});
    EXPECT_EQ(CableReadTemperature(cable, reply, 8), 8u);
    EXPECT_EQ(WordFromWire(reply + 4), 769);
    const DimmerSnapshot s = dimmer.Snapshot();
    EXPECT_EQ(s.levels[1], 1000);
    EXPECT_EQ(dimmer.EepromByte(7), 0x42);
    EXPECT_EQ(s.ignored, 0u);

    dimmer.SetFault(DimmerFault::NeverConfirm);
    EXPECT_FALSE(CableWriteTable(cable, CMD_WRITE_TABLE_B, 0, table.data()));
    EXPECT_EQ(dimmer.Snapshot().tableWrites[0], 1u);
}

}  // namespace
