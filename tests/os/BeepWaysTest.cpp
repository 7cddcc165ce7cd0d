// Which way a beep is heard: the first of tone, display bell and terminal bell that works.
#include "platform/os/BeepWays.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/os/SoundServerTone.h"

namespace {

// What each fake way answers, and the ways tried in order.
bool g_toneWorks, g_displayWorks, g_terminalWorks;
std::string g_tried;

bool Tone(DWORD, DWORD) {
    g_tried += "tone ";
    return g_toneWorks;
}
bool Display() {
    g_tried += "display ";
    return g_displayWorks;
}
bool Terminal() {
    g_tried += "terminal ";
    return g_terminalWorks;
}

}  // namespace

TEST(BeepWaysTest, TheFirstWayThatWorksIsHeard) {
    const struct {
        bool tone, display, terminal, hasDisplay;
        DWORD frequency, durationMs;
        const char* tried;
        BeepHeard heard;
    } cases[] = {
        {true, true, true, true, 100, 100, "tone ", BeepHeard::Tone},
        {false, true, true, true, 100, 100, "tone display ", BeepHeard::DisplayBell},
        {false, false, true, true, 100, 100, "tone display terminal ", BeepHeard::TerminalBell},
        {false, true, true, false, 100, 100, "tone terminal ", BeepHeard::TerminalBell},
        {false, false, false, true, 100, 100, "tone display terminal ", BeepHeard::Not},
        {true, true, true, true, 0, 0, "display ", BeepHeard::DisplayBell},  // the alert
        {true, true, true, true, 100, 0, "display ", BeepHeard::DisplayBell},
    };
    for (const auto& c : cases) {
        g_toneWorks = c.tone;
        g_displayWorks = c.display;
        g_terminalWorks = c.terminal;
        g_tried.clear();
        const BeepWays ways{&Tone, c.hasDisplay ? &Display : nullptr, &Terminal};
        EXPECT_EQ(SoundBeep(ways, c.frequency, c.durationMs), c.heard) << c.tried;
        EXPECT_EQ(g_tried, c.tried);
    }
    // No sound server (as on a build machine): the tone says so instead of failing the beep.
    const char* server = std::getenv("PULSE_SERVER");
    const std::string saved = server ? server : "";
    setenv("PULSE_SERVER", "unix:/nonexistent/brenvo-test", 1);
    EXPECT_FALSE(PlaySoundServerTone(100, 100));
    server ? setenv("PULSE_SERVER", saved.c_str(), 1) : unsetenv("PULSE_SERVER");
}
