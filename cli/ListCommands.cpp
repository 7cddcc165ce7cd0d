// list and info: the dimmers that answer, as lines or as JSON.
#include <algorithm>
#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"

namespace {

using json = nlohmann::ordered_json;

json DimmerJson(const FoundDimmer& dimmer) {
    return json{{"port", dimmer.port.name},
                {"link", dimmer.port.link == LinkKind::Cable ? "cable" : "serial"},
                {"name", Utf8(dimmer.deviceName)},
                {"title", Utf8(dimmer.profile.titleSuffix)},
                {"outputs", dimmer.profile.outputs},
                {"range", dimmer.profile.maxValue}};
}

std::string OutputsText(int outputs) {
    return std::to_string(outputs) + (outputs == 1 ? " output" : " outputs");
}

std::string RangeText(int maxValue) {
    return "0 to " + std::to_string(maxValue);
}

std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size()), ' ');
    return text;
}

}  // namespace

int RunList(const CliRequest& request) {
    const std::vector<FoundDimmer> dimmers = FindEveryDimmer();
    if (request.json) {
        json list = json::array();
        for (const FoundDimmer& dimmer : dimmers) {
            list.push_back(DimmerJson(dimmer));
        }
        Console::Result(list.dump(2));
    } else {
        std::size_t portWidth = 0;
        std::size_t titleWidth = 0;
        for (const FoundDimmer& dimmer : dimmers) {
            portWidth = std::max(portWidth, dimmer.port.name.size());
            titleWidth = std::max(titleWidth, TitleText(dimmer.profile.titleSuffix).size());
        }
        for (const FoundDimmer& dimmer : dimmers) {
            Console::Result(Padded(dimmer.port.name, portWidth) + "  " +
                            Padded(TitleText(dimmer.profile.titleSuffix), titleWidth) + "  " +
                            Padded(OutputsText(dimmer.profile.outputs), 10) + "  " +
                            RangeText(dimmer.profile.maxValue));
        }
    }
    if (dimmers.empty()) {
        Console::Error(kNoDimmerText);
        return kExitNoDimmer;
    }
    return kExitDone;
}

int RunInfo(const CliRequest& request) {
    FoundDimmer dimmer;
    if (const int status = OpenChosenDimmer(request.port, dimmer)) {
        return status;
    }
    CloseDimmerLink(dimmer);
    const DeviceProfile& profile = dimmer.profile;
    const int readings = profile.tempReplyLength == 0 ? 0
                         : profile.tempReplyLength == TEMPERATURE_REPLY_ONE_BYTE
                             ? 1
                             : TEMPERATURE_SENSORS;
    if (request.json) {
        json info = DimmerJson(dimmer);
        info["temperatures"] = readings;
        info["standalone"] = profile.standAloneTab;
        Console::Result(info.dump(2));
        return kExitDone;
    }
    const char* link = dimmer.port.link == LinkKind::Cable ? "configuration cable" : "serial port";
    Console::Result("Port:          " + dimmer.port.name + " (" + link + ")");
    Console::Result("Name:          " + Utf8(dimmer.deviceName));
    Console::Result("Model:         " + TitleText(profile.titleSuffix));
    Console::Result("Outputs:       " + std::to_string(profile.outputs));
    Console::Result("Range:         " + RangeText(profile.maxValue));
    Console::Result("Temperatures:  " + (readings == 0 ? std::string("none")
                                                       : std::to_string(readings) + " reading" +
                                                             (readings == 1 ? "" : "s")));
    Console::Result(std::string("StandAlone:    ") + (profile.standAloneTab ? "yes" : "no"));
    return kExitDone;
}
