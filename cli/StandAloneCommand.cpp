// standalone: a scene file into the EEPROM, parsed and refused as the StandAlone page does, with
// the bytes written and the time left on the progress bar.
#include <chrono>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"
#include "cli/TableInput.h"
#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/StandAloneFile.h"

namespace {

std::string TimeText(long seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

void ShowProgress(DWORD sending, DWORD total, std::chrono::steady_clock::time_point start) {
    const DWORD done = sending - 1;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Every byte costs the same pause: the bytes left at the pace so far.
    const double perByte = done > 0 ? elapsed / done : EEPROM_PAUSE_MS / 1000.0;
    const long left = static_cast<long>(perByte * (total - done) + 0.5);
    Console::Progress("Programming", static_cast<double>(done) / total,
                      std::to_string(done) + " of " + std::to_string(total) + " bytes, " +
                          TimeText(left) + " left");
}

}  // namespace

int RunStandAlone(const CliRequest& request) {
    StandAloneImage image;
    const CString refused = LoadStandAloneFile(request.file.c_str(), image);
    if (!refused.IsEmpty()) {
        Console::Error(Utf8(refused));
        return kExitBadInput;
    }
    FoundDimmer dimmer;
    if (const int status = OpenChosenDimmer(request.port, dimmer)) {
        return status;
    }
    int status = kExitDone;
    if (!dimmer.profile.standAloneTab || !CableIsOpen(dimmer.cable)) {
        Console::Error(DimmerText(dimmer) + " has no StandAlone programming");
        status = kExitBadInput;
    } else {
        const auto start = std::chrono::steady_clock::now();
        WriteStandAloneImage(dimmer.cable, image,
                             [&](DWORD sending) { ShowProgress(sending, image.count, start); });
        Console::EndProgress();
        if (CableIsGone(dimmer.cable)) {
            Console::Error(dimmer.port.name + ": " + kLinkLostText);
            status = kExitIncomplete;
        } else {
            Console::Result(dimmer.port.name + ": " + std::to_string(image.count) +
                            " bytes written to the EEPROM.");
        }
    }
    CloseDimmerLink(dimmer);
    return status;
}
