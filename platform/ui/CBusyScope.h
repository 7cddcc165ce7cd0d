// CBusyScope: a long device operation (Write all, StandAlone programming) in progress. While one
// lives the wait cursor shows, the windows keep repainting and answering the desktop during the
// operation's pauses, and nothing else is handled: no input, no close request, no timer tick.
#pragma once

#include <functional>

#include "platform/ui/CWaitCursor.h"

class CBusyScope {
public:
    CBusyScope();
    ~CBusyScope();
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

    // Whether a busy scope is alive (window timers skip their ticks then).
    static bool IsActive();
    // Called each time the outermost scope has ended (nullptr: nothing), so that a window can look
    // at what the operation left behind once it is over.
    static void SetFinishedHook(std::function<void()> hook);

private:
    CWaitCursor m_wait;
};
