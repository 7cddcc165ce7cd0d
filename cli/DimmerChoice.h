// Which dimmers a command talks to: every connected one (list, --all), or one, named by its port
// or chosen as Brenvo's window chooses it.
#pragma once

#include <string>
#include <vector>

#include "link/DimmerSearch.h"

// Every connected dimmer in the order of ListDimmerPorts, each identified once: the cables all at
// once, each in its own thread, then the serial ports one after another. Their links are closed
// again; ports that hold no dimmer are left out, and a cable or emulated port that is busy is
// noted.
std::vector<FoundDimmer> FindEveryDimmer();

// Opens and identifies the dimmer on the port named, or without a name the one the window would
// find: the first configuration cable decides, else the first serial port whose dimmer answers.
// Returns kExitDone with the link open, or the exit status after reporting why not.
int OpenChosenDimmer(const std::string& portName, FoundDimmer& found);

// What is told when no dimmer answers.
constexpr char kNoDimmerText[] = "no dimmer found";

// What a busy port is told: another program holds it, or it may not be opened.
std::string BusyPortText(const std::string& portName);
