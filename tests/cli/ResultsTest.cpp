// What brenvo-cli reports: tables read back and compared (verify, write --verify), the shut-down
// temperature the dimmer stored, the same keys as JSON from every command, StandAlone progress
// that stops where the link is lost, and a progress bar that does not flood a terminal.
#include <poll.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "tests/cli/CliRig.h"

namespace {

using nlohmann::json;

class ResultsTest : public CliRig {};

TEST_F(ResultsTest, VerifyComparesTheDimmersTablesWithTheFile) {
    Add("qp4");  // CABLE0
    Add("qp4");  // CABLE1
    WriteFile("ramp.txt", Lines(256, 4));
    ASSERT_EQ(Cli({"read", "rig.ini", "-p", "CABLE0"}).status, 0);

    CliRun run = Cli({"verify", "rig.ini", "-p", "CABLE0"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "CABLE0: Verified: Output 1 to 4.\n");

    // The dimmer's table of output 2 changes at DMX value 17; the other QP4 is as the first was.
    DimmerTable changed = Emulator(0).Snapshot().tables[1];
    const unsigned file = changed[17];
    changed[17] = static_cast<WORD>(file + 5);
    Emulator(0).SetTable(1, changed);
    run = Cli({"verify", "rig.ini", "--port", "CABLE0", "--port", "CABLE1", "--json"});
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err,
                         "CABLE0: Verified: Output 1, Output 3 to 4. Different: Output 2 "
                         "differs at DMX value 17 (file " +
                             std::to_string(file) + ", dimmer " + std::to_string(file + 5) + ")."))
        << run.err;
    const json results = json::parse(run.out);
    EXPECT_EQ(results[0].at("status"), "different");
    EXPECT_EQ(results[0].at("different"),
              json({{{"output", 2}, {"dmxValue", 17}, {"file", file}, {"dimmer", file + 5}}}));
    EXPECT_EQ(results[1].at("status"), "done");
    EXPECT_EQ(results[1].at("verified"), json({1, 2, 3, 4}));

    run = Cli({"write", "ramp.txt", "-p", "CABLE1", "-o", "2", "--verify"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "CABLE1: Written: Output 2. Verified: Output 2.\n");
}

TEST_F(ResultsTest, EveryCommandGivesItsResultAsData) {
    Add("qp4");      // CABLE0
    Add("nwe-r8p");  // EMU0
    WriteFile("ramp.txt", Lines(256, 4));
    WriteFile("scene.hex", "0000:12\r\n0001:34\r\n");
    const struct {
        std::vector<std::string> args;
        std::string port;
        std::string key;  // one of the command's own keys
    } rows[] = {
        {{"info", "-p", "CABLE0"}, "CABLE0", "temperatures"},
        {{"read", "back.txt", "-p", "EMU0", "-o", "1"}, "EMU0", "notRead"},
        {{"write", "ramp.txt", "-p", "EMU0", "-o", "1"}, "EMU0", ""},
        {{"verify", "ramp.txt", "-p", "EMU0", "-o", "1"}, "EMU0", "verified"},
        {{"curve", "linear", "-p", "EMU0"}, "EMU0", ""},
        {{"reset", "-p", "EMU0"}, "EMU0", ""},
        {{"set", "1", "5", "-p", "EMU0"}, "EMU0", "level"},
        {{"temp", "-p", "CABLE0"}, "CABLE0", "actualCelsius"},
        {{"shutdown-temp", "--set", "25", "-p", "CABLE0"}, "CABLE0", "shutdownCelsius"},
        {{"standalone", "scene.hex", "-p", "CABLE0"}, "CABLE0", "bytesWritten"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = row.args;
        args.push_back("--json");
        const CliRun run = Cli(args);
        SCOPED_TRACE(testing::PrintToString(args) + "\nout: " + run.out + "err: " + run.err);
        ASSERT_EQ(run.status, 0);
        const json results = json::parse(run.out);
        ASSERT_TRUE(results.is_array());
        ASSERT_EQ(results.size(), 1u);
        const json& result = results[0];
        for (const char* key : {"port", "name", "serial", "stablePath", "model", "written",
                                "notConfirmed", "notWritten", "status"}) {
            EXPECT_TRUE(result.contains(key)) << key;
        }
        EXPECT_EQ(result.at("port"), row.port);
        EXPECT_EQ(result.at("status"), "done");
        EXPECT_EQ(result.at("model"), row.port == "CABLE0" ? "QP4" : "NWE Dimmer R8P");
        if (!row.key.empty()) {
            EXPECT_TRUE(result.contains(row.key)) << row.key;
        }
        if (row.args[0] == "write" || row.args[0] == "curve") {
            EXPECT_EQ(result.at("written"), json({1}));
        }
        if (row.args[0] == "shutdown-temp") {
            EXPECT_EQ(result.at("shutdownCelsius"), 25);  // as read back
        }
    }

    // Watching: the same keys on every line, with the time.
    Running watch(*this, {"temp", "--watch", "--json", "-p", "CABLE0"});
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    watch.Signal(SIGINT);
    const CliRun watched = watch.Wait();
    EXPECT_EQ(watched.status, 0) << watched.err;
    std::istringstream lines(watched.out);
    std::string line;
    int count = 0;
    const std::regex iso(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)");
    while (std::getline(lines, line)) {
        const json reading = json::parse(line);
        EXPECT_EQ(reading.at("port"), "CABLE0");
        EXPECT_EQ(reading.at("status"), "done");
        EXPECT_TRUE(reading.contains("actualCelsius"));
        EXPECT_TRUE(std::regex_match(reading.at("time").get<std::string>(), iso)) << line;
        ++count;
    }
    EXPECT_GE(count, 2);
}

TEST_F(ResultsTest, StandAloneStopsWhereTheLinkIsLostAndSaysHowManyBytesWent) {
    Add("qp4");
    std::string scene;
    for (int a = 0; a < 300; ++a) {
        char line[16];
        std::snprintf(line, sizeof line, "%04X:%02X\n", a, a & 0xFF);
        scene += line;
    }
    WriteFile("scene.hex", scene);
    Running run(*this, {"standalone", "scene.hex", "-p", "CABLE0"});
    const auto end = Clock::now() + std::chrono::seconds(20);
    while (Emulator(0).Snapshot().eepromBytes < 20 && Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Player(0).Unplug();
    const unsigned stored = Emulator(0).Snapshot().eepromBytes;
    const CliRun done = run.Wait();
    EXPECT_EQ(done.status, 3);
    std::smatch match;
    const std::regex said(R"(CABLE0: The connection to the dimmer is lost\. (\d+) of 300 bytes )"
                          R"(written to the EEPROM\.)");
    ASSERT_TRUE(std::regex_search(done.err, match, said)) << done.err;
    const unsigned written = static_cast<unsigned>(std::stoul(match[1]));
    EXPECT_GE(written, stored);
    EXPECT_LE(written, stored + 1);  // the byte on its way when the plug was pulled
}

TEST_F(ResultsTest, TheProgressBarIsDrawnAtMostTenTimesASecond) {
    Add("qp4");
    std::string scene;
    for (int a = 0; a < 150; ++a) {
        scene += std::to_string(a / 10) + std::to_string(a % 10) + ":00\n";
    }
    WriteFile("scene.hex", scene);
    // Standard error on a terminal, read while the program writes.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    std::string terminal;
    std::atomic<bool> reading{true};
    std::thread reader([&] {
        char buffer[4096];
        while (reading.load()) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 50) > 0) {
                const ssize_t n = ::read(master, buffer, sizeof buffer);
                if (n > 0) {
                    terminal.append(buffer, static_cast<std::size_t>(n));
                }
            }
        }
    });
    const auto start = Clock::now();
    Running run(*this, {"standalone", "scene.hex", "-p", "CABLE0"}, slave);
    const CliRun done = run.Wait();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    reading.store(false);
    reader.join();
    ::close(slave);
    ::close(master);
    EXPECT_EQ(done.status, 0) << terminal;
    std::size_t draws = 0;
    for (std::size_t at = 0; (at = terminal.find("Programming [", at)) != std::string::npos; ++at) {
        ++draws;
    }
    // One a byte (150) without the bound.
    EXPECT_GE(draws, 3u) << terminal;
    EXPECT_LE(static_cast<double>(draws), seconds * 10 + 2) << terminal;
}

}  // namespace
