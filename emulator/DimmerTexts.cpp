#include "emulator/DimmerTexts.h"

#include <cstdarg>

#include "platform/os/ProgramTexts.h"

namespace {
ProgramTexts g_texts("brenvo-dimmer");
}  // namespace

void SelectDimmerLanguage() {
    g_texts.SelectUserLanguage();
}

std::string DimmerSaid(const char* text) {
    return g_texts.Said(text);
}

std::string DimmerFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = g_texts.FormatV(format, args);
    va_end(args);
    return text;
}
