// One opened serial tty (a real port or an emulated pseudo-terminal), after every check that must
// pass before a byte is written to it: exclusive use, raw line settings, a blocking read that
// another thread can release, and a read bounded by one deadline.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

#include "platform/os/PortLocation.h"

struct TtyLineSettings {
    unsigned baudRate = 9600;
    int dataBits = 8;   // 5 to 8
    char parity = 'N';  // 'N', 'O' or 'E'
    int stopBits = 1;   // 1 or 2
    bool rtsCtsFlow = false;
    bool xonXoffFlow = false;
};

class TtyDevice {
public:
    // Opens `where` for reading and writing and checks it; nullptr when it may not be used.
    static std::unique_ptr<TtyDevice> Open(const PortLocation& where);
    ~TtyDevice();
    TtyDevice(const TtyDevice&) = delete;
    TtyDevice& operator=(const TtyDevice&) = delete;

    // Raw mode with these settings. False when the tty refuses them.
    bool Configure(const TtyLineSettings& settings);
    // Raises or lowers DTR and RTS. A pseudo-terminal has no modem lines: that is not a failure.
    bool SetModemLine(int line, bool raised);
    // Asks a USB adapter for low latency; a refusal is tolerated.
    void RequestLowLatency();
    bool Purge(bool receive, bool transmit);
    // Writes all bytes unless `timeoutMs` passes without progress; returns the count written.
    std::size_t Write(const void* data, std::size_t count, int timeoutMs);

    enum class ReadResult { Bytes, Nothing, Cancelled, HungUp };
    // Blocks until `count` bytes are in `buffer`, Cancel() is called or the device hangs up, and
    // says in `got` how many arrived (Bytes when any did; a cancel that comes after some stays
    // pending for the next read). While a reply is under way it sleeps through the wire time of
    // what is missing, at the configured rate, instead of waking for every byte; the last
    // millisecond of it is waited for on the line, so the read returns as the last byte arrives.
    // After a hang-up it only waits for the cancel: the device is gone, and the reader must not
    // spin.
    ReadResult Read(void* buffer, std::size_t count, std::size_t& got);
    // Releases a Read that is waiting, or the next one that starts.
    void Cancel();
    // Returns when `count` bytes have arrived, the time-out has passed, or the device is gone.
    std::size_t ReadFor(void* buffer, std::size_t count, int timeoutMs);

    bool HasHungUp() const { return m_hungUp.load(std::memory_order_acquire); }
    // Asks the terminal whether its device has hung up, without reading or writing: an idle link
    // whose device went away is noticed too. Then HasHungUp() stays true.
    bool ProbeHangUp();

private:
    TtyDevice(int fd, int cancelFd);
    void NoteHangUp() { m_hungUp.store(true, std::memory_order_release); }

    int m_fd;
    int m_cancelFd;
    long long m_byteNs = 0;  // the wire time of one character at the configured rate; 0: unknown
    std::atomic<bool> m_hungUp{false};
};
