#include "link/SerialTransport.h"

#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <cstdio>

#include "platform/os/SerialPortService.h"
#include "platform/os/TimeService.h"

namespace {

// Module state. One writer each: the requester owns portHandle, readerPort and readerRun; the
// reader owns rxBuffer, rxCount (except the reset before it starts) and readerRunning.
HANDLE portHandle = nullptr;
HANDLE readerPort = nullptr;
BYTE rxBuffer[SERIAL_RX_CAPACITY];
std::atomic<DWORD> rxCount{0};
std::atomic<bool> readerRun{false};
std::atomic<bool> readerRunning{false};
std::atomic<bool> readerGone{false};  // the reader saw the device hang up

void* SerialReaderThread(void*) {
    SerialPortService& port = CurrentSerialPortService();
    readerRunning.store(true, std::memory_order_release);
    while (readerRun.load(std::memory_order_acquire)) {
        if (readerPort == nullptr) {
            break;
        }
        BYTE byte = 0;
        DWORD read = 0;
        if (port.ReadFile(readerPort, &byte, 1, &read) && read == 1) {
            DWORD count = rxCount.load(std::memory_order_relaxed);
            if (count < SERIAL_RX_CAPACITY) {
                rxBuffer[count] = byte;
                // The byte is stored before the count that makes it visible.
                rxCount.store(count + 1, std::memory_order_release);
            }
        } else if (port.HasHungUp(readerPort)) {
            readerGone.store(true, std::memory_order_release);  // nothing more will come
            break;
        }
        // A failed or cancelled read goes round again; readerRun decides whether to stop.
    }
    readerRunning.store(false, std::memory_order_release);
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
    readerGone.store(false, std::memory_order_relaxed);
    readerRun.store(true, std::memory_order_release);
    readerRunning.store(false, std::memory_order_release);
    if (!StartReader()) {
        readerRun.store(false, std::memory_order_release);
        return true;  // no reader, no reply: like a silent device
    }
    // A reader that met a hang-up may have ended before this loop first looks: its end counts too.
    while (!readerRunning.load(std::memory_order_acquire) &&
           !readerGone.load(std::memory_order_acquire)) {
        sched_yield();  // no sleep: only lets a reader queued on this core run at once
    }

    LONGLONG frequency = 0;
    LONGLONG start = 0;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    Sleep(1);
    const LONGLONG limit = static_cast<LONGLONG>(timeoutMs);
    for (;;) {
        LONGLONG now = 0;
        QueryPerformanceCounter(&now);
        if (rxCount.load(std::memory_order_acquire) >= replyCapacity ||
            readerGone.load(std::memory_order_acquire)) {
            break;
        }
        LONGLONG elapsedMs = (now - start) * 1000 / frequency;
        if (elapsedMs >= limit) {
            break;
        }
    }

    // A reader that enters its blocking read just after a cancel is released by the next one.
    do {
        readerRun.store(false, std::memory_order_release);
        port.CancelIoEx(readerPort);
        if (readerRunning.load(std::memory_order_acquire)) {
            sched_yield();
        }
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
