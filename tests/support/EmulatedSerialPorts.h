// A serial-port service for tests: COM ports that exist only where a test attached a device
// responder (a dimmer emulator), no real tty touched. A write hands the bytes to the device at
// once and its reply becomes readable; reads block until bytes or a cancel arrive, like a real
// port. A reply delayed past a request's 50 ms window arrives only after that request has given
// up: at the port's next purge or write. A device that hangs up leaves the port gone: its last
// bytes can still be read, then reads fail. Every CreateFile name is recorded. Installs itself
// while it lives.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "emulator/DeviceResponder.h"
#include "link/DeviceCommands.h"
#include "platform/os/SerialPortService.h"

class EmulatedSerialPorts final : public SerialPortService {
public:
    EmulatedSerialPorts() { SetSerialPortService(this); }
    ~EmulatedSerialPorts() override { SetSerialPortService(nullptr); }
    EmulatedSerialPorts(const EmulatedSerialPorts&) = delete;
    EmulatedSerialPorts& operator=(const EmulatedSerialPorts&) = delete;

    void Attach(int comNumber, DeviceResponder* device) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_devices[comNumber] = device;
    }
    // The device is pulled out: the port no longer opens, and an open port on it is gone.
    void Detach(int comNumber) {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_devices.find(comNumber);
        if (it == m_devices.end()) {
            return;
        }
        if (m_device == it->second) {
            m_hungUp = true;
            m_wake.notify_all();
        }
        m_devices.erase(it);
    }
    std::vector<std::string> OpenedNames() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_opened;
    }
    // Bytes written to the port that is open now, or was open last.
    std::vector<BYTE> Written() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_written;
    }
    int OpenCount() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_openCount;
    }

    HANDLE CreateFile(const char* name) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_opened.push_back(name);
        int number = 0;
        if (std::sscanf(name, "\\\\.\\COM%d", &number) != 1 || !m_devices.count(number)) {
            return nullptr;
        }
        m_device = m_devices[number];
        m_pending.clear();
        m_late.clear();
        m_hungUp = false;
        m_written.clear();
        ++m_openCount;
        return &m_device;
    }
    BOOL SetCommState(HANDLE, const DCB&) override { return TRUE; }
    BOOL PurgeComm(HANDLE, DWORD flags) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ArriveLate();
        if (flags & PURGE_RXCLEAR) {
            m_pending.clear();
        }
        return TRUE;
    }
    BOOL SetCommMask(HANDLE, DWORD) override { return TRUE; }
    BOOL EscapeCommFunction(HANDLE, DWORD) override { return TRUE; }
    BOOL WriteFile(HANDLE, const void* data, DWORD count, DWORD* written) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        const BYTE* bytes = static_cast<const BYTE*>(data);
        m_written.insert(m_written.end(), bytes, bytes + count);
        ArriveLate();
        if (m_device && !m_hungUp) {
            const DeviceReply reply = m_device->OnReceive(bytes, count);
            const bool late = reply.delayMs >= static_cast<unsigned>(SERIAL_REPLY_TIMEOUT_MS);
            std::deque<BYTE>& to = late ? m_late : m_pending;
            to.insert(to.end(), reply.bytes.begin(), reply.bytes.end());
            m_hungUp = reply.hangUp;
        }
        m_wake.notify_all();
        *written = count;
        return TRUE;
    }
    BOOL ReadFile(HANDLE, void* buffer, DWORD count, DWORD* read) override {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_wake.wait(lock, [this] { return !m_pending.empty() || m_cancels > 0 || m_hungUp; });
        if (m_cancels > 0 || m_pending.empty()) {
            m_cancels = 0;
            *read = 0;
            return FALSE;
        }
        DWORD n = 0;
        BYTE* out = static_cast<BYTE*>(buffer);
        while (n < count && !m_pending.empty()) {
            out[n++] = m_pending.front();
            m_pending.pop_front();
        }
        *read = n;
        return TRUE;
    }
    BOOL HasHungUp(HANDLE) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_hungUp ? TRUE : FALSE;
    }
    BOOL CancelIoEx(HANDLE) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_cancels;
        m_wake.notify_all();
        return TRUE;
    }
    BOOL CloseHandle(HANDLE) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_device = nullptr;
        return TRUE;
    }

private:
    void ArriveLate() {  // caller holds m_mutex
        m_pending.insert(m_pending.end(), m_late.begin(), m_late.end());
        m_late.clear();
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<int, DeviceResponder*> m_devices;
    DeviceResponder* m_device = nullptr;
    std::deque<BYTE> m_pending;
    std::deque<BYTE> m_late;  // replies the current request no longer collects
    bool m_hungUp = false;
    std::vector<BYTE> m_written;
    std::vector<std::string> m_opened;
    int m_openCount = 0;
    int m_cancels = 0;
};
