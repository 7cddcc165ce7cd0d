#include "cli/TableInput.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "tables/TableFile.h"

bool IsConfigurationFile(const std::string& path) {
    constexpr char kExtension[] = ".ini";
    constexpr std::size_t kLength = sizeof kExtension - 1;
    return path.size() > kLength &&
           strcasecmp(path.c_str() + path.size() - kLength, kExtension) == 0;
}

bool CheckReadable(const std::string& path) {
    // Non-blocking, so that a pipe named by mistake does not hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        Console::Error(path + ": " + std::strerror(errno));
        return false;
    }
    struct stat st = {};
    const bool file = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    if (!file) {
        Console::Error(path + ": not a file");
    }
    return file;
}

bool LoadWholeTableFile(const std::string& path, WORD (&table)[TABLE_SIZE]) {
    if (!CheckReadable(path)) {
        return false;
    }
    int given = 0;
    if (!LoadTableFile(path.c_str(), table, &given)) {
        Console::Error(path + ": the file could not be read");
        return false;
    }
    if (given != TABLE_SIZE) {
        Console::Error(path + ": " + std::to_string(given) + " table entries where a table " +
                       "text file holds 256, one number per line");
        return false;
    }
    return true;
}

int OutputsFor(const CliRequest& request, const FoundDimmer& dimmer, std::vector<int>& outputs) {
    const int model = dimmer.profile.outputs;
    outputs = request.outputs;
    if (outputs.empty()) {
        for (int output = 1; output <= model; ++output) {
            outputs.push_back(output);
        }
    }
    std::sort(outputs.begin(), outputs.end());
    outputs.erase(std::unique(outputs.begin(), outputs.end()), outputs.end());
    return outputs.empty() || CheckOutput(dimmer, outputs.back()) ? kExitDone : kExitBadInput;
}

bool CheckOutput(const FoundDimmer& dimmer, int output) {
    const int model = dimmer.profile.outputs;
    if (output <= model) {
        return true;
    }
    Console::Error("Output " + std::to_string(output) + ": " + DimmerText(dimmer) + " has " +
                   std::to_string(model) + (model == 1 ? " output" : " outputs"));
    return false;
}

std::string DimmerText(const FoundDimmer& dimmer) {
    return "the dimmer on " + dimmer.port.name + " (" + TitleText(dimmer.profile.titleSuffix) + ")";
}
