#include "link/DimmerSearch.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>

#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/SerialTransport.h"
#include "platform/os/PortDirectory.h"
#include "platform/os/TimeService.h"

namespace {

constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 256;
constexpr DWORD kPortPauseMs = 5;

std::string ComName(int comNumber) {
    return "COM" + std::to_string(comNumber);
}

// The serial model a port's answer names, or nullptr.
const char* AskSerialModel() {
    DWORD count = 0;
    const CString reply = SerialIdentify(&count);
    return count >= 1 ? SerialModelText(reply) : nullptr;
}

std::string RealPathOf(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// The port names of the cables in the driver's last list after `index` whose description
// matches. Nothing is opened; the list is not made again.
std::vector<std::string> MatchingCablesAfter(DWORD index, DWORD listed) {
    std::vector<std::string> names;
    CableDriver& driver = CurrentCableDriver();
    for (DWORD i = index + 1; i < listed; ++i) {
        char description[FT_DESCRIPTION_SIZE] = {};
        if (driver.GetDeviceInfoDetail(i, nullptr, nullptr, nullptr, nullptr, nullptr, description,
                                       nullptr) == FT_OK) {
            description[FT_DESCRIPTION_SIZE - 1] = '\0';
            if (IsCableDescription(description)) {
                names.push_back(driver.PortName(i));
            }
        }
    }
    return names;
}

}  // namespace

FoundDimmer FindFirstDimmer() {
    FoundDimmer found;
    CString description;
    FT_HANDLE cable = nullptr;
    FT_STATUS status = FT_OK;
    int index = -1;
    DWORD listed = 0;
    if (CableFindAndOpen(cable, status, description, &index, &listed)) {
        found.port.link = LinkKind::Cable;
        found.port.name = CurrentCableDriver().PortName(static_cast<DWORD>(index));
        found.port.cableIndex = index;
        found.port.description = description;
        found.cable = cable;
        found.cableStatus = status;
        if (CableIsOpen(cable)) {
            found.deviceName = CableIdentify(cable);
        }
        found.profile = CableProfile(description, CableIsOpen(cable), found.deviceName);
        found.otherCables = MatchingCablesAfter(static_cast<DWORD>(index), listed);
        return found;
    }
    for (int port = kFirstComPort; port <= kLastComPort; ++port) {
        // Only a port that was talked to is paced: most numbers name no port on this system.
        if (!SerialOpen(port)) {
            continue;
        }
        if (const char* model = AskSerialModel()) {
            found.port.link = LinkKind::Serial;
            found.port.name = SerialPortName(port);
            found.port.comNumber = port;
            found.serialOpen = true;
            found.deviceName = model;
            found.profile = SerialProfile(model);
            return found;
        }
        SerialClose();
        Sleep(kPortPauseMs);
    }
    found.profile = OfflineProfile();
    return found;
}

std::string SerialPortName(int comNumber) {
    const std::optional<PortLocation> where = PortDirectory().ResolveComPort(comNumber);
    if (!where) {
        return ComName(comNumber);
    }
    return where->kind == PortLocation::Kind::Emulated
               ? "EMU" + std::to_string(comNumber - PortDirectory::kFirstEmulatedCom)
               : where->devicePath;
}

std::vector<DimmerPort> ListDimmerPorts() {
    std::vector<DimmerPort> ports;
    std::set<std::string> cableDevices;
    const PortDirectory directory;
    CableDriver& driver = CurrentCableDriver();
    DWORD count = 0;
    driver.CreateDeviceInfoList(&count);
    for (DWORD index = 0; index < count; ++index) {
        char serialNumber[FT_SERIAL_SIZE] = {};
        char description[FT_DESCRIPTION_SIZE] = {};
        if (driver.GetDeviceInfoDetail(index, nullptr, nullptr, nullptr, nullptr, serialNumber,
                                       description, nullptr) != FT_OK) {
            continue;
        }
        description[FT_DESCRIPTION_SIZE - 1] = '\0';
        if (!IsCableDescription(description)) {
            continue;
        }
        DimmerPort port;
        port.link = LinkKind::Cable;
        port.name = driver.PortName(index);
        port.cableIndex = static_cast<int>(index);
        port.description = description;
        serialNumber[FT_SERIAL_SIZE - 1] = '\0';
        port.serialNumber = serialNumber;
        if (port.name.rfind("/dev/", 0) == 0) {
            PortLocation where;
            where.devicePath = port.name;
            directory.AddStableNames(where);
            port.stablePath = where.stablePath;
        }
        cableDevices.insert(port.name);
        ports.push_back(port);
    }
    // A real cable is a tty too: it is asked once, as a cable.
    for (int n = kFirstComPort; n <= kLastComPort; ++n) {
        std::optional<PortLocation> where = directory.ResolveComPort(n);
        if (!where || cableDevices.count(where->devicePath) != 0) {
            continue;
        }
        directory.AddStableNames(*where);
        DimmerPort port;
        port.link = LinkKind::Serial;
        port.comNumber = n;
        port.name = where->kind == PortLocation::Kind::Emulated ? where->name : where->devicePath;
        port.serialNumber = where->serialNumber;
        port.stablePath = where->stablePath;
        ports.push_back(port);
    }
    return ports;
}

std::vector<DimmerPort> MatchDimmerPorts(const std::string& name,
                                         const std::vector<DimmerPort>& ports) {
    if (name.empty()) {
        return {};
    }
    // "COMn" names a device, which may be a cable's.
    std::string wanted = name;
    if (name.size() > 3 && strncasecmp(name.c_str(), "COM", 3) == 0) {
        char* end = nullptr;
        const long n = std::strtol(name.c_str() + 3, &end, 10);
        if (*end != '\0' || n < kFirstComPort || n > kLastComPort) {
            return {};
        }
        const std::optional<PortLocation> where =
            PortDirectory().ResolveComPort(static_cast<int>(n));
        if (!where) {
            return {};
        }
        wanted = where->kind == PortLocation::Kind::Emulated ? where->name : where->devicePath;
    } else if (name.find('/') == std::string::npos && name.compare(0, 3, "tty") == 0) {
        wanted = "/dev/" + name;
    }
    const std::string wantedPath = wanted[0] == '/' ? RealPathOf(wanted) : std::string();
    std::vector<DimmerPort> bySerial;
    for (const DimmerPort& candidate : ports) {
        const bool byName = strcasecmp(candidate.name.c_str(), wanted.c_str()) == 0 ||
                            (!candidate.stablePath.empty() && candidate.stablePath == wanted);
        const bool byPath = !wantedPath.empty() && candidate.name[0] == '/' &&
                            RealPathOf(candidate.name) == wantedPath;
        if (byName || byPath) {
            return {candidate};
        }
        if (candidate.serialNumber == name) {
            bySerial.push_back(candidate);
        }
    }
    return bySerial;
}

bool ResolveDimmerPort(const std::string& name, DimmerPort& port) {
    const std::vector<DimmerPort> matches = MatchDimmerPorts(name, ListDimmerPorts());
    if (matches.size() != 1) {
        return false;
    }
    port = matches.front();
    return true;
}

bool OpenDimmerLink(const DimmerPort& port, FoundDimmer& found) {
    found.port = port;
    if (port.link == LinkKind::Cable) {
        found.cableStatus = CableOpen(port.cableIndex, found.cable);
        return CableIsOpen(found.cable);
    }
    if (port.link == LinkKind::Serial) {
        found.serialOpen = SerialOpen(port.comNumber);
        return found.serialOpen;
    }
    return false;
}

bool IdentifyDimmer(FoundDimmer& found) {
    if (CableIsOpen(found.cable)) {
        found.deviceName = CableIdentify(found.cable);
        found.profile = CableProfile(found.port.description, true, found.deviceName);
        // A reply that names no model is no dimmer of ours.
        return !found.deviceName.IsEmpty() &&
               found.profile.titleSuffix != CableTitleSuffix(CString());
    }
    if (found.serialOpen) {
        if (const char* model = AskSerialModel()) {
            found.deviceName = model;
            found.profile = SerialProfile(model);
            return true;
        }
    }
    return false;
}

void CloseDimmerLink(FoundDimmer& found) {
    CableClose(found.cable);
    if (found.serialOpen) {
        SerialClose();
        found.serialOpen = false;
    }
}
