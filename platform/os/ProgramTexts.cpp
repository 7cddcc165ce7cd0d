#include "platform/os/ProgramTexts.h"

#include "platform/os/CString.h"
#include "platform/os/FormatPattern.h"
#include "platform/os/MessageCatalogue.h"
#include "platform/os/TextEncoding.h"
#include "platform/os/UserLanguage.h"

namespace {
constexpr char kCatalogue[] = "brenvo";
}  // namespace

void ProgramTexts::SelectUserLanguage() {
    ::SelectUserLanguage(kCatalogue);
    m_catalogue = ShownCatalogue();
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
    CString text;
    text.FormatV(used, args);
    return text.GetString();
}
