#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>

#include "emulator/DimmerEmulator.h"
#include "link/DeviceProtocol.h"
#include "link/SerialTransport.h"
#include "platform/os/SerialPortService.h"
#include "tests/support/RecordingCableDriver.h"

namespace {

using Bytes = std::vector<BYTE>;

// A serial port whose far end is a dimmer model: every write is kept, replies are read back one
// byte at a time by the transport's reader thread, and a cancel releases a waiting read.
class FakeSerialPorts final : public SerialPortService {
public:
    explicit FakeSerialPorts(DeviceResponder* device) : m_device(device) {
        SetSerialPortService(this);
    }
    ~FakeSerialPorts() override { SetSerialPortService(nullptr); }

    std::vector<Bytes> Writes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_writes;
    }

    HANDLE CreateFile(const char*) override { return &m_tag; }
    BOOL SetCommState(HANDLE, const DCB&) override { return TRUE; }
    BOOL PurgeComm(HANDLE, DWORD flags) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (flags & PURGE_RXCLEAR) {
            m_input.clear();
        }
        return TRUE;
    }
    BOOL SetCommMask(HANDLE, DWORD) override { return TRUE; }
    BOOL EscapeCommFunction(HANDLE, DWORD) override { return TRUE; }
    BOOL WriteFile(HANDLE, const void* data, DWORD count, DWORD* written) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        const BYTE* bytes = static_cast<const BYTE*>(data);
        m_writes.emplace_back(bytes, bytes + count);
        if (m_device) {
            const DeviceReply reply = m_device->OnReceive(bytes, count);
            m_input.insert(m_input.end(), reply.bytes.begin(), reply.bytes.end());
            m_changed.notify_all();
        }
        *written = count;
        return TRUE;
    }
    BOOL ReadFile(HANDLE, void* buffer, DWORD count, DWORD* read) override {
        std::unique_lock<std::mutex> lock(m_mutex);
        *read = 0;
        m_changed.wait(lock, [&] { return m_cancelled || !m_input.empty(); });
        if (m_cancelled) {
            m_cancelled = false;
            return FALSE;
        }
        if (count > 0) {
            *static_cast<BYTE*>(buffer) = m_input.front();
            m_input.pop_front();
            *read = 1;
        }
        return TRUE;
    }
    BOOL CancelIoEx(HANDLE) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled = true;
        m_changed.notify_all();
        return TRUE;
    }
    BOOL CloseHandle(HANDLE) override { return TRUE; }

private:
    DeviceResponder* m_device;
    int m_tag = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<BYTE> m_input;
    std::vector<Bytes> m_writes;
    bool m_cancelled = false;
};

class DeviceProtocolSerialTest : public ::testing::Test {
protected:
    void TearDown() override { SerialClose(); }

    RecordingTimeService time;
    DimmerEmulator dimmer{*FindDimmerModel("t5qm")};
    FakeSerialPorts ports{&dimmer};

    static std::array<WORD, TABLE_ENTRIES> Ramp() {
        std::array<WORD, TABLE_ENTRIES> table{};
        for (int i = 0; i < TABLE_ENTRIES; ++i) {
            table[static_cast<std::size_t>(i)] = static_cast<WORD>(0x0102 + 255 * i);
        }
        return table;
    }
};

TEST_F(DeviceProtocolSerialTest, TableWriteIsOneRequestOf514BytesThenOneSecond) {
    ASSERT_TRUE(SerialOpen(1));
    const auto table = Ramp();
    time.Clear();
    EXPECT_TRUE(SerialWriteTable(CMD_WRITE_TABLE_B, 0, table.data()));
    const auto writes = ports.Writes();
    ASSERT_EQ(writes.size(), 1u);
    ASSERT_EQ(writes[0].size(), 514u);
    EXPECT_EQ(writes[0][0], CMD_WRITE_TABLE_B);
    EXPECT_EQ(writes[0][1], 0x00);
    EXPECT_EQ(writes[0][2], 0x02);  // entry 0 = 0x0102, low byte first
    EXPECT_EQ(writes[0][3], 0x01);
    EXPECT_EQ(time.Pauses(), std::vector<DWORD>{1000});
    EXPECT_EQ(dimmer.Snapshot().tables[0], table);
}

TEST_F(DeviceProtocolSerialTest, TableReadBackAndShortReply) {
    ASSERT_TRUE(SerialOpen(1));
    const auto table = Ramp();
    SerialWriteTable(CMD_WRITE_TABLE_B, 8, table.data());
    WORD back[TABLE_ENTRIES] = {};
    EXPECT_EQ(SerialReadTable(8, back), TABLE_IMAGE_SIZE);
    EXPECT_TRUE(std::equal(table.begin(), table.end(), back));
    EXPECT_EQ(ports.Writes().back(), (Bytes{CMD_READ_TABLE, 8}));

    dimmer.SetFault(DimmerFault::ShortReplies);
    WORD untouched[TABLE_ENTRIES] = {};
    EXPECT_EQ(SerialReadTable(8, untouched), TABLE_IMAGE_SIZE - 1);
    EXPECT_TRUE(
        std::all_of(std::begin(untouched), std::end(untouched), [](WORD w) { return w == 0; }));
}

TEST_F(DeviceProtocolSerialTest, IdentifyGivesTheTextOrNothing) {
    ASSERT_TRUE(SerialOpen(1));
    DWORD count = 99;
    EXPECT_EQ(SerialIdentify(&count), FindDimmerModel("t5qm")->identifyText);
    EXPECT_EQ(count, std::strlen(FindDimmerModel("t5qm")->identifyText) + 1);
    EXPECT_EQ(ports.Writes().back(), Bytes{CMD_IDENTIFY});

    dimmer.SetFault(DimmerFault::Silent);
    EXPECT_EQ(SerialIdentify(&count), "");
    EXPECT_EQ(count, 0u);
}

TEST_F(DeviceProtocolSerialTest, LevelGoesToEveryOpenLinkFollowedByOnePause) {
    ASSERT_TRUE(SerialOpen(1));
    RecordingCableDriver cable(&time);
    time.Clear();
    EXPECT_TRUE(SendOutputLevel(cable.OpenedHandle(), 8, 0x1234));
    EXPECT_EQ(ports.Writes().back(), (Bytes{0xb8, 0x34, 0x12}));
    EXPECT_EQ(cable.Writes(), std::vector<Bytes>{(Bytes{0xb8, 0x34, 0x12})});
    EXPECT_EQ(time.Pauses(), std::vector<DWORD>{10});
    EXPECT_EQ(dimmer.Snapshot().levels[8], 0x1234);
}

TEST_F(DeviceProtocolSerialTest, OutputIndexOutsideTheTwelveSendsNothing) {
    ASSERT_TRUE(SerialOpen(1));
    const auto table = Ramp();
    WORD back[TABLE_ENTRIES] = {};
    EXPECT_FALSE(SendOutputLevel(nullptr, 12, 5));
    EXPECT_FALSE(SendOutputLevel(nullptr, -1, 5));
    EXPECT_FALSE(SerialWriteTable(CMD_WRITE_TABLE_B, 12, table.data()));
    EXPECT_EQ(SerialReadTable(200, back), 0u);
    EXPECT_TRUE(ports.Writes().empty());
}

TEST_F(DeviceProtocolSerialTest, NothingIsSentWithoutAPort) {
    const auto table = Ramp();
    WORD back[TABLE_ENTRIES] = {};
    DWORD count = 99;
    EXPECT_FALSE(SerialWriteTable(CMD_WRITE_TABLE_B, 0, table.data()));
    EXPECT_EQ(SerialReadTable(0, back), 0u);
    EXPECT_EQ(SerialIdentify(&count), "");
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(SendOutputLevel(nullptr, 0, 1));
    EXPECT_TRUE(ports.Writes().empty());
    EXPECT_EQ(time.Pauses(), std::vector<DWORD>{10});
}

}  // namespace
