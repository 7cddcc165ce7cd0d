#include "cli/Texts.h"

#include <cstdarg>
#include <cstdio>
#include <memory>

#include "platform/os/FormatPattern.h"
#include "platform/os/MessageCatalogue.h"
#include "platform/os/TextEncoding.h"
#include "platform/os/UserLanguage.h"

namespace {

constexpr char kCatalogue[] = "brenvo";
constexpr char kContext[] = "brenvo-cli";

// Set once before the threads start, read without a lock after: a writer forked while another
// thread held a lock would wait for it forever.
std::shared_ptr<const MessageCatalogue> g_held;
const MessageCatalogue* g_catalogue = nullptr;

}  // namespace

void SelectCliLanguage() {
    SelectUserLanguage(kCatalogue);
    g_held = ShownCatalogue();
    g_catalogue = g_held.get();
}

std::string Said(const char* text) {
    if (g_catalogue) {
        if (const std::string* translation = g_catalogue->FindIn(kContext, text)) {
            return *translation;
        }
    }
    return text;
}

std::string SaidShared(const std::string& text) {
    return DisplayTextToUtf8(g_catalogue ? g_catalogue->Translate(text) : text);
}

std::string Format(const char* format, ...) {
    const std::string translation = Said(format);
    const char* used = translation == format || !SameConversions(format, translation)
                           ? format
                           : translation.c_str();
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, used, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(&text[0], text.size(), used, again);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(again);
    return text;
}
