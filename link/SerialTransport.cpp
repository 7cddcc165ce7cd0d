#include "link/SerialTransport.h"

#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "platform/os/SerialPortService.h"
#include "platform/os/TimeService.h"

namespace {

using Clock = std::chrono::steady_clock;

// How long the stop waits for the reader to leave its loop before it cancels again.
constexpr std::chrono::milliseconds kCancelRepeat{1};

// Module state. One writer each: the requester owns portHandle, readerPort, readerRun and
// rxWanted; the reader owns rxBuffer, rxCount (except the reset before it starts) and
// readerRunning.
HANDLE portHandle = nullptr;
HANDLE readerPort = nullptr;
BYTE rxBuffer[SERIAL_RX_CAPACITY];
std::atomic<DWORD> rxCount{0};
std::atomic<DWORD> rxWanted{0};  // the count that completes the reply under way
std::atomic<bool> readerRun{false};
std::atomic<bool> readerRunning{false};
std::atomic<bool> readerGone{false};  // the reader saw the device hang up

// The requester sleeps while it waits for the reader, instead of spinning: the reader rings when
// it has news (it runs, the reply is complete, the device hung up, it left its loop). The shared
// values stay atomics; the lock only makes sure that a ring between the requester's look and its
// wait is not missed. Never destroyed: a reader rings once more after it has said that it stopped,
// possibly while the process ends.
struct Bell {
    std::mutex mutex;
    std::condition_variable rung;
};
Bell& TheBell() {
    static Bell* bell = new Bell;
    return *bell;
}

void Ring() {
    Bell& bell = TheBell();
    std::unique_lock<std::mutex> lock(bell.mutex);
    lock.unlock();
    bell.rung.notify_one();
}

// Sleeps until `news` holds or `deadline` has passed.
template <class News>
void AwaitReader(Clock::time_point deadline, News news) {
    Bell& bell = TheBell();
    std::unique_lock<std::mutex> lock(bell.mutex);
    bell.rung.wait_until(lock, deadline, news);
}

template <class News>
void AwaitReader(News news) {
    Bell& bell = TheBell();
    std::unique_lock<std::mutex> lock(bell.mutex);
    bell.rung.wait(lock, news);
}

// Performance-counter ticks as nanoseconds, rounded up, without overflowing for long time-outs.
LONGLONG TicksToNs(LONGLONG ticks, LONGLONG frequency) {
    constexpr LONGLONG kNsPerSecond = 1000000000;
    return ticks / frequency * kNsPerSecond +
           ((ticks % frequency) * kNsPerSecond + frequency - 1) / frequency;
}

void* SerialReaderThread(void*) {
    SerialPortService& port = CurrentSerialPortService();
    readerRunning.store(true, std::memory_order_release);
    Ring();
    while (readerRun.load(std::memory_order_acquire)) {
        if (readerPort == nullptr) {
            break;
        }
        // Straight into the buffer, as much as is still wanted and fits; once it is full, bytes are
        // dropped.
        const DWORD count = rxCount.load(std::memory_order_relaxed);
        const DWORD wanted = rxWanted.load(std::memory_order_relaxed);
        BYTE scratch[64];
        BYTE* into = count < SERIAL_RX_CAPACITY ? rxBuffer + count : scratch;
        const DWORD room = count < SERIAL_RX_CAPACITY ? SERIAL_RX_CAPACITY - count : sizeof scratch;
        DWORD read = 0;
        port.ReadFile(readerPort, into,
                      wanted > count && wanted - count < room ? wanted - count : room, &read);
        if (read > 0) {
            if (into != scratch) {
                // The bytes are stored before the count that makes them visible.
                rxCount.store(count + read, std::memory_order_release);
                if (count < wanted && count + read >= wanted) {
                    Ring();
                }
            }
        } else if (port.HasHungUp(readerPort)) {
            readerGone.store(true, std::memory_order_release);  // nothing more will come
            Ring();
            break;
        }
        // A failed or cancelled read goes round again; readerRun decides whether to stop.
    }
    readerRunning.store(false, std::memory_order_release);
    Ring();
    return nullptr;
}

bool StartReader() {
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) {
        return false;
    }
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    bool started = pthread_create(&thread, &attr, SerialReaderThread, nullptr) == 0;
    pthread_attr_destroy(&attr);
    return started;
}

}  // namespace

bool SerialOpen(int portNumber) {
    // One port at a time: a port still open would otherwise stay held until the program ends.
    SerialClose();
    SerialPortService& port = CurrentSerialPortService();
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", portNumber);
    portHandle = port.CreateFile(name);
    if (portHandle == nullptr) {
        return false;
    }
    DCB dcb;
    dcb.BaudRate = SERIAL_BAUD_RATE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    if (!port.SetCommState(portHandle, dcb) ||
        !port.PurgeComm(portHandle,
                        PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)) {
        port.CloseHandle(portHandle);
        portHandle = nullptr;
        return false;
    }
    port.SetCommMask(portHandle, EV_TXEMPTY);
    port.EscapeCommFunction(portHandle, SETDTR);
    port.EscapeCommFunction(portHandle, SETRTS);
    return true;
}

bool SerialRequest(const BYTE* request, DWORD requestLength, BYTE* reply, DWORD replyCapacity,
                   DWORD* replyCount, LONG timeoutMs) {
    if (replyCount != nullptr) {
        *replyCount = 0;
    }
    if (portHandle == nullptr) {
        return false;
    }
    SerialPortService& port = CurrentSerialPortService();
    if (port.HasHungUp(portHandle)) {
        return true;  // the device is gone: unanswered at once
    }
    readerPort = portHandle;
    // Cleared before the write, never after: a reply that starts before the reader runs waits
    // in the driver and is still collected.
    port.PurgeComm(readerPort, PURGE_RXCLEAR);
    DWORD written = 0;
    port.WriteFile(readerPort, request, requestLength, &written);
    if (replyCapacity == 0) {
        return true;
    }

    rxCount.store(0, std::memory_order_relaxed);
    rxWanted.store(replyCapacity, std::memory_order_relaxed);
    readerGone.store(false, std::memory_order_relaxed);
    readerRun.store(true, std::memory_order_release);
    readerRunning.store(false, std::memory_order_release);
    if (!StartReader()) {
        readerRun.store(false, std::memory_order_release);
        return true;  // no reader, no reply: like a silent device
    }
    // A reader that met a hang-up may have ended before this wait first looks: its end counts too.
    AwaitReader([] {
        return readerRunning.load(std::memory_order_acquire) ||
               readerGone.load(std::memory_order_acquire);
    });

    LONGLONG frequency = 0;
    LONGLONG start = 0;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    Sleep(1);
    const LONGLONG limit = static_cast<LONGLONG>(timeoutMs);
    // The first count of the performance counter at which the elapsed milliseconds reach the
    // time-out.
    const LONGLONG limitTicks = (limit * frequency + 999) / 1000;
    const auto replyDone = [replyCapacity] {
        return rxCount.load(std::memory_order_acquire) >= replyCapacity ||
               readerGone.load(std::memory_order_acquire);
    };
    for (;;) {
        LONGLONG now = 0;
        QueryPerformanceCounter(&now);
        if (replyDone()) {
            break;
        }
        LONGLONG elapsedMs = (now - start) * 1000 / frequency;
        if (elapsedMs >= limit) {
            break;
        }
        // Asleep until the reply is complete or the time-out is due; the counter then decides.
        const LONGLONG leftNs = TicksToNs(limitTicks - (now - start), frequency);
        AwaitReader(Clock::now() + std::chrono::nanoseconds(leftNs), replyDone);
    }

    // A reader that enters its blocking read just after a cancel is released by the next one.
    do {
        readerRun.store(false, std::memory_order_release);
        port.CancelIoEx(readerPort);
        AwaitReader(Clock::now() + kCancelRepeat,
                    [] { return !readerRunning.load(std::memory_order_acquire); });
    } while (readerRunning.load(std::memory_order_acquire));

    // A reader that woke late has left bytes in the driver that arrived in time: take them
    // without waiting. The reader has stopped, so the buffer is ours.
    DWORD collected = rxCount.load(std::memory_order_acquire);
    const DWORD wanted = replyCapacity < SERIAL_RX_CAPACITY ? replyCapacity : SERIAL_RX_CAPACITY;
    if (collected < wanted) {
        DWORD more = 0;
        port.ReadAvailable(readerPort, rxBuffer + collected, wanted - collected, &more);
        rxCount.store(collected + (more <= wanted - collected ? more : 0),
                      std::memory_order_release);
    }

    if (reply != nullptr && replyCount != nullptr) {
        *replyCount = 0;
        DWORD available = rxCount.load(std::memory_order_acquire);
        for (DWORD i = 0; i < available && i < replyCapacity; ++i) {
            reply[i] = rxBuffer[i];
            ++*replyCount;
        }
    }
    return true;
}

void SerialDrain(DWORD quietMs, DWORD limitMs) {
    if (portHandle == nullptr) {
        return;
    }
    SerialPortService& port = CurrentSerialPortService();
    LONGLONG frequency = 1;
    LONGLONG start = 0;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    LONGLONG lastByte = start;
    for (;;) {
        BYTE scratch[64];
        DWORD got = 0;
        port.ReadAvailable(portHandle, scratch, sizeof scratch, &got);
        LONGLONG now = 0;
        QueryPerformanceCounter(&now);
        if (got > 0) {
            lastByte = now;
        }
        if (port.HasHungUp(portHandle) ||
            (now - lastByte) * 1000 >= static_cast<LONGLONG>(quietMs) * frequency ||
            (now - start) * 1000 >= static_cast<LONGLONG>(limitMs) * frequency) {
            return;
        }
        sched_yield();
    }
}

void SerialClose() {
    if (portHandle != nullptr) {
        CurrentSerialPortService().CloseHandle(portHandle);
    }
    portHandle = nullptr;
}

bool SerialIsOpen() {
    return portHandle != nullptr;
}

bool SerialIsGone() {
    return portHandle != nullptr && CurrentSerialPortService().HasHungUp(portHandle);
}
