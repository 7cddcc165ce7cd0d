// Tables written to one dimmer, in output order, as Write all writes them: they stop at the
// first output that the dimmer does not confirm, and before the next table once a stop was asked
// (Interruption). Optionally read back afterwards and compared, or only read and compared
// (verify). What became of each output is kept in groups: written, not confirmed, not written;
// verified, different, not read.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "link/DimmerSearch.h"
#include "tables/LookupTable.h"

struct OutputTable {
    int output = 0;  // counted from 1
    WORD table[TABLE_SIZE] = {};
};

// The first entry in which the dimmer's table differs from the file's.
struct TableDifference {
    int output = 0;
    int dmxValue = 0;
    WORD file = 0;
    WORD dimmer = 0;
};

struct WriteOutcome {
    std::vector<int> written;
    int notConfirmed = 0;  // 0: none
    std::vector<int> notWritten;
    bool lost = false;     // the dimmer hung up
    int stoppedBy = 0;     // the signal that stopped the work before all of it was done
    std::string note;      // said before the groups: why nothing was asked, why a writer ended
    bool refused = false;  // nothing was asked of the dimmer
    std::vector<int> verified;
    std::vector<TableDifference> differences;
    std::vector<int> notRead;
    bool Complete() const {
        return notConfirmed == 0 && notWritten.empty() && notRead.empty() && differences.empty() &&
               !refused;
    }
};

// What the work does with the tables.
struct TableJob {
    bool write = true;
    bool verify = false;  // read back (after writing: the tables written) and compare
};

// Told before each table: how many went before it in its phase, the output, and whether it is
// read back rather than written.
using TableProgress = std::function<void(int done, int output, bool reading)>;

// Does the job over the dimmer's open link.
WriteOutcome RunTableJob(const FoundDimmer& dimmer, const std::vector<OutputTable>& tables,
                         TableJob job, const TableProgress& progress);

// The longest one table may take on the dimmer's link, every time-out met: what a stop waits for.
std::chrono::milliseconds LongestTableTime(LinkKind link, bool reading);

// "Output 1 to 3, Output 5", or "none".
std::string OutputListText(const std::vector<int>& outputs);
// The result line of one dimmer, after its port: "Written: Output 1 to 4." or what went wrong.
std::string WriteOutcomeText(const WriteOutcome& outcome, TableJob job);
