// brenvo-cli on a rig: every port that may hold a dimmer is named when it was not done, a mixed
// rig is written where it is concerned, each dimmer gets the configuration of its own name, and a
// dimmer is found by its serial number.
#include <map>
#include <nlohmann/json.hpp>

#include "tests/cli/CliRig.h"

namespace {

using nlohmann::json;

class RigTest : public CliRig {};

// The status words of a --json run, port by port.
std::map<std::string, std::string> Statuses(const std::string& out) {
    std::map<std::string, std::string> statuses;
    for (const json& dimmer : json::parse(out)) {
        statuses[dimmer.at("port").get<std::string>()] = dimmer.at("status").get<std::string>();
    }
    return statuses;
}

TEST_F(RigTest, APortThatWasNotDoneIsAlwaysNamedAndACableDecidesTheStatus) {
    Add("qp4");                       // CABLE0
    Add("qp4");                       // CABLE1: held by another program
    Add("qp4", DimmerFault::Silent);  // CABLE2: no dimmer answers
    Add("nwe-r8p");                   // EMU0
    Add("nwe-r8p");                   // EMU1: held by another program
    Hold(1);
    Hold(4);

    // Even with -q, which keeps the errors alone.
    const CliRun quiet = Cli({"curve", "linear", "--all", "-o", "1", "-q"});
    EXPECT_EQ(quiet.status, 3) << quiet.err;
    EXPECT_EQ(quiet.out, "");
    EXPECT_TRUE(Contains(quiet.err, "brenvo-cli: CABLE1: the port is busy")) << quiet.err;
    EXPECT_TRUE(Contains(quiet.err, "brenvo-cli: CABLE2: no dimmer answers")) << quiet.err;
    // A serial port that another program holds is named, and may be anything.
    EXPECT_TRUE(Contains(quiet.err, "brenvo-cli: EMU1: the port is busy")) << quiet.err;
    EXPECT_EQ(TableWrites(0)[0], 1u);
    EXPECT_EQ(TableWrites(3)[0], 1u);

    const CliRun json = Cli({"curve", "linear", "--all", "-o", "1", "--json"});
    EXPECT_EQ(json.status, 3);
    EXPECT_EQ(Statuses(json.out), (std::map<std::string, std::string>{{"CABLE0", "done"},
                                                                      {"CABLE1", "busy"},
                                                                      {"CABLE2", "no-dimmer"},
                                                                      {"EMU0", "done"},
                                                                      {"EMU1", "busy"}}));

    const CliRun list = Cli({"list"});
    EXPECT_EQ(list.status, 3);
    EXPECT_TRUE(Contains(list.out, "CABLE1  busy: another program holds it\n")) << list.out;
    EXPECT_TRUE(Contains(list.out, "CABLE2  no dimmer answers\n")) << list.out;
    EXPECT_TRUE(Contains(list.out, "EMU1    busy: another program holds it\n")) << list.out;
    const CliRun states = Cli({"list", "--json"});
    std::vector<std::string> seen;
    for (const nlohmann::json& port : json::parse(states.out)) {
        seen.push_back(port.at("port").get<std::string>() + " " +
                       port.at("state").get<std::string>());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"CABLE0 dimmer", "CABLE1 busy", "CABLE2 no-dimmer",
                                              "EMU0 dimmer", "EMU1 busy"}));
}

TEST_F(RigTest, WithoutAPortTheFirstCableDecidesEvenWhenNoDimmerAnswersOnIt) {
    Add("qp4", DimmerFault::Silent);  // CABLE0
    Add("nwe-r8p");                   // EMU0: not asked
    const CliRun run = Cli({"set", "1", "5"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "brenvo-cli: no dimmer found (CABLE0: no dimmer answers)\n");
    EXPECT_EQ(Emulator(1).Snapshot().commands, 0u);
    const CliRun json = Cli({"info", "--json"});
    EXPECT_EQ(json.status, 2);
    EXPECT_EQ(Statuses(json.out), (std::map<std::string, std::string>{{"CABLE0", "no-dimmer"}}));
}

TEST_F(RigTest, NothingAttachedIsNoDimmerFound) {
    const CliRun run = Cli({"curve", "on", "--all"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "brenvo-cli: no dimmer found\n");
}

TEST_F(RigTest, ADimmerThatLacksTheOutputIsNotConcernedAndEachGetsItsOwnConfiguration) {
    Add("qp4");      // CABLE0: 4 outputs, 0 to 1023
    Add("kav5806");  // CABLE1: 12 outputs, 0 to 65535
    Add("nwe-r8p");  // EMU0: 1 output, 0 to 1023
    Hold(2);         // a serial port that another program holds does not change the status

    CliRun run = Cli({"curve", "on", "--all", "-o", "5"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "CABLE0: Not concerned: it has no Output 5.\n"
              "CABLE1: Written: Output 5.\n");
    EXPECT_TRUE(Contains(run.err, "EMU0: the port is busy")) << run.err;
    EXPECT_EQ(TableWrites(0), (std::array<unsigned, OUTPUT_COUNT_MAX>{}));
    EXPECT_EQ(TableWrites(1)[4], 1u);
    ::close(m_held.back());
    m_held.pop_back();

    // A dimmer lacking some of them does the others.
    run = Cli({"curve", "off", "--port", "CABLE0", "--port", "EMU0", "-o", "1,4"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "CABLE0: Written: Output 1, Output 4.\n"
              "EMU0: Written: Output 1. Not concerned: it has no Output 4.\n");
    // No dimmer concerned: nothing done.
    run = Cli({"curve", "off", "--port", "CABLE0", "--port", "EMU0", "-o", "9", "--json"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(Statuses(run.out), (std::map<std::string, std::string>{{"CABLE0", "not-concerned"},
                                                                     {"EMU0", "not-concerned"}}));

    // Each dimmer the configuration of its name; one with none of its name is refused.
    ASSERT_EQ(Cli({"read", "qp4.ini", "-p", "CABLE0"}).status, 0);
    ASSERT_EQ(Cli({"read", "r8p.ini", "-p", "EMU0"}).status, 0);
    const auto before = TableWrites(1);
    run = Cli({"write", "qp4.ini", "r8p.ini", "--all", "-o", "1", "--expect", "2"});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.out, "CABLE0: Written: Output 1.\nEMU0: Written: Output 1.\n");
    EXPECT_EQ(run.err,
              "brenvo-cli: CABLE1: No configuration file given is for this dimmer. Written: none. "
              "Not written: Output 1.\n");
    EXPECT_EQ(TableWrites(1), before);  // no writer for the dimmer refused

    // --expect counts the dimmers that did all of it.
    run = Cli({"curve", "on", "-p", "CABLE0", "-p", "EMU0", "-o", "1", "--expect", "2"});
    EXPECT_EQ(run.status, 0) << run.err;
    run = Cli({"curve", "on", "-p", "CABLE0", "-p", "EMU0", "-o", "1", "--expect", "3"});
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "2 dimmers did all that was asked, not the 3 expected"));
}

TEST_F(RigTest, ADimmerIsFoundByItsSerialNumberAndASharedOneIsNoName) {
    Add("qp4", DimmerFault::None, "FTRIG01");  // CABLE0
    Add("qp4");                                // CABLE1: reports its name
    Add("qp4", DimmerFault::None, "FTTWIN");   // CABLE2
    Add("qp4", DimmerFault::None, "FTTWIN");   // CABLE3
    const CliRun list = Cli({"list", "--json"});
    ASSERT_EQ(list.status, 0) << list.err;
    const json ports = json::parse(list.out);
    EXPECT_EQ(ports[0].at("serial"), "FTRIG01");
    EXPECT_EQ(ports[0].at("stablePath"), nullptr);
    EXPECT_EQ(ports[0].at("model"), "QP4");
    EXPECT_EQ(ports[1].at("serial"), "CABLE1");
    EXPECT_TRUE(Contains(Cli({"list"}).out, "0 to 1023   serial FTRIG01\n"));

    const CliRun info = Cli({"info", "--port", "FTRIG01", "--json"});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(json::parse(info.out)[0].at("port"), "CABLE0");
    const CliRun twin = Cli({"info", "--port", "FTTWIN"});
    EXPECT_EQ(twin.status, 1);
    EXPECT_TRUE(Contains(twin.err, "FTTWIN names more than one port (CABLE2, CABLE3)")) << twin.err;
    // Named twice, by its port and its serial number: asked once.
    const CliRun twice = Cli({"curve", "on", "-p", "CABLE0", "-p", "FTRIG01", "-o", "1", "-q"});
    EXPECT_EQ(twice.status, 0) << twice.err;
    EXPECT_EQ(TableWrites(0)[0], 1u);
}

}  // namespace
