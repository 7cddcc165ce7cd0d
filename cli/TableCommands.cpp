// write, curve and reset: tables made for each dimmer before anything is sent, then written.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"
#include "cli/TableInput.h"
#include "cli/WriteRunner.h"
#include "formula/FormulaEntry.h"
#include "platform/os/PrivateProfile.h"
#include "tables/Configuration.h"
#include "tables/TableIni.h"

namespace {

// Makes the tables of one dimmer, whose outputs are already in `work.tables`, or refuses the
// dimmer (RefuseWork). Returns kExitDone, or kExitBadInput after reporting: then nothing is sent
// to any dimmer.
using TablePlan = std::function<int(DimmerWork& work)>;

int WriteWith(const CliRequest& request, const TablePlan& plan) {
    std::vector<DimmerWork> work;
    if (request.all) {
        for (const FoundDimmer& dimmer : FindEveryDimmer()) {
            work.push_back(DimmerWork{dimmer, {}, {}});
        }
        if (work.empty()) {
            Console::Error(kNoDimmerText);
            return kExitNoDimmer;
        }
    } else {
        work.emplace_back();
        if (const int status = OpenChosenDimmer(request.port, work[0].dimmer)) {
            return status;
        }
    }
    int status = kExitDone;
    for (DimmerWork& item : work) {
        std::vector<int> outputs;
        status = OutputsFor(request, item.dimmer, outputs);
        if (status != kExitDone) {
            break;
        }
        for (int output : outputs) {
            item.tables.push_back(OutputTable{output, {}});
        }
        status = plan(item);
        if (status != kExitDone) {
            break;
        }
    }
    if (status == kExitDone) {
        status = RunWrites(work, request.all);
    }
    for (DimmerWork& item : work) {
        CloseDimmerLink(item.dimmer);
    }
    return status;
}

// A configuration file's NAME is there when two different defaults both give way to it.
bool HasDeviceName(const char* path) {
    char first[8];
    char second[8];
    GetPrivateProfileStringA("DEVICE", "NAME", "a", first, sizeof first, path);
    GetPrivateProfileStringA("DEVICE", "NAME", "b", second, sizeof second, path);
    return std::strcmp(first, "a") != 0 || std::strcmp(second, "b") != 0;
}

int WriteConfiguration(const CliRequest& request) {
    const char* path = request.file.c_str();
    if (!CheckReadable(request.file)) {
        return kExitBadInput;
    }
    if (!HasDeviceName(path)) {
        Console::Error(request.file + ": no configuration file (it has no NAME in [DEVICE])");
        return kExitBadInput;
    }
    return WriteWith(request, [&](DimmerWork& work) {
        const FoundDimmer& dimmer = work.dimmer;
        if (!ConfigurationIsFor(path, dimmer.deviceName)) {
            RefuseWork(work, CONFIG_OTHER_BOARD);
            return kExitDone;
        }
        for (OutputTable& item : work.tables) {
            WORD maxValue = 0;
            if (!LoadTableSection(path, item.output - 1, maxValue, item.table)) {
                // As the window's page holds it when the file has no table for it.
                FillLinear(item.table, static_cast<WORD>(dimmer.profile.maxValue));
            } else if (maxValue != dimmer.profile.maxValue) {
                Console::Error(request.file + ": the table of Output " +
                               std::to_string(item.output) + " has the range 0 to " +
                               std::to_string(maxValue) + ", but " + DimmerText(dimmer) +
                               " has 0 to " + std::to_string(dimmer.profile.maxValue));
                return kExitBadInput;
            }
        }
        return kExitDone;
    });
}

int WriteTableFile(const CliRequest& request) {
    if (request.outputs.empty()) {
        Console::Error(request.file + ": a table text file needs the outputs (--output N)");
        return kExitBadInput;
    }
    WORD table[TABLE_SIZE] = {};
    if (!LoadWholeTableFile(request.file, table)) {
        return kExitBadInput;
    }
    return WriteWith(request, [&](DimmerWork& work) {
        for (OutputTable& item : work.tables) {
            std::memcpy(item.table, table, sizeof table);
        }
        return kExitDone;
    });
}

// The gamma value: a positive finite number, nothing after it.
bool GammaValue(const std::string& text, double& gamma) {
    errno = 0;
    char* end = nullptr;
    gamma = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && errno == 0 && std::isfinite(gamma) && gamma > 0;
}

// The formula's 256 entries; false, after the parser's message, when it does not read.
bool FormulaTable(const std::string& formula, WORD (&table)[TABLE_SIZE]) {
    for (int x = 0; x < TABLE_SIZE; ++x) {
        WORD errorPosition = 0;
        CString message;
        table[x] = FormulaEntry(formula.c_str(), static_cast<WORD>(x), errorPosition, message);
        if (errorPosition != 0) {
            Console::Error("formula " + formula + ": " + Utf8(message));
            return false;
        }
    }
    return true;
}

}  // namespace

int RunWrite(const CliRequest& request) {
    return IsConfigurationFile(request.file) ? WriteConfiguration(request)
                                             : WriteTableFile(request);
}

int RunCurve(const CliRequest& request) {
    const std::string& kind = request.curveKind;
    const bool valued = kind == "gamma" || kind == "formula";
    if (valued != request.curveValue.has_value()) {
        Console::Error(valued ? "curve " + kind + " needs its value"
                              : "curve " + kind + " takes no value");
        return kExitBadInput;
    }
    double gamma = 0;
    if (kind == "gamma" && !GammaValue(*request.curveValue, gamma)) {
        Console::Error("gamma " + *request.curveValue + ": not a positive number");
        return kExitBadInput;
    }
    WORD formula[TABLE_SIZE] = {};
    if (kind == "formula" && !FormulaTable(*request.curveValue, formula)) {
        return kExitBadInput;
    }
    return WriteWith(request, [&](DimmerWork& work) {
        const WORD maxValue = static_cast<WORD>(work.dimmer.profile.maxValue);
        for (OutputTable& item : work.tables) {
            if (kind == "linear") {
                FillLinear(item.table, maxValue);
            } else if (kind == "on") {
                FillLevel(item.table, maxValue);
            } else if (kind == "off") {
                FillLevel(item.table, 0);
            } else if (kind == "gamma") {
                FillGamma(item.table, maxValue, gamma);
            } else {
                std::memcpy(item.table, formula, sizeof formula);
            }
        }
        return kExitDone;
    });
}

int RunReset(const CliRequest& request) {
    return WriteWith(request, [](DimmerWork& work) {
        for (OutputTable& item : work.tables) {
            FillLinear(item.table, static_cast<WORD>(work.dimmer.profile.maxValue));
        }
        return kExitDone;
    });
}
