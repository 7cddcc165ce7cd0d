#include "cli/TableWrites.h"

#include "link/TableLink.h"
#include "tables/TransferReport.h"

WriteOutcome WriteTables(const FoundDimmer& dimmer, const std::vector<OutputTable>& tables,
                         const WriteProgress& progress) {
    WriteOutcome outcome;
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const OutputTable& item = tables[k];
        if (outcome.notConfirmed != 0) {
            outcome.notWritten.push_back(item.output);
            continue;
        }
        if (progress) {
            progress(static_cast<int>(k), item.output);
        }
        const int index = item.output - 1;
        if (WriteTableOverLink(dimmer.cable, dimmer.profile.writeCommand[index], index,
                               item.table)) {
            outcome.written.push_back(item.output);
        } else {
            outcome.notConfirmed = item.output;
            outcome.lost = TableLinkIsGone(dimmer.cable);
        }
    }
    return outcome;
}

std::string OutputListText(const std::vector<int>& outputs) {
    if (outputs.empty()) {
        return OutputRangeText(1, 0).str();
    }
    std::string text;
    for (std::size_t i = 0; i < outputs.size();) {
        std::size_t j = i;
        while (j + 1 < outputs.size() && outputs[j + 1] == outputs[j] + 1) {
            ++j;
        }
        text += (text.empty() ? "" : ", ") + OutputRangeText(outputs[i], outputs[j]).str();
        i = j + 1;
    }
    return text;
}

std::string WriteOutcomeText(const WriteOutcome& outcome) {
    std::string text;
    if (!outcome.refused.empty()) {
        text = outcome.refused + " ";
    } else if (outcome.lost) {
        text = std::string(kLinkLostText) + " ";
    }
    const std::string notConfirmed =
        outcome.notConfirmed != 0 ? OutputListText({outcome.notConfirmed}) : std::string();
    const std::string notWritten =
        outcome.notWritten.empty() ? std::string() : OutputListText(outcome.notWritten);
    return text + BulkGroupsText(OutputListText(outcome.written).c_str(), notConfirmed.c_str(),
                                 notWritten.c_str(), " ")
                      .str();
}
