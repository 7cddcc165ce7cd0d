// Start-up with nothing attached: from constructing the main window to its being shown, with the
// detection (cable search and the scan of COM ports 1 to 256) inside. A small timing program, as
// the whole start-up runs in real time. Only a port that opens costs time: its 50 ms identify
// and the 5 ms pause after it; a number with no port behind it costs the look-up alone.
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/CBrenvoDlg.h"
#include "link/SerialTransport.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/UiSeam.h"
#include "platform/ui/testing/UiDriver.h"
#include "resources/BrenvoResources.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes when the window is about to be shown and when it is on screen, then closes it.
class StartupSeam final : public UiSeam {
public:
    Clock::time_point initialised, shown;
    void RunModal(CDialog& dialog) override {
        initialised = Clock::now();
        UiDriver::Show(dialog);
        shown = Clock::now();
        dialog.EndDialog(IDCANCEL);
    }
    int MessageBox(CWnd*, const CString&, const CString&, UINT) override { return IDOK; }
    BOOL ChooseFile(const FileDialogRequest&, CString&) override { return FALSE; }
    void SetCursor(HCURSOR) override {}
};

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    TempRuntimeDir runtime;  // no emulated cable or port
    AfxSetResourceSet(&BrenvoResources());
    StartupSeam seam;
    SetUiSeam(&seam);

    // Every real port that opens adds its 50 ms identify and its 5 ms pause.
    int openPorts = 0;
    for (int port = 1; port <= 256; ++port) {
        if (SerialOpen(port)) {
            ++openPorts;
            SerialClose();
        }
    }
    const double extra = 55.0 * openPorts;

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<double> detection;
    std::vector<double> shown;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        {
            CBrenvoDlg dlg;
            dlg.DoModal();
        }
        detection.push_back(Ms(seam.initialised - start));
        shown.push_back(Ms(seam.shown - start));
    }
    SetUiSeam(nullptr);
    std::printf(
        "start-up with nothing attached, median of %d runs; %d real ports open here (%.0f ms "
        "of identify added to each target)\n",
        runs, openPorts, extra);
    std::printf("  initialisation with detection: %8.1f ms\n", Median(detection));
    std::printf("  to the shown window:           %8.1f ms (target <= %.0f)\n", Median(shown),
                400 + extra);
    return 0;
}
