// The serial link's calls into the port services, against a scripted port: what is called, in
// which order, with which arguments, and what a refusal leads to.
#include <gtest/gtest.h>

#include <time.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "link/SerialTransport.h"
#include "platform/os/SerialPortService.h"

namespace {

// A port whose reads deliver scripted bytes and then block until cancelled, like a real one.
class ScriptedPortService final : public SerialPortService {
public:
    ScriptedPortService() { SetSerialPortService(this); }
    ~ScriptedPortService() override { SetSerialPortService(nullptr); }

    HANDLE CreateFile(const char* name) override {
        Log("CreateFile " + std::string(name));
        return refuseOpen ? nullptr : &m_port;
    }
    BOOL SetCommState(HANDLE, const DCB& dcb) override {
        lastDcb = dcb;
        Log("SetCommState");
        return refuseSettings ? FALSE : TRUE;
    }
    BOOL PurgeComm(HANDLE, DWORD flags) override {
        Log("PurgeComm " + std::to_string(flags));
        return refusePurge ? FALSE : TRUE;
    }
    BOOL SetCommMask(HANDLE, DWORD mask) override {
        Log("SetCommMask " + std::to_string(mask));
        return TRUE;
    }
    BOOL EscapeCommFunction(HANDLE, DWORD function) override {
        Log("EscapeCommFunction " + std::to_string(function));
        return TRUE;
    }
    BOOL WriteFile(HANDLE, const void* data, DWORD count, DWORD* written) override {
        Log("WriteFile " + std::to_string(count));
        std::lock_guard<std::mutex> lock(m_mutex);
        const BYTE* bytes = static_cast<const BYTE*>(data);
        m_written.insert(m_written.end(), bytes, bytes + count);
        // The device answers once the request is out.
        m_pending.insert(m_pending.end(), answer.begin(), answer.end());
        *written = count;
        return TRUE;
    }
    BOOL ReadFile(HANDLE, void* buffer, DWORD, DWORD* read) override {
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_reads;
        m_wake.wait(lock, [this] { return !m_pending.empty() || m_cancels > 0; });
        if (m_cancels > 0) {
            m_cancels = 0;
            *read = 0;
            return FALSE;
        }
        *static_cast<BYTE*>(buffer) = m_pending.front();
        m_pending.pop_front();
        *read = 1;
        return TRUE;
    }
    BOOL CancelIoEx(HANDLE) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_cancels;
        m_wake.notify_all();
        return TRUE;
    }
    BOOL CloseHandle(HANDLE) override {
        Log("CloseHandle");
        return TRUE;
    }

    std::vector<std::string> Calls() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    void ClearCalls() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.clear();
    }
    int Reads() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_reads;
    }
    std::vector<BYTE> Written() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_written;
    }

    bool refuseOpen = false;
    bool refuseSettings = false;
    bool refusePurge = false;
    std::vector<BYTE> answer;
    DCB lastDcb;

private:
    void Log(const std::string& call) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(call);
    }
    int m_port = 0;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::string> m_calls;
    std::vector<BYTE> m_written;
    std::deque<BYTE> m_pending;
    int m_cancels = 0;
    int m_reads = 0;
};

class SerialTransportSequenceTest : public testing::Test {
protected:
    void TearDown() override { SerialClose(); }
    ScriptedPortService m_port;
};

TEST_F(SerialTransportSequenceTest, OpenNamesThePortAndAppliesTheLineInOrder) {
    ASSERT_TRUE(SerialOpen(7));
    EXPECT_TRUE(SerialIsOpen());
    EXPECT_EQ(m_port.Calls(), (std::vector<std::string>{
                                  "CreateFile \\\\.\\COM7", "SetCommState",
                                  "PurgeComm 15",          // both directions: abort and clear
                                  "SetCommMask 4",         // transmit empty
                                  "EscapeCommFunction 5",  // DTR up
                                  "EscapeCommFunction 3",  // then RTS up
                              }));
    const DCB& dcb = m_port.lastDcb;
    EXPECT_EQ(dcb.BaudRate, 115200u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_FALSE(dcb.fParity || dcb.fOutxCtsFlow || dcb.fOutxDsrFlow || dcb.fOutX || dcb.fInX ||
                 dcb.fErrorChar || dcb.fNull);
    EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_DISABLE);
    EXPECT_EQ(dcb.fRtsControl, RTS_CONTROL_DISABLE);
}

TEST_F(SerialTransportSequenceTest, HighestPortNumberFitsTheName) {
    ASSERT_TRUE(SerialOpen(256));
    const std::string prefix = "CreateFile ";
    const std::string call = m_port.Calls().front();
    EXPECT_EQ(call, prefix + "\\\\.\\COM256");
    EXPECT_EQ(call.size() - prefix.size(), 10u);
}

TEST_F(SerialTransportSequenceTest, OpeningAnotherPortClosesTheOneOpenFirst) {
    ASSERT_TRUE(SerialOpen(1));
    m_port.ClearCalls();
    ASSERT_TRUE(SerialOpen(2));
    const std::vector<std::string> calls = m_port.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "CloseHandle");
    EXPECT_EQ(calls[1], "CreateFile \\\\.\\COM2");
}

TEST_F(SerialTransportSequenceTest, RefusalsLeaveNoPortOpen) {
    struct Case {
        const char* name;
        bool open, settings, purge;
        std::vector<std::string> tail;  // the calls after CreateFile
    };
    const Case cases[] = {
        {"open", true, false, false, {}},
        {"settings", false, true, false, {"SetCommState", "CloseHandle"}},
        {"purge", false, false, true, {"SetCommState", "PurgeComm 15", "CloseHandle"}},
    };
    for (const Case& c : cases) {
        m_port.ClearCalls();
        m_port.refuseOpen = c.open;
        m_port.refuseSettings = c.settings;
        m_port.refusePurge = c.purge;
        EXPECT_FALSE(SerialOpen(3)) << c.name;
        EXPECT_FALSE(SerialIsOpen()) << c.name;
        std::vector<std::string> calls = m_port.Calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(std::vector<std::string>(calls.begin() + 1, calls.end()), c.tail) << c.name;
        DWORD count = 3;
        const BYTE request[] = {0x69};
        EXPECT_FALSE(SerialRequest(request, 1, nullptr, 10, &count, 50)) << c.name;
        EXPECT_EQ(count, 0u) << c.name;
    }
}

TEST_F(SerialTransportSequenceTest, RequestClearsReceiveBeforeOneWholeWrite) {
    ASSERT_TRUE(SerialOpen(1));
    m_port.ClearCalls();
    std::vector<BYTE> table(514, 0x5a);
    EXPECT_TRUE(SerialRequest(table.data(), 514, nullptr, 0, nullptr, 50));
    EXPECT_EQ(m_port.Calls(), (std::vector<std::string>{"PurgeComm 8", "WriteFile 514"}));
    EXPECT_EQ(m_port.Written(), table);
    EXPECT_EQ(m_port.Reads(), 0);  // no reply wanted: no reader
}

TEST_F(SerialTransportSequenceTest, ExcessBeyondTheBufferIsDropped) {
    ASSERT_TRUE(SerialOpen(1));
    m_port.answer.resize(1500);
    for (size_t i = 0; i < m_port.answer.size(); ++i) {
        m_port.answer[i] = static_cast<BYTE>(i);
    }
    std::vector<BYTE> reply(2000, 0xee);
    DWORD count = 0;
    const BYTE request[] = {0x69};
    EXPECT_TRUE(SerialRequest(request, 1, reply.data(), 2000, &count, 100));
    ASSERT_EQ(count, SERIAL_RX_CAPACITY);
    for (DWORD i = 0; i < count; ++i) {
        ASSERT_EQ(reply[i], static_cast<BYTE>(i)) << i;
    }
    EXPECT_EQ(reply[SERIAL_RX_CAPACITY], 0xee);
}

TEST_F(SerialTransportSequenceTest, EveryRequestStartsFromAnEmptyBuffer) {
    ASSERT_TRUE(SerialOpen(1));
    m_port.answer = {1, 2, 3, 4};
    BYTE reply[8] = {};
    DWORD count = 0;
    const BYTE request[] = {0x69};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(SerialRequest(request, 1, reply, 4, &count, 2000));
    EXPECT_EQ(count, 4u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000))
        << "a reply of exactly the asked length ends the wait at once";
    m_port.answer = {9};
    EXPECT_TRUE(SerialRequest(request, 1, reply, 8, &count, 30));
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(reply[0], 9);
}

// The wait for a reply sleeps: a silent device costs the requester next to no processor time,
// even on a machine so loaded that a spinning wait would get a fraction of a core.
TEST_F(SerialTransportSequenceTest, TheWaitForAReplySleeps) {
    ASSERT_TRUE(SerialOpen(1));
    BYTE reply[8];
    DWORD count = 0;
    const BYTE request[] = {0x69};
    timespec cpu0{}, cpu1{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(SerialRequest(request, 1, reply, 8, &count, 400));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu1);
    const double cpuMs = (cpu1.tv_sec - cpu0.tv_sec) * 1e3 + (cpu1.tv_nsec - cpu0.tv_nsec) / 1e6;
    EXPECT_LT(cpuMs, 30.0);
}

TEST_F(SerialTransportSequenceTest, NegativeTimeOutEndsTheWaitAtOnce) {
    ASSERT_TRUE(SerialOpen(1));
    BYTE reply[8];
    DWORD count = 5;
    const BYTE request[] = {0x69};
    EXPECT_TRUE(SerialRequest(request, 1, reply, 8, &count, -1));
    EXPECT_EQ(count, 0u);
}

}  // namespace
