#include "tests/support/RecordingTimeService.h"

#include <ctime>

namespace {
LONGLONG MonotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<LONGLONG>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}
}  // namespace

RecordingTimeService::RecordingTimeService(bool reallyWait) : m_reallyWait(reallyWait) {
    SetTimeService(this);
}

RecordingTimeService::~RecordingTimeService() {
    SetTimeService(nullptr);
}

void RecordingTimeService::Sleep(DWORD milliseconds) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back({Event::Pause, milliseconds, 0});
        if (!m_reallyWait) {
            m_virtualNs += static_cast<LONGLONG>(milliseconds) * 1000000LL;
        }
    }
    if (m_reallyWait) {
        timespec t{static_cast<time_t>(milliseconds / 1000),
                   static_cast<long>(milliseconds % 1000) * 1000000L};
        nanosleep(&t, nullptr);
    }
}

void RecordingTimeService::Beep(DWORD frequency, DWORD durationMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.push_back({Event::BeepSound, frequency, durationMs});
}

LONGLONG RecordingTimeService::Counter() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return MonotonicNs() + m_virtualNs;
}

LONGLONG RecordingTimeService::Frequency() {
    return 1000000000LL;
}

std::vector<RecordingTimeService::Event> RecordingTimeService::Events() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events;
}

std::vector<DWORD> RecordingTimeService::Pauses() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<DWORD> pauses;
    for (const Event& e : m_events) {
        if (e.kind == Event::Pause) {
            pauses.push_back(e.a);
        }
    }
    return pauses;
}

void RecordingTimeService::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.clear();
}
