// The command line of brenvo-cli: its commands and options, their help texts, and what a parsed
// command line asks for.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CliRequest {
    std::string command;  // "list", "info", "read", "write", "curve", "reset", "set", ...
    std::string file;     // read, write, standalone
    std::string port;     // --port; empty: the dimmer that Brenvo's window would find
    bool all = false;     // --all: every dimmer that list finds
    bool json = false;
    bool watch = false;
    std::vector<int> outputs;  // --output, counted from 1, in the order given
    std::string curveKind;     // linear, on, off, gamma, formula
    std::optional<std::string> curveValue;
    int output = 0;  // set
    long level = 0;
    std::optional<int> shutdownCelsius;  // shutdown-temp --set
    bool shutdownDefault = false;        // shutdown-temp --default
};

// The lowest and highest shut-down temperature that --set takes: the degrees that the dimmer's
// scale can report back.
constexpr int kShutdownCelsiusMin = -40;
constexpr int kShutdownCelsiusMax = 520;

// Parses the arguments into `request`. Returns -1 when the command is to be carried out;
// otherwise the exit status, with the help or the error already shown.
int ParseCommandLine(int argc, char** argv, CliRequest& request);
