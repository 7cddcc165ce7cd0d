// How the program's beeps are heard, for the production time service: the first way that works,
// in this order: a tone through the desktop's sound server, the display's bell, the terminal's
// bell. Each way says within a tenth of a second past the beep's duration whether it worked, so a
// beep never costs much beyond its own duration, and none of them ever fails the operation that
// beeps.
#pragma once

#include "platform/os/WinTypes.h"

struct BeepWays {
    bool (*tone)(DWORD frequency, DWORD durationMs);  // true when the tone was played
    bool (*displayBell)();                            // true when rung; null: no display
    bool (*terminalBell)();                           // true when rung
};

enum class BeepHeard { Tone, DisplayBell, TerminalBell, Not };

// Sounds the beep the first way that works. A tone needs a frequency and a duration; without them
// (the windows' alert) a bell is the way.
BeepHeard SoundBeep(const BeepWays& ways, DWORD frequency, DWORD durationMs);

// The ways of this process: the sound server's tone, the display bell that the user interface
// installed, and the bell of the terminal that standard error is, if it is one.
BeepWays SystemBeepWays();

// The user interface installs the display's bell while it has a display; nullptr removes it.
using DisplayBell = bool (*)();
void SetDisplayBell(DisplayBell bell);
