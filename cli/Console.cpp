#include "cli/Console.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <mutex>

#include "platform/os/DisplayWidth.h"
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
