// Which dimmers a command talks to: a rig (list, --all, or --port given more than once), each
// port identified once, or one dimmer, named by its port or the first one found (the cable first,
// then COM1 to COM256).
#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/DimmerReport.h"
#include "link/DimmerSearch.h"

// A port of a rig as its identification left it; its link is closed again.
struct RigPort {
    FoundDimmer found;
    DimmerStatus state = DimmerStatus::Done;  // Done: a dimmer answered; Busy; NoDimmer
    bool counts = true;                       // see DimmerReport::counts
};

// Identifies the ports: the cables all at once, each in its own thread, then the serial ports one
// after another. Every cable is kept, and every port when `named`; otherwise a serial port is kept
// only when a dimmer answers or another program holds it.
std::vector<RigPort> IdentifyPorts(const std::vector<DimmerPort>& ports, bool named);

// The rig of a command: with --all every port that may hold a dimmer, otherwise the ports named
// with --port. Returns kExitDone, or kExitBadInput after reporting a name that names no port or
// several.
int ChooseRig(const CliRequest& request, std::vector<RigPort>& rig);

// The report of a port where no dimmer could be asked (busy, no dimmer).
DimmerReport PortReport(const RigPort& port);

// Opens and identifies the dimmer on the port named, or without a name the first one found: the
// first configuration cable decides, else the first serial port whose dimmer answers. Returns
// kExitDone with the link open, or the exit status after reporting why not (with --json, also
// the array of the port that failed, or an empty one).
int OpenChosenDimmer(const CliRequest& request, FoundDimmer& found);

// "the dimmer on CABLE0 (LED-Dimmer QP4 (4 PowerUnit) Online)"
std::string DimmerText(const FoundDimmer& dimmer);
