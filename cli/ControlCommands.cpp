// set, temp and shutdown-temp: what the window's output and temperature controls do.
#include <chrono>
#include <ctime>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"
#include "cli/Interruption.h"
#include "cli/TableInput.h"
#include "cli/Texts.h"
#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/TableLink.h"
#include "link/TemperatureScale.h"
#include "link/TemperatureText.h"
#include "platform/os/TimeService.h"

namespace {

using json = nlohmann::ordered_json;
using Clock = std::chrono::steady_clock;

// The temperatures are the cable family's: read on the cable, where the profile polls them.
bool HasTemperature(const FoundDimmer& dimmer) {
    if (dimmer.profile.tempReplyLength > 0 && dimmer.cable != nullptr) {
        return true;
    }
    Console::Error(Format(kTextNoTemperature, DimmerText(dimmer).c_str()));
    return false;
}

// The one report of the command, as a line (unless `shown` already) or as JSON.
int Report(const CliRequest& request, const DimmerReport& report, bool shown = false) {
    if (request.json || !shown || report.status != DimmerStatus::Done) {
        PrintReports({report}, request.json);
    }
    return RunExitStatus({report});
}

// A read that brought nothing: the dimmer went away or does not answer.
int NoAnswer(const CliRequest& request, const FoundDimmer& dimmer) {
    DimmerReport report = ReportOn(dimmer);
    report.status = DimmerStatus::Failed;
    report.text = TableLinkIsGone(dimmer.cable) ? SaidShared(kLinkLostText) : Said(kTextNoReply);
    return Report(request, report);
}

json Degrees(const std::optional<int>& celsius) {
    return celsius ? json(*celsius) : json(nullptr);
}

// "2026-03-01T14:05:09+01:00"
std::string IsoTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string iso = text;
    if (iso.size() > 2) {
        iso.insert(iso.size() - 2, ":");  // the offset as +hh:mm
    }
    return iso;
}

// Reads the shut-down temperature into the report's keys. False when it did not arrive.
bool ReadShutdown(const FoundDimmer& dimmer, DimmerReport& report, WORD& raw) {
    if (CableReadShutdownTemperature(dimmer.cable, &raw) < SHUTDOWN_REPLY_LENGTH) {
        return false;
    }
    report.extra["shutdown"] = JsonText(RawTemperatureText(raw));
    report.extra["shutdownCelsius"] = Degrees(RawTemperatureCelsius(raw));
    return true;
}

// One reading of the actual temperature (and the shut-down one), into the report's keys.
bool ReadActual(const FoundDimmer& dimmer, DimmerReport& report, bool withShutdown) {
    BYTE reply[TEMPERATURE_REPLY_FOUR_READINGS] = {};
    const int length = dimmer.profile.tempReplyLength;
    const DWORD count = CableReadTemperature(dimmer.cable, reply, static_cast<DWORD>(length));
    if (count == 0) {
        return false;
    }
    report.extra["actual"] = JsonText(ActualTemperatureText(reply, count, length));
    json degrees = json::array();
    for (const std::optional<int>& reading : ActualTemperatureReadings(reply, count, length)) {
        degrees.push_back(Degrees(reading));
    }
    report.extra["actualCelsius"] = degrees;
    WORD raw = 0;
    return !withShutdown || ReadShutdown(dimmer, report, raw);
}

void ShowTemperatures(const DimmerReport& report) {
    Console::Result(Format(kTextActual, Shown(report.extra["actual"].get<std::string>()).c_str()));
    if (report.extra.contains("shutdown")) {
        Console::Result(
            Format(kTextShutdown, Shown(report.extra["shutdown"].get<std::string>()).c_str()));
    }
}

int Watch(const CliRequest& request, const FoundDimmer& dimmer) {
    // Ended by a signal, which is how watching ends: status 0.
    Interruption::Defer();
    const auto period = std::chrono::milliseconds(TEMPERATURE_POLL_MS);
    auto next = Clock::now();
    bool first = true;
    while (!Interruption::Requested()) {
        DimmerReport report = ReportOn(dimmer);
        if (!ReadActual(dimmer, report, first)) {
            return NoAnswer(request, dimmer);
        }
        if (request.json) {
            json line = ReportJson(report);
            line["time"] = IsoTime();
            Console::Result(JsonDump(line));
        } else {
            ShowTemperatures(report);
        }
        first = false;
        next += period;
        // In short steps, so that a signal ends the wait at once.
        while (!Interruption::Requested() && Clock::now() < next) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    return kExitDone;
}

int WithDimmer(const CliRequest& request, int (*command)(const CliRequest&, FoundDimmer&)) {
    FoundDimmer dimmer;
    if (const int status = OpenChosenDimmer(request, dimmer)) {
        return status;
    }
    const int status = command(request, dimmer);
    CloseDimmerLink(dimmer);
    return status;
}

int SetLevel(const CliRequest& request, FoundDimmer& dimmer) {
    const DeviceProfile& profile = dimmer.profile;
    if (!CheckOutput(dimmer, request.output)) {
        return kExitBadInput;
    }
    if (request.level > profile.maxValue) {
        Console::Error(
            Format(kTextLevel, request.level, DimmerText(dimmer).c_str(), profile.maxValue));
        return kExitBadInput;
    }
    Interruption::Defer();
    SendOutputLevel(dimmer.cable, request.output - 1, static_cast<WORD>(request.level));
    if (TableLinkIsGone(dimmer.cable)) {
        return NoAnswer(request, dimmer);
    }
    DimmerReport report = ReportOn(dimmer);
    report.text = Format(kTextLevelSet, request.output, request.level);
    report.extra = json{{"output", request.output}, {"level", request.level}};
    return Report(request, report);
}

int Temp(const CliRequest& request, FoundDimmer& dimmer) {
    if (!HasTemperature(dimmer)) {
        return kExitBadInput;
    }
    if (request.watch) {
        return Watch(request, dimmer);
    }
    DimmerReport report = ReportOn(dimmer);
    if (!ReadActual(dimmer, report, true)) {
        return NoAnswer(request, dimmer);
    }
    if (!request.json) {
        ShowTemperatures(report);
    }
    return Report(request, report, true);
}

int ShutdownTemp(const CliRequest& request, FoundDimmer& dimmer) {
    if (!HasTemperature(dimmer)) {
        return kExitBadInput;
    }
    DimmerReport report = ReportOn(dimmer);
    const bool setting = request.shutdownCelsius || request.shutdownDefault;
    WORD sent = 0;
    if (setting) {
        const LONG raw = request.shutdownDefault ? SHUTDOWN_RAW_DEFAULT
                                                 : CelsiusToTempRaw(*request.shutdownCelsius);
        Interruption::Defer();
        Interruption::Working(
            Format(kTextWorkShutdown, dimmer.port.name.c_str()),
            Clock::now() + std::chrono::milliseconds(TEMPERATURE_POLL_MS + 2 * CABLE_TIMEOUT_MS));
        CableWriteShutdownTemperature(dimmer.cable, raw);
        // What travels: the value as the dimmer receives it.
        sent = WordFromWire(WriteShutdownRequest(raw).data() + 1);
        // Read back one poll later, as the window does.
        Sleep(TEMPERATURE_POLL_MS);
    }
    WORD stored = 0;
    const bool read = ReadShutdown(dimmer, report, stored);
    Interruption::Idle();
    if (!read) {
        return NoAnswer(request, dimmer);
    }
    const std::string storedText = Shown(RawTemperatureText(stored));
    if (setting && stored != sent) {
        report.status = DimmerStatus::Different;
        report.text = Format(kTextShutdownStored, storedText.c_str(),
                             Shown(RawTemperatureText(sent)).c_str());
        return Report(request, report);
    }
    if (!request.json) {
        Console::Result(Format(kTextShutdown, storedText.c_str()));
    }
    return Report(request, report, true);
}

}  // namespace

int RunSet(const CliRequest& request) {
    return WithDimmer(request, SetLevel);
}

int RunTemp(const CliRequest& request) {
    return WithDimmer(request, Temp);
}

int RunShutdownTemp(const CliRequest& request) {
    return WithDimmer(request, ShutdownTemp);
}
