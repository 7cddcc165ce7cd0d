// SIGINT, SIGTERM and SIGHUP for brenvo-cli. They are blocked in every thread from the start and
// taken by one watching thread, so that nothing sent to a dimmer is cut in half: until the work
// with the dimmers begins a signal ends the program at once; from then on it asks the work to stop
// between two sequences (a table from its command byte to its confirmation, a StandAlone byte, a
// shut-down temperature write). A second signal says what is being finished and how long that may
// take. Only SIGKILL can cut a sequence.
//
// The writers of --all are processes forked from this one: they inherit the blocked signals, have
// no watching thread, and find a signal among their pending ones between sequences.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

class Interruption {
public:
    using Clock = std::chrono::steady_clock;

    // Blocks the signals and starts the watcher. Called first thing in main(), before any other
    // thread exists, so that every thread inherits the blocked signals.
    static void Start();
    // From now on a signal stops the work between sequences instead of ending the program.
    static void Defer();

    // Whether a stop was asked: the watcher took a signal, or (in a writer process) one is
    // pending. Safe in a forked writer.
    static bool Requested();
    // The signal that asked for the stop; 0 when none did.
    static int Signal();
    // The exit status of a run that was asked to stop: 128 + the signal (130 for SIGINT, 143 for
    // SIGTERM, 129 for SIGHUP).
    static int ExitStatus();
    // "SIGINT", "SIGTERM", "SIGHUP".
    static const char* SignalName(int signal);

    // What is under way, said to a second signal: "the table of Output 2 on CABLE0", to be done
    // by `latestEnd`.
    static void Working(const std::string& what, Clock::time_point latestEnd);
    static void Idle();

    // A writer process receives the stop signal too (also when the signal came before it was
    // added).
    static void AddChild(pid_t pid);
    static void RemoveChild(pid_t pid);
};
