// read: the dimmer's tables into a configuration file or a table text file, saved only when every
// table arrived.
#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"
#include "cli/Interruption.h"
#include "cli/TableInput.h"
#include "cli/TableWrites.h"
#include "cli/Texts.h"
#include "link/DeviceProtocol.h"
#include "link/TableLink.h"
#include "platform/os/SafeFile.h"
#include "tables/Configuration.h"
#include "tables/TableFile.h"
#include "tables/TableIni.h"

namespace {

struct ReadTable {
    int output = 0;
    WORD table[TABLE_SIZE] = {};
};

// Reads each table; the outputs whose table arrived go to `read`, the others (all that follow a
// hang-up or a stop) to `missing`.
void ReadTables(const FoundDimmer& dimmer, std::vector<ReadTable>& tables, std::vector<int>& read,
                std::vector<int>& missing, bool& lost) {
    const int total = static_cast<int>(tables.size());
    for (int k = 0; k < total; ++k) {
        ReadTable& item = tables[static_cast<std::size_t>(k)];
        if (lost || Interruption::Requested()) {
            missing.push_back(item.output);
            continue;
        }
        Interruption::Working(
            Format(kTextWorkTable, item.output, dimmer.port.name.c_str()),
            Interruption::Clock::now() + LongestTableTime(dimmer.port.link, true));
        Console::Progress(Said(kTextReading), static_cast<double>(k) / total,
                          Format(kTextTableProgress, item.output, k + 1, total));
        if (ReadTableOverLink(dimmer.cable, item.output - 1, item.table) != TABLE_IMAGE_SIZE) {
            missing.push_back(item.output);
            lost = TableLinkIsGone(dimmer.cable);
        } else {
            read.push_back(item.output);
        }
    }
    Interruption::Idle();
    Console::EndProgress();
}

// Returns 0 or the error of the save.
int Save(const std::string& file, const FoundDimmer& dimmer, std::vector<ReadTable>& tables,
         bool configuration) {
    const char* path = file.c_str();
    const WORD maxValue = static_cast<WORD>(dimmer.profile.maxValue);
    return configuration
               ? SaveConfiguration(path, dimmer.deviceName, static_cast<int>(tables.size()),
                                   [&](int k) {
                                       return SaveTableSection(
                                           path, k, maxValue,
                                           tables[static_cast<std::size_t>(k)].table);
                                   })
               : SaveTableFile(path, tables[0].table);
}

}  // namespace

int RunRead(const CliRequest& request) {
    const std::string& file = request.files.front();
    const bool configuration = IsConfigurationFile(file);
    if (configuration && !request.outputs.empty()) {
        Console::Error(Format(kTextReadIniOutputs, Shown(file).c_str()));
        return kExitBadInput;
    }
    if (!configuration && request.outputs.size() != 1) {
        Console::Error(Format(kTextReadTableOutput, Shown(file).c_str()));
        return kExitBadInput;
    }
    FoundDimmer dimmer;
    if (const int status = OpenChosenDimmer(request, dimmer)) {
        return status;
    }
    std::vector<int> outputs;
    std::vector<int> lacking;
    if (const int status = OutputsFor(request, dimmer, outputs, lacking)) {
        CloseDimmerLink(dimmer);
        return status;
    }
    std::vector<ReadTable> tables(outputs.size());
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        tables[k].output = outputs[k];
    }
    // From the first table on, a signal waits for the table under way; a file is saved whole.
    Interruption::Defer();
    std::vector<int> read;
    std::vector<int> missing;
    bool lost = false;
    ReadTables(dimmer, tables, read, missing, lost);
    DimmerReport report = ReportOn(dimmer);
    report.extra =
        nlohmann::ordered_json{{"file", JsonText(file)}, {"read", read}, {"notRead", missing}};
    int status = kExitDone;
    if (!missing.empty()) {
        const int signal = Interruption::Signal();
        report.status = signal != 0    ? DimmerStatus::Stopped
                        : read.empty() ? DimmerStatus::Failed
                                       : DimmerStatus::Partly;
        report.text =
            (lost ? SaidShared(kLinkLostText) + " " : std::string()) +
            (signal != 0
                 ? Format(kTextStopped, Interruption::SignalName(signal)) + " " +
                       Format(kTextNotSavedStopped, OutputListText(read).c_str(),
                              OutputListText(missing).c_str(), Shown(file).c_str())
                 : Format(kTextNotSaved, OutputListText(missing).c_str(), Shown(file).c_str()));
    } else if (const int error = Save(file, dimmer, tables, configuration)) {
        Console::Error(
            Format(kTextSaveFailed, Shown(file).c_str(), SaidShared(FileErrorText(error)).c_str()));
        status = kExitBadInput;
    } else {
        report.text = Format(kTextRead, OutputListText(outputs).c_str(), Shown(file).c_str());
    }
    CloseDimmerLink(dimmer);
    if (status != kExitDone) {
        return status;
    }
    PrintReports({report}, request.json);
    return RunExitStatus({report});
}
