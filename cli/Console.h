// What brenvo-cli tells the person or the script: results on standard output, notes, errors and
// the progress bar on standard error. Errors are one line each, prefixed "brenvo-cli: "; --quiet
// keeps only them. Texts from the dimmer and the core are Windows-1252 and leave as UTF-8 without
// control characters, so that a dimmer's reply cannot steer the terminal.
#pragma once

#include <string>

#include "platform/os/CString.h"

class Console {
public:
    static void SetQuiet(bool quiet);
    static bool Quiet();

    // A line of result on standard output.
    static void Result(const std::string& line);
    // A note on standard error ("Using CABLE0: ...").
    static void Note(const std::string& line);
    // An error on standard error, always shown.
    static void Error(const std::string& line);

    // The progress bar: shown only on a terminal and without --quiet. `fraction` 0 to 1; `detail`
    // follows the bar. Other lines are written above it.
    static void Progress(const std::string& label, double fraction, const std::string& detail);
    static void EndProgress();
};

// A core or dimmer text for the terminal or JSON: UTF-8, line breaks as blanks, other control
// characters as U+FFFD.
std::string Utf8(const CString& text);
// A window title suffix without its leading " - ".
std::string TitleText(const CString& titleSuffix);
