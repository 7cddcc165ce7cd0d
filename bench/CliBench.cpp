// brenvo-cli timed as a whole program against brenvo-dimmer processes at the links' real rates,
// in a private runtime folder:
//  - list with nothing attached;
//  - write config.ini --all on four QP4 cables, and on twelve KAV5806 cables, against the same
//    write on one of them (--port);
//  - single writes and reads against the link's floor: the identification (cable: the 250 ms
//    drain read and the 250 ms reply read; serial: the 50 ms request) and each table's transfer
//    (cable write: 1.3 s of pauses and two 250 ms reads; cable read: the 250 ms drain read and the
//    wire time of request and reply; serial write: the 1 s store pause; serial read: the wire
//    time); and the transfers alone, less the time that info takes on the same port (start-up,
//    port listing, identification), as the window's transfers are timed.
// Usage: brenvo_cli_bench [runs] [twelve]   (default 3 runs; "twelve" adds the twelve KAV5806)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/Processes.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kCableIdentifyMs = 250 + 250;
constexpr double kSerialIdentifyMs = 50;
constexpr double kCableWriteMs = 1300 + 250 + 250;
constexpr double kSerialWriteMs = 1000;

double WireMs(double bytes, double baud) {
    return bytes * 10.0 * 1000.0 / baud;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs brenvo-cli in `folder`; its wall time in ms, or -1 when it did not end with `expected`.
double Cli(const std::string& folder, std::vector<std::string> args, int expected = 0) {
    args.insert(args.begin(), BRENVO_CLI_PATH);
    const auto start = Clock::now();
    const int status = RunToEnd(args, folder, "/dev/null", folder + "/cli.err", 600000);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (status != expected) {
        std::fprintf(stderr, "brenvo-cli %s failed\n", args[1].c_str());
        return -1;
    }
    return ms;
}

std::vector<double> Time(int runs, const std::string& folder, const std::vector<std::string>& args,
                         int expected = 0) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const double t = Cli(folder, args, expected);
        if (t >= 0) {
            ms.push_back(t);
        }
    }
    return ms;
}

void Report(const char* what, const std::vector<double>& ms, double floorMs) {
    const double median = Median(ms);
    std::printf("%-44s median %8.1f ms  floor %8.1f ms  above floor %+5.2f %%  (runs %zu)\n", what,
                median, floorMs, (median / floorMs - 1.0) * 100.0, ms.size());
}

// A transfer command as a whole, and its transfers alone: the time after start-up, port listing
// and identification, which `info` on the same port takes.
void ReportTransfers(const char* what, const std::vector<double>& ms, double identifyFloorMs,
                     double transfersFloorMs, double infoMs) {
    Report(what, ms, identifyFloorMs + transfersFloorMs);
    const double transfers = Median(ms) - infoMs;
    std::printf("%-44s        %8.1f ms  floor %8.1f ms  above floor %+5.2f %%\n",
                "  its transfers (less info's time)", transfers, transfersFloorMs,
                (transfers / transfersFloorMs - 1.0) * 100.0);
}

// Dimmers of one model on the first free ports, published before it returns.
class Rig {
public:
    Rig(const TempRuntimeDir& runtime, const char* model, int count, const char* prefix) {
        for (int i = 0; i < count; ++i) {
            const std::string port = std::string(prefix) + std::to_string(i);
            m_dimmers.emplace_back(std::vector<std::string>{BRENVO_DIMMER_PATH, "--model", model},
                                   std::vector<std::string>{},
                                   runtime.Path() + "/" + port + ".log");
            const std::string link = runtime.PortsPath() + "/" + port;
            for (int k = 0; k < 500 && access(link.c_str(), F_OK) != 0; ++k) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
    }

private:
    std::vector<Process> m_dimmers;
};

// The same configuration written to one dimmer and to all of them at once.
void AllAgainstOne(const TempRuntimeDir& runtime, const char* model, int count, int outputs,
                   int runs) {
    const std::string folder = runtime.Path();
    Rig rig(runtime, model, count, "CABLE");
    const std::string config = std::string(model) + ".ini";
    if (Cli(folder, {"read", config, "--port", "CABLE0"}) < 0) {
        return;
    }
    const auto one = Time(runs, folder, {"write", config, "--port", "CABLE0"});
    const auto all = Time(runs, folder, {"write", config, "--all"});
    const double floor = kCableIdentifyMs + outputs * kCableWriteMs;
    char what[64];
    std::snprintf(what, sizeof what, "write config.ini, one %s", model);
    Report(what, one, floor);
    std::snprintf(what, sizeof what, "write config.ini --all, %d x %s", count, model);
    Report(what, all, floor);
    std::printf("%-44s %.3f x the write on one\n", "", Median(all) / Median(one));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const bool twelve = argc > 2 && std::string(argv[2]) == "twelve";
    TempRuntimeDir runtime;
    const std::string folder = runtime.Path();

    // Nothing attached: "no dimmer found", status 2.
    const std::vector<double> list = Time(20, folder, {"list"}, 2);
    std::printf("%-44s median %8.1f ms  (target 150 ms, runs %zu)\n", "list, nothing attached",
                Median(list), list.size());

    AllAgainstOne(runtime, "qp4", 4, 4, runs);
    if (twelve) {
        AllAgainstOne(runtime, "kav5806", 12, 12, runs);
    }

    // Single transfers against the floor, on the cable and on the serial link.
    {
        Rig cable(runtime, "qp4", 1, "CABLE");
        Rig serial(runtime, "t5qm", 1, "EMU");
        const double cableInfo = Median(Time(runs * 3, folder, {"info", "--port", "CABLE0"}));
        const double serialInfo = Median(Time(runs * 5, folder, {"info", "--port", "EMU0"}));
        std::printf("%-44s median %8.1f ms  floor %8.1f ms\n", "info, QP4 (cable)", cableInfo,
                    kCableIdentifyMs);
        std::printf("%-44s median %8.1f ms  floor %8.1f ms\n", "info, T5QM (serial)", serialInfo,
                    kSerialIdentifyMs);
        ReportTransfers("read qp4.ini, QP4 (cable, 4 tables)",
                        Time(runs, folder, {"read", "qp4.ini", "--port", "CABLE0"}),
                        kCableIdentifyMs, 4 * (250 + WireMs(2 + 512, 19200)), cableInfo);
        ReportTransfers("write qp4.ini, QP4 (cable, 4 tables)",
                        Time(runs, folder, {"write", "qp4.ini", "--port", "CABLE0"}),
                        kCableIdentifyMs, 4 * kCableWriteMs, cableInfo);
        Cli(folder, {"read", "t5qm.ini", "--port", "EMU0"});
        ReportTransfers("write t5qm.ini, T5QM (serial, 9 tables)",
                        Time(runs, folder, {"write", "t5qm.ini", "--port", "EMU0"}),
                        kSerialIdentifyMs, 9 * kSerialWriteMs, serialInfo);
        ReportTransfers("read t5qm.ini, T5QM (serial, 9 tables)",
                        Time(runs * 5, folder, {"read", "t5qm.ini", "--port", "EMU0"}),
                        kSerialIdentifyMs, 9 * WireMs(2 + 512, 115200), serialInfo);
    }
    return 0;
}
