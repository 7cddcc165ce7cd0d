// Finding dimmers: the window's search (the first matching cable, else the COM ports in order),
// and, for the command line, every connected dimmer, or the one on a named port. A dimmer found
// keeps its link open until it is closed here.
#pragma once

#include <string>
#include <vector>

#include "link/ModelProfiles.h"
#include "platform/os/CString.h"
#include "platform/os/CableDriver.h"

enum class LinkKind { None, Cable, Serial };

// A port that may have a dimmer behind it.
struct DimmerPort {
    LinkKind link = LinkKind::None;
    std::string name;     // "CABLE0", "/dev/ttyUSB0", "EMU0", "/dev/ttyS0", or "COMn"
    int cableIndex = -1;  // a cable: its index in the driver's last list
    CString description;  // a cable: what it reports
    int comNumber = 0;    // a serial port: 1 to 256
    // Names that stay with the device whatever the plug order, where the system knows them.
    std::string serialNumber;  // the USB serial number of the cable or adapter
    std::string stablePath;    // "/dev/serial/by-id/..."
};

struct FoundDimmer {
    DimmerPort port;
    FT_HANDLE cable = nullptr;      // the open cable
    FT_STATUS cableStatus = FT_OK;  // the driver's status of the cable's open
    bool serialOpen = false;        // the serial link holds this dimmer's port
    CString deviceName;             // the identify reply (empty: no dimmer answered)
    DeviceProfile profile;
    // The search's other matching cables: a cable is always a dimmer's, so these are dimmers
    // attached beside this one, known without asking them.
    std::vector<std::string> otherCables;
};

// The window's search. The first cable whose description matches is opened and identified; when
// its open fails the search ends there all the same. Without such a cable COM 1 to 256 are opened
// and asked in turn, with a pause of 5 ms after every port that opened and is no dimmer (a number
// with no port behind it, or one that cannot be opened, was not talked to and is not paced). What
// was found stays open, its port named as ListDimmerPorts names it; nothing found gives the
// offline profile.
FoundDimmer FindFirstDimmer();
// The name of COM port `comNumber` as a person finds it: its device, "EMUn", or "COMn" when the
// number names nothing here.
std::string SerialPortName(int comNumber);

// The cables whose description matches, then the COM ports that exist and are no such cable; each
// with its serial number and stable path where the system knows them.
std::vector<DimmerPort> ListDimmerPorts();
// The ports of `ports` that a person named: by a name ListDimmerPorts gives, a device path (a
// /dev/serial/by-id link too), "COMn" or "EMUn"; failing that, by the USB serial number, which
// several cables may share. Empty when nothing of that name exists here.
std::vector<DimmerPort> MatchDimmerPorts(const std::string& name,
                                         const std::vector<DimmerPort>& ports);
// The one port a person named (MatchDimmerPorts over ListDimmerPorts). False when nothing or
// more than one port has that name.
bool ResolveDimmerPort(const std::string& name, DimmerPort& port);

// Opens the port's link. False when it cannot be opened (missing, busy, no permission).
bool OpenDimmerLink(const DimmerPort& port, FoundDimmer& found);
// Asks the dimmer on an open link who it is and takes the profile of its answer. False when nothing
// answered as a dimmer.
bool IdentifyDimmer(FoundDimmer& found);
// Closes whatever link the dimmer holds.
void CloseDimmerLink(FoundDimmer& found);
