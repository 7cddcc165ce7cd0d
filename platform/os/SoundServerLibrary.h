// The functions of the sound server's client library that a tone needs, as one table: the library
// is loaded at run time, so that the program runs without it, and tests may give a stand-in.
#pragma once

#include <pulse/pulseaudio.h>

// One a line.
// clang-format off
#define BRENVO_PULSE_FUNCTIONS(F) \
    F(pa_mainloop_new)            \
    F(pa_mainloop_free)           \
    F(pa_mainloop_get_api)        \
    F(pa_mainloop_prepare)        \
    F(pa_mainloop_poll)           \
    F(pa_mainloop_dispatch)       \
    F(pa_context_new)             \
    F(pa_context_connect)         \
    F(pa_context_get_state)       \
    F(pa_context_disconnect)      \
    F(pa_context_unref)           \
    F(pa_stream_new)              \
    F(pa_stream_connect_playback) \
    F(pa_stream_get_state)        \
    F(pa_stream_write)            \
    F(pa_stream_drain)            \
    F(pa_stream_disconnect)       \
    F(pa_stream_unref)            \
    F(pa_operation_cancel)        \
    F(pa_operation_unref)
// clang-format on

struct SoundServerLibrary {
#define BRENVO_PULSE_MEMBER(name) decltype(&::name) name = nullptr;
    BRENVO_PULSE_FUNCTIONS(BRENVO_PULSE_MEMBER)
#undef BRENVO_PULSE_MEMBER
};

// Loads the library: null when it or one of its functions is missing. The first loading may take
// a while (the library brings others); a tone waits for it no longer than its own time bound.
using SoundServerLibraryLoader = const SoundServerLibrary* (*)();

// For tests: how the library is loaded (nullptr: the real one). Forgets what was loaded before.
void SetSoundServerLibraryLoaderForTesting(SoundServerLibraryLoader loader);
