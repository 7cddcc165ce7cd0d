// The texts of a program that shares Brenvo's catalogue under a context of its own (msgctxt
// "brenvo-cli", "brenvo-dimmer"): the language chosen once from the environment, before the
// program's threads start; then looked up without a lock, so that a forked child may too.
#pragma once

#include <cstdarg>
#include <memory>
#include <string>

class MessageCatalogue;

class ProgramTexts {
public:
    explicit ProgramTexts(const char* context) : m_context(context) {}

    // Chooses the language as gettext does (see UserLanguage.h).
    void SelectUserLanguage();

    // A text of the program in the user's language (UTF-8): its translation, or the text itself.
    std::string Said(const char* text) const;
    // A text made by code the program shares with the window, in the user's language as the
    // window shows it; UTF-8.
    std::string SaidShared(const std::string& text) const;
    // printf into a string, of the translation of `format`. A translation whose conversions
    // differ from the format's is not used: the arguments are the format's.
    std::string FormatV(const char* format, va_list args) const;

private:
    const char* m_context;
    std::shared_ptr<const MessageCatalogue> m_catalogue;
};
