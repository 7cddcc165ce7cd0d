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
    return outputs == 1 ? std::string(kTextOneOutput) : Format(kTextOutputs, outputs);
}

// Counted in characters: a title may hold a multi-byte one.
std::size_t Columns(const std::string& text) {
    std::size_t shown = 0;
    for (const char ch : text) {
        shown += (static_cast<unsigned char>(ch) & 0xC0) != 0x80 ? 1 : 0;
    }
    return shown;
}

std::string Padded(std::string text, std::size_t width) {
    const std::size_t shown = Columns(text);
    text.append(width > shown ? width - shown : 0, ' ');
    return text;
}

// What a port's line says after its name.
std::string PortText(const RigPort& port) {
    const FoundDimmer& dimmer = port.found;
    if (port.state == DimmerStatus::Busy) {
        return kTextListBusy;
    }
    if (port.state == DimmerStatus::NoDimmer) {
        return kTextListNoDimmer;
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

void ShowLines(const std::vector<RigPort>& rig) {
    std::size_t portWidth = 0;
    std::size_t textWidth = 0;
    std::size_t rangeWidth = 0;
    for (const RigPort& port : rig) {
        portWidth = std::max(portWidth, port.found.port.name.size());
        if (port.state == DimmerStatus::Done) {
            textWidth = std::max(textWidth, Columns(PortText(port)));
            rangeWidth =
                std::max(rangeWidth, Format(kTextRange, port.found.profile.maxValue).size());
        }
    }
    for (const RigPort& port : rig) {
        std::string line = Padded(port.found.port.name, portWidth) + "  ";
        if (port.state == DimmerStatus::Done) {
            const FoundDimmer& dimmer = port.found;
            line += Padded(PortText(port), textWidth) + "  " +
                    Padded(OutputsText(dimmer.profile.outputs), 10) + "  " +
                    Format(kTextRange, dimmer.profile.maxValue);
            const std::string names = StableNamesText(port.found.port);
            if (!names.empty()) {
                line = Padded(line, Columns(line) + rangeWidth -
                                        Format(kTextRange, dimmer.profile.maxValue).size()) +
                       names;
            }
        } else {
            line += PortText(port) + StableNamesText(port.found.port);
        }
        Console::Result(line);
    }
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
        Console::Error(kTextNoDimmer);
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
    Console::Result(Format(kTextInfoPort, port.name.c_str(),
                           port.link == LinkKind::Cable ? kTextInfoCable : kTextInfoSerialPort));
    if (!port.serialNumber.empty()) {
        Console::Result(Format(kTextInfoSerial, Shown(port.serialNumber).c_str()));
    }
    if (!port.stablePath.empty()) {
        Console::Result(Format(kTextInfoStablePath, Shown(port.stablePath).c_str()));
    }
    Console::Result(Format(kTextInfoName, Shown(dimmer.deviceName).c_str()));
    Console::Result(Format(kTextInfoModel, TitleText(profile.titleSuffix).c_str()));
    Console::Result(Format(kTextInfoOutputs, profile.outputs));
    Console::Result(Format(kTextInfoRange, profile.maxValue));
    Console::Result(readings == 0   ? std::string(kTextInfoNoTemperature)
                    : readings == 1 ? std::string(kTextInfoOneTemperature)
                                    : Format(kTextInfoTemperatures, readings));
    Console::Result(profile.standAloneTab ? kTextInfoStandAlone : kTextInfoNoStandAlone);
    return kExitDone;
}
