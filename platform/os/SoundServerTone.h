// A tone through the desktop's sound server: PulseAudio, or the PulseAudio service of PipeWire.
// The client library is loaded when first needed, so the program runs without it.
#pragma once

#include "platform/os/WinTypes.h"

// Plays a square wave of `frequency` Hz for `durationMs` and returns once it has played, and at
// the latest a tenth of a second after its duration, the library's first loading included. True
// only when the server reports the tone played out within that time; false when the library is
// missing or not loaded in time, no server answers (none is started for the beep), the server
// refuses the stream, or the tone was not played out by then (an output that is suspended or slow
// to wake), so that the caller can ring a bell instead.
bool PlaySoundServerTone(DWORD frequency, DWORD durationMs);
