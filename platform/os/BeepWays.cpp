#include "platform/os/BeepWays.h"

#include <unistd.h>

#include <atomic>

#include "platform/os/SoundServerTone.h"

namespace {

std::atomic<DisplayBell> g_displayBell{nullptr};

bool RingTerminalBell() {
    return ::isatty(STDERR_FILENO) == 1 && ::write(STDERR_FILENO, "\a", 1) == 1;
}

bool RingDisplayBell() {
    const DisplayBell bell = g_displayBell.load(std::memory_order_acquire);
    return bell != nullptr && bell();
}

}  // namespace

BeepHeard SoundBeep(const BeepWays& ways, DWORD frequency, DWORD durationMs) {
    if (frequency > 0 && durationMs > 0 && ways.tone(frequency, durationMs)) {
        return BeepHeard::Tone;
    }
    if (ways.displayBell != nullptr && ways.displayBell()) {
        return BeepHeard::DisplayBell;
    }
    return ways.terminalBell() ? BeepHeard::TerminalBell : BeepHeard::Not;
}

BeepWays SystemBeepWays() {
    return BeepWays{&PlaySoundServerTone, &RingDisplayBell, &RingTerminalBell};
}

void SetDisplayBell(DisplayBell bell) {
    g_displayBell.store(bell, std::memory_order_release);
}
