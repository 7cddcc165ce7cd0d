// What a table command is given, checked before anything is sent: its file and its outputs.
#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "link/DimmerSearch.h"
#include "tables/LookupTable.h"

// A configuration file goes by its extension, .ini in any case.
bool IsConfigurationFile(const std::string& path);
// Whether the file can be read as a file; reports why not.
bool CheckReadable(const std::string& path);
// Loads a table text file that gives all 256 entries; reports why not.
bool LoadWholeTableFile(const std::string& path, WORD (&table)[TABLE_SIZE]);

// Whether the model has the output; reports when not.
bool CheckOutput(const FoundDimmer& dimmer, int output);
// The outputs the command acts on, in order and each once: those given, or every output of the
// model. Returns kExitDone, or kExitBadInput after reporting an output beyond the model.
int OutputsFor(const CliRequest& request, const FoundDimmer& dimmer, std::vector<int>& outputs);

// "the dimmer on CABLE0 (LED-Dimmer QP4 (4 PowerUnit) Online)"
std::string DimmerText(const FoundDimmer& dimmer);
