// The words of the command-line parser in the user's language: the labels and groups of the help,
// its columns lined up by the width a terminal shows, and the parser's error messages.
#pragma once

#include <string>

namespace CLI {
class App;
}

// Gives `app`, before its options and commands are added, the help's words in the user's language
// and a layout that lines its columns up by display width.
void SayHelp(CLI::App& app);
// Gives a command just added its group and help option in the user's language.
void SayCommand(CLI::App& command);
// A positional argument's name in the user's language ("FILE"), unless the parser would refuse
// the translation as a name.
std::string SaidName(const char* name);
// A parser's error message in the user's language: its English form recognised, its parts (the
// options and what was typed) kept as they are; otherwise the message itself.
std::string SaidParseError(const std::string& what);
