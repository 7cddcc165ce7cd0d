#include "platform/os/ProgramTexts.h"

#include <cstdio>

#include "platform/os/FormatPattern.h"
#include "platform/os/MessageCatalogue.h"
#include "platform/os/TextEncoding.h"
#include "platform/os/UserLanguage.h"

namespace {
constexpr char kCatalogue[] = "brenvo";
}  // namespace

void ProgramTexts::SelectUserLanguage() {
    ::SelectUserLanguage(kCatalogue);
    m_held = ShownCatalogue();
    m_catalogue = m_held.get();
}

std::string ProgramTexts::Said(const char* text) const {
    if (m_catalogue) {
        if (const std::string* translation = m_catalogue->FindIn(m_context, text)) {
            return *translation;
        }
    }
    return text;
}

std::string ProgramTexts::SaidShared(const std::string& text) const {
    return DisplayTextToUtf8(m_catalogue ? m_catalogue->Translate(text) : text);
}

std::string ProgramTexts::FormatV(const char* format, va_list args) const {
    const std::string translation = Said(format);
    const char* used = translation == format || !SameConversions(format, translation)
                           ? format
                           : translation.c_str();
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, used, args);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(&text[0], text.size(), used, again);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(again);
    return text;
}
