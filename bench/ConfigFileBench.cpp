// Save config and Open config of twelve tables, through the menu commands of the main window:
//  - save to a new file,
//  - save over an existing file in which every value changes,
//  - open a file that this process has not read yet.
// A small timing program, as each command is a whole run of file reads and writes.
// Usage: brenvo_config_bench [runs]   (default 20)
#include <stdio.h>
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/CBrenvoDlg.h"
#include "platform/ui/UiSeam.h"
#include "platform/ui/testing/UiDriver.h"
#include "resources/BrenvoResources.h"
#include "resources/resource.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs the body in the shown window and answers every file dialog with one path.
class BenchSeam final : public UiSeam {
public:
    std::string path;
    std::function<void(CBrenvoDlg&)> body;
    void RunModal(CDialog& dialog) override {
        body(static_cast<CBrenvoDlg&>(dialog));
        dialog.EndDialog(IDCANCEL);
    }
    int MessageBox(CWnd*, const CString& text, const CString&, UINT) override {
        std::fprintf(stderr, "unexpected message: %s\n", text.GetString());
        return IDOK;
    }
    BOOL ChooseFile(const FileDialogRequest&, CString& chosen) override {
        chosen = path.c_str();
        return TRUE;
    }
    void SetCursor(HCURSOR) override {}
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeCommand(CBrenvoDlg& dlg, UINT id) {
    const Clock::time_point start = Clock::now();
    UiDriver::TriggerMenuItem(dlg, id);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Every entry of every page differs from the run before.
void FillTables(CBrenvoDlg& dlg, int run) {
    for (int k = 0; k < CBrenvoDlg::MAX_OUTPUTS; ++k) {
        for (int i = 0; i < TABLE_SIZE; ++i) {
            dlg.m_tables[k].m_table[i] = static_cast<WORD>(i * 257 + k + run);
        }
    }
}

// The same bytes under a new inode, as if another program had written the file.
void Rewrite(const std::string& path) {
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(path + ".copy", std::ios::binary) << bytes;
    std::rename((path + ".copy").c_str(), path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    TempRuntimeDir runtime;  // no emulated dimmer: the window's pages are all there regardless
    AfxSetResourceSet(&BrenvoResources());
    BenchSeam seam;
    seam.path = runtime.Path() + "/bench Config.ini";
    SetUiSeam(&seam);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    std::vector<double> fresh, over, open;
    seam.body = [&](CBrenvoDlg& dlg) {
        dlg.m_nOutputs = CBrenvoDlg::MAX_OUTPUTS;
        for (int run = 0; run < runs; ++run) {
            FillTables(dlg, run);
            std::remove(seam.path.c_str());
            fresh.push_back(TimeCommand(dlg, ID_FILE_SAVECONFIG));
            FillTables(dlg, run + 1);
            over.push_back(TimeCommand(dlg, ID_FILE_SAVECONFIG));
            Rewrite(seam.path);
            open.push_back(TimeCommand(dlg, ID_FILE_OPENCONFIG));
        }
    };
    {
        CBrenvoDlg dlg;
        dlg.DoModal();
    }
    SetUiSeam(nullptr);
    std::printf("configuration file of twelve tables, median of %d runs:\n", runs);
    std::printf("  save to a new file:         %7.2f ms (target <= 50)\n", Median(fresh));
    std::printf("  save over an existing file: %7.2f ms (target <= 50)\n", Median(over));
    std::printf("  open:                       %7.2f ms (target <= 30)\n", Median(open));
    return 0;
}
