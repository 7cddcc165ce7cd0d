// The language that a program shows its texts in. English, the texts as written, until the program
// selects the user's language; then every text shown goes through that language's catalogue.
// Free of any toolkit: the window's framework and the command line use the same catalogue.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class MessageCatalogue;

using EnvironmentLookup = std::function<const char*(const char*)>;

// The languages asked for, most wanted first, as gettext reads the environment: the locale for
// messages is the first set of LC_ALL, LC_MESSAGES and LANG; when it is C or POSIX (or none is
// set) the answer is empty, English. Otherwise the entries of LANGUAGE (a colon list) come first,
// then that locale. Whether the locale is installed does not matter: the catalogue is read here,
// not by the C library.
std::vector<std::string> RequestedLanguages(const EnvironmentLookup& getenv);
// The catalogue folder names to try for one locale name, most specific first:
// "de_DE.UTF-8@euro" gives de_DE@euro, de_DE, de@euro, de.
std::vector<std::string> LanguageFolders(const std::string& locale);

struct LanguageChoice {
    std::string language;   // the folder under the locale directory, e.g. "de"; empty: English
    std::string catalogue;  // <localeDir>/<language>/LC_MESSAGES/<domain>.mo
};
// The first requested language that has a catalogue of `domain`. A request for English ("en",
// "en_GB", "C") ends the search: its texts are the program's own.
LanguageChoice FindUserLanguage(const std::string& domain, const std::string& localeDir,
                                const EnvironmentLookup& getenv);

// Where the program's catalogues are: share/locale beside the folder of the running program (so
// that a build tree and an installed package both find theirs), else the configured one.
std::string ProgramLocaleDir();

// Selects the user's language for this process from the environment; returns the language taken
// ("" for English). A catalogue that cannot be read leaves the texts in English.
std::string SelectUserLanguage(const std::string& domain);
// Shows texts through `catalogue` in `language` from now on; nullptr for English.
void UseCatalogue(std::shared_ptr<const MessageCatalogue> catalogue, const std::string& language);
// The language in use: "" for English.
std::string ShownLanguage();
// The catalogue in use; nullptr for English. A program that selects its language once, before
// its threads start, may keep it and look texts up without a lock (a forked child too).
std::shared_ptr<const MessageCatalogue> ShownCatalogue();
// A text in the language in use (see MessageCatalogue::Translate); the text itself in English.
std::string ShownText(const std::string& text);
