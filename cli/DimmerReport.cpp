#include "cli/DimmerReport.h"

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/Interruption.h"
#include "cli/Texts.h"
#include "link/ModelProfiles.h"

namespace {

using json = nlohmann::ordered_json;

json TextOrNull(const std::string& text) {
    return text.empty() ? json(nullptr) : json(JsonText(text));
}

bool Answered(DimmerStatus status) {
    return status != DimmerStatus::Busy && status != DimmerStatus::NoDimmer;
}

}  // namespace

const char* StatusWord(DimmerStatus status) {
    switch (status) {
        case DimmerStatus::Done:
            return "done";
        case DimmerStatus::Partly:
            return "partly";
        case DimmerStatus::Failed:
            return "failed";
        case DimmerStatus::Stopped:
            return "stopped";
        case DimmerStatus::NotConcerned:
            return "not-concerned";
        case DimmerStatus::Busy:
            return "busy";
        case DimmerStatus::NoDimmer:
            return "no-dimmer";
        case DimmerStatus::Refused:
            return "refused";
        case DimmerStatus::Different:
            return "different";
    }
    return "failed";
}

std::string ModelOf(const FoundDimmer& dimmer) {
    if (dimmer.deviceName.IsEmpty()) {
        return std::string();
    }
    return dimmer.port.link == LinkKind::Serial ? SerialModelName(dimmer.deviceName)
                                                : CableModelName(dimmer.deviceName);
}

DimmerReport ReportOn(const FoundDimmer& dimmer) {
    DimmerReport report;
    report.port = dimmer.port;
    report.deviceName = dimmer.deviceName;
    report.model = ModelOf(dimmer);
    return report;
}

json ReportJson(const DimmerReport& report) {
    json object{{"port", JsonText(report.port.name)},
                {"name", TextOrNull(report.deviceName.str())},
                {"serial", TextOrNull(report.port.serialNumber)},
                {"stablePath", TextOrNull(report.port.stablePath)},
                {"model", TextOrNull(report.model)},
                {"written", report.written},
                {"notConfirmed", report.notConfirmed},
                {"notWritten", report.notWritten},
                {"status", StatusWord(report.status)}};
    for (const auto& [key, value] : report.extra.items()) {
        object[key] = value;
    }
    return object;
}

std::string JsonDump(const json& value, int indent) {
    return value.dump(indent, ' ', false, json::error_handler_t::replace);
}

void PrintReports(const std::vector<DimmerReport>& reports, bool asJson) {
    json::array_t list;
    for (const DimmerReport& report : reports) {
        const std::string line = Format(kTextResult, report.port.name.c_str(), report.text.c_str());
        if (report.status == DimmerStatus::Done || report.status == DimmerStatus::NotConcerned) {
            if (!asJson) {
                Console::Result(line);
            }
        } else {
            Console::Error(line);
        }
        list.push_back(ReportJson(report));
    }
    if (asJson) {
        Console::Result(JsonDump(list, 2));
    }
}

int RunExitStatus(const std::vector<DimmerReport>& reports, int expect) {
    if (Interruption::Requested()) {
        return Interruption::ExitStatus();
    }
    bool answered = false;
    bool concerned = false;
    bool incomplete = false;
    int done = 0;
    for (const DimmerReport& report : reports) {
        answered |= Answered(report.status);
        concerned |= Answered(report.status) && report.status != DimmerStatus::NotConcerned;
        if (report.status == DimmerStatus::Done) {
            ++done;
        } else if (report.status != DimmerStatus::NotConcerned && report.counts) {
            incomplete = true;
        }
    }
    if (!answered) {
        return kExitNoDimmer;
    }
    if (expect >= 0 && done != expect) {
        Console::Error(Format(kTextExpected, done, expect));
        return kExitIncomplete;
    }
    return concerned && !incomplete ? kExitDone : kExitIncomplete;
}
