#include "platform/os/FormatPattern.h"

#include <cstring>

namespace {

// Matching tries the places where an argument may end: a text longer than any message is left
// alone.
constexpr std::size_t kMaxPatternText = 8192;
constexpr std::size_t kMaxPositionDigits = 2;

// The conversion at `text[i]` (a '%' that is not "%%"), or false.
bool ParseConversion(const std::string& text, std::size_t i, FormatConversion& c) {
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
bool MatchFrom(const std::string& key, std::size_t k, const std::string& text, std::size_t t,
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
            FormatConversion c{};
            if (!ParseConversion(key, k, c))
                return false;
            for (std::size_t n : ArgumentLengths(text, t, c.type)) {
                args.push_back(text.substr(t, n));
                if (MatchFrom(key, c.end, text, t + n, args))
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

}  // namespace

std::vector<FormatConversion> ConversionsOf(const std::string& text) {
    std::vector<FormatConversion> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        FormatConversion c{};
        if (ParseConversion(text, i, c)) {
            out.push_back(c);
            i = c.end - 1;
        }
    }
    return out;
}

bool MatchFormat(const std::string& format, const std::string& text,
                 std::vector<std::string>& args) {
    args.clear();
    return text.size() <= kMaxPatternText && MatchFrom(format, 0, text, 0, args);
}

std::string FillFormat(const std::string& translation, const std::vector<std::string>& args) {
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
        FormatConversion c{};
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

namespace {

// Each argument's size and type ("ld", "s"), by its number from 0; false for a '%' that is no
// conversion printf takes the same way here, or for numbered and unnumbered ones mixed.
bool ArgumentsOf(const std::string& format, std::vector<std::string>& kinds) {
    kinds.clear();
    std::size_t next = 0;
    bool numbered = false;
    bool unnumbered = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        FormatConversion c{};
        if (!ParseConversion(format, i, c))
            return false;
        (c.position > 0 ? numbered : unnumbered) = true;
        const std::size_t index =
            c.position > 0 ? static_cast<std::size_t>(c.position - 1) : next++;
        std::size_t from = format.find('$', c.begin);
        from = c.position > 0 && from < c.end ? from + 1 : c.begin + 1;
        while (from < c.end && std::strchr("-+ #0123456789.", format[from]))
            ++from;
        const std::string kind = format.substr(from, c.end - from);
        if (index >= kinds.size())
            kinds.resize(index + 1);
        if (!kinds[index].empty() && kinds[index] != kind)
            return false;
        kinds[index] = kind;
        i = c.end - 1;
    }
    return !(numbered && unnumbered);
}

}  // namespace

bool SameConversions(const std::string& format, const std::string& translation) {
    std::vector<std::string> want;
    std::vector<std::string> have;
    return ArgumentsOf(format, want) && ArgumentsOf(translation, have) && want == have;
}
