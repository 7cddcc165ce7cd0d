// Pauses, beeps and the high-resolution clock, behind one replaceable service: production really
// waits; tests install a recording service that keeps every pause in order and may skip the wait.
#pragma once

#include "platform/os/WinTypes.h"

class TimeService {
public:
    virtual ~TimeService() = default;
    virtual void Sleep(DWORD milliseconds) = 0;
    virtual void Beep(DWORD frequency, DWORD durationMs) = 0;
    // Monotonic counter and its ticks per second.
    virtual LONGLONG Counter() = 0;
    virtual LONGLONG Frequency() = 0;
};

// The service in use; the production one unless a test installed another.
TimeService& CurrentTimeService();
// Installs a service (not owned); nullptr restores the production service.
void SetTimeService(TimeService* service);

// The Windows-named entry points that the rest of the program calls.
void Sleep(DWORD milliseconds);
BOOL Beep(DWORD frequency, DWORD durationMs);
BOOL QueryPerformanceCounter(LONGLONG* counter);
BOOL QueryPerformanceFrequency(LONGLONG* frequency);
