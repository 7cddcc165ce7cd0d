// What became of one dimmer (or of a port that may hold one) in a run: a line for a person and an
// object for a script, both from the same report, and the exit status the reports of a run make.
// The JSON keys and the status words are fixed data, the same in every language.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "link/DimmerSearch.h"

enum class DimmerStatus {
    Done,          // everything asked was done
    Partly,        // some of it was done: the groups say what
    Failed,        // it was asked and none of it was done
    Stopped,       // a signal stopped the run before all of it was done
    NotConcerned,  // it lacks every output asked for: nothing was asked of it
    Busy,          // another program holds its port
    NoDimmer,      // no dimmer answers on its port
    Refused,       // nothing was sent to it: the input is not for it
    Different,     // read back, its tables differ from what they should be
};

// "done", "partly", "failed", "stopped", "not-concerned", "busy", "no-dimmer", "refused",
// "different".
const char* StatusWord(DimmerStatus status);

struct DimmerReport {
    DimmerPort port;
    CString deviceName;  // empty: no dimmer answered
    std::string model;   // the model alone; empty: unknown
    DimmerStatus status = DimmerStatus::Done;
    std::vector<int> written;
    std::vector<int> notConfirmed;
    std::vector<int> notWritten;
    std::string text;  // the line after "PORT: "
    // Whether a status other than done or not concerned makes the run's exit status 3. A plain
    // serial port that another program holds may be anything: with --all it is reported but does
    // not count.
    bool counts = true;
    nlohmann::ordered_json extra = nlohmann::ordered_json::object();  // the command's own keys
};

// A report on the dimmer: its port, name and model; done until told otherwise.
DimmerReport ReportOn(const FoundDimmer& dimmer);
// The model alone ("QP4", "KAV5806", "NWE Dimmer R8P"); empty when no dimmer answered.
std::string ModelOf(const FoundDimmer& dimmer);

// port, name, serial, stablePath, model (null where unknown), written, notConfirmed, notWritten
// (output numbers from 1), status, then the command's own keys.
nlohmann::ordered_json ReportJson(const DimmerReport& report);
// JSON as one line or indented, never failing on text that is not UTF-8.
std::string JsonDump(const nlohmann::ordered_json& value, int indent = -1);

// Each report's line: done and not concerned on standard output (left out with --json or
// --quiet), the others as errors, always. With --json, then one array of their objects.
void PrintReports(const std::vector<DimmerReport>& reports, bool asJson);

// The exit status of a run that asked something of its dimmers: 128 + the signal when a stop was
// asked; 2 when no dimmer answered; 3 when no dimmer was concerned, a port that counts was not
// done, or (expect >= 0) not exactly `expect` dimmers did all that was asked; else 0.
int RunExitStatus(const std::vector<DimmerReport>& reports, int expect = -1);
