// write, verify, curve and reset: tables made and checked for each dimmer before anything is sent,
// then written (and read back), or only read back and compared.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"
#include "cli/TableInput.h"
#include "cli/Texts.h"
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

// A dimmer's work, or a port of the rig where no dimmer could be asked; in the rig's order.
struct RunEntry {
    int work = -1;
    DimmerReport port;
};

int RunTableCommand(const CliRequest& request, TableJob job, const TablePlan& plan) {
    std::vector<DimmerWork> work;
    std::vector<RunEntry> entries;
    if (request.Rig()) {
        std::vector<RigPort> rig;
        if (const int status = ChooseRig(request, rig)) {
            return status;
        }
        for (const RigPort& port : rig) {
            if (port.state == DimmerStatus::Done) {
                entries.push_back(RunEntry{static_cast<int>(work.size()), {}});
                work.push_back(DimmerWork{port.found, {}, job, {}, {}});
            } else {
                entries.push_back(RunEntry{-1, PortReport(port)});
            }
        }
    } else {
        work.push_back(DimmerWork{});
        work[0].job = job;
        if (const int status = OpenChosenDimmer(request, work[0].dimmer)) {
            return status;
        }
        entries.push_back(RunEntry{0, {}});
    }
    int status = kExitDone;
    for (DimmerWork& item : work) {
        std::vector<int> outputs;
        status = OutputsFor(request, item.dimmer, outputs, item.lacking);
        if (status != kExitDone) {
            break;
        }
        for (int output : outputs) {
            item.tables.push_back(OutputTable{output, {}});
        }
        if (!item.tables.empty() && (status = plan(item)) != kExitDone) {
            break;
        }
    }
    if (status == kExitDone) {
        RunWrites(work, request.Rig());
    }
    for (DimmerWork& item : work) {
        CloseDimmerLink(item.dimmer);
    }
    if (status != kExitDone) {
        return status;
    }
    std::vector<DimmerReport> reports;
    for (const RunEntry& entry : entries) {
        reports.push_back(entry.work >= 0 ? ReportOf(work[static_cast<std::size_t>(entry.work)])
                                          : entry.port);
    }
    PrintReports(reports, request.json);
    if (work.empty()) {
        Console::Error(Said(kTextNoDimmer));
    }
    return RunExitStatus(reports, request.expect);
}

// The configuration files by the NAME each was saved for; every one checked before anything is
// sent, and no two for the same dimmer.
bool ConfigurationsByName(const std::vector<std::string>& files,
                          std::map<std::string, std::string>& byName) {
    for (const std::string& file : files) {
        if (!CheckConfigurationFile(file)) {
            return false;
        }
        char name[256];
        GetPrivateProfileStringA("DEVICE", "NAME", "", name, sizeof name, file.c_str());
        const auto [at, added] = byName.emplace(name, file);
        if (!added) {
            Console::Error(Format(kTextSameName, Shown(at->second).c_str(), Shown(file).c_str(),
                                  Shown(std::string(name)).c_str()));
            return false;
        }
    }
    return true;
}

int WriteConfigurations(const CliRequest& request, TableJob job) {
    std::map<std::string, std::string> byName;
    if (!ConfigurationsByName(request.files, byName)) {
        return kExitBadInput;
    }
    const bool several = request.files.size() > 1;
    return RunTableCommand(request, job, [&](DimmerWork& work) -> int {
        const FoundDimmer& dimmer = work.dimmer;
        const auto file = byName.find(dimmer.deviceName.str());
        if (file == byName.end() || !ConfigurationIsFor(file->second.c_str(), dimmer.deviceName)) {
            RefuseWork(work, several ? Said(kTextNoFileFor) : SaidShared(CONFIG_OTHER_BOARD));
            return kExitDone;
        }
        const char* path = file->second.c_str();
        for (OutputTable& item : work.tables) {
            WORD maxValue = 0;
            if (!LoadTableSection(path, item.output - 1, maxValue, item.table)) {
                // As the window's page holds it when the file has no table for it.
                FillLinear(item.table, static_cast<WORD>(dimmer.profile.maxValue));
            } else if (maxValue != dimmer.profile.maxValue) {
                Console::Error(Format(kTextIniRange, Shown(file->second).c_str(), item.output,
                                      static_cast<int>(maxValue), DimmerText(dimmer).c_str(),
                                      dimmer.profile.maxValue));
                return kExitBadInput;
            }
        }
        return kExitDone;
    });
}

int WriteTableFile(const CliRequest& request, TableJob job) {
    const std::string& path = request.files.front();
    if (request.outputs.empty()) {
        Console::Error(Format(kTextTableFileOutputs, Shown(path).c_str()));
        return kExitBadInput;
    }
    std::uint64_t numbers[TABLE_SIZE] = {};
    if (!LoadTableNumbers(path, numbers)) {
        return kExitBadInput;
    }
    return RunTableCommand(request, job, [&](DimmerWork& work) -> int {
        const int beyond = FirstEntryBeyond(numbers, work.dimmer.profile.maxValue);
        if (beyond >= 0) {
            ReportEntryBeyond(Shown(path), beyond, ValueText(numbers[beyond]), work.dimmer);
            return kExitBadInput;
        }
        for (OutputTable& item : work.tables) {
            for (int i = 0; i < TABLE_SIZE; ++i) {
                item.table[i] = static_cast<WORD>(numbers[i]);
            }
        }
        return kExitDone;
    });
}

// write and verify: configuration files, or one table text file.
int RunFiles(const CliRequest& request, TableJob job) {
    bool configurations = true;
    for (const std::string& file : request.files) {
        configurations &= IsConfigurationFile(file);
    }
    if (configurations) {
        return WriteConfigurations(request, job);
    }
    if (request.files.size() > 1) {
        for (const std::string& file : request.files) {
            if (!IsConfigurationFile(file)) {
                Console::Error(Format(kTextTableFileAlone, Shown(file).c_str()));
                return kExitBadInput;
            }
        }
    }
    return WriteTableFile(request, job);
}

// The gamma value: a positive finite number, nothing after it.
bool GammaValue(const std::string& text, double& gamma) {
    errno = 0;
    char* end = nullptr;
    gamma = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && errno == 0 && std::isfinite(gamma) && gamma > 0;
}

// The formula's 256 values; false, after the parser's message, when it does not read.
bool FormulaValues(const std::string& formula, double (&values)[TABLE_SIZE]) {
    for (int x = 0; x < TABLE_SIZE; ++x) {
        WORD errorPosition = 0;
        CString message;
        values[x] = FormulaValue(formula.c_str(), static_cast<WORD>(x), errorPosition, message);
        if (errorPosition != 0) {
            Console::Error(Format(kTextFormulaError, Shown(formula).c_str(),
                                  Shown(SaidShared(message.str())).c_str()));
            return false;
        }
    }
    return true;
}

}  // namespace

int RunWrite(const CliRequest& request) {
    return RunFiles(request, TableJob{true, request.verify});
}

int RunVerify(const CliRequest& request) {
    return RunFiles(request, TableJob{false, true});
}

int RunCurve(const CliRequest& request) {
    const std::string& kind = request.curveKind;
    const bool valued = kind == "gamma" || kind == "formula";
    if (valued != request.curveValue.has_value()) {
        Console::Error(
            Format(valued ? kTextCurveNeedsValue : kTextCurveTakesNoValue, kind.c_str()));
        return kExitBadInput;
    }
    double gamma = 0;
    if (kind == "gamma" && !GammaValue(*request.curveValue, gamma)) {
        Console::Error(Format(kTextGamma, Shown(*request.curveValue).c_str()));
        return kExitBadInput;
    }
    double formula[TABLE_SIZE] = {};
    if (kind == "formula" && !FormulaValues(*request.curveValue, formula)) {
        return kExitBadInput;
    }
    return RunTableCommand(request, TableJob{}, [&](DimmerWork& work) -> int {
        const WORD maxValue = static_cast<WORD>(work.dimmer.profile.maxValue);
        if (kind == "formula") {
            const int beyond = FirstEntryBeyond(formula, maxValue);
            if (beyond >= 0) {
                ReportEntryBeyond(Format(kTextFormula, Shown(*request.curveValue).c_str()), beyond,
                                  ValueText(formula[beyond]), work.dimmer);
                return kExitBadInput;
            }
        }
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
                for (int x = 0; x < TABLE_SIZE; ++x) {
                    item.table[x] = static_cast<WORD>(std::trunc(formula[x]));
                }
            }
        }
        return kExitDone;
    });
}

int RunReset(const CliRequest& request) {
    return RunTableCommand(request, TableJob{}, [](DimmerWork& work) -> int {
        for (OutputTable& item : work.tables) {
            FillLinear(item.table, static_cast<WORD>(work.dimmer.profile.maxValue));
        }
        return kExitDone;
    });
}
