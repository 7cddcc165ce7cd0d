// Reports serial ports that appear, disappear or change while the program runs: tty nodes under
// /dev (inotify), the emulated ports of the user's folder of emulated ports (inotify; the folder
// may come and go), and udev's monitor where udev runs. It reports names only and knows nothing of
// what is behind a port.
#pragma once

#include <functional>
#include <string>
#include <thread>

struct PortEvent {
    // Changed: a port that is there got new attributes, such as the access rights that udev
    // gives a node some time after it was made.
    enum class Kind { Appeared, Disappeared, Changed };
    Kind kind;
    std::string name;  // "ttyUSB0", "EMU0", "CABLE0"
};

class PortWatcher {
public:
    using Callback = std::function<void(const PortEvent&)>;

    struct Options {
        std::string devRoot = "/dev";
        // The runtime folder whose brenvo/ports holds the emulated ports; "" takes
        // XDG_RUNTIME_DIR when Start() runs (no emulated ports without it).
        std::string runtimeDir;
        bool useUdev = true;  // only where udev runs
    };

    // `onEvent` runs on the watcher's own thread, one event at a time; it must not call Stop().
    explicit PortWatcher(Callback onEvent);
    PortWatcher(Callback onEvent, Options options);
    ~PortWatcher();  // stops
    PortWatcher(const PortWatcher&) = delete;
    PortWatcher& operator=(const PortWatcher&) = delete;

    // Starts watching. What exists at this moment is the starting point: it is not reported. A
    // source that cannot be watched is left out; false only when nothing can be watched at all.
    bool Start();
    // Ends the thread at once (no event is reported after it returns). Harmless when stopped.
    void Stop();

private:
    class Loop;

    Callback m_onEvent;
    Options m_options;
    int m_stopFd = -1;
    std::thread m_thread;
};
