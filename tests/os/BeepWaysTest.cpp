// Which way a beep is heard: the first of tone, display bell and terminal bell that works; a tone
// counts only when the sound server played it out, and the whole beep keeps its time bound.
#include "platform/os/BeepWays.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/os/SoundServerLibrary.h"
#include "platform/os/SoundServerTone.h"
#include "platform/os/TimeService.h"

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

// A sound server as the client library sees it, on a main loop that really waits for what is
// due: the context and the stream get ready at the first turns of the loop, then the drain is
// answered as `server` says.
namespace server {

enum class Kind { Plays, RefusesTheDrain, NeverDrains, NeverAnswers };
Kind g_kind = Kind::Plays;
std::atomic<int> g_loadingMs{0};  // read on the loading thread
pa_context_state_t g_context = PA_CONTEXT_UNCONNECTED;
pa_stream_state_t g_stream = PA_STREAM_UNCONNECTED;
pa_stream_success_cb_t g_drained = nullptr;
void* g_drainedData = nullptr;
int g_timeoutUs = 0;
int g_object = 0;  // what every handle points at
pa_mainloop_api g_api{};

template <class T>
T* Handle() {
    return reinterpret_cast<T*>(&g_object);
}

bool Due() {
    return (g_context == PA_CONTEXT_CONNECTING && g_kind != Kind::NeverAnswers) ||
           g_stream == PA_STREAM_CREATING || (g_drained != nullptr && g_kind != Kind::NeverDrains);
}

void Turn() {
    if (g_context == PA_CONTEXT_CONNECTING && g_kind != Kind::NeverAnswers) {
        g_context = PA_CONTEXT_READY;
    } else if (g_stream == PA_STREAM_CREATING) {
        g_stream = PA_STREAM_READY;
    } else if (g_drained != nullptr && g_kind != Kind::NeverDrains) {
        const pa_stream_success_cb_t drained = g_drained;
        g_drained = nullptr;
        drained(Handle<pa_stream>(), g_kind == Kind::Plays ? 1 : 0, g_drainedData);
    }
}

SoundServerLibrary Library() {
    SoundServerLibrary l;
    l.pa_mainloop_new = [] { return Handle<pa_mainloop>(); };
    l.pa_mainloop_free = [](pa_mainloop*) {};
    l.pa_mainloop_get_api = [](pa_mainloop*) { return &g_api; };
    l.pa_mainloop_prepare = [](pa_mainloop*, int timeoutUs) {
        g_timeoutUs = timeoutUs;
        return 0;
    };
    l.pa_mainloop_poll = [](pa_mainloop*) {
        if (!Due()) {
            std::this_thread::sleep_for(std::chrono::microseconds(g_timeoutUs));
        }
        return 0;
    };
    l.pa_mainloop_dispatch = [](pa_mainloop*) {
        Turn();
        return 0;
    };
    l.pa_context_new = [](pa_mainloop_api*, const char*) { return Handle<pa_context>(); };
    l.pa_context_connect = [](pa_context*, const char*, pa_context_flags_t, const pa_spawn_api*) {
        g_context = PA_CONTEXT_CONNECTING;
        return 0;
    };
    l.pa_context_get_state = [](const pa_context*) { return g_context; };
    l.pa_context_disconnect = [](pa_context*) { g_context = PA_CONTEXT_TERMINATED; };
    l.pa_context_unref = [](pa_context*) {};
    l.pa_stream_new = [](pa_context*, const char*, const pa_sample_spec*, const pa_channel_map*) {
        return Handle<pa_stream>();
    };
    l.pa_stream_connect_playback = [](pa_stream*, const char*, const pa_buffer_attr*,
                                      pa_stream_flags_t, const pa_cvolume*, pa_stream*) {
        g_stream = PA_STREAM_CREATING;
        return 0;
    };
    l.pa_stream_get_state = [](const pa_stream*) { return g_stream; };
    l.pa_stream_write = [](pa_stream*, const void*, size_t, pa_free_cb_t, int64_t, pa_seek_mode_t) {
        return 0;
    };
    l.pa_stream_drain = [](pa_stream*, pa_stream_success_cb_t drained, void* data) {
        g_drained = drained;
        g_drainedData = data;
        return Handle<pa_operation>();
    };
    l.pa_stream_disconnect = [](pa_stream*) {
        g_stream = PA_STREAM_TERMINATED;
        return 0;
    };
    l.pa_stream_unref = [](pa_stream*) {};
    l.pa_operation_cancel = [](pa_operation*) { g_drained = nullptr; };
    l.pa_operation_unref = [](pa_operation*) {};
    return l;
}

const SoundServerLibrary* Load() {
    static const SoundServerLibrary library = Library();
    std::this_thread::sleep_for(std::chrono::milliseconds(g_loadingMs.load()));
    return &library;
}

const SoundServerLibrary* Missing() {
    return nullptr;
}

}  // namespace server

int g_displayRings = 0;
bool RingDisplay() {
    ++g_displayRings;
    return true;
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

// A beep through the production time service, against stand-ins of the sound server: the tone
// counts only when it was played out, and the whole beep lasts its duration and at the most a
// tenth of a second more (a margin for a loaded machine on top), the library's first loading
// included.
TEST(BeepWaysTest, AToneThatWasNotPlayedFallsBackToTheBellWithinTheBound) {
    using Ms = std::chrono::milliseconds;
    constexpr DWORD kDurationMs = 50;
    const Ms bound(kDurationMs + 100 + 250);
    const struct {
        const char* name;
        SoundServerLibraryLoader loader;
        Ms loading;
        server::Kind kind;
        bool played;
    } cases[] = {
        {"played out", &server::Load, Ms(0), server::Kind::Plays, true},
        {"drain refused", &server::Load, Ms(0), server::Kind::RefusesTheDrain, false},
        {"never played out: a suspended output", &server::Load, Ms(0), server::Kind::NeverDrains,
         false},
        {"no answer from the server", &server::Load, Ms(0), server::Kind::NeverAnswers, false},
        {"no library", &server::Missing, Ms(0), server::Kind::Plays, false},
        {"a first loading slower than the bound", &server::Load, Ms(700), server::Kind::Plays,
         false},
        {"the library loaded meanwhile", nullptr, Ms(0), server::Kind::Plays, true},
    };
    SetDisplayBell(&RingDisplay);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.loader != nullptr) {
            SetSoundServerLibraryLoaderForTesting(c.loader);
        } else {
            std::this_thread::sleep_for(Ms(800));  // the slow loading is over by now
        }
        server::g_kind = c.kind;
        server::g_loadingMs = static_cast<int>(c.loading.count());
        g_displayRings = 0;
        const auto start = std::chrono::steady_clock::now();
        Beep(440, kDurationMs);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(g_displayRings, c.played ? 0 : 1);
        EXPECT_GE(elapsed, Ms(kDurationMs));
        EXPECT_LE(elapsed, bound);
    }
    SetDisplayBell(nullptr);
    SetSoundServerLibraryLoaderForTesting(nullptr);
}
