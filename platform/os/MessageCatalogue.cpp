#include "platform/os/MessageCatalogue.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/os/TextEncoding.h"

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::size_t kMaxFileSize = 16u << 20;  // a catalogue of ten thousand texts is 2 MiB
constexpr int kMaxDepth = 4;                     // %s arguments translated within arguments
// Matching a text against patterns tries the places where an argument may end: a text longer than
// any message is left to exact lookup, so that no text costs more than a moment.
constexpr std::size_t kMaxPatternText = 8192;
constexpr std::size_t kMaxPositionDigits = 2;

std::uint32_t Word(const std::string& bytes, std::size_t at, bool swapped) {
    std::uint32_t w = 0;
    std::memcpy(&w, bytes.data() + at, 4);
    return swapped ? __builtin_bswap32(w) : w;
}

// A translation in Windows-1252 when every character has a byte there; otherwise it stays UTF-8,
// which the shown-text rule displays as such.
std::string ProgramText(const std::string& utf8) {
    const std::string narrow = Utf8ToWindows1252(utf8);
    return DisplayTextToUtf8(narrow) == utf8 ? narrow : utf8;
}

// One printf conversion: its argument number (1-based; 0 when not positional) and type letter.
struct Conversion {
    std::size_t begin;
    std::size_t end;
    int position;
    char type;
};

// The conversion at `text[i]` (a '%' that is not "%%"), or false.
bool ParseConversion(const std::string& text, std::size_t i, Conversion& c) {
    std::size_t p = i + 1;
    c.begin = i;
    c.position = 0;
    std::size_t digits = p;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits > p && digits - p <= kMaxPositionDigits && digits < text.size() &&
        text[digits] == '$') {
        c.position = std::stoi(text.substr(p, digits - p));
        p = digits + 1;
    }
    while (p < text.size() && std::strchr("-+ #0123456789.", text[p]))
        ++p;
    while (p < text.size() && std::strchr("hlLqjzt", text[p]))
        ++p;
    if (p >= text.size() || !std::strchr("diuxXscf", text[p]))
        return false;
    c.type = text[p];
    c.end = p + 1;
    return true;
}

std::vector<Conversion> ConversionsOf(const std::string& text) {
    std::vector<Conversion> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        Conversion c{};
        if (ParseConversion(text, i, c)) {
            out.push_back(c);
            i = c.end - 1;
        }
    }
    return out;
}

// How many characters of `text` from `at` an argument of this type can take: every length it may
// have, longest first for numbers (they end where the digits end), shortest first for text.
std::vector<std::size_t> ArgumentLengths(const std::string& text, std::size_t at, char type) {
    std::vector<std::size_t> lengths;
    if (type == 's') {
        for (std::size_t n = 0; at + n <= text.size(); ++n)
            lengths.push_back(n);
        return lengths;
    }
    if (type == 'c') {
        if (at < text.size())
            lengths.push_back(1);
        return lengths;
    }
    std::size_t p = at;
    if ((type == 'd' || type == 'i' || type == 'f') && p < text.size() &&
        (text[p] == '-' || text[p] == '+'))
        ++p;
    const std::size_t start = p;
    const bool hex = type == 'x' || type == 'X';
    while (p < text.size() &&
           ((text[p] >= '0' && text[p] <= '9') || (hex && std::strchr("abcdefABCDEF", text[p])) ||
            (type == 'f' && text[p] == '.')))
        ++p;
    if (p > start)
        lengths.push_back(p - at);
    return lengths;
}

// Whether `text` from `t` is an instance of `key` from `k`; the arguments are collected in order.
bool Match(const std::string& key, std::size_t k, const std::string& text, std::size_t t,
           std::vector<std::string>& args) {
    while (k < key.size()) {
        if (key[k] == '%') {
            if (k + 1 < key.size() && key[k + 1] == '%') {
                if (t >= text.size() || text[t] != '%')
                    return false;
                k += 2;
                ++t;
                continue;
            }
            Conversion c{};
            if (!ParseConversion(key, k, c))
                return false;
            for (std::size_t n : ArgumentLengths(text, t, c.type)) {
                args.push_back(text.substr(t, n));
                if (Match(key, c.end, text, t + n, args))
                    return true;
                args.pop_back();
            }
            return false;
        }
        if (t >= text.size() || text[t] != key[k])
            return false;
        ++k;
        ++t;
    }
    return t == text.size();
}

// The translation with the arguments in place of its conversions (in order, or by position).
std::string Fill(const std::string& translation, const std::vector<std::string>& args) {
    std::string out;
    std::size_t next = 0;
    std::size_t i = 0;
    while (i < translation.size()) {
        if (translation[i] != '%') {
            out += translation[i++];
            continue;
        }
        if (i + 1 < translation.size() && translation[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        Conversion c{};
        if (!ParseConversion(translation, i, c)) {
            out += translation[i++];
            continue;
        }
        const std::size_t index =
            c.position > 0 ? static_cast<std::size_t>(c.position - 1) : next++;
        if (index < args.size())
            out += args[index];
        i = c.end;
    }
    return out;
}

}  // namespace

bool MessageCatalogue::ReadFile(const std::string& path) {
    m_exact.clear();
    m_patterns.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kMaxFileSize)
            return false;
    }
    return Read(bytes);
}

bool MessageCatalogue::Read(const std::string& bytes) {
    m_exact.clear();
    m_patterns.clear();
    if (bytes.size() < 28 || bytes.size() > kMaxFileSize)
        return false;
    std::uint32_t magic = 0;
    std::memcpy(&magic, bytes.data(), 4);
    const bool swapped = magic != kMagic;
    if (swapped && __builtin_bswap32(magic) != kMagic)
        return false;
    if ((Word(bytes, 4, swapped) >> 16) > 1)
        return false;  // a major revision this reader does not know
    const std::uint64_t count = Word(bytes, 8, swapped);
    const std::uint64_t keys = Word(bytes, 12, swapped);
    const std::uint64_t values = Word(bytes, 16, swapped);
    if (keys + count * 8 > bytes.size() || values + count * 8 > bytes.size())
        return false;
    auto stringAt = [&](std::uint64_t table, std::uint64_t i, std::string& out) {
        const std::uint64_t length = Word(bytes, table + i * 8, swapped);
        const std::uint64_t offset = Word(bytes, table + i * 8 + 4, swapped);
        if (offset + length > bytes.size())
            return false;
        out.assign(bytes, offset, length);
        return true;
    };
    std::unordered_map<std::string, std::string> exact;
    std::vector<std::string> patternKeys;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::string key;
        std::string value;
        if (!stringAt(keys, i, key) || !stringAt(values, i, value))
            return false;
        // The header (empty key) and entries with a context are not texts of the program; of a
        // plural entry the singular is taken.
        if (key.empty() || key.find('\x04') != std::string::npos)
            continue;
        key = key.substr(0, key.find('\0'));
        value = value.substr(0, value.find('\0'));
        if (value.empty())
            continue;
        std::string narrowKey = Utf8ToWindows1252(key);
        if (exact.emplace(narrowKey, ProgramText(value)).second && !ConversionsOf(key).empty())
            patternKeys.push_back(narrowKey);
    }
    m_exact = std::move(exact);
    for (const std::string& key : patternKeys)
        m_patterns.push_back({key, &m_exact.at(key)});
    return true;
}

const std::string* MessageCatalogue::Find(const std::string& text) const {
    const auto it = m_exact.find(text);
    return it == m_exact.end() ? nullptr : &it->second;
}

std::string MessageCatalogue::TranslateWhole(const std::string& text, int depth,
                                             bool& found) const {
    found = true;
    if (const std::string* t = Find(text))
        return *t;
    if (depth < kMaxDepth && text.size() <= kMaxPatternText) {
        for (const Pattern& p : m_patterns) {
            std::vector<std::string> args;
            if (!Match(p.key, 0, text, 0, args))
                continue;
            const std::vector<Conversion> conversions = ConversionsOf(p.key);
            for (std::size_t i = 0; i < args.size() && i < conversions.size(); ++i) {
                // A path or a file name is data, whatever words it is made of.
                if (conversions[i].type == 's' &&
                    args[i].find_first_of("/.") == std::string::npos) {
                    bool inner = false;
                    const std::string translated = TranslateWhole(args[i], depth + 1, inner);
                    if (inner)
                        args[i] = translated;
                }
            }
            return Fill(*p.translation, args);
        }
    }
    found = false;
    return text;
}

std::string MessageCatalogue::Translate(const std::string& text) const {
    if (m_exact.empty() || text.empty())
        return text;
    bool found = false;
    std::string whole = TranslateWhole(text, 0, found);
    if (found || text.find('\n') == std::string::npos)
        return whole;
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        out += TranslateWhole(line, 0, found);
        if (end == std::string::npos)
            return out;
        out += '\n';
        start = end + 1;
    }
}
