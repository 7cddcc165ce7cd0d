// Times a slider move in the main window to the level's last byte at an emulated dimmer on a
// pseudo-terminal, on the cable (KAV5806) and on a serial port (T5QM), with every real pause:
//  - single moves: the program moves slider row 1 (as a drag does), the window repaints and
//    sends; measured from the move to the arrival of the command's third byte;
//  - a steady drag: for 2 s the slider follows a ramp, updated every millisecond; every moment of
//    the drag is measured to the arrival of the first level that reaches the ramp's position then
//    (moves made during a send's 10 ms pause wait for it to end).
// A pseudo-terminal has no wire time: a real cable adds 1.56 ms for three bytes at 19200 baud.
// The window runs offscreen unless QT_QPA_PLATFORM says otherwise.
// Usage: brenvo_output_level_bench [moves]   (default 200)
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <mutex>
#include <vector>

#include "app/CBrenvoDlg.h"
#include "emulator/DimmerEmulator.h"
#include "emulator/PtyPlayer.h"
#include "link/CableTransport.h"
#include "link/SerialTransport.h"
#include "resources/BrenvoResources.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

constexpr std::int64_t kNsPerMs = 1000000;
constexpr int kDragMs = 2000;
constexpr double kDragLevelsPerMs = 20;  // 40,000 levels in 2 s
constexpr int kDragTailMs = 50;          // the last moves may have no level after them

std::int64_t NowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

struct Arrival {
    int output;
    WORD level;
    std::int64_t ns;  // when the command's last byte reached the dimmer
};

// The emulated dimmer, noting when each output command is complete.
class StampingDimmer final : public DeviceResponder {
public:
    explicit StampingDimmer(const DimmerModel& model) : m_dimmer(model) {}

    DeviceReply OnReceive(const std::uint8_t* data, std::size_t count) override {
        const std::int64_t now = NowNs();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (std::size_t i = 0; i < count; ++i) {
                m_pending.push_back(data[i]);
                const int output = m_pending[0] - CMD_SET_OUTPUT;
                if (output < 0 || output >= OUTPUT_COUNT_MAX) {
                    m_pending.clear();  // identify traffic
                } else if (m_pending.size() == SET_OUTPUT_LENGTH) {
                    m_arrivals.push_back({output, WordFromWire(&m_pending[1]), now});
                    m_pending.clear();
                }
            }
        }
        return m_dimmer.OnReceive(data, count);
    }
    std::vector<Arrival> Arrivals() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_arrivals;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_arrivals.clear();
    }

private:
    DimmerEmulator m_dimmer;
    std::mutex m_mutex;
    std::vector<BYTE> m_pending;
    std::vector<Arrival> m_arrivals;
};

struct Figures {
    std::vector<double> ms;
    int missing = 0;
};

void ProcessEventsFor(int ms) {
    const std::int64_t end = NowNs() + ms * kNsPerMs;
    while (NowNs() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
}

void SingleMoves(CSliderCtrl& slider, StampingDimmer& dimmer, int moves, Figures& f) {
    for (int i = 0; i < moves; ++i) {
        const int level = 1 + (i * 7919) % 60000;
        dimmer.Clear();
        const std::int64_t start = NowNs();
        slider.SetPos(level);
        bool arrived = false;
        while (!arrived && NowNs() < start + 1000 * kNsPerMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            for (const Arrival& a : dimmer.Arrivals()) {
                if (a.output == 0 && a.level == level) {
                    f.ms.push_back(static_cast<double>(a.ns - start) / kNsPerMs);
                    arrived = true;
                    break;
                }
            }
        }
        f.missing += arrived ? 0 : 1;
        ProcessEventsFor(15);
    }
}

// Returns the levels per second that went out during the drag.
double Drag(CSliderCtrl& slider, StampingDimmer& dimmer, Figures& f) {
    slider.SetPos(0);
    ProcessEventsFor(50);
    dimmer.Clear();
    const std::int64_t start = NowNs();
    QTimer ramp;
    ramp.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ramp, &QTimer::timeout, [&] {
        const double ms = static_cast<double>(NowNs() - start) / kNsPerMs;
        slider.SetPos(static_cast<int>(ms * kDragLevelsPerMs));
    });
    ramp.start(1);
    ProcessEventsFor(kDragMs);
    ramp.stop();
    ProcessEventsFor(50);
    std::vector<Arrival> sent;
    for (const Arrival& a : dimmer.Arrivals()) {
        if (a.output == 0 && a.level > 0) {
            sent.push_back(a);
        }
    }
    // Every 0.1 ms of the drag waits for the first level that reaches the ramp's position then.
    for (int tenths = 0; tenths < (kDragMs - kDragTailMs) * 10; ++tenths) {
        const double ms = tenths / 10.0;
        const auto target = static_cast<WORD>(ms * kDragLevelsPerMs);
        const auto reached = std::find_if(sent.begin(), sent.end(),
                                          [&](const Arrival& a) { return a.level >= target; });
        if (reached == sent.end()) {
            ++f.missing;
        } else {
            f.ms.push_back(static_cast<double>(reached->ns - start) / kNsPerMs - ms);
        }
    }
    return static_cast<double>(sent.size()) * 1000.0 / kDragMs;
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

void Print(const char* what, const Figures& f) {
    if (f.ms.empty()) {
        std::printf("%-34s no level arrived\n", what);
        return;
    }
    std::printf("%-34s median %6.2f ms  p95 %6.2f ms  max %6.2f ms  (%zu samples, %d missing)\n",
                what, Percentile(f.ms, 0.5), Percentile(f.ms, 0.95),
                *std::max_element(f.ms.begin(), f.ms.end()), f.ms.size(), f.missing);
}

// False when the emulator cannot be started or the window did not find it.
bool Run(const char* modelName, PtyPlayer::Publish publish, int moves) {
    StampingDimmer dimmer(*FindDimmerModel(modelName));
    PtyPlayer::Options options;
    options.publish = publish;
    options.baudRate = publish == PtyPlayer::Publish::Cable ? CABLE_BAUD_RATE : SERIAL_BAUD_RATE;
    options.description = CABLE_DESCRIPTION;
    PtyPlayer player(dimmer, options);
    if (!player.Start()) {
        std::fprintf(stderr, "cannot start the emulator\n");
        return false;
    }
    CBrenvoDlg dlg;
    Figures single;
    Figures drag;
    double levelsPerSecond = 0;
    bool found = false;
    std::function<void()> measure = [&] {
        if (!dlg.IsWindowVisible()) {
            QTimer::singleShot(10, measure);
            return;
        }
        found = dlg.m_strDeviceName.GetLength() > 0;
        ProcessEventsFor(100);
        CSliderCtrl& row1 = dlg.m_sliders[CBrenvoDlg::SLIDER_ROWS - 1];
        if (found) {
            SingleMoves(row1, dimmer, moves, single);
            levelsPerSecond = Drag(row1, dimmer, drag);
        }
        dlg.EndDialog(IDCANCEL);
    };
    QTimer::singleShot(0, measure);
    dlg.DoModal();
    SerialClose();
    if (!found) {
        std::fprintf(stderr, "the window did not find the emulated %s\n", modelName);
        return false;
    }
    std::printf("%s (%s):\n", modelName,
                publish == PtyPlayer::Publish::Cable ? "cable" : "serial port");
    Print("  single move to last byte", single);
    Print("  drag: move to its level or later", drag);
    std::printf("  drag: %.0f levels per second\n", levelsPerSecond);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    TempRuntimeDir runtime;  // the emulated ports' folder, removed at the end
    if (runtime.Path().empty()) {
        return 1;
    }
    AfxSetResourceSet(&BrenvoResources());
    if (!Run("kav5806", PtyPlayer::Publish::Cable, moves) ||
        !Run("t5qm", PtyPlayer::Publish::SerialPort, moves)) {
        return 1;
    }
    return 0;
}
