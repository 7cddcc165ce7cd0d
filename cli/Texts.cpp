#include "cli/Texts.h"

#include <cstdarg>

#include "platform/os/ProgramTexts.h"

namespace {
ProgramTexts g_texts("brenvo-cli");
}  // namespace

void SelectCliLanguage() {
    g_texts.SelectUserLanguage();
}

std::string Said(const char* text) {
    return g_texts.Said(text);
}

std::string SaidShared(const std::string& text) {
    return g_texts.SaidShared(text);
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = g_texts.FormatV(format, args);
    va_end(args);
    return text;
}
