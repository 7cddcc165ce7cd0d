#include "platform/os/ProfileText.h"

#include <iterator>

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kCrLf = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view text) {
    size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) {
        ++first;
    }
    return text.substr(first);
}

std::string_view TrimRight(std::string_view text) {
    size_t length = text.size();
    while (length > 0 && IsBlank(text[length - 1])) {
        --length;
    }
    return text.substr(0, length);
}

// Names match without regard to ASCII case only, whatever the code page.
std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

struct Classified {
    enum Kind { Blank, Comment, Header, Key, Other } kind = Other;
    std::string_view name;   // Header, Key
    std::string_view value;  // Key: trimmed, quotes still on
};

Classified Classify(std::string_view line) {
    const std::string_view t = TrimLeft(line);
    Classified c;
    if (t.empty()) {
        c.kind = Classified::Blank;
        return c;
    }
    if (t.front() == ';') {
        c.kind = Classified::Comment;
        return c;
    }
    if (t.front() == '[') {
        // The name runs to the last ']' on the line; what follows it is ignored.
        const size_t close = t.rfind(']');
        if (close != std::string_view::npos) {
            c.kind = Classified::Header;
            c.name = TrimProfileBlanks(t.substr(1, close - 1));
            return c;
        }
    }
    const size_t equals = t.find('=');
    if (equals == std::string_view::npos) {
        return c;
    }
    c.kind = Classified::Key;
    c.name = TrimRight(t.substr(0, equals));
    c.value = TrimProfileBlanks(t.substr(equals + 1));
    return c;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of(kCrLf) != std::string_view::npos;
}

}  // namespace

std::string_view TrimProfileBlanks(std::string_view text) {
    return TrimRight(TrimLeft(text));
}

std::string_view UnquoteProfileValue(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

void ProfileText::Load(std::string_view bytes) {
    m_bom.clear();
    m_lines.clear();
    m_sections.clear();
    m_firstOf.clear();
    if (bytes.substr(0, kBom.size()) == kBom) {
        m_bom = kBom;
        bytes.remove_prefix(kBom.size());
    }
    // The section named "" is the text before the first header, even when there is none: its
    // keys go at the top of the file, and a later "[]" header is never the one searched.
    AddSection({}, m_lines.end());
    bool filled = false;  // the open section has a line that is not blank
    Lines::iterator lastFilled;
    const auto close = [&] {
        m_sections.back().insertBefore = filled ? std::next(lastFilled) : m_lines.begin();
    };
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find_first_of(kCrLf, pos);
        size_t next = end + 1;
        Eol eol = Eol::Lf;
        if (end == std::string_view::npos) {
            end = next = bytes.size();
            eol = Eol::None;
        } else if (bytes[end] == '\r') {
            const bool crLf = end + 1 < bytes.size() && bytes[end + 1] == '\n';
            eol = crLf ? Eol::CrLf : Eol::Cr;
            next = end + (crLf ? 2 : 1);
        }
        const auto it =
            m_lines.insert(m_lines.end(), Line{std::string(bytes.substr(pos, end - pos)), eol});
        pos = next;

        const Classified c = Classify(it->text);
        if (c.kind == Classified::Header) {
            close();
            AddSection(c.name, m_lines.end());
            filled = true;
            lastFilled = it;
            continue;
        }
        if (c.kind != Classified::Blank) {
            filled = true;
            lastFilled = it;
        }
        if (c.kind == Classified::Key) {
            m_sections.back().keys.emplace(Lower(c.name), it);
        }
    }
    close();
}

void ProfileText::AddSection(std::string_view name, Lines::iterator insertBefore) {
    m_sections.push_back(Section{insertBefore, {}});
    m_firstOf.emplace(Lower(name), m_sections.size() - 1);
}

ProfileText::Lines::iterator ProfileText::Append(std::string text) {
    if (!m_lines.empty() && m_lines.back().eol == Eol::None) {
        m_lines.back().eol = Eol::CrLf;
    }
    return m_lines.insert(m_lines.end(), Line{std::move(text), Eol::CrLf});
}

std::optional<std::string_view> ProfileText::Find(std::string_view section,
                                                  std::string_view key) const {
    const auto s = m_firstOf.find(Lower(TrimProfileBlanks(section)));
    if (s == m_firstOf.end()) {
        return std::nullopt;
    }
    const Section& found = m_sections[s->second];
    const auto k = found.keys.find(Lower(TrimProfileBlanks(key)));
    if (k == found.keys.end()) {
        return std::nullopt;
    }
    return UnquoteProfileValue(Classify(k->second->text).value);
}

ProfileText::SetResult ProfileText::Set(std::string_view section, std::string_view key,
                                        std::string_view value) {
    section = TrimProfileBlanks(section);
    key = TrimProfileBlanks(key);
    value = TrimProfileBlanks(value);
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
        return SetResult::Refused;
    }
    std::string line = std::string(key) + "=" + std::string(value);
    const Classified asKey = Classify(line);
    if (asKey.kind != Classified::Key || asKey.name != key) {
        return SetResult::Refused;
    }

    auto s = m_firstOf.find(Lower(section));
    if (s != m_firstOf.end()) {
        Section& found = m_sections[s->second];
        const auto k = found.keys.find(Lower(key));
        if (k != found.keys.end()) {
            Line& stored = *k->second;
            const Classified old = Classify(stored.text);
            if (old.value == value) {
                return SetResult::Unchanged;
            }
            // The file's spelling of the key stays.
            stored.text = std::string(old.name) + "=" + std::string(value);
            stored.eol = Eol::CrLf;
            return SetResult::Changed;
        }
    } else {
        std::string header = "[" + std::string(section) + "]";
        const Classified asHeader = Classify(header);
        if (asHeader.kind != Classified::Header || asHeader.name != section) {
            return SetResult::Refused;
        }
        const auto it = Append(std::move(header));
        if (!m_sections.empty() && m_sections.back().insertBefore == m_lines.end()) {
            m_sections.back().insertBefore = it;  // the last section's keys stay above the new one
        }
        AddSection(section, m_lines.end());
        s = m_firstOf.find(Lower(section));
    }
    Section& target = m_sections[s->second];
    if (target.insertBefore == m_lines.begin() && m_bom.empty() &&
        std::string_view(line).substr(0, kBom.size()) == kBom) {
        return SetResult::Refused;  // as the file's first bytes it would read as a byte-order mark
    }
    const auto it = target.insertBefore == m_lines.end()
                        ? Append(std::move(line))
                        : m_lines.insert(target.insertBefore, Line{std::move(line), Eol::CrLf});
    target.keys.emplace(Lower(key), it);
    return SetResult::Changed;
}

std::string ProfileText::Text() const {
    std::string text = m_bom;
    for (const Line& line : m_lines) {
        text += line.text;
        switch (line.eol) {
            case Eol::None:
                break;
            case Eol::Lf:
                text += '\n';
                break;
            case Eol::CrLf:
                text += kCrLf;
                break;
            case Eol::Cr:
                text += '\r';
                break;
        }
    }
    return text;
}
