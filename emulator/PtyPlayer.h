// Plays a device on a pseudo-terminal: holds the raw slave open, feeds what arrives to a
// DeviceResponder on its own thread, and sends the replies at the wire rate of a baud rate.
// Optionally publishes itself in the user's port folder as EMUn (a serial port) or CABLEn (a
// configuration cable, with its description), with the USB serial number it reports if given.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "emulator/DeviceResponder.h"
#include "link/SerialTransport.h"

class PtyPlayer {
public:
    enum class Publish { None, SerialPort, Cable };

    struct Options {
        unsigned baudRate = SERIAL_BAUD_RATE;  // pacing of the replies: 10 bits per byte (8N1)
        Publish publish = Publish::None;
        std::string description;   // a cable's description
        std::string serialNumber;  // published beside the port; empty: none
    };

    PtyPlayer(DeviceResponder& responder, Options options);
    ~PtyPlayer();  // stops and unpublishes
    PtyPlayer(const PtyPlayer&) = delete;
    PtyPlayer& operator=(const PtyPlayer&) = delete;

    // Opens the pseudo-terminal, publishes it and starts the thread. False when any step fails.
    bool Start();
    // Ends the thread, removes the published link and closes the pseudo-terminal.
    void Stop();
    // Pulls the plug while it plays: the published link (and the files beside it) goes, then
    // the pseudo-terminal closes, so that the program on the other side sees a hang-up. The
    // device keeps its state. Harmless when unplugged.
    void Unplug() { Stop(); }
    // Plugs it in again: a new pseudo-terminal, published as the first free name, playing the
    // same device. False when a step fails; it stays unplugged then.
    bool Plug() { return Start(); }
    bool IsPlugged() const { return m_thread.joinable(); }

    const std::string& SlavePath() const { return m_slavePath; }
    const std::string& PublishedName() const { return m_publishedName; }
    // The COM number of a published serial port (193 for EMU0), else 0.
    int ComNumber() const;
    // Whether the device has hung up (its link is closed).
    bool HasHungUp() const { return m_hungUp.load(std::memory_order_acquire); }
    // CLOCK_MONOTONIC nanoseconds at which the last reply byte was handed to the terminal.
    std::int64_t LastReplyEndNs() const { return m_lastReplyEndNs.load(std::memory_order_acquire); }
    // Bytes received so far.
    std::uint64_t ReceivedCount() const { return m_received.load(std::memory_order_acquire); }

private:
    void Run();
    // Sends the reply at the wire rate; false when Stop() interrupted it.
    bool Send(const DeviceReply& reply);
    bool SleepUntil(std::int64_t deadlineNs);
    void HangUp();

    DeviceResponder& m_responder;
    Options m_options;
    int m_master = -1;
    int m_slave = -1;
    int m_stopFd = -1;
    std::string m_slavePath;
    std::string m_publishedName;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_hungUp{false};
    std::atomic<std::int64_t> m_lastReplyEndNs{0};
    std::atomic<std::uint64_t> m_received{0};
};
