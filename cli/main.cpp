// brenvo-cli: Brenvo's device work from a terminal or a script, for one dimmer or for every
// connected dimmer at once.
#include <signal.h>

#include <cstring>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Interruption.h"
#include "cli/Texts.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const CliRequest&);
};

constexpr Command kCommands[] = {
    {"list", RunList},
    {"info", RunInfo},
    {"read", RunRead},
    {"write", RunWrite},
    {"verify", RunVerify},
    {"curve", RunCurve},
    {"reset", RunReset},
    {"set", RunSet},
    {"temp", RunTemp},
    {"shutdown-temp", RunShutdownTemp},
    {"standalone", RunStandAlone},
};

}  // namespace

int main(int argc, char** argv) {
    // Before any other thread: the texts are then read without a lock.
    SelectCliLanguage();
    // Before any other thread: every thread inherits the blocked signals.
    Interruption::Start();
    // A closed pipe to a reader makes a write fail, not the program end (perhaps mid-table).
    ::signal(SIGPIPE, SIG_IGN);
    CliRequest request;
    const int parsed = ParseCommandLine(argc, argv, request);
    if (parsed >= 0) {
        return parsed;
    }
    for (const Command& command : kCommands) {
        if (request.command == command.name) {
            return command.run(request);
        }
    }
    return kExitBadInput;
}
