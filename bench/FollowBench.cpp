// How fast the window follows a dimmer that is plugged in and pulled out: from the moment its port
// appears to the window's new title, and from the pull to " - Offline". The real window with its
// port watcher, against brenvo-dimmer toggled with SIGUSR2 (its unplug and plug), with real pauses.
// Targets: 2 s plus the search itself (a cable: the identify's two 250 ms reads; a serial port:
// the scan's 5 ms pauses up to its COM number); 2 s to " - Offline".
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/LiveWindow.h"
#include "tests/e2e/Processes.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

struct Figures {
    std::vector<double> appear, gone;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
double Max(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

bool Online(CBrenvoDlg& dlg) {
    const std::string title = TitleOf(dlg);
    return title.find("Offline") == std::string::npos;
}

// The emulator started (or plugged in again) and the window after it, `rounds` times.
Figures Follow(CBrenvoDlg& dlg, const TempRuntimeDir& runtime, const char* model, int rounds) {
    Figures f;
    Process dimmer({BRENVO_DIMMER_PATH, "--model", model}, {}, runtime.Path() + "/dimmer.log");
    for (int round = 0; round < rounds; ++round) {
        if (round > 0) {
            dimmer.Signal(SIGUSR2);  // plugged in again
        }
        if (!WaitFor([&] { return Published(runtime.PortsPath()); }, 5000)) {
            std::fprintf(stderr, "brenvo-dimmer did not publish its port\n");
            return f;
        }
        const Clock::time_point appeared = Clock::now();
        if (!WaitFor([&] { return Online(dlg); }, 10000)) {
            std::fprintf(stderr, "%s: the window did not find the dimmer\n", model);
            return f;
        }
        f.appear.push_back(Ms(Clock::now() - appeared));
        const Clock::time_point pulled = Clock::now();
        dimmer.Signal(SIGUSR2);  // pulled out
        if (!WaitFor([&] { return !Online(dlg); }, 10000)) {
            std::fprintf(stderr, "%s: the window did not notice the dimmer go\n", model);
            return f;
        }
        f.gone.push_back(Ms(Clock::now() - pulled));
    }
    return f;
}

// `searchMs`: what the search itself takes for that port, on top of the 2 s to notice it.
void Print(const char* what, int searchMs, const Figures& f) {
    std::printf("  %s:\n", what);
    std::printf("    port appears -> title  %6.0f / %6.0f (target <= 2000 + ~%d)\n",
                Median(f.appear), Max(f.appear), searchMs);
    std::printf("    pulled out -> Offline  %6.0f / %6.0f (target <= 2000)\n", Median(f.gone),
                Max(f.gone));
}

}  // namespace

int main(int argc, char** argv) {
    PrepareApplication();
    QApplication app(argc, argv);
    TempRuntimeDir runtime;
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    Figures cable, serial;
    AnsweringSeam seam([&](CBrenvoDlg& dlg) {
        cable = Follow(dlg, runtime, "kav5806", rounds);
        serial = Follow(dlg, runtime, "t5qm", rounds);
    });
    CBrenvoDlg dlg;
    dlg.m_bWatchPorts = true;
    dlg.DoModal();

    std::printf("following a dimmer, %d rounds each (median / max, ms)\n", rounds);
    Print("cable kav5806 (nothing polled)", 500, cable);
    Print("serial t5qm", 1010, serial);
    return cable.appear.size() == static_cast<size_t>(rounds) &&
                   serial.appear.size() == static_cast<size_t>(rounds)
               ? 0
               : 1;
}
