#include "platform/os/TextEncoding.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

namespace {

// 0x80 to 0x9F, where Windows-1252 differs from Latin-1; the five bytes without a character keep
// their C1 control.
constexpr char32_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The length of the well-formed multi-byte UTF-8 sequence at `p` (2 to 4) and its code point, or
// 0. Overlong forms, surrogates and code points above U+10FFFF are not well-formed.
int Utf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& code) {
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the range of the second byte
    if (p[0] >= 0xC2 && p[0] <= 0xDF) {
        length = 2;
        code = p[0] & 0x1F;
    } else if (p[0] >= 0xE0 && p[0] <= 0xEF) {
        length = 3;
        code = p[0] & 0x0F;
        low = p[0] == 0xE0 ? 0xA0 : 0x80;
        high = p[0] == 0xED ? 0x9F : 0xBF;
    } else if (p[0] >= 0xF0 && p[0] <= 0xF4) {
        length = 4;
        code = p[0] & 0x07;
        low = p[0] == 0xF0 ? 0x90 : 0x80;
        high = p[0] == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (end - p < length) {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if (p[i] < (i == 1 ? low : 0x80) || p[i] > (i == 1 ? high : 0xBF)) {
            return 0;
        }
        code = (code << 6) | (p[i] & 0x3F);
    }
    return length;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool Exists(const std::string& path) {
    struct stat st = {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The one entry of `folder` that `reading` shows as `shown`; empty when none or several do.
std::string EntryShownAs(const std::string& folder, const std::string& shown,
                         std::string (*reading)(const std::string&)) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return {};
    }
    std::vector<std::string> found;
    while (const dirent* entry = ::readdir(dir)) {
        if (reading(entry->d_name) == shown) {
            found.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    return found.size() == 1 ? found.front() : std::string();
}

}  // namespace

std::string DisplayTextToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = p + text.size();
    while (p < end) {
        char32_t code = 0;
        if (const int length = *p >= 0x80 ? Utf8Sequence(p, end, code) : 0) {
            out.append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(length));
            p += length;
            continue;
        }
        AppendUtf8(out, *p >= 0x80 && *p <= 0x9F ? kHighTable[*p - 0x80] : *p);
        ++p;
    }
    return out;
}

std::string Utf8ToWindows1252(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = p + text.size();
    while (p < end) {
        char32_t code = *p;
        int length = 1;
        if (*p >= 0x80) {
            length = Utf8Sequence(p, end, code);
            if (length == 0) {
                out += '?';
                ++p;
                continue;
            }
        }
        p += length;
        char byte = '?';
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            byte = static_cast<char>(code);
        } else {
            for (int i = 0; i < 32; ++i) {
                if (kHighTable[i] == code) {
                    byte = static_cast<char>(0x80 + i);
                    break;
                }
            }
        }
        out += byte;
    }
    return out;
}

std::string PathFromShownText(const std::string& shown,
                              std::string (*alsoShownAs)(const std::string& name)) {
    std::string path;
    bool folderExists = true;  // whether `path` so far names something that may hold entries
    std::size_t begin = 0;
    while (begin <= shown.size()) {
        std::size_t end = shown.find('/', begin);
        if (end == std::string::npos) {
            end = shown.size();
        }
        std::string part = shown.substr(begin, end - begin);
        if (!part.empty() && part != "." && part != ".." && folderExists && !Exists(path + part)) {
            std::string entry = EntryShownAs(path, part, &DisplayTextToUtf8);
            if (entry.empty() && alsoShownAs != nullptr) {
                entry = EntryShownAs(path, part, alsoShownAs);
            }
            if (!entry.empty()) {
                part = entry;
            }
        }
        path += part;
        folderExists = folderExists && Exists(path.empty() ? "/" : path);
        if (end < shown.size()) {
            path += '/';
        }
        begin = end + 1;
    }
    return path;
}
