// Where a COM port or a cable lives on this machine, as the port directory found it.
#pragma once

#include <sys/types.h>

#include <string>

struct PortLocation {
    enum class Kind { Real, Emulated };
    Kind kind = Kind::Real;
    std::string devicePath;   // "/dev/ttyUSB0", or the link's target "/dev/pts/<n>"
    dev_t device = 0;         // a real port's device number as sysfs gives it
    int comNumber = 0;        // 1 to 256; 0 for cables
    std::string name;         // an emulated port's published name ("EMU0", "CABLE0")
    std::string description;  // cables: what the cable reports

    // Names that follow the device whatever the plug order, where the system knows them (cables
    // always carry their serial number; PortDirectory::AddStableNames fills a serial port's).
    std::string serialNumber;  // the USB serial number of the cable or adapter
    std::string stablePath;    // "/dev/serial/by-id/..."
};
