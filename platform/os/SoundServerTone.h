// A tone through the desktop's sound server: PulseAudio, or the PulseAudio service of PipeWire.
// The client library is loaded when first needed, so the program runs without it.
#pragma once

#include "platform/os/WinTypes.h"

// Plays a square wave of `frequency` Hz for `durationMs` and returns once it has played, and at
// the latest a tenth of a second after its duration. False, at once, when the library is missing
// or no server answers (none is started for the beep), or soon when it refuses the stream.
bool PlaySoundServerTone(DWORD frequency, DWORD durationMs);
