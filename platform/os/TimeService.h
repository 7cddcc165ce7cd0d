// Pauses, beeps and the high-resolution clock, behind one replaceable service: production really
// waits; tests install a recording service that keeps every pause in order and may skip the wait.
#pragma once

#include "platform/os/WinTypes.h"

class TimeService {
public:
    virtual ~TimeService() = default;
    virtual void Sleep(DWORD milliseconds) = 0;
    // The one beep service of the program: a tone of `frequency` Hz for `durationMs` (frequency 0:
    // the desktop's alert sound), heard as BeepWays.h says. It returns after the duration, never
    // much later, and never fails. Message beeps of the windows come here too.
    virtual void Beep(DWORD frequency, DWORD durationMs) = 0;
    // Monotonic counter and its ticks per second.
    virtual LONGLONG Counter() = 0;
    virtual LONGLONG Frequency() = 0;
};

// The service in use; the production one unless a test installed another.
TimeService& CurrentTimeService();
// Installs a service (not owned); nullptr restores the production service.
void SetTimeService(TimeService* service);

// While a window must stay alive through a long wait, the production Sleep does not sleep in one
// piece: it calls this hook every few milliseconds until the pause is over (the user interface
// installs one that repaints and answers the desktop). nullptr: plain sleeps. Test services do not
// wait, and so never call it.
using SleepPump = void (*)();
void SetSleepPump(SleepPump pump);

// The Windows-named entry points that the rest of the program calls.
void Sleep(DWORD milliseconds);
BOOL Beep(DWORD frequency, DWORD durationMs);
BOOL QueryPerformanceCounter(LONGLONG* counter);
BOOL QueryPerformanceFrequency(LONGLONG* frequency);
