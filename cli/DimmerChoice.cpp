#include "cli/DimmerChoice.h"

#include <thread>

#include "cli/Console.h"
#include "cli/ExitStatus.h"

namespace {

bool IsOurs(const DimmerPort& port) {
    return port.link == LinkKind::Cable || port.name.rfind("EMU", 0) == 0;
}

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

std::string NoAnswerText(const std::string& portName) {
    return std::string(kNoDimmerText) + " (" + portName + ": no dimmer answers)";
}

}  // namespace

std::string BusyPortText(const std::string& portName) {
    return portName +
           ": the port is busy or not accessible (is Brenvo or another brenvo-cli using it?)";
}

std::vector<FoundDimmer> FindEveryDimmer() {
    const std::vector<DimmerPort> ports = ListDimmerPorts();
    std::vector<FoundDimmer> found(ports.size());
    std::vector<char> answered(ports.size(), 0);
    std::vector<char> busy(ports.size(), 0);
    // A cable identification waits for two read time-outs: the cables answer at once, each on its
    // own handle. The serial link has one port at a time.
    std::vector<std::thread> cables;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (ports[i].link == LinkKind::Cable) {
            cables.emplace_back([&, i] {
                bool portBusy = false;
                answered[i] = Identify(ports[i], found[i], false, portBusy);
                busy[i] = portBusy;
            });
        }
    }
    for (std::thread& cable : cables) {
        cable.join();
    }
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (ports[i].link == LinkKind::Serial) {
            bool portBusy = false;
            answered[i] = Identify(ports[i], found[i], false, portBusy);
            busy[i] = portBusy;
        }
    }
    std::vector<FoundDimmer> dimmers;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (answered[i]) {
            dimmers.push_back(found[i]);
        } else if (busy[i] && IsOurs(ports[i])) {
            Console::Note(BusyPortText(ports[i].name) + "; left out");
        }
    }
    return dimmers;
}

int OpenChosenDimmer(const std::string& portName, FoundDimmer& found) {
    bool busy = false;
    if (!portName.empty()) {
        DimmerPort port;
        if (!ResolveDimmerPort(portName, port)) {
            Console::Error("unknown port " + portName + " (brenvo-cli list shows the dimmers)");
            return kExitBadInput;
        }
        if (Identify(port, found, true, busy)) {
            return kExitDone;
        }
        Console::Error(busy ? BusyPortText(port.name) : NoAnswerText(port.name));
        return kExitNoDimmer;
    }
    for (const DimmerPort& port : ListDimmerPorts()) {
        if (Identify(port, found, true, busy)) {
            Console::Note("Using " + port.name + ": " + TitleText(found.profile.titleSuffix));
            return kExitDone;
        }
        // The first cable decides, as in the window.
        if (port.link == LinkKind::Cable) {
            Console::Error(busy ? BusyPortText(port.name) : NoAnswerText(port.name));
            return kExitNoDimmer;
        }
    }
    Console::Error(kNoDimmerText);
    return kExitNoDimmer;
}
