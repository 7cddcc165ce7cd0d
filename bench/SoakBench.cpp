// A soak of the real window against brenvo-dimmer: for the given minutes, random operations as an
// operator does them (slider moves, curves and a page's Write and Read, Write all, Read all,
// configuration save and open, the shut-down temperature's Write, a search) while the dimmer is
// pulled out and plugged in again every few seconds. At the end the dimmer is plugged in, Write all
// and Read all must give back what was written, and the window's memory and open descriptors must
// not have grown since the warm-up.
//   brenvo_soak_bench [minutes] [model] [seconds between unplugs]
#include <dirent.h>
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "bench/LiveWindow.h"
#include "resources/resource.h"
#include "tests/e2e/Processes.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

int OpenDescriptors() {
    int n = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (dirent* e = readdir(dir)) {
            n += e->d_name[0] != '.' ? 1 : 0;
        }
        closedir(dir);
    }
    return n - 1;  // the listing's own
}

bool Online(CBrenvoDlg& dlg) {
    return TitleOf(dlg).find("Offline") == std::string::npos;
}

// Predefined curves a person picks from a page's box: All on, All off, Linear, Invert.
constexpr int kCurves[] = {1, 2, 3, 5};
constexpr WORD kLeftAfterLoss = 0xBEEF;

class Soak {
public:
    Soak(CBrenvoDlg& dlg, AnsweringSeam& seam, Process& dimmer, int unplugSeconds)
        : m_dlg(dlg), m_seam(seam), m_dimmer(dimmer), m_unplugMs(unplugSeconds * 1000) {}

    void Run(Clock::duration length) {
        const Clock::time_point start = Clock::now();
        Clock::time_point nextToggle = start + std::chrono::milliseconds(m_unplugMs);
        Clock::time_point nextSample = start + std::chrono::seconds(60);
        bool baselineTaken = false;
        while (Clock::now() - start < length) {
            if (Clock::now() >= nextToggle) {
                Toggle();
                // Pulled out for a moment, plugged in for the given time.
                nextToggle =
                    Clock::now() + std::chrono::milliseconds(m_plugged ? m_unplugMs : 1500);
            }
            Operate();
            UiDriver::ProcessEventsFor(std::uniform_int_distribution<int>(20, 300)(m_random));
            // Samples are taken with the dimmer in use, so that they count the same descriptors.
            if (Clock::now() >= nextSample && Online(m_dlg)) {
                // Warm once every path has run (a first beep loads the sound library, a first
                // dialog its toolkit parts): a tenth of the run, at least the first minute.
                if (!baselineTaken && Clock::now() - start >= length / 10) {
                    m_rss = ResidentKiB();
                    m_fds = OpenDescriptors();
                    baselineTaken = true;
                }
                std::printf(
                    "  %5.1f min: %ld KiB resident, %d descriptors, %d operations, %d "
                    "unplugs, %d messages\n",
                    Ms(Clock::now() - start) / 60000, ResidentKiB(), OpenDescriptors(),
                    m_operations, m_unplugs, m_seam.messages);
                std::fflush(stdout);
                nextSample = Clock::now() + std::chrono::seconds(60);
            }
        }
    }

    // Plugged in, a known table on every output written and read back; the baseline is taken then
    // when the run was too short for one.
    bool TablesComeBack() {
        if (!m_plugged) {
            Toggle();
        }
        if (!WaitFor([&] { return Online(m_dlg); }, 15000)) {
            std::printf("  the dimmer was not found again at the end\n");
            return false;
        }
        if (m_rss == 0) {
            m_rss = ResidentKiB();
            m_fds = OpenDescriptors();
        }
        for (int k = 0; k < m_dlg.m_nOutputs; ++k) {
            for (int i = 0; i < TABLE_SIZE; ++i) {
                m_dlg.m_tables[k].m_table[i] = static_cast<WORD>((k * 37 + i * 3) % 512);
            }
        }
        const int before = m_seam.messages;
        UiDriver::TriggerMenuItem(m_dlg, ID_DEVICE_WRITEALL);
        for (int k = 0; k < m_dlg.m_nOutputs; ++k) {
            std::fill(std::begin(m_dlg.m_tables[k].m_table), std::end(m_dlg.m_tables[k].m_table),
                      kLeftAfterLoss);
        }
        UiDriver::TriggerMenuItem(m_dlg, ID_DEVICE_READALL);
        if (m_seam.messages != before) {
            std::printf("  the last Write all and Read all said: %s\n", m_seam.lastMessage.c_str());
            return false;
        }
        for (int k = 0; k < m_dlg.m_nOutputs; ++k) {
            for (int i = 0; i < TABLE_SIZE; ++i) {
                if (m_dlg.m_tables[k].m_table[i] != static_cast<WORD>((k * 37 + i * 3) % 512)) {
                    std::printf("  output %d entry %d did not come back\n", k + 1, i);
                    return false;
                }
            }
        }
        return true;
    }

    long BaselineKiB() const { return m_rss; }
    int BaselineDescriptors() const { return m_fds; }
    int Operations() const { return m_operations; }
    int Unplugs() const { return m_unplugs; }

private:
    void Toggle() {
        m_dimmer.Signal(SIGUSR2);
        m_plugged = !m_plugged;
        m_unplugs += m_plugged ? 0 : 1;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    void Operate() {
        ++m_operations;
        const int outputs = std::max(1, m_dlg.m_nOutputs);
        switch (Pick(10)) {
            case 0:
            case 1:
                UiDriver::Wheel(m_dlg.m_sliders[Pick(CBrenvoDlg::SLIDER_ROWS)], Pick(7) - 3);
                break;
            case 2: {
                const int k = Pick(outputs);
                UiDriver::ClickTab(m_dlg.m_tabCtrl, k);
                UiDriver::PickComboEntry(m_dlg.m_tables[k].m_cbPredefines,
                                         kCurves[Pick(static_cast<int>(std::size(kCurves)))]);
                UiDriver::Click(*m_dlg.m_tables[k].GetDlgItem(IDC_TABLE_WRITE));
                break;
            }
            case 3: {
                const int k = Pick(outputs);
                UiDriver::ClickTab(m_dlg.m_tabCtrl, k);
                UiDriver::Click(*m_dlg.m_tables[k].GetDlgItem(IDC_TABLE_READ));
                break;
            }
            case 4:
                UiDriver::TriggerMenuItem(m_dlg, ID_DEVICE_WRITEALL);
                break;
            case 5:
                UiDriver::TriggerMenuItem(m_dlg, ID_DEVICE_READALL);
                break;
            case 6:
                UiDriver::TriggerMenuItem(m_dlg, ID_FILE_SAVECONFIG);
                break;
            case 7:
                UiDriver::TriggerMenuItem(m_dlg, ID_FILE_OPENCONFIG);
                break;
            case 8:
                m_dlg.SetDlgItemText(IDC_SHUTDOWN_TEMP, Pick(2) ? "80" : "95");
                UiDriver::Click(*m_dlg.GetDlgItem(IDC_TEMP_WRITE));
                break;
            default:
                if (Pick(5) == 0) {
                    UiDriver::TriggerMenuItem(m_dlg, ID_DEVICE_SEARCH);
                }
                break;
        }
    }

    CBrenvoDlg& m_dlg;
    AnsweringSeam& m_seam;
    Process& m_dimmer;
    int m_unplugMs;
    bool m_plugged = true;
    std::mt19937 m_random{20261207};
    int m_operations = 0;
    int m_unplugs = 0;
    long m_rss = 0;
    int m_fds = 0;
};

}  // namespace

int main(int argc, char** argv) {
    PrepareApplication();
    QApplication app(argc, argv);
    TempRuntimeDir runtime;
    const double minutes = argc > 1 ? std::atof(argv[1]) : 1.0;
    const std::string model = argc > 2 ? argv[2] : "qp4";
    const int unplugSeconds = argc > 3 ? std::max(2, std::atoi(argv[3])) : 5;

    Process dimmer({BRENVO_DIMMER_PATH, "--model", model}, {}, "/dev/null");
    if (!WaitFor([&] { return Published(runtime.PortsPath()); }, 5000)) {
        std::fprintf(stderr, "brenvo-dimmer did not publish its port\n");
        return 2;
    }
    bool ok = false;
    long rss = 0;
    int fds = 0;
    AnsweringSeam seam([&](CBrenvoDlg& dlg) {
        std::printf("soak of %.1f min against %s, unplugged every %d s\n", minutes, model.c_str(),
                    unplugSeconds);
        Soak soak(dlg, seam, dimmer, unplugSeconds);
        soak.Run(std::chrono::milliseconds(static_cast<long>(minutes * 60000)));
        const bool tables = soak.TablesComeBack();
        rss = ResidentKiB();
        fds = OpenDescriptors();
        std::printf("  %d operations, %d unplugs, %d messages answered\n", soak.Operations(),
                    soak.Unplugs(), seam.messages);
        std::printf("  resident memory: %ld KiB after the warm-up, %ld KiB at the end\n",
                    soak.BaselineKiB(), rss);
        std::printf("  open descriptors: %d after the warm-up, %d at the end\n",
                    soak.BaselineDescriptors(), fds);
        std::printf("  Read all gives back what Write all wrote: %s\n", tables ? "yes" : "NO");
        // A little slack for the allocator's own bookkeeping; a leak per operation or unplug
        // grows far beyond it over a long run.
        ok = tables && fds <= soak.BaselineDescriptors() && rss <= soak.BaselineKiB() + 2048;
        dlg.EndDialog(IDCANCEL);
    });
    seam.filePath = runtime.Path() + "/soak Config.ini";
    {
        CBrenvoDlg dlg;
        dlg.m_bWatchPorts = true;
        dlg.DoModal();
    }
    std::printf("soak %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
