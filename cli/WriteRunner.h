// Runs the table writes of a command on its dimmers and reports one line per dimmer. Several
// dimmers are written at once, one child process each: the serial link keeps its one open port
// in process-wide state, and a process per dimmer keeps the links apart.
#pragma once

#include <vector>

#include "cli/TableWrites.h"

struct DimmerWork {
    FoundDimmer dimmer;
    std::vector<OutputTable> tables;
    // Filled by the run; a dimmer refused beforehand (refused set, every output not written) is
    // not asked at all.
    WriteOutcome outcome;
};

// Refuses the dimmer's whole work with `reason`.
void RefuseWork(DimmerWork& work, const std::string& reason);

// One dimmer whose link is open: written here. Otherwise (`atOnce`) the parent has identified
// every dimmer and closed its links; each child re-opens its dimmer's link (without asking it
// again who it is), writes, and reports progress and outcome over a pipe. Returns kExitDone or
// kExitIncomplete.
int RunWrites(std::vector<DimmerWork>& work, bool atOnce);
