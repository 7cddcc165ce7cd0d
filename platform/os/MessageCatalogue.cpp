#include "platform/os/MessageCatalogue.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/os/FormatPattern.h"
#include "platform/os/TextEncoding.h"

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::size_t kMaxFileSize = 16u << 20;  // a catalogue of ten thousand texts is 2 MiB
constexpr int kMaxDepth = 4;                     // %s arguments translated within arguments

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

}  // namespace

bool MessageCatalogue::ReadFile(const std::string& path) {
    m_exact.clear();
    m_patterns.clear();
    m_contextual.clear();
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
    m_contextual.clear();
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
    std::unordered_map<std::string, std::string> contextual;
    std::vector<std::string> patternKeys;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::string key;
        std::string value;
        if (!stringAt(keys, i, key) || !stringAt(values, i, value))
            return false;
        // The header (empty key) is no text; of a plural entry the singular is taken.
        if (key.empty())
            continue;
        key = key.substr(0, key.find('\0'));
        value = value.substr(0, value.find('\0'));
        if (value.empty())
            continue;
        // An entry with a context is another program's text: UTF-8, looked up exactly.
        if (key.find('\x04') != std::string::npos) {
            contextual.emplace(key, value);
            continue;
        }
        std::string narrowKey = Utf8ToWindows1252(key);
        if (exact.emplace(narrowKey, ProgramText(value)).second && !ConversionsOf(key).empty())
            patternKeys.push_back(narrowKey);
    }
    m_exact = std::move(exact);
    m_contextual = std::move(contextual);
    for (const std::string& key : patternKeys)
        m_patterns.push_back({key, &m_exact.at(key)});
    return true;
}

const std::string* MessageCatalogue::Find(const std::string& text) const {
    const auto it = m_exact.find(text);
    return it == m_exact.end() ? nullptr : &it->second;
}

const std::string* MessageCatalogue::FindIn(const std::string& context,
                                            const std::string& text) const {
    const auto it = m_contextual.find(context + '\x04' + text);
    return it == m_contextual.end() ? nullptr : &it->second;
}

std::string MessageCatalogue::TranslateWhole(const std::string& text, int depth,
                                             bool& found) const {
    found = true;
    if (const std::string* t = Find(text))
        return *t;
    if (depth < kMaxDepth) {
        for (const Pattern& p : m_patterns) {
            std::vector<std::string> args;
            if (!MatchFormat(p.key, text, args))
                continue;
            const std::vector<FormatConversion> conversions = ConversionsOf(p.key);
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
            return FillFormat(*p.translation, args);
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
