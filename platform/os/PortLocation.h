// Where a COM port or a cable lives on this machine, as the port directory found it.
#pragma once

#include <sys/types.h>

#include <string>

struct PortLocation {
    enum class Kind { Real, Emulated };
    Kind kind = Kind::Real;
    std::string devicePath;    // "/dev/ttyUSB0", or the link's target "/dev/pts/<n>"
    dev_t device = 0;          // a real port's device number as sysfs gives it
    int comNumber = 0;         // 1 to 256; 0 for cables
    std::string description;   // cables: what the cable reports
    std::string serialNumber;  // cables: the USB serial number
};
