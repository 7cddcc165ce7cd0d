#include "cli/Interruption.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "cli/Console.h"
#include "cli/Texts.h"

namespace {

// Plain atomics, so that a forked writer reads them without a lock the watcher may have held.
std::atomic<bool> g_deferred{false};
std::atomic<int> g_signal{0};
// The process whose watcher takes the signals; a forked writer is another one.
std::atomic<pid_t> g_watching{0};

std::mutex g_mutex;  // what follows
std::string g_working;
Interruption::Clock::time_point g_latestEnd;
std::vector<pid_t> g_children;

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

void SayWhatIsBeingFinished() {
    std::string what;
    double seconds = 0;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        what = g_working;
        const auto left = g_latestEnd - Interruption::Clock::now();
        seconds = std::max(0.0, std::chrono::duration<double>(left).count());
    }
    if (what.empty()) {
        Console::Error(Said(kTextStopping));
    } else {
        // Rounded up: the bound is a promise.
        Console::Error(Format(kTextFinishing, what.c_str(), std::ceil(seconds * 10) / 10));
    }
}

void Watch() {
    const sigset_t set = StopSignals();
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0) {
            continue;
        }
        std::unique_lock<std::mutex> lock(g_mutex);
        if (!g_deferred.load()) {
            Console::Abandon();
            ::_exit(128 + signal);
        }
        int expected = 0;
        if (g_signal.compare_exchange_strong(expected, signal)) {
            for (pid_t child : g_children) {
                ::kill(child, signal);
            }
            continue;
        }
        lock.unlock();
        SayWhatIsBeingFinished();
    }
}

}  // namespace

void Interruption::Start() {
    const sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    g_watching.store(::getpid());
    std::thread(Watch).detach();
}

void Interruption::Defer() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_deferred.store(true);
}

bool Interruption::Requested() {
    if (g_signal.load() != 0) {
        return true;
    }
    if (g_watching.load() == ::getpid()) {
        return false;  // the watcher takes them
    }
    // A writer process has no watcher: the signal waits among the pending ones.
    sigset_t pending;
    sigemptyset(&pending);
    if (sigpending(&pending) == 0) {
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
            if (sigismember(&pending, signal) == 1) {
                int expected = 0;
                g_signal.compare_exchange_strong(expected, signal);
                return true;
            }
        }
    }
    return false;
}

int Interruption::Signal() {
    return g_signal.load();
}

int Interruption::ExitStatus() {
    return 128 + g_signal.load();
}

const char* Interruption::SignalName(int signal) {
    switch (signal) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "a signal";
    }
}

void Interruption::Working(const std::string& what, Clock::time_point latestEnd) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_working = what;
    g_latestEnd = latestEnd;
}

void Interruption::Idle() {
    Working(std::string(), Clock::now());
}

void Interruption::AddChild(pid_t pid) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_children.push_back(pid);
    if (const int signal = g_signal.load()) {
        ::kill(pid, signal);
    }
}

void Interruption::RemoveChild(pid_t pid) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_children.erase(std::remove(g_children.begin(), g_children.end(), pid), g_children.end());
}
