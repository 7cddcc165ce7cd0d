#include "platform/os/PortDirectory.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/os/EmulatedPortFolder.h"

namespace {

struct Block {
    int firstCom;
    int count;
    const char* ttyPrefix;  // nullptr: the emulated ports
};

// Fixed blocks, so that a number never shifts when another adapter is plugged in.
constexpr Block kBlocks[] = {
    {1, 32, "ttyS"},
    {33, 64, "ttyUSB"},
    {97, 64, "ttyACM"},
    {PortDirectory::kFirstEmulatedCom, EmulatedPortFolder::kMaxPorts, nullptr},
};

std::optional<std::string> ReadFirstLine(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        return std::nullopt;
    }
    // The line end goes, and nothing else: a description's own blanks are part of it.
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

std::string Trimmed(std::string s) {
    size_t first = s.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : s.substr(first);
}

std::string RealPath(const std::string& path) {
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) != nullptr ? std::string(buffer) : std::string();
}

std::string Parent(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "ttyUSB12" with prefix "ttyUSB" gives 12; -1 for anything else.
int TtyNumber(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 3 ||
        name.compare(0, prefix.size(), prefix) != 0) {
        return -1;
    }
    int n = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return -1;
        }
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

std::string Truncated(std::string text, size_t size) {
    if (text.size() >= size) {
        text.resize(size - 1);
    }
    return text;
}

}  // namespace

PortDirectory::PortDirectory(std::string sysfsRoot, std::string devRoot)
    : m_sysfsRoot(std::move(sysfsRoot)), m_devRoot(std::move(devRoot)) {}

bool PortDirectory::IsConsole(const std::string& name) const {
    std::optional<std::string> active = ReadFirstLine(m_sysfsRoot + "/class/tty/console/active");
    if (active) {
        std::istringstream words(*active);
        std::string word;
        while (words >> word) {
            if (word == name) {
                return true;
            }
        }
    }
    std::optional<std::string> flag =
        ReadFirstLine(m_sysfsRoot + "/class/tty/" + name + "/console");
    return flag && *flag == "Y";
}

std::optional<PortLocation> PortDirectory::RealTty(const std::string& name) const {
    std::string entry = m_sysfsRoot + "/class/tty/" + name;
    struct stat st = {};
    // Only ttys with hardware behind them; virtual consoles and pseudo-terminals have none.
    if (stat((entry + "/device").c_str(), &st) != 0 || IsConsole(name)) {
        return std::nullopt;
    }
    if (name.compare(0, 4, "ttyS") == 0) {
        std::optional<std::string> type = ReadFirstLine(entry + "/type");
        if (!type || Trimmed(*type) == "0") {
            return std::nullopt;  // a placeholder without a UART
        }
    }
    std::optional<std::string> dev = ReadFirstLine(entry + "/dev");
    unsigned major = 0;
    unsigned minor = 0;
    char colon = 0;
    std::istringstream numbers(dev.value_or(""));
    if (!(numbers >> major >> colon >> minor) || colon != ':') {
        return std::nullopt;
    }
    PortLocation port;
    port.kind = PortLocation::Kind::Real;
    port.devicePath = m_devRoot + "/" + name;
    port.device = makedev(major, minor);
    return port;
}

std::optional<PortLocation> PortDirectory::ResolveComPort(int comNumber) const {
    for (const Block& block : kBlocks) {
        if (comNumber < block.firstCom || comNumber >= block.firstCom + block.count) {
            continue;
        }
        int index = comNumber - block.firstCom;
        std::optional<PortLocation> port;
        if (block.ttyPrefix != nullptr) {
            port = RealTty(block.ttyPrefix + std::to_string(index));
        } else {
            EmulatedPortFolder folder;
            std::string name = "EMU" + std::to_string(index);
            if (std::optional<std::string> target = folder.ReadPtyLink(name)) {
                port = PortLocation{};
                port->kind = PortLocation::Kind::Emulated;
                port->devicePath = *target;
                port->name = name;
            }
        }
        if (port) {
            port->comNumber = comNumber;
        }
        return port;
    }
    return std::nullopt;
}

std::vector<PortLocation> PortDirectory::ListComPorts() const {
    std::vector<PortLocation> ports;
    for (int n = 1; n <= 256; ++n) {
        if (std::optional<PortLocation> port = ResolveComPort(n)) {
            ports.push_back(*port);
        }
    }
    return ports;
}

std::vector<PortLocation> PortDirectory::ListCables() const {
    std::vector<std::pair<int, std::string>> names;
    if (DIR* dir = opendir((m_sysfsRoot + "/class/tty").c_str())) {
        while (dirent* e = readdir(dir)) {
            int n = TtyNumber(e->d_name, "ttyUSB");
            if (n >= 0) {
                names.emplace_back(n, e->d_name);
            }
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());

    std::vector<PortLocation> cables;
    for (const auto& entry : names) {
        std::optional<PortLocation> port = RealTty(entry.second);
        if (!port) {
            continue;
        }
        // device → the USB-serial port; its parent the USB interface; above it the USB device.
        std::string serialPort = RealPath(m_sysfsRoot + "/class/tty/" + entry.second + "/device");
        if (serialPort.empty() || BaseName(RealPath(serialPort + "/driver")) != "ftdi_sio") {
            continue;
        }
        std::string interface = Parent(serialPort);
        std::string usbDevice = Parent(interface);
        std::string description = ReadFirstLine(usbDevice + "/product").value_or("");
        int interfaces =
            std::atoi(ReadFirstLine(usbDevice + "/bNumInterfaces").value_or("1").c_str());
        if (interfaces > 1) {
            // Chips with several channels name each one by a letter, as their driver library does.
            int channel = static_cast<int>(std::strtol(
                ReadFirstLine(interface + "/bInterfaceNumber").value_or("0").c_str(), nullptr, 16));
            description += std::string(" ") + static_cast<char>('A' + std::clamp(channel, 0, 25));
        }
        port->description = Truncated(description, 64);
        port->serialNumber = Truncated(ReadFirstLine(usbDevice + "/serial").value_or(""), 16);
        port->stablePath = StablePathOf(entry.second);
        cables.push_back(*port);
    }

    EmulatedPortFolder folder;
    for (int n = 0; n < EmulatedPortFolder::kMaxPorts; ++n) {
        std::string name = "CABLE" + std::to_string(n);
        std::optional<std::string> target = folder.ReadPtyLink(name);
        std::optional<std::string> description = folder.ReadDescription(name);
        if (!target || !description) {
            continue;
        }
        PortLocation cable;
        cable.kind = PortLocation::Kind::Emulated;
        cable.devicePath = *target;
        cable.name = name;
        cable.description = Truncated(*description, 64);
        // One that publishes no serial number reports its name, as it always has.
        cable.serialNumber = Truncated(folder.ReadSerialNumber(name).value_or(name), 16);
        cables.push_back(cable);
    }
    return cables;
}

std::string PortDirectory::StablePathOf(const std::string& name) const {
    const std::string folder = m_devRoot + "/serial/by-id";
    std::vector<std::string> links;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* e = readdir(dir)) {
            char target[PATH_MAX];
            const std::string link = folder + "/" + e->d_name;
            const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
            // udev links them as ../../ttyUSB0: the target's last part names the tty.
            if (n > 0 && BaseName(std::string(target, static_cast<size_t>(n))) == name) {
                links.push_back(link);
            }
        }
        closedir(dir);
    }
    std::sort(links.begin(), links.end());
    return links.empty() ? std::string() : links.front();
}

void PortDirectory::AddStableNames(PortLocation& port) const {
    if (port.kind == PortLocation::Kind::Emulated) {
        port.serialNumber = EmulatedPortFolder().ReadSerialNumber(port.name).value_or("");
        return;
    }
    const std::string name = BaseName(port.devicePath);
    port.stablePath = StablePathOf(name);
    // Up from the tty's device to the USB device (the one with a vendor id), whose serial
    // number it is; above that are hubs and controllers with numbers of their own.
    std::string dir = RealPath(m_sysfsRoot + "/class/tty/" + name + "/device");
    for (int level = 0; level < 4 && !dir.empty(); ++level, dir = Parent(dir)) {
        struct stat st = {};
        if (stat((dir + "/idVendor").c_str(), &st) == 0) {
            port.serialNumber = ReadFirstLine(dir + "/serial").value_or("");
            return;
        }
    }
}
