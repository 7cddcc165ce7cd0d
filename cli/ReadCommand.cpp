// read: the dimmer's tables into a configuration file or a table text file, saved only when every
// table arrived.

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"
#include "cli/TableInput.h"
#include "cli/TableWrites.h"
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

// Reads each table; returns the outputs whose table did not arrive (all that follow a hang-up).
std::vector<int> ReadTables(const FoundDimmer& dimmer, std::vector<ReadTable>& tables, bool& lost) {
    std::vector<int> missing;
    const int total = static_cast<int>(tables.size());
    for (int k = 0; k < total; ++k) {
        ReadTable& item = tables[static_cast<std::size_t>(k)];
        if (lost) {
            missing.push_back(item.output);
            continue;
        }
        Console::Progress("Reading", static_cast<double>(k) / total,
                          "Output " + std::to_string(item.output) + " (" + std::to_string(k + 1) +
                              " of " + std::to_string(total) + ")");
        if (ReadTableOverLink(dimmer.cable, item.output - 1, item.table) != TABLE_IMAGE_SIZE) {
            missing.push_back(item.output);
            lost = TableLinkIsGone(dimmer.cable);
        }
    }
    Console::EndProgress();
    return missing;
}

int Save(const CliRequest& request, const FoundDimmer& dimmer, std::vector<ReadTable>& tables,
         bool configuration) {
    const char* path = request.file.c_str();
    const WORD maxValue = static_cast<WORD>(dimmer.profile.maxValue);
    const int error =
        configuration ? SaveConfiguration(path, dimmer.deviceName, static_cast<int>(tables.size()),
                                          [&](int k) {
                                              return SaveTableSection(
                                                  path, k, maxValue,
                                                  tables[static_cast<std::size_t>(k)].table);
                                          })
                      : SaveTableFile(path, tables[0].table);
    if (error != 0) {
        Console::Error(request.file + " could not be saved: " + FileErrorText(error));
        return kExitBadInput;
    }
    return kExitDone;
}

}  // namespace

int RunRead(const CliRequest& request) {
    const bool configuration = IsConfigurationFile(request.file);
    if (configuration && !request.outputs.empty()) {
        Console::Error(request.file +
                       ": a configuration file holds every output; --output is for table "
                       "text files");
        return kExitBadInput;
    }
    if (!configuration && request.outputs.size() != 1) {
        Console::Error(request.file + ": a table text file holds one output: give --output N once");
        return kExitBadInput;
    }
    FoundDimmer dimmer;
    if (const int status = OpenChosenDimmer(request.port, dimmer)) {
        return status;
    }
    std::vector<int> outputs;
    int status = OutputsFor(request, dimmer, outputs);
    if (status == kExitDone) {
        std::vector<ReadTable> tables(outputs.size());
        for (std::size_t k = 0; k < outputs.size(); ++k) {
            tables[k].output = outputs[k];
        }
        bool lost = false;
        const std::vector<int> missing = ReadTables(dimmer, tables, lost);
        if (!missing.empty()) {
            Console::Error(
                dimmer.port.name + ": " + (lost ? std::string(kLinkLostText) + " " : "") +
                "Not read: " + OutputListText(missing) + ". " + request.file + " was not saved.");
            status = kExitIncomplete;
        } else {
            status = Save(request, dimmer, tables, configuration);
        }
        if (status == kExitDone) {
            Console::Result(dimmer.port.name + ": Read: " + OutputListText(outputs) +
                            ", saved in " + request.file + ".");
        }
    }
    CloseDimmerLink(dimmer);
    return status;
}
