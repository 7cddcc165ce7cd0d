// Tables written to one dimmer, in output order, as Write all writes them: they stop at the
// first output that the dimmer does not confirm. What became of each output is kept in three
// groups: written, not confirmed, not written.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/DimmerSearch.h"
#include "tables/LookupTable.h"

struct OutputTable {
    int output = 0;  // counted from 1
    WORD table[TABLE_SIZE] = {};
};

struct WriteOutcome {
    std::vector<int> written;
    int notConfirmed = 0;  // 0: none
    std::vector<int> notWritten;
    bool lost = false;    // the dimmer hung up
    std::string refused;  // why nothing was sent to it (UTF-8); empty: it was asked
    bool Complete() const { return notConfirmed == 0 && notWritten.empty() && refused.empty(); }
};

// Told before each table: how many went before it, and its output.
using WriteProgress = std::function<void(int done, int output)>;

// Writes the tables over the dimmer's open link.
WriteOutcome WriteTables(const FoundDimmer& dimmer, const std::vector<OutputTable>& tables,
                         const WriteProgress& progress);

// "Output 1 to 3, Output 5", or "none".
std::string OutputListText(const std::vector<int>& outputs);
// The result line of one dimmer, after its port: "Written: Output 1 to 4." or what went wrong.
std::string WriteOutcomeText(const WriteOutcome& outcome);
