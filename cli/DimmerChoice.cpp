#include "cli/DimmerChoice.h"

#include <thread>

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/Texts.h"

namespace {

// Opens and identifies; closes again unless `keepOpen` and a dimmer answered. False when the port
// would not open (`busy` set) or no dimmer answered.
bool Identify(const DimmerPort& port, FoundDimmer& found, bool keepOpen, bool& busy) {
    busy = !OpenDimmerLink(port, found);
    if (busy) {
        return false;
    }
    const bool answered = IdentifyDimmer(found);
    if (!answered || !keepOpen) {
        CloseDimmerLink(found);
    }
    return answered;
}

RigPort IdentifyOne(const DimmerPort& port) {
    RigPort result;
    bool busy = false;
    result.state = Identify(port, result.found, false, busy) ? DimmerStatus::Done
                   : busy                                    ? DimmerStatus::Busy
                                                             : DimmerStatus::NoDimmer;
    result.found.port = port;
    return result;
}

// The one failed port of a single dimmer, said on standard error and, with --json, as data.
int FailedChoice(const CliRequest& request, const RigPort& port) {
    const char* name = port.found.port.name.c_str();
    Console::Error(port.state == DimmerStatus::Busy
                       ? Format(kTextResult, name, Said(kTextBusy).c_str())
                       : Format(kTextNoDimmerOn, name));
    if (request.json) {
        Console::Result(JsonDump(nlohmann::ordered_json::array({ReportJson(PortReport(port))}), 2));
    }
    return kExitNoDimmer;
}

// Whether `name` named exactly one port; reports a name that names none or several.
bool OnePortNamed(const std::string& name, const std::vector<DimmerPort>& matches) {
    if (matches.empty()) {
        Console::Error(Format(kTextUnknownPort, Shown(name).c_str()));
        return false;
    }
    if (matches.size() > 1) {
        std::string names;
        for (const DimmerPort& match : matches) {
            names += (names.empty() ? "" : ", ") + match.name;
        }
        Console::Error(Format(kTextAmbiguousPort, Shown(name).c_str(), names.c_str()));
        return false;
    }
    return true;
}

}  // namespace

std::vector<RigPort> IdentifyPorts(const std::vector<DimmerPort>& ports, bool named) {
    std::vector<RigPort> found(ports.size());
    // A cable identification waits for two read time-outs: the cables answer at once, each on its
    // own handle. The serial link has one port at a time.
    std::vector<std::thread> cables;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (ports[i].link == LinkKind::Cable) {
            cables.emplace_back([&, i] { found[i] = IdentifyOne(ports[i]); });
        }
    }
    for (std::thread& cable : cables) {
        cable.join();
    }
    std::vector<RigPort> rig;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const bool cable = ports[i].link == LinkKind::Cable;
        if (!cable) {
            found[i] = IdentifyOne(ports[i]);
        }
        // A cable is always a dimmer's; a serial port may be anything.
        found[i].counts = cable || named;
        if (found[i].state != DimmerStatus::NoDimmer || found[i].counts) {
            rig.push_back(found[i]);
        }
    }
    return rig;
}

int ChooseRig(const CliRequest& request, std::vector<RigPort>& rig) {
    const std::vector<DimmerPort> ports = ListDimmerPorts();
    if (request.all) {
        rig = IdentifyPorts(ports, false);
        return kExitDone;
    }
    std::vector<DimmerPort> named;
    for (const std::string& name : request.ports) {
        const std::vector<DimmerPort> matches = MatchDimmerPorts(name, ports);
        if (!OnePortNamed(name, matches)) {
            return kExitBadInput;
        }
        // Named twice (by its port and its serial number): asked once.
        bool seen = false;
        for (const DimmerPort& port : named) {
            seen |= port.name == matches.front().name;
        }
        if (!seen) {
            named.push_back(matches.front());
        }
    }
    rig = IdentifyPorts(named, true);
    return kExitDone;
}

DimmerReport PortReport(const RigPort& port) {
    DimmerReport report = ReportOn(port.found);
    report.status = port.state;
    report.counts = port.counts;
    report.text = Said(port.state == DimmerStatus::Busy ? kTextBusy : kTextNoAnswer);
    return report;
}

int OpenChosenDimmer(const CliRequest& request, FoundDimmer& found) {
    bool busy = false;
    RigPort failed;
    if (!request.ports.empty()) {
        const std::string& name = request.ports.front();
        const std::vector<DimmerPort> matches = MatchDimmerPorts(name, ListDimmerPorts());
        if (!OnePortNamed(name, matches)) {
            return kExitBadInput;
        }
        if (Identify(matches.front(), found, true, busy)) {
            return kExitDone;
        }
        failed.found.port = matches.front();
        failed.state = busy ? DimmerStatus::Busy : DimmerStatus::NoDimmer;
        return FailedChoice(request, failed);
    }
    for (const DimmerPort& port : ListDimmerPorts()) {
        if (Identify(port, found, true, busy)) {
            Console::Note(Format(kTextUsing, port.name.c_str(),
                                 TitleText(found.profile.titleSuffix).c_str()));
            return kExitDone;
        }
        // The first cable decides, as in the window.
        if (port.link == LinkKind::Cable) {
            failed.found.port = port;
            failed.state = busy ? DimmerStatus::Busy : DimmerStatus::NoDimmer;
            return FailedChoice(request, failed);
        }
    }
    Console::Error(Said(kTextNoDimmer));
    if (request.json) {
        Console::Result("[]");
    }
    return kExitNoDimmer;
}

std::string DimmerText(const FoundDimmer& dimmer) {
    return Format(kTextDimmer, dimmer.port.name.c_str(),
                  TitleText(dimmer.profile.titleSuffix).c_str());
}
