// Times table transfers against the emulator on pseudo-terminals at the links' real rates, each
// against its floor (the fixed pauses, the wire time and the read time-outs it must wait):
//  - cable write: 1.3 s of pauses, the 250 ms drain read and the 250 ms probe read (the identify
//    text is shorter than the 100 bytes asked for, so the read waits its time-out); the 0.27 s of
//    wire time pass inside the 1 s store pause;
//  - cable read: the 250 ms drain read and the wire time of request and reply;
//  - serial write: the 1 s store pause;  serial read: the reply's 44.4 ms of wire time;
//  - Write all on twelve outputs (in a busy scope that pumps a window) against twelve single
//    writes;
//  - how many of N serial table reads come back complete.
// Usage: brenvo_table_transfer_bench [serial reads] [serial]   (default 200; "serial": that link
// only)
#include <QApplication>
#include <QProgressBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "emulator/DimmerEmulator.h"
#include "emulator/PtyPlayer.h"
#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/SerialTransport.h"
#include "platform/ui/CBusyScope.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double WireMs(double bytes, double baud) {
    return bytes * 10.0 * 1000.0 / baud;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::vector<double> Time(int runs, const std::function<bool()>& run, int* failures = nullptr) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMs();
        const bool ok = run();
        const double span = NowMs() - start;
        if (ok) {
            ms.push_back(span);
        } else if (failures != nullptr) {
            ++*failures;
        }
    }
    return ms;
}

void Report(const char* what, const std::vector<double>& ms, double floorMs) {
    if (ms.empty()) {
        std::printf("%-34s no complete run\n", what);
        return;
    }
    const double median = Median(ms);
    std::printf("%-34s median %8.1f ms  floor %8.1f ms  above floor %+5.2f %%  (runs %zu)\n", what,
                median, floorMs, (median / floorMs - 1.0) * 100.0, ms.size());
}

}  // namespace

int main(int argc, char** argv) {
    const int serialReads = argc > 1 ? std::atoi(argv[1]) : 200;
    const bool serialOnly = argc > 2 && std::string(argv[2]) == "serial";
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QProgressBar bar;  // something for the busy scope's pump to paint
    bar.setRange(0, 13);
    bar.show();
    TempRuntimeDir runtime;

    std::vector<WORD> table(TABLE_ENTRIES);
    for (int i = 0; i < TABLE_ENTRIES; ++i) {
        table[static_cast<std::size_t>(i)] = static_cast<WORD>(i * 257);
    }

    // The cable at 19200 baud.
    double singleWrite = 0;
    if (!serialOnly) {
        DimmerEmulator dimmer(*FindDimmerModel("kav5806"));
        PtyPlayer::Options options;
        options.baudRate = CABLE_BAUD_RATE;
        options.publish = PtyPlayer::Publish::Cable;
        options.description = CABLE_DESCRIPTION;
        PtyPlayer player(dimmer, options);
        FT_HANDLE cable = nullptr;
        FT_STATUS status = 0;
        CString description;
        if (!player.Start() || !CableFindAndOpen(cable, status, description) || !cable) {
            std::fprintf(stderr, "cannot start the cable emulator or open the cable\n");
            return 1;
        }
        const double writeFloor = 1300 + 250 + 250;
        const auto writes =
            Time(5, [&] { return CableWriteTable(cable, CMD_WRITE_TABLE_B, 0, table.data()); });
        Report("cable table write", writes, writeFloor);
        singleWrite = Median(writes);
        const auto reads = Time(10, [&] {
            std::vector<WORD> back(TABLE_ENTRIES);
            return CableReadTable(cable, 0, back.data()) == TABLE_IMAGE_SIZE;
        });
        Report("cable table read", reads, 250 + WireMs(2 + 512, CABLE_BAUD_RATE));

        const auto writeAll = Time(1, [&] {
            CBusyScope busy;
            bool all = true;
            for (int k = 0; k < OUTPUT_COUNT_MAX; ++k) {
                all = CableWriteTable(cable, CMD_WRITE_TABLE_B, k, table.data()) && all;
                bar.setValue(k + 2);
            }
            return all;
        });
        Report("write all, 12 outputs (vs 12x)", writeAll, 12 * singleWrite);
        CurrentCableDriver().Close(cable);
    }

    // The serial link at 115200 baud.
    {
        DimmerEmulator dimmer(*FindDimmerModel("t5qm"));
        PtyPlayer::Options options;
        options.baudRate = SERIAL_BAUD_RATE;
        options.publish = PtyPlayer::Publish::SerialPort;
        PtyPlayer player(dimmer, options);
        if (!player.Start() || !SerialOpen(player.ComNumber())) {
            std::fprintf(stderr, "cannot start the serial emulator or open its port\n");
            return 1;
        }
        const auto writes =
            Time(5, [&] { return SerialWriteTable(CMD_WRITE_TABLE_B, 0, table.data()); });
        Report("serial table write", writes, 1000);
        int incomplete = 0;
        std::vector<double> afterLastByte;  // the transport's own share
        int lateReplies = 0;                // the emulator's last byte left after the window
        const auto reads = Time(
            serialReads,
            [&] {
                std::vector<WORD> back(TABLE_ENTRIES);
                const double start = NowMs();
                const bool whole = SerialReadTable(0, back.data()) == TABLE_IMAGE_SIZE;
                const double lastByte = static_cast<double>(player.LastReplyEndNs()) / 1e6;
                afterLastByte.push_back(NowMs() - lastByte);
                if (!whole && lastByte - start > SERIAL_REPLY_TIMEOUT_MS) {
                    ++lateReplies;
                }
                return whole;
            },
            &incomplete);
        Report("serial table read", reads, WireMs(2 + 512, SERIAL_BAUD_RATE));
        std::printf("  of which after the reply's last byte left the emulator: median %.2f ms\n",
                    Median(afterLastByte));
        std::printf(
            "serial table reads complete: %zu of %d (incomplete: %d, of which the emulator's "
            "last byte left after the %d ms window: %d)\n",
            reads.size(), serialReads, incomplete, static_cast<int>(SERIAL_REPLY_TIMEOUT_MS),
            lateReplies);
        SerialClose();
    }
    return 0;
}
