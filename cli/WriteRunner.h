// Runs the table work of a command on its dimmers. Several dimmers are worked at once, one child
// process each: the serial link keeps its one open port in process-wide state, and a process per
// dimmer keeps the links apart. A stop (Interruption) reaches every child; each finishes the table
// under way and stops before the next, and the parent waits for all of them.
#pragma once

#include <vector>

#include "cli/DimmerReport.h"
#include "cli/TableWrites.h"

struct DimmerWork {
    FoundDimmer dimmer;
    std::vector<OutputTable> tables;
    TableJob job;
    // In a rig: the outputs asked for that the dimmer lacks. When it lacks all of them
    // (`tables` empty) it is not concerned, and nothing is asked of it.
    std::vector<int> lacking;
    // Filled by the run; a dimmer refused beforehand (RefuseWork) is not asked at all.
    WriteOutcome outcome;
};

// Refuses the dimmer's whole work with `reason`: every output not written.
void RefuseWork(DimmerWork& work, const std::string& reason);

// One dimmer whose link is open: worked here. Otherwise (`atOnce`) the parent has identified
// every dimmer and closed its links; each child re-opens its dimmer's link (without asking it
// again who it is), works, and reports progress and outcome over a pipe. A dimmer refused or not
// concerned is given no child.
void RunWrites(std::vector<DimmerWork>& work, bool atOnce);

// What became of the dimmer's work.
DimmerReport ReportOf(const DimmerWork& work);
