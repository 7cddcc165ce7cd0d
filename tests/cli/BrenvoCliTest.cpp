// brenvo-cli as a script runs it: the real program against brenvo-dimmer processes published in a
// private runtime folder, its output read back and its exit status checked.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "link/SerialTransport.h"
#include "tests/e2e/Processes.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using namespace std::chrono_literals;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class BrenvoCliTest : public ::testing::Test {
protected:
    // Starts brenvo-dimmer and waits until it has published `port`. Dimmers answer faster than
    // their links' rates: only the pauses matter here, and a serial reply keeps all of its 50 ms
    // window for a machine too loaded to wake the emulator at once.
    void StartDimmer(std::vector<std::string> args, const std::string& port) {
        args.insert(args.begin(), BRENVO_DIMMER_PATH);
        args.insert(args.end(), {"--baud", port.rfind("CABLE", 0) == 0 ? "230400" : "2000000"});
        m_dimmers.emplace_back(args, std::vector<std::string>{}, Path(port + ".log"));
        // A loaded machine may take seconds to start a program.
        for (int i = 0; i < 3000 && access((m_runtime.PortsPath() + "/" + port).c_str(), F_OK);
             ++i) {
            std::this_thread::sleep_for(10ms);
        }
        ASSERT_EQ(access((m_runtime.PortsPath() + "/" + port).c_str(), F_OK), 0) << port;
    }

    std::string Path(const std::string& name) const { return m_runtime.Path() + "/" + name; }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void WriteFile(const std::string& name, const std::string& contents) const {
        std::ofstream(Path(name), std::ios::binary) << contents;
    }

    // Runs brenvo-cli in the runtime folder, its output into files (no terminal: no bar).
    CliRun Cli(std::vector<std::string> args) {
        args.insert(args.begin(), BRENVO_CLI_PATH);
        CliRun run;
        run.status = RunToEnd(args, m_runtime.Path(), Path("cli.out"), Path("cli.err"), 60000,
                              LanguageEnvironment("C.UTF-8"));
        run.out = Read(Path("cli.out"));
        run.err = Read(Path("cli.err"));
        return run;
    }

    TempRuntimeDir m_runtime;
    std::vector<Process> m_dimmers;
};

std::string Lines(int count, int step) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::to_string(i * step) + "\n";
    }
    return text;
}

TEST_F(BrenvoCliTest, ListFindsEveryCableThenTheSerialDimmers) {
    CliRun none = Cli({"list", "--json"});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out, "[]\n");
    EXPECT_EQ(none.err, "brenvo-cli: no dimmer found\n");

    StartDimmer({"--model", "nwe-r8p"}, "EMU0");
    StartDimmer({"--model", "qp4"}, "CABLE0");
    StartDimmer({"--model", "t5qm"}, "EMU1");
    StartDimmer({"--model", "kav5806", "--serial", "FT5806X1"}, "CABLE1");
    const CliRun run = Cli({"list", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    // An emulated cable without a serial number of its own reports its name.
    const nlohmann::json expected = nlohmann::json::parse(R"([
        {"port": "CABLE0", "link": "cable", "name": "QELVORN LED-Dimmer QP4 V2.0",
         "title": " - LED-Dimmer QP4 (4 PowerUnit) Online", "model": "QP4", "outputs": 4,
         "range": 1023, "serial": "CABLE0", "stablePath": null, "state": "dimmer"},
        {"port": "CABLE1", "link": "cable", "name": "QELVORN KAV5806 12-channel LED-Dimmer",
         "title": " - LED-Dimmer KAV5806 Online", "model": "KAV5806", "outputs": 12,
         "range": 65535, "serial": "FT5806X1", "stablePath": null, "state": "dimmer"},
        {"port": "EMU0", "link": "serial", "name": "NWE Dimmer R8P",
         "title": " - Connected to NWE Dimmer R8P", "model": "NWE Dimmer R8P", "outputs": 1,
         "range": 1023, "serial": null, "stablePath": null, "state": "dimmer"},
        {"port": "EMU1", "link": "serial", "name": "DMX-LED-Dimmer T5QM",
         "title": " - Connected to DMX-LED-Dimmer T5QM", "model": "T5QM", "outputs": 9,
         "range": 65535, "serial": null, "stablePath": null, "state": "dimmer"}])");
    EXPECT_EQ(nlohmann::json::parse(run.out), expected) << run.out;

    const CliRun lines = Cli({"list"});
    EXPECT_EQ(lines.out.substr(lines.out.rfind("EMU1")),
              "EMU1    Connected to DMX-LED-Dimmer T5QM     9 outputs   0 to 65535\n")
        << lines.out;
    EXPECT_TRUE(lines.out.find("0 to 65535   serial FT5806X1\n") != std::string::npos) << lines.out;
    // The serial number that brenvo-dimmer publishes names its cable.
    const CliRun info = Cli({"info", "--port", "FT5806X1"});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("Port:          CABLE1 (configuration cable)\n"
                            "Serial number: FT5806X1\n"),
              std::string::npos)
        << info.out;
}

TEST_F(BrenvoCliTest, EachCommandDoesItsWorkOrSaysWhyNotWithItsExitStatus) {
    StartDimmer({"--model", "qp4", "--raw-temperatures", "512,535,769,470"}, "CABLE0");
    StartDimmer({"--model", "nwe-r8p"}, "EMU0");
    WriteFile("ramp.txt", Lines(256, 4));
    WriteFile("short.txt", Lines(10, 1));
    WriteFile("scene.hex", "0000:12\r\n0001:34\r\n0002:56\r\n");
    WriteFile("wide.ini", "[DEVICE]\r\nNAME=NWE Dimmer R8P\r\n[TABLE0]\r\nMAX=511\r\n");
    const char* const qp4 = "the dimmer on CABLE0 (LED-Dimmer QP4 (4 PowerUnit) Online)";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;  // contained in standard output
        std::string err;  // contained in standard error
    } rows[] = {
        {{"info"}, 0, "Temperatures:  4 readings", "Using CABLE0: LED-Dimmer QP4 (4 PowerUnit)"},
        {{"info", "-p", "NOPE"}, 1, "", "brenvo-cli: unknown port NOPE"},
        {{"set", "2", "700", "-p", "CABLE0"}, 0, "CABLE0: Output 2 = 700", ""},
        {{"set", "5", "1", "-p", "CABLE0"}, 1, "", std::string("Output 5: ") + qp4 + " has 4"},
        {{"set", "1", "1024", "-p", "COM193"}, 1, "", "takes 0 to 1023"},
        {{"temp", "--json", "-p", "CABLE0"},
         0,
         "\"actual\": \"0 \xC2\xB0"
         "C / 25 \xC2\xB0"
         "C / --- / -39 \xC2\xB0"
         "C\"",
         ""},
        {{"temp", "-p", "EMU0"}, 1, "", "reports no temperature"},
        {{"shutdown-temp", "--set", "25", "-p", "CABLE0"},
         0,
         "Shut down temperature: 25 \xC2\xB0"
         "C",
         ""},
        {{"curve", "formula", "x x", "-p", "EMU0"}, 1, "", "Error an Position 3 gefunden!"},
        {{"curve", "gamma", "0", "-p", "EMU0"}, 1, "", "gamma 0: not a positive number"},
        {{"curve", "on", "-p", "EMU0", "--all"}, 1, "", "--port excludes --all"},
        {{"write", "ramp.txt", "-p", "EMU0", "-o", "1"}, 0, "EMU0: Written: Output 1.", ""},
        {{"read", "back.txt", "-p", "EMU0", "-o", "1"}, 0, "EMU0: Read: Output 1, saved", ""},
        {{"write", "ramp.txt", "-p", "EMU0"}, 1, "", "needs the outputs (--output N)"},
        {{"write", "short.txt", "-p", "EMU0", "-o", "1"}, 1, "", "10 table entries"},
        {{"write", "none.ini", "-p", "EMU0"}, 1, "", "none.ini: No such file or directory"},
        {{"write", "wide.ini", "-p", "EMU0"}, 1, "", "Output 1 has the range 0 to 511"},
        {{"read", "nwe.ini", "-p", "EMU0"}, 0, "", ""},
        {{"write", "nwe.ini", "-p", "EMU0"}, 0, "EMU0: Written: Output 1.", ""},
        {{"write", "nwe.ini", "-p", "CABLE0", "-o", "2"},
         3,
         "",
         "CABLE0: Config-File is not for connected board ! Written: none. Not written: Output 2."},
        {{"standalone", "scene.hex", "-p", "CABLE0"}, 0, "CABLE0: 3 bytes written", ""},
        {{"standalone", "scene.hex", "-p", "EMU0"}, 1, "", "has no StandAlone programming"},
        {{"reset", "--quiet", "-p", "EMU0"}, 0, "", ""},
    };
    for (const auto& row : rows) {
        const CliRun run = Cli(row.args);
        SCOPED_TRACE(testing::PrintToString(row.args) + "\nout: " + run.out + "err: " + run.err);
        EXPECT_EQ(run.status, row.status);
        EXPECT_NE(run.out.find(row.out), std::string::npos);
        EXPECT_NE(run.err.find(row.err), std::string::npos);
        EXPECT_EQ(run.err.find('\r'), std::string::npos);  // no progress bar on a file
        EXPECT_TRUE(row.status == 0 || run.out.empty());
        if (row.args[0] == "reset") {
            EXPECT_EQ(run.out + run.err, "");  // --quiet
        }
    }
    EXPECT_EQ(Read(Path("back.txt")), Read(Path("ramp.txt")));

    // Another program holds the port: the command says so and sends nothing.
    ASSERT_TRUE(SerialOpen(193));
    const CliRun busy = Cli({"set", "1", "1", "-p", "EMU0"});
    SerialClose();
    EXPECT_EQ(busy.status, 2);
    EXPECT_NE(busy.err.find("EMU0: the port is busy or not accessible"), std::string::npos);
}

TEST_F(BrenvoCliTest, AllWritesEveryDimmerAtOnceAndNamesTheOneThatHungUp) {
    StartDimmer({"--model", "qp4"}, "CABLE0");
    StartDimmer({"--model", "qp4", "--fault", "hang-up"}, "CABLE1");
    StartDimmer({"--model", "kav5806"}, "CABLE2");
    StartDimmer({"--model", "t5qm"}, "EMU0");
    const CliRun run = Cli({"curve", "on", "--all", "--output", "1,2"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out,
              "CABLE0: Written: Output 1 to 2.\nCABLE2: Written: Output 1 to 2.\n"
              "EMU0: Written: Output 1 to 2.\n");
    // It stops at the table that was not confirmed.
    EXPECT_EQ(run.err,
              "brenvo-cli: CABLE1: The connection to the dimmer is lost. Written: none. Not "
              "confirmed: Output 1. Not written: Output 2.\n");
}

}  // namespace
