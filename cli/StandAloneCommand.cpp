// standalone: a scene file into the EEPROM, parsed and refused as the StandAlone page does, with
// the bytes written and the time left on the progress bar. A stop waits for the byte under way;
// a lost link ends the writing where it was lost.
#include <chrono>
#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"
#include "cli/Interruption.h"
#include "cli/TableInput.h"
#include "cli/Texts.h"
#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/StandAloneFile.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string TimeText(long seconds) {
    return Format("%ld:%02ld", seconds / 60, seconds % 60);
}

void ShowProgress(DWORD sending, DWORD total, Clock::time_point start) {
    const DWORD done = sending - 1;
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    // Every byte costs the same pause: the bytes left at the pace so far.
    const double perByte = done > 0 ? elapsed / done : EEPROM_PAUSE_MS / 1000.0;
    const long left = static_cast<long>(perByte * (total - done) + 0.5);
    Console::Progress(Said(kTextProgramming), static_cast<double>(done) / total,
                      Format(kTextEepromProgress, static_cast<unsigned long>(done),
                             static_cast<unsigned long>(total), TimeText(left).c_str()));
}

}  // namespace

int RunStandAlone(const CliRequest& request) {
    const std::string& file = request.files.front();
    StandAloneImage image;
    const CString refused = LoadStandAloneFile(file.c_str(), image);
    if (!refused.IsEmpty()) {
        Console::Error(Shown(SaidShared(refused.str())));
        return kExitBadInput;
    }
    if (image.count == 0) {
        Console::Error(Format(kTextNoSceneValue, Shown(file).c_str()));
        return kExitBadInput;
    }
    FoundDimmer dimmer;
    if (const int status = OpenChosenDimmer(request, dimmer)) {
        return status;
    }
    if (!dimmer.profile.standAloneTab || !CableIsOpen(dimmer.cable)) {
        Console::Error(Format(kTextNoStandAlone, DimmerText(dimmer).c_str()));
        CloseDimmerLink(dimmer);
        return kExitBadInput;
    }
    Interruption::Defer();
    const auto start = Clock::now();
    const std::string work = Format(kTextWorkEeprom, dimmer.port.name.c_str());
    const DWORD written = WriteStandAloneImageWhile(
        dimmer.cable, image,
        [&](DWORD sending) {
            Interruption::Working(
                work, Clock::now() + std::chrono::milliseconds(EEPROM_PAUSE_MS + CABLE_TIMEOUT_MS));
            ShowProgress(sending, image.count, start);
        },
        [] { return !Interruption::Requested(); });
    Interruption::Idle();
    Console::EndProgress();
    const bool lost = CableIsGone(dimmer.cable);
    CloseDimmerLink(dimmer);

    DimmerReport report = ReportOn(dimmer);
    report.extra = nlohmann::ordered_json{{"bytes", image.count}, {"bytesWritten", written}};
    if (written == image.count) {
        report.text = Format(kTextEepromWritten, static_cast<unsigned long>(written));
    } else {
        const int signal = Interruption::Signal();
        report.status = lost ? (written == 0 ? DimmerStatus::Failed : DimmerStatus::Partly)
                             : DimmerStatus::Stopped;
        report.text = (lost ? SaidShared(kLinkLostText)
                            : Format(kTextStopped, Interruption::SignalName(signal))) +
                      " " +
                      Format(kTextEepromPart, static_cast<unsigned long>(written),
                             static_cast<unsigned long>(image.count));
    }
    PrintReports({report}, request.json);
    return RunExitStatus({report});
}
