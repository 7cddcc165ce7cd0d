#include <gtest/gtest.h>

#include <vector>

#include "emulator/DimmerCommandLine.h"
#include "emulator/DimmerView.h"

namespace {

struct Parsed {
    bool ok;
    DimmerCommandLine line;
};

Parsed Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "brenvo-dimmer");
    Parsed p{false, {}};
    p.ok = p.line.Parse(static_cast<int>(args.size()), args.data());
    return p;
}

TEST(DimmerCommandLineTest, AcceptsEveryModelAndTheSettings) {
    for (const DimmerModel& m : DimmerModels()) {
        const Parsed p = Parse({"--model", m.name});
        ASSERT_TRUE(p.ok) << m.name;
        EXPECT_EQ(p.line.model, &m);
    }
    const std::pair<const char*, const char*> settings[] = {
        {"--model", "QP4"},       {"--fault", "late"},
        {"--late-ms", "120"},     {"--raw-temperatures", "512,535,769,470"},
        {"--temperature", "200"}, {"--shutdown-raw", "65535"},
        {"--baud", "230400"},     {"--serial", "FT7K2-QX_A"},
    };
    std::vector<const char*> all;
    for (const auto& [option, value] : settings) {
        all.insert(all.end(), {option, value});
    }
    const Parsed p = Parse(all);
    ASSERT_TRUE(p.ok) << p.line.Error();
    EXPECT_STREQ(p.line.model->name, "qp4");
    EXPECT_EQ(p.line.fault, DimmerFault::LateReplies);
    EXPECT_EQ(p.line.lateMs, 120u);
    EXPECT_EQ(*p.line.rawTemperatures, (std::array<WORD, 4>{512, 535, 769, 470}));
    EXPECT_EQ(*p.line.temperatureByte, 200);
    EXPECT_EQ(*p.line.shutdownRaw, 65535);
    EXPECT_EQ(p.line.baudRate, 230400u);
    EXPECT_EQ(p.line.serialNumber, "FT7K2-QX_A");
    EXPECT_FALSE(p.line.help);
}

TEST(DimmerCommandLineTest, DefaultsToTheFirstCableModel) {
    const Parsed p = Parse({});
    ASSERT_TRUE(p.ok);
    EXPECT_STREQ(p.line.model->name, "qp1");
    EXPECT_EQ(p.line.fault, DimmerFault::None);
    EXPECT_TRUE(Parse({"--help"}).line.help);
}

TEST(DimmerCommandLineTest, RefusesWhatItDoesNotUnderstand) {
    const std::string longText(64, 'x');
    const std::vector<std::vector<const char*>> bad = {
        {"--model", "qp9"},
        {"--model"},
        {"--fault", "loud"},
        {"--temperature", "256"},
        {"--temperature", "-1"},
        {"--temperature", "25x"},
        {"--temperature", ""},
        {"--raw-temperatures", "1,2,3"},
        {"--raw-temperatures", "1,2,3,4,5"},
        {"--raw-temperatures", "1,2,,4"},
        {"--raw-temperatures", "1,2,3,65536"},
        {"--shutdown-raw", "99999999999999999999"},
        {"--baud", "0"},
        {"--late-ms", "+5"},
        {"--model", "t5qm", "--description", "QELVORN-Configuration-Cable"},
        {"--description", longText.c_str()},
        {"--serial", ""},
        {"--serial", "0123456789ABCDEF"},  // more than the cable's driver holds
        {"--serial", "A B"},
        {"--serial", "A\x1b[2J"},
        {"--verbose", "1"},
        {"extra"},
    };
    for (const auto& args : bad) {
        const Parsed p = Parse(args);
        EXPECT_FALSE(p.ok) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_FALSE(p.line.Error().empty()) << args[0];
    }
}

TEST(DimmerCommandLineTest, UsageNamesEveryModelAndFault) {
    const std::string usage = DimmerCommandLine::Usage();
    for (const DimmerModel& m : DimmerModels()) {
        EXPECT_NE(usage.find(m.name), std::string::npos) << m.name;
    }
    for (const char* fault : {"silent", "short", "garbage", "late", "no-confirm", "hang-up"}) {
        EXPECT_NE(usage.find(fault), std::string::npos) << fault;
    }
}

TEST(DimmerViewTest, ShowsWhatTheDimmerReceived) {
    const DimmerModel& qp4 = *FindDimmerModel("qp4");
    DimmerEmulator dimmer(qp4);
    dimmer.SetRawTemperatures({512, 535, 769, 470});
    std::vector<BYTE> bytes = {
        0xb2, 0xff, 0x03, CMD_WRITE_SHUTDOWN_TEMPERATURE, 0x17, 0x02, 187, 35, 1, 90, 120};
    bytes.push_back(CMD_WRITE_TABLE_B);
    bytes.push_back(1);
    for (int i = 0; i < TABLE_ENTRIES; ++i) {
        bytes.push_back(static_cast<BYTE>(i));
        bytes.push_back(0);
    }
    dimmer.OnReceive(bytes.data(), bytes.size());
    const std::string text =
        DimmerView(qp4, "CABLE0").Render(dimmer.Snapshot(), DimmerFault::NeverConfirm);
    for (const char* part :
         {"QP4 on CABLE0", "fault: no-confirm", " 3:  1023", " 4:     0",
          "2: 1x  [0]=0 [64]=64 [128]=128 [192]=192 [255]=255", "1 bytes stored, 0 refused",
          "last address 291", "raw 535", "(raw): 512 535 769 470", "4 received, 0 ignored",
          "table for output 2 written"}) {
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    }
    EXPECT_EQ(text.find(" 5:"), std::string::npos);  // four outputs only
}

TEST(DimmerViewTest, OneByteTemperatureAndModelsWithoutExtras) {
    DimmerEmulator qp1(*FindDimmerModel("qp1"));
    qp1.SetTemperatureByte(128);
    const std::string one = DimmerView(qp1.Model(), "x").Render(qp1.Snapshot(), DimmerFault::None);
    EXPECT_NE(one.find("byte 128 (no valid reading)"), std::string::npos) << one;
    EXPECT_NE(one.find("Tables written: none"), std::string::npos) << one;

    DimmerEmulator r8p(*FindDimmerModel("nwe-r8p"));
    DimmerView view(r8p.Model(), "EMU0");
    const std::string serial = view.Render(r8p.Snapshot(), DimmerFault::None);
    EXPECT_EQ(serial.find("EEPROM"), std::string::npos);
    EXPECT_EQ(serial.find("Temperature"), std::string::npos);
    EXPECT_EQ(serial.find(" 2:"), std::string::npos);
    view.SetWhere("");
    const std::string unplugged = view.Render(r8p.Snapshot(), DimmerFault::None);
    EXPECT_NE(unplugged.find("NWE Dimmer R8P unplugged"), std::string::npos) << unplugged;
}

}  // namespace
