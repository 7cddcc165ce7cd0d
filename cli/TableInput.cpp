#include "cli/TableInput.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "cli/Console.h"
#include "cli/DimmerChoice.h"
#include "cli/ExitStatus.h"
#include "cli/Texts.h"
#include "platform/os/PrivateProfile.h"
#include "tables/TableFile.h"
#include "tables/TableIni.h"

namespace {

// A configuration file's NAME is there when two different defaults both give way to it.
bool HasDeviceName(const char* path) {
    char first[8];
    char second[8];
    GetPrivateProfileStringA("DEVICE", "NAME", "a", first, sizeof first, path);
    GetPrivateProfileStringA("DEVICE", "NAME", "b", second, sizeof second, path);
    return std::strcmp(first, "a") != 0 || std::strcmp(second, "b") != 0;
}

bool HasTable(const char* path) {
    for (int k = 0; k < OUTPUT_COUNT_MAX; ++k) {
        WORD maxValue = 0;
        WORD table[TABLE_SIZE] = {};
        if (LoadTableSection(path, k, maxValue, table)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool IsConfigurationFile(const std::string& path) {
    constexpr char kExtension[] = ".ini";
    constexpr std::size_t kLength = sizeof kExtension - 1;
    return path.size() > kLength &&
           strcasecmp(path.c_str() + path.size() - kLength, kExtension) == 0;
}

bool CheckReadable(const std::string& path, long long maxBytes, const char* what) {
    // Non-blocking, so that a pipe named by mistake does not hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        Console::Error(
            Format(kTextFileError, Shown(path).c_str(), SaidShared(std::strerror(errno)).c_str()));
        return false;
    }
    struct stat st = {};
    const bool file = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    if (!file) {
        Console::Error(Format(kTextNotAFile, Shown(path).c_str()));
        return false;
    }
    if (st.st_size > maxBytes) {
        Console::Error(Format(kTextTooLarge, Shown(path).c_str(), Said(what).c_str(),
                              static_cast<long long>(st.st_size), maxBytes));
        return false;
    }
    return true;
}

bool CheckConfigurationFile(const std::string& path) {
    if (!CheckReadable(path, kMaxPrivateProfileBytes, kTextAConfigurationFile)) {
        return false;
    }
    if (!HasDeviceName(path.c_str())) {
        Console::Error(Format(kTextNoName, Shown(path).c_str()));
        return false;
    }
    if (!HasTable(path.c_str())) {
        Console::Error(Format(kTextNoTable, Shown(path).c_str()));
        return false;
    }
    return true;
}

bool LoadTableNumbers(const std::string& path, std::uint64_t (&numbers)[TABLE_SIZE]) {
    // 256 lines are a few kilobytes: a file beyond a configuration file's bound is none.
    if (!CheckReadable(path, kMaxPrivateProfileBytes, kTextATableTextFile)) {
        return false;
    }
    int given = 0;
    if (!LoadTableFileNumbers(path.c_str(), numbers, &given)) {
        Console::Error(Format(kTextUnreadable, Shown(path).c_str()));
        return false;
    }
    if (given != TABLE_SIZE) {
        Console::Error(Format(kTextShortTableFile, Shown(path).c_str(), given));
        return false;
    }
    return true;
}

int FirstEntryBeyond(const std::uint64_t (&numbers)[TABLE_SIZE], int maxValue) {
    for (int i = 0; i < TABLE_SIZE; ++i) {
        if (numbers[i] > static_cast<std::uint64_t>(maxValue)) {
            return i;
        }
    }
    return -1;
}

int FirstEntryBeyond(const double (&values)[TABLE_SIZE], int maxValue) {
    for (int i = 0; i < TABLE_SIZE; ++i) {
        const double entry = std::trunc(values[i]);
        if (!(entry >= 0 && entry <= maxValue)) {  // NaN is beyond as well
            return i;
        }
    }
    return -1;
}

void ReportEntryBeyond(const std::string& where, int entry, const std::string& valueText,
                       const FoundDimmer& dimmer) {
    Console::Error(Format(kTextEntryBeyond, where.c_str(), entry, valueText.c_str(),
                          dimmer.profile.maxValue, DimmerText(dimmer).c_str()));
}

std::string ValueText(std::uint64_t number) {
    return std::to_string(number);
}

std::string ValueText(double value) {
    const double entry = std::trunc(value);
    return std::isfinite(entry) && std::fabs(entry) < 1e15 ? Format("%.0f", entry)
                                                           : Format("%g", value);
}

bool CheckOutput(const FoundDimmer& dimmer, int output) {
    const int model = dimmer.profile.outputs;
    if (output <= model) {
        return true;
    }
    Console::Error(
        model == 1 ? Format(kTextOutputBeyond, output, DimmerText(dimmer).c_str())
                   : Format(kTextOutputBeyondPlural, output, DimmerText(dimmer).c_str(), model));
    return false;
}

int OutputsFor(const CliRequest& request, const FoundDimmer& dimmer, std::vector<int>& outputs,
               std::vector<int>& lacking) {
    const int model = dimmer.profile.outputs;
    outputs = request.outputs;
    lacking.clear();
    if (outputs.empty()) {
        for (int output = 1; output <= model; ++output) {
            outputs.push_back(output);
        }
    }
    std::sort(outputs.begin(), outputs.end());
    outputs.erase(std::unique(outputs.begin(), outputs.end()), outputs.end());
    if (!request.Rig()) {
        // The highest output decides: the outputs are in order.
        return outputs.empty() || CheckOutput(dimmer, outputs.back()) ? kExitDone : kExitBadInput;
    }
    const auto beyond = std::find_if(outputs.begin(), outputs.end(),
                                     [model](int output) { return output > model; });
    lacking.assign(beyond, outputs.end());
    outputs.erase(beyond, outputs.end());
    return kExitDone;
}
