#include "cli/Console.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <mutex>

#include "platform/os/TextEncoding.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kBarPeriod = std::chrono::milliseconds(100);

std::mutex g_mutex;  // the streams and what follows
bool g_quiet = false;
std::string g_bar;  // what the bar line shows now; empty: no bar
Clock::time_point g_barDrawn;

bool BarShown() {
    static const bool terminal = isatty(STDERR_FILENO) == 1;
    return terminal && !g_quiet;
}

int TerminalColumns() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 20) {
        return size.ws_col;
    }
    return 80;
}

// Erases the bar line, so that a line can be written in its place.
void HideBar() {
    if (!g_bar.empty()) {
        std::fputs("\r\033[K", stderr);
    }
}

void ShowBar() {
    if (!g_bar.empty()) {
        std::fputs(g_bar.c_str(), stderr);
        std::fflush(stderr);
    }
}

struct Range {
    char32_t first;
    char32_t last;
};

// Combining marks, zero-width spaces and joiners, variation selectors.
constexpr Range kNoWidth[] = {{0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD},
                              {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F},
                              {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}};
// East Asian wide and full-width characters, and the emoji shown two columns wide.
constexpr Range kDoubleWidth[] = {{0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},
                                  {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
                                  {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},
                                  {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
                                  {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD}};

template <std::size_t N>
bool In(const Range (&ranges)[N], char32_t c) {
    for (const Range& r : ranges) {
        if (c >= r.first && c <= r.last) {
            return true;
        }
    }
    return false;
}

// The character at `i` and the bytes it takes; a byte that starts no UTF-8 character is one.
char32_t Decode(const std::string& text, std::size_t i, std::size_t& length) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || i + length > text.size()) {
        length = 1;
        return lead;
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            length = 1;
            return lead;
        }
        c = (c << 6) | (next & 0x3F);
    }
    return c;
}

std::size_t CharacterWidth(char32_t c) {
    return In(kNoWidth, c) ? 0 : In(kDoubleWidth, c) ? 2 : 1;
}

}  // namespace

void Console::SetQuiet(bool quiet) {
    g_quiet = quiet;
}

bool Console::Quiet() {
    return g_quiet;
}

void Console::Result(const std::string& line) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_quiet) {
        return;
    }
    HideBar();
    std::fflush(stderr);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    ShowBar();
}

void Console::Note(const std::string& line) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_quiet) {
        return;
    }
    HideBar();
    std::fprintf(stderr, "%s\n", line.c_str());
    ShowBar();
}

void Console::Error(const std::string& line) {
    std::lock_guard<std::mutex> lock(g_mutex);
    HideBar();
    std::fprintf(stderr, "brenvo-cli: %s\n", line.c_str());
    ShowBar();
}

void Console::Progress(const std::string& label, double fraction, const std::string& detail) {
    std::lock_guard<std::mutex> lock(g_mutex);
    const Clock::time_point now = Clock::now();
    if (!BarShown() || (!g_bar.empty() && now - g_barDrawn < kBarPeriod)) {
        return;
    }
    constexpr int kBarWidth = 30;
    fraction = fraction < 0 ? 0 : (fraction > 1 ? 1 : fraction);
    const int filled = static_cast<int>(fraction * kBarWidth + 0.5);
    std::string line = label + " [" + std::string(static_cast<std::size_t>(filled), '#') +
                       std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] " +
                       std::to_string(static_cast<int>(fraction * 100 + 0.5)) + "%";
    if (!detail.empty()) {
        line += "  " + detail;
    }
    line = "\r" + CutTo(line, static_cast<std::size_t>(TerminalColumns() - 1)) + "\033[K";
    if (line != g_bar) {
        g_bar = line;
        g_barDrawn = now;
        ShowBar();
    }
}

void Console::EndProgress() {
    std::lock_guard<std::mutex> lock(g_mutex);
    HideBar();
    std::fflush(stderr);
    g_bar.clear();
}

void Console::Abandon() {
    std::unique_lock<std::mutex> lock(g_mutex, std::try_to_lock);
    if (lock.owns_lock()) {
        HideBar();
        std::fflush(stderr);
    }
}

std::string Shown(const std::string& text) {
    // No byte of a multi-byte UTF-8 character is below 0x80: the controls are found byte by byte;
    // the C1 controls (U+0080 to U+009F, which a terminal may act on) are C2 80 to C2 9F.
    const std::string utf8 = DisplayTextToUtf8(text);
    std::string shown;
    shown.reserve(utf8.size());
    char escape[8];
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char ch = utf8[i];
        const unsigned char byte = static_cast<unsigned char>(ch);
        const unsigned char next =
            i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if (ch == '\n') {
            shown += "\\n";
        } else if (ch == '\r') {
            shown += "\\r";
        } else if (ch == '\t') {
            shown += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::snprintf(escape, sizeof escape, "\\x%02X", next);
            shown += escape;
            ++i;
        } else {
            shown += ch;
        }
    }
    return shown;
}

std::string Shown(const CString& text) {
    return Shown(text.str());
}

std::string JsonText(const std::string& text) {
    return DisplayTextToUtf8(text);
}

std::string JsonText(const CString& text) {
    return DisplayTextToUtf8(text.str());
}

std::string TitleText(const CString& titleSuffix) {
    const std::string title = Shown(titleSuffix);
    return title.rfind(" - ", 0) == 0 ? title.substr(3) : title;
}

std::size_t DisplayWidth(const std::string& utf8) {
    std::size_t width = 0;
    std::size_t length = 0;
    for (std::size_t i = 0; i < utf8.size(); i += length) {
        width += CharacterWidth(Decode(utf8, i, length));
    }
    return width;
}

std::string PaddedTo(std::string utf8, std::size_t width) {
    const std::size_t shown = DisplayWidth(utf8);
    utf8.append(width > shown ? width - shown : 0, ' ');
    return utf8;
}

std::string CutTo(const std::string& utf8, std::size_t width) {
    std::size_t shown = 0;
    std::size_t length = 0;
    for (std::size_t i = 0; i < utf8.size(); i += length) {
        shown += CharacterWidth(Decode(utf8, i, length));
        if (shown > width) {
            return utf8.substr(0, i);
        }
    }
    return utf8;
}
