#include "cli/TableWrites.h"

#include "cli/Interruption.h"
#include "cli/Texts.h"
#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"
#include "link/SerialTransport.h"
#include "link/TableLink.h"
#include "tables/TransferReport.h"

namespace {

// Reads the tables back and compares them; those not read stay in `notRead`.
void Verify(const FoundDimmer& dimmer, const std::vector<const OutputTable*>& tables,
            const TableProgress& progress, WriteOutcome& outcome) {
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const OutputTable& item = *tables[k];
        if (outcome.lost || outcome.stoppedBy != 0) {
            outcome.notRead.push_back(item.output);
            continue;
        }
        if (Interruption::Requested()) {
            outcome.stoppedBy = Interruption::Signal();
            outcome.notRead.push_back(item.output);
            continue;
        }
        if (progress) {
            progress(static_cast<int>(k), item.output, true);
        }
        WORD stored[TABLE_SIZE] = {};
        if (ReadTableOverLink(dimmer.cable, item.output - 1, stored) != TABLE_IMAGE_SIZE) {
            outcome.notRead.push_back(item.output);
            outcome.lost = TableLinkIsGone(dimmer.cable);
            continue;
        }
        int i = 0;
        while (i < TABLE_SIZE && stored[i] == item.table[i]) {
            ++i;
        }
        if (i == TABLE_SIZE) {
            outcome.verified.push_back(item.output);
        } else {
            outcome.differences.push_back(
                TableDifference{item.output, i, item.table[i], stored[i]});
        }
    }
}

}  // namespace

WriteOutcome RunTableJob(const FoundDimmer& dimmer, const std::vector<OutputTable>& tables,
                         TableJob job, const TableProgress& progress) {
    WriteOutcome outcome;
    std::vector<const OutputTable*> toRead;
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const OutputTable& item = tables[k];
        if (!job.write) {
            toRead.push_back(&item);
            continue;
        }
        if (outcome.notConfirmed != 0 || outcome.stoppedBy != 0) {
            outcome.notWritten.push_back(item.output);
            continue;
        }
        // Between two tables, never within one.
        if (Interruption::Requested()) {
            outcome.stoppedBy = Interruption::Signal();
            outcome.notWritten.push_back(item.output);
            continue;
        }
        if (progress) {
            progress(static_cast<int>(k), item.output, false);
        }
        const int index = item.output - 1;
        if (WriteTableOverLink(dimmer.cable, dimmer.profile.writeCommand[index], index,
                               item.table)) {
            outcome.written.push_back(item.output);
            toRead.push_back(&item);
        } else {
            outcome.notConfirmed = item.output;
            outcome.lost = TableLinkIsGone(dimmer.cable);
        }
    }
    if (job.verify) {
        Verify(dimmer, toRead, progress, outcome);
    }
    return outcome;
}

std::chrono::milliseconds LongestTableTime(LinkKind link, bool reading) {
    // Ten bits a byte; the request and the table image.
    const auto wire = [](DWORD baud) {
        return std::chrono::milliseconds(10 * 1000 * (WRITE_TABLE_LENGTH + 1) / baud + 1);
    };
    using std::chrono::milliseconds;
    if (link == LinkKind::Cable) {
        // Each read waits its time-out at most; a write ends with the drain read and the probes.
        return reading ? milliseconds(2 * CABLE_TIMEOUT_MS + TABLE_READ_PAUSE_MS) +
                             wire(CABLE_BAUD_RATE)
                       : milliseconds(TABLE_INDEX_PAUSE_MS + TABLE_STORE_PAUSE_MS +
                                      TABLE_TRAILER_PAUSE_MS + 2 * CABLE_TIMEOUT_MS +
                                      TABLE_CONFIRM_LIMIT_MS + TABLE_PROBE_PAUSE_MS) +
                             wire(CABLE_BAUD_RATE);
    }
    return milliseconds(SERIAL_REPLY_TIMEOUT_MS + (reading ? 0 : TABLE_STORE_PAUSE_MS)) +
           wire(SERIAL_BAUD_RATE);
}

std::string OutputListText(const std::vector<int>& outputs) {
    if (outputs.empty()) {
        return SaidShared(OutputRangeText(1, 0).str());
    }
    std::string text;
    for (std::size_t i = 0; i < outputs.size();) {
        std::size_t j = i;
        while (j + 1 < outputs.size() && outputs[j + 1] == outputs[j] + 1) {
            ++j;
        }
        text +=
            (text.empty() ? "" : ", ") + SaidShared(OutputRangeText(outputs[i], outputs[j]).str());
        i = j + 1;
    }
    return text;
}

std::string WriteOutcomeText(const WriteOutcome& outcome, TableJob job) {
    std::string text;
    if (!outcome.note.empty()) {
        text = outcome.note + " ";
    } else if (outcome.lost) {
        text = SaidShared(kLinkLostText) + " ";
    }
    if (outcome.stoppedBy != 0) {
        text += Format(kTextStopped, Interruption::SignalName(outcome.stoppedBy)) + " ";
    }
    std::string groups;
    if (job.write) {
        const std::string notConfirmed =
            outcome.notConfirmed != 0 ? OutputListText({outcome.notConfirmed}) : std::string();
        const std::string notWritten =
            outcome.notWritten.empty() ? std::string() : OutputListText(outcome.notWritten);
        // The groups as the window writes them, a line each, so that each is translated as a
        // whole; then side by side.
        const std::string lines = BulkGroupsText(OutputListText(outcome.written).c_str(),
                                                 notConfirmed.c_str(), notWritten.c_str(), "\n")
                                      .str();
        std::size_t start = 0;
        for (std::size_t end = 0; end != std::string::npos; start = end + 1) {
            end = lines.find('\n', start);
            groups += (start == 0 ? "" : " ") + SaidShared(lines.substr(start, end - start));
        }
    }
    if (job.verify) {
        std::vector<std::string> parts;
        if (!outcome.verified.empty()) {
            parts.push_back(Format(kTextVerified, OutputListText(outcome.verified).c_str()));
        }
        if (!outcome.differences.empty()) {
            std::string list;
            for (const TableDifference& d : outcome.differences) {
                list += (list.empty() ? "" : "; ") +
                        Format(kTextDiffers, OutputListText({d.output}).c_str(), d.dmxValue,
                               static_cast<unsigned>(d.file), static_cast<unsigned>(d.dimmer));
            }
            parts.push_back(Format(kTextDifferent, list.c_str()));
        }
        if (!outcome.notRead.empty()) {
            parts.push_back(Format(kTextNotRead, OutputListText(outcome.notRead).c_str()));
        }
        for (const std::string& part : parts) {
            groups += (groups.empty() ? "" : " ") + part;
        }
    }
    return text + groups;
}
