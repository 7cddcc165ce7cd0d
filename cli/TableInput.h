// What a table command is given, checked before anything is sent: its files, their values against
// each dimmer's range, and its outputs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "link/DimmerSearch.h"
#include "tables/LookupTable.h"

// A configuration file goes by its extension, .ini in any case.
bool IsConfigurationFile(const std::string& path);
// Whether the file can be read as a file of at most `maxBytes` (`what` it claims to be names it
// when it is larger); reports why not.
bool CheckReadable(const std::string& path, long long maxBytes, const char* what);
// A configuration file that can be written from: readable, not too large, with a NAME in
// [DEVICE] and at least one table (a TABLEn section with a MAX); reports what it lacks.
bool CheckConfigurationFile(const std::string& path);
// The 256 numbers of a table text file as the file writes them; reports why not.
bool LoadTableNumbers(const std::string& path, std::uint64_t (&numbers)[TABLE_SIZE]);

// The first entry of the values that lies beyond 0 to maxValue, or -1. A formula's value counts
// as the whole number its entry would be (truncated toward zero); one that is no number is beyond.
int FirstEntryBeyond(const std::uint64_t (&numbers)[TABLE_SIZE], int maxValue);
int FirstEntryBeyond(const double (&values)[TABLE_SIZE], int maxValue);
// Reports that entry `entry` of `where` ("Table.txt", "formula x*1000"), whose value is
// `valueText`, lies beyond the dimmer's range.
void ReportEntryBeyond(const std::string& where, int entry, const std::string& valueText,
                       const FoundDimmer& dimmer);
std::string ValueText(std::uint64_t number);
std::string ValueText(double value);

// Whether the model has the output; reports when not.
bool CheckOutput(const FoundDimmer& dimmer, int output);
// The outputs the command acts on, in order and each once: those given, or every output of the
// model. For one dimmer an output beyond the model is bad input (kExitBadInput after reporting);
// in a rig the dimmer acts on those it has, and those it lacks go to `lacking`.
int OutputsFor(const CliRequest& request, const FoundDimmer& dimmer, std::vector<int>& outputs,
               std::vector<int>& lacking);
