#include "emulator/DimmerEmulator.h"

#include "link/CableTransport.h"
#include "link/ModelProfiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Bytes = std::vector<BYTE>;

const DimmerModel& Model(const char* name) {
    const DimmerModel* model = FindDimmerModel(name);
    EXPECT_NE(model, nullptr) << name;
    return model ? *model : DimmerModels().front();
}

DeviceReply Feed(DimmerEmulator& dimmer, const Bytes& bytes) {
    return dimmer.OnReceive(bytes.data(), bytes.size());
}

Bytes TableWrite(BYTE code, BYTE index, const DimmerTable& table) {
    Bytes request(WRITE_TABLE_LENGTH);
    request[0] = code;
    request[1] = index;
    TableToImage(table.data(), request.data() + 2);
    return request;
}

DimmerTable Ramp(WORD start) {
    DimmerTable table{};
    for (int i = 0; i < TABLE_ENTRIES; ++i) {
        table[static_cast<std::size_t>(i)] = static_cast<WORD>(start + 257 * i);
    }
    return table;
}

std::string Text(const Bytes& reply) {
    std::string text(reply.begin(), reply.end());
    return text.substr(0, text.find('\0'));
}

// The application's own reading of an identify text: the cable's title row, the profile that
// the later rules leave in force, and the serial scan's model.
std::string CableOutcome(const std::string& reply) {
    const CableProfileRules rules = CableRulesFor(CABLE_DESCRIPTION, reply.c_str());
    return rules.qp4 ? "QP4" : rules.kav5806 ? "KAV5806" : rules.t5qm ? "T5 QM" : "cable family";
}
std::string CableTitle(const std::string& reply) {
    return CableTitleSuffix(reply.c_str());
}
std::string SerialOutcome(const std::string& reply) {
    const char* model = SerialModelText(reply.c_str());
    return model ? model : "none";
}

TEST(DimmerEmulatorTest, EveryModelIdentifiesAsExactlyItsOwnProfile) {
    struct Case {
        const char* model;
        DimmerLink link;
        const char* title;    // cable title row
        const char* outcome;  // profile chosen
    } cases[] = {
        {"qp1", DimmerLink::Cable, " - LED-Dimmer QP1 (1 PowerUnit) Online", "cable family"},
        {"qp2", DimmerLink::Cable, " - LED-Dimmer QP2 (2 PowerUnit) Online", "cable family"},
        {"qp3", DimmerLink::Cable, " - LED-Dimmer QP3 (3 PowerUnit) Online", "cable family"},
        {"qp4", DimmerLink::Cable, " - LED-Dimmer QP4 (4 PowerUnit) Online", "QP4"},
        {"QP with no", DimmerLink::Cable, " - LED-Dimmer QP  (0 PowerUnit) Online", "cable family"},
        {"kav5806", DimmerLink::Cable, " - LED-Dimmer KAV5806 Online", "KAV5806"},
        {"T5 QM", DimmerLink::Cable, " - (Programming cable found / no device)", "T5 QM"},
        {"t5qm", DimmerLink::Serial, "", "DMX-LED-Dimmer T5QM"},
        {"NWE Dimmer R8P", DimmerLink::Serial, "", "NWE Dimmer R8P"},
    };
    ASSERT_EQ(DimmerModels().size(), std::size(cases));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        DimmerEmulator dimmer(Model(c.model));
        const DeviceReply reply = Feed(dimmer, {CMD_IDENTIFY});
        ASSERT_FALSE(reply.bytes.empty());
        EXPECT_EQ(reply.bytes.back(), 0);  // the text ends with a zero byte
        EXPECT_LE(reply.bytes.size(), CABLE_IDENTIFY_CAPACITY);
        const std::string text = Text(reply.bytes);
        EXPECT_EQ(dimmer.Model().link, c.link);
        // The model alone, as brenvo-cli reports it, is the name the emulator plays.
        if (c.link == DimmerLink::Cable) {
            EXPECT_EQ(CableTitle(text), c.title);
            EXPECT_EQ(CableOutcome(text), c.outcome);
            EXPECT_EQ(SerialOutcome(text), "none");
            EXPECT_STREQ(CableModelName(text.c_str()), dimmer.Model().displayName);
        } else {
            EXPECT_EQ(SerialOutcome(text), c.outcome);
            EXPECT_EQ(CableOutcome(text), "cable family");  // no cable rule fires either
            EXPECT_STREQ(SerialModelName(SerialModelText(text.c_str())),
                         dimmer.Model().displayName);
        }
    }
}

TEST(DimmerEmulatorTest, ModelsAreFoundByNameOrDisplayNameInAnyCase) {
    EXPECT_EQ(FindDimmerModel("QP1"), FindDimmerModel("qp1"));
    EXPECT_EQ(FindDimmerModel("nwe dimmer r8p"), FindDimmerModel("nwe-r8p"));
    EXPECT_EQ(FindDimmerModel("qp5"), nullptr);
    EXPECT_EQ(FindDimmerModel(""), nullptr);
}

TEST(DimmerEmulatorTest, CommandsSplitAnywhereGiveTheSameState) {
    const DimmerTable table = Ramp(3);
    Bytes stream = TableWrite(CMD_WRITE_TABLE_A, 2, table);
    stream.push_back(TABLE_TRAILER);
    const Bytes tail = {0xb1, 0x2c, 0x01, 187, 0x23, 0x01, 90, 120, CMD_IDENTIFY};
    stream.insert(stream.end(), tail.begin(), tail.end());
    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{7}, stream.size()}) {
        SCOPED_TRACE(chunk);
        DimmerEmulator dimmer(Model("qp1"));
        Bytes replies;
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            const std::size_t n = std::min(chunk, stream.size() - at);
            const DeviceReply r = dimmer.OnReceive(stream.data() + at, n);
            replies.insert(replies.end(), r.bytes.begin(), r.bytes.end());
        }
        const DimmerSnapshot s = dimmer.Snapshot();
        EXPECT_EQ(s.tables[2], table);
        EXPECT_EQ(s.tableWrites[2], 1u);
        EXPECT_EQ(s.levels[1], 300);
        EXPECT_EQ(dimmer.EepromByte(291), 90);
        EXPECT_EQ(s.eepromBytes, 1u);
        EXPECT_EQ(s.commands, 5u);
        EXPECT_EQ(s.ignored, 0u);
        EXPECT_EQ(Text(replies), Model("qp1").identifyText);
    }
}

TEST(DimmerEmulatorTest, TableWrittenIsReadBack) {
    DimmerEmulator dimmer(Model("kav5806"));
    const DimmerTable table = Ramp(0x0102);
    Feed(dimmer, TableWrite(CMD_WRITE_TABLE_B, 11, table));
    const DeviceReply reply = Feed(dimmer, {CMD_READ_TABLE, 11});
    ASSERT_EQ(reply.bytes.size(), TABLE_IMAGE_SIZE);
    EXPECT_EQ(reply.bytes[0], 0x02);
    EXPECT_EQ(reply.bytes[1], 0x01);
    DimmerTable back{};
    ImageToTable(reply.bytes.data(), back.data());
    EXPECT_EQ(back, table);
}

TEST(DimmerEmulatorTest, FreshTablesHoldTheLinearCurveOfTheModelsRange) {
    struct Case {
        const char* model;
        WORD last;
    } cases[] = {{"qp2", 511}, {"qp4", 1023}, {"t5qm", 65535}, {"nwe-r8p", 1023}};
    for (const Case& c : cases) {
        const DimmerSnapshot s = DimmerEmulator(Model(c.model)).Snapshot();
        EXPECT_EQ(s.tables[0][0], 0) << c.model;
        EXPECT_EQ(s.tables[0][255], c.last) << c.model;
    }
}

TEST(DimmerEmulatorTest, SharedCode187IsReadTheWayTheModelReadsIt) {
    DimmerEmulator qp(Model("qp3"));
    Feed(qp, {187, 35, 1, 90, 120});
    EXPECT_EQ(qp.EepromByte(291), 90);
    EXPECT_EQ(qp.Snapshot().commands, 1u);

    DimmerEmulator kav(Model("kav5806"));
    Feed(kav, {187, 255, 255, 187, 0x10, 0x00});
    const DimmerSnapshot s = kav.Snapshot();
    EXPECT_EQ(s.levels[11], 16);  // output 12, twice
    EXPECT_EQ(s.commands, 2u);
    EXPECT_EQ(kav.EepromByte(0xffff), 0xff);
}

TEST(DimmerEmulatorTest, EepromByteWithWrongCheckIsCountedAndNotStored) {
    DimmerEmulator dimmer(Model("qp1"));
    Feed(dimmer, {187, 0, 0, 18, 18, 187, 1, 0, 52, 52, 187, 2, 0, 86, 84});
    const DimmerSnapshot s = dimmer.Snapshot();
    EXPECT_EQ(s.eepromBytes, 2u);
    EXPECT_EQ(s.eepromBadChecks, 1u);
    EXPECT_EQ(s.lastEepromAddress, 2);
    EXPECT_EQ(dimmer.EepromByte(0), 18);
    EXPECT_EQ(dimmer.EepromByte(1), 0xff);  // never written
    EXPECT_EQ(dimmer.EepromByte(2), 86);
}

TEST(DimmerEmulatorTest, TemperaturesAsEachModelReportsThem) {
    DimmerEmulator one(Model("qp1"));
    one.SetTemperatureByte(200);  // no valid reading
    EXPECT_EQ(Feed(one, {CMD_READ_TEMPERATURE}).bytes, Bytes{200});

    DimmerEmulator four(Model("qp4"));
    four.SetRawTemperatures({512, 535, 769, 470});
    EXPECT_EQ(Feed(four, {CMD_READ_TEMPERATURE}).bytes,
              (Bytes{0x00, 0x02, 0x17, 0x02, 0x01, 0x03, 0xd6, 0x01}));

    Feed(four, {CMD_WRITE_SHUTDOWN_TEMPERATURE, 0x17, 0x02});
    EXPECT_EQ(Feed(four, {CMD_READ_SHUTDOWN_TEMPERATURE}).bytes, (Bytes{0x17, 0x02}));
    EXPECT_EQ(four.Snapshot().shutdownRaw, 535);
}

TEST(DimmerEmulatorTest, CommandsTheModelLacksAreIgnoredWhole) {
    DimmerEmulator kav(Model("kav5806"));
    EXPECT_TRUE(Feed(kav, {CMD_READ_TEMPERATURE, CMD_READ_SHUTDOWN_TEMPERATURE}).bytes.empty());
    Feed(kav, {CMD_WRITE_SHUTDOWN_TEMPERATURE, 1, 2});
    EXPECT_EQ(kav.Snapshot().shutdownRaw, DimmerEmulator::DEFAULT_SHUTDOWN_RAW);

    // The other table-write code: its 512 bytes are not taken for commands ('i' would answer).
    DimmerTable identifies{};
    identifies.fill(0x6969);
    const DimmerTable before = kav.Snapshot().tables[0];
    EXPECT_TRUE(Feed(kav, TableWrite(CMD_WRITE_TABLE_A, 0, identifies)).bytes.empty());
    EXPECT_EQ(kav.Snapshot().tables[0], before);

    DimmerEmulator r8p(Model("nwe-r8p"));
    Feed(r8p, {0xb1, 0xff, 0x03});  // output 2 does not exist
    EXPECT_TRUE(Feed(r8p, {CMD_READ_TABLE, 1}).bytes.empty());
    Feed(r8p, {0x13, 0x00, 0xb0, 0xff, 0x03});  // a stray byte, then output 1
    const DimmerSnapshot s = r8p.Snapshot();
    EXPECT_EQ(s.levels[0], 1023);
    EXPECT_EQ(s.levels[1], 0);
    EXPECT_EQ(s.ignored, 4u);
}

TEST(DimmerEmulatorTest, FaultModesChangeOnlyTheReplies) {
    const std::string text = Model("qp2").identifyText;
    struct Case {
        DimmerFault fault;
        std::size_t identifyLength;
        unsigned delayMs;
    } cases[] = {
        {DimmerFault::None, text.size() + 1, 0},         {DimmerFault::Silent, 0, 0},
        {DimmerFault::ShortReplies, text.size(), 0},     {DimmerFault::Garbage, text.size() + 1, 0},
        {DimmerFault::LateReplies, text.size() + 1, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(DimmerEmulator::FaultName(c.fault));
        DimmerEmulator dimmer(Model("qp2"));
        dimmer.SetFault(c.fault, 40);
        const DeviceReply identify = Feed(dimmer, {CMD_IDENTIFY});
        EXPECT_EQ(identify.bytes.size(), c.identifyLength);
        EXPECT_EQ(identify.delayMs, c.delayMs);
        EXPECT_FALSE(identify.hangUp);
        if (c.fault == DimmerFault::Garbage) {
            EXPECT_NE(Text(identify.bytes), text);
        } else if (c.identifyLength > 0) {
            EXPECT_EQ(Text(identify.bytes), text);
        }
        Feed(dimmer, {0xb3, 0x34, 0x12});  // the state changes whatever the fault
        EXPECT_EQ(dimmer.Snapshot().levels[3], 0x1234);
        EXPECT_EQ(Feed(dimmer, {0xb3, 0, 0}).delayMs, 0u);  // nothing to answer, nothing late
    }
    DimmerEmulator shortTable(Model("qp2"));
    shortTable.SetFault(DimmerFault::ShortReplies);
    EXPECT_EQ(Feed(shortTable, {CMD_READ_TABLE, 0}).bytes.size(), TABLE_IMAGE_SIZE - 1);
    EXPECT_TRUE(Feed(shortTable, {CMD_READ_TEMPERATURE}).bytes.empty());
}

TEST(DimmerEmulatorTest, NeverConfirmLeavesTheProbeAfterATableWriteUnanswered) {
    DimmerEmulator dimmer(Model("qp1"));
    dimmer.SetFault(DimmerFault::NeverConfirm);
    EXPECT_FALSE(Feed(dimmer, {CMD_IDENTIFY}).bytes.empty());  // detection still works
    Bytes write = TableWrite(CMD_WRITE_TABLE_A, 0, Ramp(1));
    write.push_back(TABLE_TRAILER);
    Feed(dimmer, write);
    EXPECT_EQ(dimmer.Snapshot().tableWrites[0], 1u);  // the table itself is stored
    EXPECT_TRUE(Feed(dimmer, {CMD_IDENTIFY}).bytes.empty());
    EXPECT_TRUE(Feed(dimmer, {CMD_IDENTIFY}).bytes.empty());
}

TEST(DimmerEmulatorTest, HangUpBreaksOffATableWriteAndLaterInputIsIgnored) {
    DimmerEmulator dimmer(Model("qp4"));
    dimmer.SetFault(DimmerFault::HangUpMidTransfer);
    const DimmerTable before = dimmer.Snapshot().tables[1];
    EXPECT_FALSE(Feed(dimmer, {CMD_WRITE_TABLE_B}).hangUp);
    const DeviceReply r = Feed(dimmer, {1});
    EXPECT_TRUE(r.hangUp);
    EXPECT_TRUE(r.bytes.empty());
    const Bytes rest(TABLE_IMAGE_SIZE, 0x69);
    EXPECT_TRUE(Feed(dimmer, rest).bytes.empty());
    const DimmerSnapshot s = dimmer.Snapshot();
    EXPECT_TRUE(s.hungUp);
    EXPECT_EQ(s.tables[1], before);
    EXPECT_EQ(s.tableWrites[1], 0u);
}

TEST(DimmerEmulatorTest, HangUpBreaksOffATableReadHalfWay) {
    DimmerEmulator dimmer(Model("t5qm"));
    dimmer.SetFault(DimmerFault::HangUpMidTransfer);
    const DeviceReply r = Feed(dimmer, {CMD_READ_TABLE, 8, CMD_IDENTIFY});
    EXPECT_TRUE(r.hangUp);
    EXPECT_EQ(r.bytes.size(), TABLE_IMAGE_SIZE / 2);  // the identify after it is never seen
}

TEST(DimmerEmulatorTest, FaultNamesRoundTrip) {
    for (DimmerFault f :
         {DimmerFault::None, DimmerFault::Silent, DimmerFault::ShortReplies, DimmerFault::Garbage,
          DimmerFault::LateReplies, DimmerFault::NeverConfirm, DimmerFault::HangUpMidTransfer}) {
        DimmerFault parsed = DimmerFault::None;
        EXPECT_TRUE(DimmerEmulator::ParseFault(DimmerEmulator::FaultName(f), &parsed));
        EXPECT_EQ(parsed, f);
    }
    DimmerFault parsed = DimmerFault::Silent;
    EXPECT_FALSE(DimmerEmulator::ParseFault("loud", &parsed));
    EXPECT_EQ(parsed, DimmerFault::Silent);
}

}  // namespace
