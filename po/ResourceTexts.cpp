// Writes every text of Brenvo's resources (dialog captions and controls, list entries, menus, the
// string table) as a gettext template, so that the catalogue's keys follow the resources: a text
// added there appears in the template, and the catalogue check names it until it is translated.
#include <cstdio>
#include <set>
#include <string>

#include "platform/os/TextEncoding.h"
#include "resources/BrenvoResources.h"

namespace {

std::set<std::string> g_written;

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

void Write(const char* text, const std::string& where) {
    if (!text || !*text)
        return;
    const std::string utf8 = DisplayTextToUtf8(text);
    if (!g_written.insert(utf8).second)
        return;
    std::printf("#. %s\n", where.c_str());
    if (utf8.find('%') != std::string::npos)
        std::printf("#, c-format\n");
    std::printf("msgid %s\nmsgstr \"\"\n\n", Quoted(utf8).c_str());
}

void WriteMenu(const MenuItemTemplate* items, int count, const std::string& where) {
    for (int i = 0; i < count; ++i) {
        Write(items[i].text, where);
        if (items[i].popup)
            WriteMenu(items[i].popup, items[i].popupCount, where);
    }
}

}  // namespace

int main() {
    const ResourceSet& set = BrenvoResources();
    std::printf("msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n");
    for (int d = 0; d < set.dialogCount; ++d) {
        const DialogTemplate& t = set.dialogs[d];
        const std::string where = "dialog template " + std::to_string(t.id);
        Write(t.caption, where);
        for (int i = 0; i < t.itemCount; ++i) {
            const DialogItemTemplate& item = t.items[i];
            // What an edit field holds is data, never a text to translate.
            if (item.kind != ControlKind::Edit)
                Write(item.text, where + ", control " + std::to_string(item.id));
            for (const char* const* p = item.items; p && *p; ++p)
                Write(*p, where + ", entries of control " + std::to_string(item.id));
        }
    }
    for (int m = 0; m < set.menuCount; ++m)
        WriteMenu(set.menus[m].items, set.menus[m].itemCount,
                  "menu " + std::to_string(set.menus[m].id));
    for (int s = 0; s < set.stringCount; ++s)
        Write(set.strings[s].text, "string " + std::to_string(set.strings[s].id));
    return 0;
}
