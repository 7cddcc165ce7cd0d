// list and info: the ports that may hold a dimmer with what answers on them, as lines or as JSON.
#include <algorithm>
#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"
#include "cli/Texts.h"

namespace {

using json = nlohmann::ordered_json;

const char* LinkWord(const DimmerPort& port) {
    return port.link == LinkKind::Cable ? "cable" : "serial";
}

const char* StateWord(DimmerStatus state) {
    return state == DimmerStatus::Busy       ? "busy"
           : state == DimmerStatus::NoDimmer ? "no-dimmer"
                                             : "dimmer";
}

json TextOrNull(const std::string& text) {
    return text.empty() ? json(nullptr) : json(JsonText(text));
}

json PortJson(const RigPort& port) {
    const FoundDimmer& dimmer = port.found;
    const bool answered = port.state == DimmerStatus::Done;
    const bool cable = dimmer.port.link == LinkKind::Cable;
    return json{{"port", JsonText(dimmer.port.name)},
                {"link", LinkWord(dimmer.port)},
                {"name", TextOrNull(dimmer.deviceName.str())},
                // A cable's title says that no dimmer answers; a busy port has none.
                {"title", answered || (cable && port.state == DimmerStatus::NoDimmer)
                              ? json(JsonText(dimmer.profile.titleSuffix))
                              : json(nullptr)},
                {"model", TextOrNull(ModelOf(dimmer))},
                {"outputs", answered ? json(dimmer.profile.outputs) : json(nullptr)},
                {"range", answered ? json(dimmer.profile.maxValue) : json(nullptr)},
                {"serial", TextOrNull(dimmer.port.serialNumber)},
                {"stablePath", TextOrNull(dimmer.port.stablePath)},
                {"state", StateWord(port.state)}};
}

std::string OutputsText(int outputs) {
    return outputs == 1 ? Said(kTextOneOutput) : Format(kTextOutputs, outputs);
}

// The outputs column is as wide as any model's count may make it, so that a list lines up the
// same whatever dimmers it shows.
std::size_t OutputsWidth() {
    std::size_t width = 0;
    for (int outputs = 1; outputs <= OUTPUT_COUNT_MAX; ++outputs) {
        width = std::max(width, DisplayWidth(OutputsText(outputs)));
    }
    return width;
}

// What a port's line says after its name.
std::string PortText(const RigPort& port) {
    const FoundDimmer& dimmer = port.found;
    if (port.state == DimmerStatus::Busy) {
        return Said(kTextListBusy);
    }
    if (port.state == DimmerStatus::NoDimmer) {
        return Said(kTextListNoDimmer);
    }
    return TitleText(dimmer.profile.titleSuffix);
}

// The serial number and stable path, where known; an emulated cable's name as its serial number
// says nothing new.
std::string StableNamesText(const DimmerPort& port) {
    std::string text;
    if (!port.serialNumber.empty() && port.serialNumber != port.name) {
        text += "   " + Format(kTextListSerial, Shown(port.serialNumber).c_str());
    }
    if (!port.stablePath.empty()) {
        text += "   " + Shown(port.stablePath);
    }
    return text;
}

// Columns by the width a terminal shows, not by bytes: a translation or a title may hold
// characters of several bytes.
void ShowLines(const std::vector<RigPort>& rig) {
    std::size_t portWidth = 0;
    std::size_t textWidth = 0;
    std::size_t rangeWidth = 0;
    for (const RigPort& port : rig) {
        portWidth = std::max(portWidth, DisplayWidth(Shown(port.found.port.name)));
        if (port.state == DimmerStatus::Done) {
            textWidth = std::max(textWidth, DisplayWidth(PortText(port)));
            rangeWidth =
                std::max(rangeWidth, DisplayWidth(Format(kTextRange, port.found.profile.maxValue)));
        }
    }
    const std::size_t outputsWidth = OutputsWidth();
    for (const RigPort& port : rig) {
        std::string line = PaddedTo(Shown(port.found.port.name), portWidth) + "  ";
        if (port.state == DimmerStatus::Done) {
            const FoundDimmer& dimmer = port.found;
            line += PaddedTo(PortText(port), textWidth) + "  " +
                    PaddedTo(OutputsText(dimmer.profile.outputs), outputsWidth) + "  ";
            const std::string range = Format(kTextRange, dimmer.profile.maxValue);
            const std::string names = StableNamesText(port.found.port);
            line += names.empty() ? range : PaddedTo(range, rangeWidth) + names;
        } else {
            line += PortText(port) + StableNamesText(port.found.port);
        }
        Console::Result(line);
    }
}

// The values of info's rows start one column after the widest label any row may have.
std::size_t InfoValueColumn() {
    std::size_t widest = 0;
    for (const char* row : kInfoRows) {
        const std::string text = Said(row);
        const std::size_t tab = text.find('\t');
        if (tab != std::string::npos) {
            widest = std::max(widest, DisplayWidth(text.substr(0, tab)));
        }
    }
    return widest + 1;
}

// A row with its tab turned into the spaces up to the values' column.
std::string InfoLine(const std::string& row) {
    const std::size_t tab = row.find('\t');
    if (tab == std::string::npos) {
        return row;
    }
    return PaddedTo(row.substr(0, tab), InfoValueColumn()) + row.substr(tab + 1);
}

}  // namespace

int RunList(const CliRequest& request) {
    const std::vector<RigPort> rig = IdentifyPorts(ListDimmerPorts(), false);
    if (request.json) {
        json list = json::array();
        for (const RigPort& port : rig) {
            list.push_back(PortJson(port));
        }
        Console::Result(JsonDump(list, 2));
    } else {
        ShowLines(rig);
    }
    // A cable that was not done is a dimmer not listed: always said, and it decides the status.
    std::vector<DimmerReport> reports;
    for (const RigPort& port : rig) {
        if (port.state != DimmerStatus::Done && port.counts) {
            const DimmerReport report = PortReport(port);
            Console::Error(Format(kTextResult, port.found.port.name.c_str(), report.text.c_str()));
        }
        reports.push_back(port.state == DimmerStatus::Done ? ReportOn(port.found)
                                                           : PortReport(port));
    }
    if (std::none_of(rig.begin(), rig.end(),
                     [](const RigPort& port) { return port.state == DimmerStatus::Done; })) {
        Console::Error(Said(kTextNoDimmer));
    }
    return RunExitStatus(reports, request.expect);
}

int RunInfo(const CliRequest& request) {
    FoundDimmer dimmer;
    if (const int status = OpenChosenDimmer(request, dimmer)) {
        return status;
    }
    CloseDimmerLink(dimmer);
    const DeviceProfile& profile = dimmer.profile;
    const int readings = profile.tempReplyLength == 0 ? 0
                         : profile.tempReplyLength == TEMPERATURE_REPLY_ONE_BYTE
                             ? 1
                             : TEMPERATURE_SENSORS;
    if (request.json) {
        DimmerReport report = ReportOn(dimmer);
        report.extra =
            json{{"link", LinkWord(dimmer.port)}, {"title", JsonText(profile.titleSuffix)},
                 {"outputs", profile.outputs},    {"range", profile.maxValue},
                 {"temperatures", readings},      {"standalone", profile.standAloneTab}};
        Console::Result(JsonDump(json::array({ReportJson(report)}), 2));
        return kExitDone;
    }
    const DimmerPort& port = dimmer.port;
    std::vector<std::string> rows;
    rows.push_back(
        Format(kTextInfoPort, Shown(port.name).c_str(),
               Said(port.link == LinkKind::Cable ? kTextInfoCable : kTextInfoSerialPort).c_str()));
    if (!port.serialNumber.empty()) {
        rows.push_back(Format(kTextInfoSerial, Shown(port.serialNumber).c_str()));
    }
    if (!port.stablePath.empty()) {
        rows.push_back(Format(kTextInfoStablePath, Shown(port.stablePath).c_str()));
    }
    rows.push_back(Format(kTextInfoName, Shown(dimmer.deviceName).c_str()));
    rows.push_back(Format(kTextInfoModel, TitleText(profile.titleSuffix).c_str()));
    rows.push_back(Format(kTextInfoOutputs, profile.outputs));
    rows.push_back(Format(kTextInfoRange, profile.maxValue));
    rows.push_back(readings == 0   ? Said(kTextInfoNoTemperature)
                   : readings == 1 ? Said(kTextInfoOneTemperature)
                                   : Format(kTextInfoTemperatures, readings));
    rows.push_back(Said(profile.standAloneTab ? kTextInfoStandAlone : kTextInfoNoStandAlone));
    for (const std::string& row : rows) {
        Console::Result(InfoLine(row));
    }
    return kExitDone;
}
