// A signal never leaves a dimmer with half a table: brenvo-cli finishes the table under way, on
// one dimmer or on each of a rig, stops before the next, says what became of every output and
// ends with 128 + the signal; the dimmers answer as before. Only SIGKILL cuts a table, and then
// the table under way is not counted as written.
#include <fstream>
#include <nlohmann/json.hpp>

#include "link/DeviceCommands.h"
#include "tests/cli/CliRig.h"

namespace {

class InterruptionTest : public CliRig {
protected:
    void SetUp() override {
        Add("qp4");  // CABLE0
        Add("qp4");  // CABLE1
    }

    // Waits until every cable has its command byte and output index of a table: the index pause.
    bool AtIndexPause(const std::vector<std::uint64_t>& before) {
        for (std::size_t k = 0; k < before.size(); ++k) {
            // The identify byte, then the table's command byte and index.
            if (!WaitForBytes(k, before[k] + 3)) {
                return false;
            }
        }
        return true;
    }

    std::vector<std::uint64_t> ReceivedSoFar(std::size_t cables) {
        std::vector<std::uint64_t> counts;
        for (std::size_t k = 0; k < cables; ++k) {
            counts.push_back(Player(k).ReceivedCount());
        }
        return counts;
    }
};

TEST_F(InterruptionTest, ASignalInTheIndexPauseLetsTheTableFinishAndStopsBeforeTheNext) {
    const struct {
        int signal;
        bool all;
    } rows[] = {
        {SIGINT, false},
        {SIGHUP, false},
        {SIGINT, true},
        {SIGHUP, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(strsignal(row.signal)) + (row.all ? " --all" : " one dimmer"));
        const std::size_t cables = row.all ? 2 : 1;
        const auto before = ReceivedSoFar(cables);
        const auto writesBefore0 = TableWrites(0);
        const auto writesBefore1 = TableWrites(1);
        Running run(*this, {"curve", "on", row.all ? "--all" : "--port=CABLE0"});
        ASSERT_TRUE(AtIndexPause(before));
        // To the program alone: under --all it passes the signal on to its writers.
        run.Signal(row.signal);
        const CliRun done = run.Wait();
        EXPECT_EQ(done.status, 128 + row.signal) << done.err;
        const std::string stopped = std::string("Stopped by ") +
                                    (row.signal == SIGINT ? "SIGINT" : "SIGHUP") +
                                    ". Written: Output 1. Not written: Output 2 to 4.\n";
        EXPECT_TRUE(Contains(done.err, "CABLE0: " + stopped)) << done.err;
        EXPECT_EQ(TableWrites(0)[0], writesBefore0[0] + 1);
        EXPECT_EQ(TableWrites(0)[1], writesBefore0[1]);
        if (row.all) {
            EXPECT_TRUE(Contains(done.err, "CABLE1: " + stopped)) << done.err;
            EXPECT_EQ(TableWrites(1)[0], writesBefore1[0] + 1);
        }
        // Every dimmer takes the next command as a command, not as table bytes.
        for (const char* port : {"CABLE0", "CABLE1"}) {
            const CliRun info = Cli({"info", "--port", port});
            EXPECT_EQ(info.status, 0) << port << ": " << info.err;
        }
    }
}

TEST_F(InterruptionTest, ASecondSignalSaysWhatIsBeingFinishedAndForHowLong) {
    const struct {
        int signal;
        bool all;
        const char* said;
    } rows[] = {
        {SIGINT, false, "Finishing the table of Output 1 on CABLE0: at most "},
        {SIGTERM, true, "Finishing the tables under way on 2 dimmers: at most "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.said);
        const auto before = ReceivedSoFar(row.all ? 2 : 1);
        Running run(*this, {"curve", "off", "--json", row.all ? "--all" : "--port=CABLE0"});
        ASSERT_TRUE(AtIndexPause(before));
        run.Signal(row.signal);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        run.Signal(row.signal);
        const CliRun done = run.Wait();
        EXPECT_EQ(done.status, 128 + row.signal);
        EXPECT_TRUE(Contains(done.err, row.said)) << done.err;
        EXPECT_TRUE(Contains(done.err, " s more, then brenvo-cli stops.")) << done.err;
        // The summary as data as well.
        const nlohmann::json summary = nlohmann::json::parse(done.out);
        EXPECT_EQ(summary[0].at("status"), "stopped");
        EXPECT_EQ(summary[0].at("written"), nlohmann::json({1}));
        EXPECT_EQ(summary[0].at("notWritten"), nlohmann::json({2, 3, 4}));
    }
}

// The writers of --all, as the kernel lists a process's children.
std::vector<pid_t> Children(pid_t parent) {
    std::ifstream list("/proc/" + std::to_string(parent) + "/task/" + std::to_string(parent) +
                       "/children");
    std::vector<pid_t> pids;
    pid_t pid = 0;
    while (list >> pid) {
        pids.push_back(pid);
    }
    return pids;
}

TEST_F(InterruptionTest, AWriterKilledInATableLeavesThatTableNotConfirmed) {
    const auto before = ReceivedSoFar(2);
    Running run(*this, {"curve", "on", "--all"});
    ASSERT_TRUE(AtIndexPause(before));
    const std::vector<pid_t> writers = Children(run.Pid());
    ASSERT_EQ(writers.size(), 2u);
    for (pid_t writer : writers) {
        ::kill(writer, SIGKILL);
    }
    const CliRun done = run.Wait();
    EXPECT_EQ(done.status, 3);
    for (const char* port : {"CABLE0", "CABLE1"}) {
        EXPECT_TRUE(Contains(done.err, std::string(port) +
                                           ": The dimmer's writer ended with signal 9. Written: "
                                           "none. Not confirmed: Output 1. Not written: Output 2 "
                                           "to 4.\n"))
            << done.err;
    }
}

}  // namespace
