// Times StandAlone programming against the 10 ms pause per EEPROM byte: the dimmer emulator plays
// a QP1 on an emulated cable at the cable's 19200 baud, the production driver and pauses run in
// real time, and the page's button is pressed in a window whose busy time keeps it repainting.
// Prints the time, its ratio to the floor (bytes x 10 ms) and whether every byte arrived intact.
// Usage: brenvo_standalone_write_bench [bytes [loop]]   (default 33000, the whole image: about
// 330 s; "loop" times the write loop alone, without the window)
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "emulator/DimmerEmulator.h"
#include "emulator/PtyPlayer.h"
#include "link/CDmxFile.h"
#include "link/CableTransport.h"
#include "link/StandAloneImage.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/link/StandAloneHost.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using Clock = std::chrono::steady_clock;

BYTE Pattern(DWORD address) {
    return static_cast<BYTE>(address * 7 + (address >> 8));
}

std::string WriteSceneFile(const std::string& folder, DWORD bytes) {
    const std::string path = folder + "/bench.hex";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return "";
    }
    for (DWORD a = 0; a < bytes; ++a) {
        std::fprintf(f, "%04lX:%02X\r\n", static_cast<unsigned long>(a), Pattern(a));
    }
    std::fclose(f);
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    const long wanted = argc > 1 ? std::atol(argv[1]) : static_cast<long>(STANDALONE_IMAGE_SIZE);
    // "loop": the write loop alone, without the window and its busy time.
    const bool loopOnly = argc > 2 && std::string(argv[2]) == "loop";
    const DWORD bytes = static_cast<DWORD>(
        std::min(std::max(wanted, 1L), static_cast<long>(STANDALONE_IMAGE_SIZE)));
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    TempRuntimeDir runtime;
    const std::string path = WriteSceneFile(runtime.Path(), bytes);
    if (runtime.Path().empty() || path.empty()) {
        std::fprintf(stderr, "cannot write the scene file\n");
        return 1;
    }

    DimmerEmulator dimmer(*FindDimmerModel("qp1"));
    PtyPlayer::Options options;
    options.baudRate = CABLE_BAUD_RATE;
    options.publish = PtyPlayer::Publish::Cable;
    options.description = CABLE_DESCRIPTION;
    PtyPlayer player(dimmer, options);
    FT_HANDLE cable = nullptr;
    FT_STATUS status = 0;
    CString description;
    if (!player.Start() || !CableFindAndOpen(cable, status, description) || !CableIsOpen(cable)) {
        std::fprintf(stderr, "cannot start the emulator or open its cable\n");
        return 1;
    }

    ScriptedUi ui;
    StandAloneHost host;
    double seconds = 0;
    if (loopOnly) {
        CDmxFile file;
        StandAloneImage image;
        if (!file.Load(path.c_str()) ||
            ParseStandAloneFile(reinterpret_cast<const BYTE*>(file.GetData()),
                                static_cast<std::size_t>(file.GetSize()),
                                image) != StandAloneParse::Ok) {
            return 1;
        }
        const Clock::time_point start = Clock::now();
        WriteStandAloneImage(cable, image, nullptr);
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    } else
        host.Run(ui, [&] {
            CDlgStandAlone page;
            page.m_pCableHandle = &cable;
            host.AddPage(page);
            UiDriver::ProcessEvents();
            ui.ExpectFileDialog(path.c_str());
            const Clock::time_point start = Clock::now();
            UiDriver::Click(*page.GetDlgItem(IDC_WRITE_HEX));
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        });
    // The last command is on the wire when the button returns; wait (bounded) for it.
    for (int i = 0; i < 200 && dimmer.Snapshot().eepromBytes < bytes; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    CurrentCableDriver().Close(cable);

    const DimmerSnapshot state = dimmer.Snapshot();
    DWORD wrong = 0;
    for (DWORD a = 0; a < bytes; ++a) {
        wrong += dimmer.EepromByte(static_cast<WORD>(a)) != Pattern(a);
    }
    const double floor = bytes * EEPROM_PAUSE_MS / 1000.0;
    std::printf(
        "StandAlone write of %lu bytes: %.3f s, floor %.3f s, ratio %.4f "
        "(%.3f ms per byte)\n",
        static_cast<unsigned long>(bytes), seconds, floor, seconds / floor,
        seconds * 1000.0 / bytes);
    std::printf("emulator: %u bytes stored, %u wrong check bytes, %lu bytes differ\n",
                state.eepromBytes, state.eepromBadChecks, static_cast<unsigned long>(wrong));
    return wrong == 0 && state.eepromBytes == bytes && state.eepromBadChecks == 0 ? 0 : 1;
}
