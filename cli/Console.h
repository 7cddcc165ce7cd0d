// What brenvo-cli tells the person or the script: results on standard output, notes, errors and
// the progress bar on standard error. Errors are one line each, prefixed "brenvo-cli: "; --quiet
// keeps only them. Any thread may write: lines never mix. Text from the dimmer, the user or a
// file is converted for display as the window converts it and shows its control characters
// escaped, so that it cannot steer the terminal.
#pragma once

#include <string>

#include "platform/os/CString.h"
#include "platform/os/DisplayWidth.h"

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

    // The progress bar: shown only on a terminal and without --quiet, redrawn at most ten times
    // a second. `fraction` 0 to 1; `detail` follows the bar. Other lines are written above it.
    static void Progress(const std::string& label, double fraction, const std::string& detail);
    static void EndProgress();
    // The program ends at once: the bar is erased if no other thread is writing.
    static void Abandon();
};

// Text for a line on the terminal: converted for display (DisplayTextToUtf8), its control
// characters escaped ("\n", "\x1B").
std::string Shown(const std::string& text);
std::string Shown(const CString& text);
// Text for JSON, which escapes control characters itself: converted for display alone.
std::string JsonText(const std::string& text);
std::string JsonText(const CString& text);
// A window title suffix without its leading " - ", for a line.
std::string TitleText(const CString& titleSuffix);
