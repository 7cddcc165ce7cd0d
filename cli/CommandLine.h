// The command line of brenvo-cli: its commands and options, their help texts, and what a parsed
// command line asks for.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CliRequest {
    std::string command;  // "list", "info", "read", "write", "verify", "curve", "reset", "set", ...
    // read and standalone: one; write and verify: one table text file, or configuration files.
    std::vector<std::string> files;
    // --port, in the order given: a name list shows, a device path, a stable path, a USB serial
    // number or COMn. Empty: the first dimmer found.
    std::vector<std::string> ports;
    bool all = false;  // --all: every dimmer that list finds
    int expect = -1;   // --expect N: exactly N dimmers must do all of it; -1: not asked
    bool json = false;
    bool watch = false;
    bool verify = false;       // write --verify: read back what was written
    std::vector<int> outputs;  // --output, counted from 1, in the order given
    std::string curveKind;     // linear, on, off, gamma, formula
    std::optional<std::string> curveValue;
    int output = 0;  // set
    long level = 0;
    std::optional<int> shutdownCelsius;  // shutdown-temp --set
    bool shutdownDefault = false;        // shutdown-temp --default

    // Several dimmers at once, one writer each: --all, or --port given more than once.
    bool Rig() const { return all || ports.size() > 1; }
};

// The lowest and highest shut-down temperature that --set takes: the degrees that the dimmer's
// scale can report back.
constexpr int kShutdownCelsiusMin = -40;
constexpr int kShutdownCelsiusMax = 520;

// Parses the arguments into `request`. Returns -1 when the command is to be carried out;
// otherwise the exit status, with the help or the error already shown.
int ParseCommandLine(int argc, char** argv, CliRequest& request);

// The command nearest to a mistyped one (at most two letters away), or "".
std::string NearestCommand(const std::string& typed);
