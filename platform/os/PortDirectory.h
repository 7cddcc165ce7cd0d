// Names the serial ports and cables of this machine: COM numbers by fixed blocks (ttyS, ttyUSB,
// ttyACM, then the emulated EMUn), and configuration cables (FTDI ttys, then emulated CABLEn).
// The sysfs and /dev roots are parameters so that tests can build a fake tree.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/os/PortLocation.h"

class PortDirectory {
public:
    explicit PortDirectory(std::string sysfsRoot = "/sys", std::string devRoot = "/dev");

    // The port behind COM `comNumber`, when it exists and may be used.
    std::optional<PortLocation> ResolveComPort(int comNumber) const;
    // Every usable COM port, in number order.
    std::vector<PortLocation> ListComPorts() const;
    // Configuration-cable candidates: real FTDI cables in tty order, then emulated ones.
    std::vector<PortLocation> ListCables() const;
    // Fills the names of a COM port that follow its device: for a real one its USB serial number
    // and its /dev/serial/by-id link where the system has them, for an emulated one the serial
    // number it publishes.
    void AddStableNames(PortLocation& port) const;

    static constexpr int kFirstEmulatedCom = 193;

private:
    std::optional<PortLocation> RealTty(const std::string& name) const;
    bool IsConsole(const std::string& name) const;
    // The first link in /dev/serial/by-id to the tty `name`, or "".
    std::string StablePathOf(const std::string& name) const;

    std::string m_sysfsRoot;
    std::string m_devRoot;
};
