#include "platform/os/TimeService.h"

#include <sys/prctl.h>
#include <atomic>
#include <cerrno>
#include <ctime>

#include "platform/os/BeepWays.h"

namespace {

std::atomic<SleepPump> g_pump{nullptr};
constexpr LONGLONG kPumpSliceNs = 10000000;  // 100 times a second: smooth for the eye

// The program's pauses are fixed and many (10 ms after every EEPROM byte): the kernel's default
// 50 us of timer slack would stretch each one. Set for the thread that loads the program, the
// user-interface thread.
const bool g_preciseTimers = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;

void SleepNs(LONGLONG ns) {
    timespec t{static_cast<time_t>(ns / 1000000000LL), static_cast<long>(ns % 1000000000LL)};
    while (nanosleep(&t, &t) == -1 && errno == EINTR) {
    }
}

LONGLONG MonotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<LONGLONG>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

class SystemTimeService final : public TimeService {
public:
    void Sleep(DWORD milliseconds) override {
        PumpedSleep(static_cast<LONGLONG>(milliseconds) * 1000000LL);
    }
    // The caller's timing is that of a beep that lasts its duration, however it was heard.
    void Beep(DWORD frequency, DWORD durationMs) override {
        const LONGLONG end = MonotonicNs() + static_cast<LONGLONG>(durationMs) * 1000000LL;
        SoundBeep(SystemBeepWays(), frequency, durationMs);
        if (const LONGLONG left = end - MonotonicNs(); left > 0) {
            PumpedSleep(left);
        }
    }
    LONGLONG Counter() override { return MonotonicNs(); }
    LONGLONG Frequency() override { return 1000000000LL; }

private:
    static void PumpedSleep(LONGLONG total) {
        SleepPump pump = g_pump.load(std::memory_order_acquire);
        if (pump == nullptr) {
            SleepNs(total);
            return;
        }
        // One deadline, so the time the hook takes does not lengthen the pause; the hook runs
        // only while time is left, never once more after the deadline.
        const LONGLONG deadline = MonotonicNs() + total;
        for (LONGLONG left = total; left > 0; left = deadline - MonotonicNs()) {
            pump();
            left = deadline - MonotonicNs();
            if (left <= 0) {
                break;
            }
            SleepNs(left < kPumpSliceNs ? left : kPumpSliceNs);
        }
    }
};

SystemTimeService g_system;
std::atomic<TimeService*> g_current{&g_system};

}  // namespace

TimeService& CurrentTimeService() {
    return *g_current.load(std::memory_order_acquire);
}

void SetTimeService(TimeService* service) {
    g_current.store(service ? service : &g_system, std::memory_order_release);
}

void SetSleepPump(SleepPump pump) {
    g_pump.store(pump, std::memory_order_release);
}

void Sleep(DWORD milliseconds) {
    CurrentTimeService().Sleep(milliseconds);
}

BOOL Beep(DWORD frequency, DWORD durationMs) {
    CurrentTimeService().Beep(frequency, durationMs);
    return TRUE;
}

BOOL QueryPerformanceCounter(LONGLONG* counter) {
    *counter = CurrentTimeService().Counter();
    return TRUE;
}

BOOL QueryPerformanceFrequency(LONGLONG* frequency) {
    *frequency = CurrentTimeService().Frequency();
    return TRUE;
}
