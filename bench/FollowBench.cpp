// How fast the window follows a dimmer that is plugged in and pulled out: from the moment its port
// appears to the window's new title, and from the pull to " - Offline". The real window with its
// port watcher, against brenvo-dimmer toggled with SIGUSR2 (its unplug and plug), with real pauses.
// Targets: 2 s plus the search itself (a cable: the identify's two 250 ms reads; a serial port:
// the scan up to its COM number); 2 s to " - Offline".
// Then three cases with more than one thing going on, each with its target:
// - pulled out while Save config's file dialog is open: 2 s to " - Offline", the dialog still open;
// - pulled out beside a second dimmer: the second one in the title after the message (answered at
//   once), 2 s plus its search;
// - a cable whose dimmer is switched on only later (played in this process, silent at first):
//   3 s from switching it on to its title.
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/LiveWindow.h"
#include "emulator/DimmerEmulator.h"
#include "emulator/PtyPlayer.h"
#include "link/CableTransport.h"
#include "resources/resource.h"
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

bool Published(const TempRuntimeDir& runtime, const char* name) {
    return access((runtime.PortsPath() + "/" + name).c_str(), F_OK) == 0;
}

bool TitleHas(CBrenvoDlg& dlg, const char* text) {
    return TitleOf(dlg).find(text) != std::string::npos;
}

// Save config's file dialog is open while the dimmer is pulled out.
std::vector<double> PulledWhileAFileDialogIsOpen(CBrenvoDlg& dlg, AnsweringSeam& seam,
                                                 const TempRuntimeDir& runtime, int rounds) {
    std::vector<double> offline;
    Process dimmer({BRENVO_DIMMER_PATH, "--model", "qp4"}, {}, runtime.Path() + "/dialog.log");
    seam.filePath = runtime.Path() + "/saved.ini";
    seam.whileChoosing = [&] {
        const Clock::time_point pulled = Clock::now();
        dimmer.Signal(SIGUSR2);
        if (WaitFor([&] { return !Online(dlg); }, 10000)) {
            offline.push_back(Ms(Clock::now() - pulled));
        }
    };
    for (int round = 0; round < rounds; ++round) {
        if (round > 0) {
            dimmer.Signal(SIGUSR2);  // plugged in again
        }
        if (!WaitFor([&] { return Online(dlg); }, 10000)) {
            std::fprintf(stderr, "the window did not find the QP4\n");
            break;
        }
        UiDriver::TriggerMenuItem(dlg, ID_FILE_SAVECONFIG);
        WaitFor([] { return false; }, 600);  // the message, once the dialog has closed
    }
    seam.whileChoosing = nullptr;
    return offline;
}

// A KAV5806 on a cable and a T5QM on a serial port: the cable's is used, then pulled out.
std::vector<double> PulledBesideASecondDimmer(CBrenvoDlg& dlg, const TempRuntimeDir& runtime,
                                              int rounds) {
    std::vector<double> next;
    Process cable({BRENVO_DIMMER_PATH, "--model", "kav5806"}, {}, runtime.Path() + "/kav.log");
    Process serial({BRENVO_DIMMER_PATH, "--model", "t5qm"}, {}, runtime.Path() + "/t5qm.log");
    for (int round = 0; round < rounds; ++round) {
        if (round > 0) {
            cable.Signal(SIGUSR2);  // plugged in again; the T5QM in use is kept
        }
        if (!WaitFor([&] { return Published(runtime, "CABLE0.description"); }, 5000) ||
            !WaitFor([&] { return Published(runtime, "EMU0"); }, 5000)) {
            std::fprintf(stderr, "brenvo-dimmer did not publish its ports\n");
            break;
        }
        UiDriver::TriggerMenuItem(dlg, ID_DEVICE_SEARCH);  // the cable first
        if (!WaitFor([&] { return TitleHas(dlg, "KAV5806"); }, 10000)) {
            std::fprintf(stderr, "the window did not find the KAV5806\n");
            break;
        }
        const Clock::time_point pulled = Clock::now();
        cable.Signal(SIGUSR2);
        if (!WaitFor([&] { return TitleHas(dlg, "T5QM"); }, 10000)) {
            std::fprintf(stderr, "the window did not find the T5QM beside it\n");
            break;
        }
        next.push_back(Ms(Clock::now() - pulled));
    }
    return next;
}

// A cable whose QP4 is silent at first, then switched on.
std::vector<double> SwitchedOnLater(CBrenvoDlg& dlg, int rounds) {
    std::vector<double> found;
    DimmerEmulator qp4(*FindDimmerModel("qp4"));
    PtyPlayer::Options options;
    options.baudRate = CABLE_BAUD_RATE;
    options.publish = PtyPlayer::Publish::Cable;
    options.description = CABLE_DESCRIPTION;
    PtyPlayer player(qp4, options);
    qp4.SetFault(DimmerFault::Silent);
    if (!player.Start()) {
        std::fprintf(stderr, "the cable could not be played\n");
        return found;
    }
    for (int round = 0; round < rounds; ++round) {
        qp4.SetFault(DimmerFault::Silent);
        UiDriver::TriggerMenuItem(dlg, ID_DEVICE_SEARCH);
        if (!WaitFor([&] { return TitleHas(dlg, "no device"); }, 10000)) {
            std::fprintf(stderr, "the window did not find the cable\n");
            break;
        }
        WaitFor([] { return false; }, 700 * (round % 3));  // at another point of the 2 s each time
        const Clock::time_point on = Clock::now();
        qp4.SetFault(DimmerFault::None);
        if (!WaitFor([&] { return TitleHas(dlg, "QP4"); }, 10000)) {
            std::fprintf(stderr, "the window did not find the QP4 switched on\n");
            break;
        }
        found.push_back(Ms(Clock::now() - on));
    }
    return found;
}

void PrintOne(const char* what, const std::vector<double>& v, int targetMs) {
    std::printf("  %-40s %6.0f / %6.0f (target <= %d)\n", what, Median(v), Max(v), targetMs);
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
    std::vector<double> dialogOpen, second, later;
    AnsweringSeam* answering = nullptr;
    AnsweringSeam seam([&](CBrenvoDlg& dlg) {
        cable = Follow(dlg, runtime, "kav5806", rounds);
        serial = Follow(dlg, runtime, "t5qm", rounds);
        dialogOpen = PulledWhileAFileDialogIsOpen(dlg, *answering, runtime, rounds);
        second = PulledBesideASecondDimmer(dlg, runtime, rounds);
        later = SwitchedOnLater(dlg, rounds);
    });
    answering = &seam;
    CBrenvoDlg dlg;
    dlg.m_bWatchPorts = true;
    dlg.DoModal();

    std::printf("following a dimmer, %d rounds each (median / max, ms)\n", rounds);
    Print("cable kav5806 (nothing polled)", 500, cable);
    Print("serial t5qm", 10, serial);
    std::printf("  with more going on:\n");
    PrintOne("pulled, a file dialog open -> Offline", dialogOpen, 2000);
    PrintOne("pulled beside a T5QM -> T5QM found", second, 2010);
    PrintOne("dimmer switched on behind cable -> found", later, 3000);
    const auto all = [&](std::size_t n) { return n == static_cast<std::size_t>(rounds); };
    return all(cable.appear.size()) && all(serial.appear.size()) && all(dialogOpen.size()) &&
                   all(second.size()) && all(later.size())
               ? 0
               : 1;
}
