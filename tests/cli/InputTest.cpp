// What brenvo-cli refuses before anything is sent (exit status 1, one line saying what and where,
// no table and no EEPROM byte at any dimmer), how it echoes what it was given, and what a person
// meets first: the usage, a mistyped command, each command's help.
#include <sys/stat.h>

#include "tests/cli/CliRig.h"

namespace {

class InputTest : public CliRig {};

TEST_F(InputTest, BadInputIsRefusedBeforeAnythingIsSent) {
    Add("qp4");                               // CABLE0: 0 to 1023
    Add("nwe-r8p");                           // EMU0: 0 to 1023
    WriteFile("steep.txt", Lines(256, 300));  // entry 4 is 1200
    WriteFile("wide.txt", "1\n70000\n" + Lines(254, 1));
    WriteFile("huge.txt", "1\n" + std::string("4294967296\n") + Lines(254, 1));
    WriteFile("noname.ini", "[TABLE0]\r\nMAX=1023\r\nVALUE0=0\r\n");
    WriteFile("notable.ini", "[DEVICE]\r\nNAME=QELVORN LED-Dimmer QP4 V2.0\r\n");
    WriteFile("first.ini", "[DEVICE]\r\nNAME=NWE Dimmer R8P\r\n[TABLE0]\r\nMAX=1023\r\n");
    WriteFile("second.ini", "[DEVICE]\r\nNAME=NWE Dimmer R8P\r\n[TABLE0]\r\nMAX=1023\r\n");
    WriteFile("empty.hex", "");
    WriteFile("ramp.txt", Lines(256, 4));
    // Larger than a configuration file can be, and without a byte on the disk.
    WriteFile("large.ini", "[DEVICE]\r\nNAME=x\r\n");
    ASSERT_EQ(::truncate(Path("large.ini").c_str(), 16 * 1024 * 1024 + 1), 0);

    const struct {
        std::vector<std::string> args;
        std::string err;  // contained in standard error
    } rows[] = {
        {{"write", "steep.txt", "-p", "CABLE0", "-o", "1"},
         "steep.txt: the entry for DMX value 4 is 1200, beyond the range 0 to 1023 of the dimmer "
         "on CABLE0"},
        {{"write", "wide.txt", "--all", "-o", "1"}, "wide.txt: the entry for DMX value 1 is 70000"},
        {{"write", "huge.txt", "-p", "EMU0", "-o", "1"}, "the entry for DMX value 1 is 4294967296"},
        {{"curve", "formula", "x*1000", "-p", "CABLE0"},
         "formula x*1000: the entry for DMX value 2 is 2000, beyond the range 0 to 1023"},
        {{"curve", "formula", "-p", "EMU0", "--", "-x"},
         "formula -x: the entry for DMX value 1 is -1"},
        {{"write", "noname.ini", "--all"}, "noname.ini: no configuration file (it has no NAME"},
        {{"write", "notable.ini", "-p", "CABLE0"}, "notable.ini: no table in it"},
        {{"write", "large.ini", "-p", "CABLE0"},
         "large.ini: too large to be a configuration file (16777217 bytes"},
        {{"write", "first.ini", "second.ini", "--all"},
         "first.ini and second.ini are both for the dimmer named NWE Dimmer R8P"},
        {{"write", "first.ini", "ramp.txt", "--all", "-o", "1"},
         "ramp.txt: a table text file goes alone"},
        {{"standalone", "empty.hex", "-p", "CABLE0"}, "empty.hex: no value in it"},
        // The highest output asked for decides.
        {{"curve", "on", "-p", "CABLE0", "-o", "1,5"},
         "Output 5: the dimmer on CABLE0 (LED-Dimmer QP4 (4 PowerUnit) Online) has 4 outputs"},
        {{"set", "2", "1024", "-p", "CABLE0"}, "level 1024: the dimmer on CABLE0"},
        {{"curve", "on", "--expect", "1"}, "--expect counts the dimmers of --all"},
        {{"curve", "on", "-p", "NOPE", "-p", "CABLE0"}, "unknown port NOPE"},
        // Echoed text: its control characters escaped, its bytes shown as the window shows them.
        {{"write", "evil\x1b[2J\n.txt", "-p", "CABLE0", "-o", "1"},
         "evil\\x1B[2J\\n.txt: No such file or directory"},
        {{"write", "caf\xE9.txt", "-p", "CABLE0", "-o", "1"}, "caf\xC3\xA9.txt: No such file"},
        // A byte that Windows-1252 leaves undefined is a C1 control.
        {{"curve", "formula",
          "x\x9d"
          "2J",
          "-p", "CABLE0"},
         "formula x\\x9D2J: "},
    };
    for (const auto& row : rows) {
        const CliRun run = Cli(row.args);
        SCOPED_TRACE(testing::PrintToString(row.args) + "\nerr: " + run.err);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(Contains(run.err, row.err));
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Received(), 0u);  // no table, no EEPROM byte, at any dimmer
    }
}

TEST_F(InputTest, WhatAPersonMeetsFirst) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    } rows[] = {
        {{}, 1, "Usage: brenvo-cli [OPTIONS] SUBCOMMAND", ""},
        {{"wirte", "x.ini"}, 1, "", "brenvo-cli: unknown command wirte (did you mean write?)\n"},
        {{"-q", "lsit"}, 1, "", "unknown command lsit (did you mean list?)"},
        {{"frobnicate"}, 1, "", "unknown command frobnicate (brenvo-cli --help lists"},
        {{"--help"}, 0, "the cable first, then COM1 to COM256", ""},
        // Each command's help lists the options every command takes.
        {{"write", "--help"}, 0, "-q,--quiet", ""},
        {{"standalone", "--help"}, 0, "-j,--json", ""},
        {{"info", "--help"},
         0,
         "the first dimmer found (the cable first, then COM1 to COM256)",
         ""},
    };
    for (const auto& row : rows) {
        const CliRun run = Cli(row.args);
        SCOPED_TRACE(testing::PrintToString(row.args) + "\nout: " + run.out + "err: " + run.err);
        EXPECT_EQ(run.status, row.status);
        EXPECT_TRUE(Contains(run.out, row.out));
        EXPECT_TRUE(Contains(run.err, row.err));
    }
}

}  // namespace
