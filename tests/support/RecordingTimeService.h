// A time service for tests: records every pause and beep in order, advances a virtual clock by
// each pause instead of waiting (unless asked to really wait), and restores the production
// service when it goes away.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/os/TimeService.h"

class RecordingTimeService final : public TimeService {
public:
    struct Event {
        enum Kind { Pause, BeepSound } kind;
        DWORD a;  // milliseconds, or frequency
        DWORD b;  // 0, or beep duration
        bool operator==(const Event& o) const { return kind == o.kind && a == o.a && b == o.b; }
    };

    explicit RecordingTimeService(bool reallyWait = false);
    ~RecordingTimeService() override;

    void Sleep(DWORD milliseconds) override;
    void Beep(DWORD frequency, DWORD durationMs) override;
    LONGLONG Counter() override;
    LONGLONG Frequency() override;

    std::vector<Event> Events() const;
    std::vector<DWORD> Pauses() const;  // the pauses alone, in order
    void Clear();

private:
    bool m_reallyWait;
    mutable std::mutex m_mutex;
    std::vector<Event> m_events;
    LONGLONG m_virtualNs = 0;  // added to the real clock: skipped pauses still pass on the clock
};
