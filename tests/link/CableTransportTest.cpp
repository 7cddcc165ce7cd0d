// Finding and opening the cable, against a small scripted driver.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/CableTransport.h"

namespace {

class FakeCableDriver final : public CableDriver {
public:
    explicit FakeCableDriver(std::vector<std::string> descriptions)
        : m_descriptions(std::move(descriptions)) {
        SetCableDriver(this);
    }
    ~FakeCableDriver() override { SetCableDriver(nullptr); }

    FT_STATUS CreateDeviceInfoList(DWORD* count) override {
        calls.push_back("CreateDeviceInfoList");
        *count = static_cast<DWORD>(m_descriptions.size());
        return FT_OK;
    }
    FT_STATUS GetDeviceInfoDetail(DWORD index, DWORD*, DWORD*, DWORD*, DWORD*,
                                  char serialNumber[FT_SERIAL_SIZE],
                                  char description[FT_DESCRIPTION_SIZE], FT_HANDLE*) override {
        calls.push_back("GetDeviceInfoDetail " + std::to_string(index));
        std::strncpy(serialNumber, "FT0001", FT_SERIAL_SIZE);
        // Copies up to the whole buffer: a description of 64 characters has no room for its end.
        std::strncpy(description, m_descriptions[index].c_str(), FT_DESCRIPTION_SIZE);
        return FT_OK;
    }
    FT_STATUS Open(int index, FT_HANDLE* handle) override {
        calls.push_back("Open " + std::to_string(index));
        *handle = openStatus == FT_OK ? &m_device : reinterpret_cast<FT_HANDLE>(0x1);
        return openStatus;
    }
    FT_STATUS SetBaudRate(FT_HANDLE h, DWORD baud) override {
        return Record(h, "SetBaudRate " + std::to_string(baud));
    }
    FT_STATUS SetDataCharacteristics(FT_HANDLE h, BYTE bits, BYTE stop, BYTE parity) override {
        return Record(h, "SetDataCharacteristics " + std::to_string(bits) + " " +
                             std::to_string(stop) + " " + std::to_string(parity));
    }
    FT_STATUS SetFlowControl(FT_HANDLE h, WORD mode, BYTE xon, BYTE xoff) override {
        return Record(h, "SetFlowControl " + std::to_string(mode) + " " + std::to_string(xon) +
                             " " + std::to_string(xoff));
    }
    FT_STATUS SetTimeouts(FT_HANDLE h, DWORD readMs, DWORD writeMs) override {
        return Record(h, "SetTimeouts " + std::to_string(readMs) + " " + std::to_string(writeMs));
    }
    FT_STATUS SetUSBParameters(FT_HANDLE h, DWORD in, DWORD out) override {
        return Record(h, "SetUSBParameters " + std::to_string(in) + " " + std::to_string(out));
    }
    FT_STATUS Read(FT_HANDLE h, void* buffer, DWORD toRead, DWORD* read) override {
        Record(h, "Read " + std::to_string(toRead));
        std::memset(buffer, 0xab, toRead < 3 ? toRead : 3);
        *read = readReport;
        return FT_OK;
    }
    FT_STATUS Write(FT_HANDLE h, const void*, DWORD toWrite, DWORD* written) override {
        Record(h, "Write " + std::to_string(toWrite));
        *written = toWrite;
        return FT_IO_ERROR;  // ignored by the transport
    }

    std::vector<std::string> calls;
    FT_STATUS openStatus = FT_OK;
    DWORD readReport = 3;
    int m_device = 0;

private:
    FT_STATUS Record(FT_HANDLE h, const std::string& call) {
        calls.push_back(call);
        return h == &m_device ? FT_OK : FT_INVALID_HANDLE;
    }
    std::vector<std::string> m_descriptions;
};

const std::string kCable = "QELVORN-Configuration-Cable";

TEST(CableTransportTest, MatchingRules) {
    struct Case {
        std::vector<std::string> descriptions;
        int opened;  // index opened, -1 for none
    };
    const Case cases[] = {
        {{kCable}, 0},
        {{kCable + " "}, -1},  // one character more
        {{kCable + "X", "USB Serial"}, -1},
        {{"QELVORN-configuration-cable"}, -1},  // case matters
        {{"qelvorn-configuration-cable"}, -1},
        {{"QELVORN-Configuration-Cabl"}, -1},  // one character less
        {{"USB Serial", "Dimmer KAV5806 rev 2"}, 1},
        {{"KAV5806"}, 0},
        {{"kav5806"}, -1},
        {{"USB <-> Serial", kCable, "KAV5806"}, 1},  // the lower index wins
        {{"KAV5806", kCable}, 0},
        {{}, -1},
        {{std::string(80, 'K')}, -1},             // longer than the buffer: still ends inside it
        {{std::string(56, '-') + "KAV5806"}, 0},  // the longest text that fits
    };
    for (const Case& c : cases) {
        FakeCableDriver driver(c.descriptions);
        FT_HANDLE handle = reinterpret_cast<FT_HANDLE>(0x99);
        FT_STATUS status = 12345;
        CString matched = "previous";
        bool found = CableFindAndOpen(handle, status, matched);
        std::string label = c.descriptions.empty() ? "(none)" : c.descriptions.back();
        EXPECT_EQ(found, c.opened >= 0) << label;
        std::vector<std::string> details;
        int examined = c.opened >= 0 ? c.opened + 1 : static_cast<int>(c.descriptions.size());
        std::vector<std::string> expected{"CreateDeviceInfoList"};
        for (int i = 0; i < examined; ++i) {
            expected.push_back("GetDeviceInfoDetail " + std::to_string(i));
        }
        if (c.opened < 0) {
            EXPECT_EQ(handle, nullptr) << label;
            EXPECT_EQ(driver.calls, expected) << label;
            continue;
        }
        EXPECT_EQ(handle, &driver.m_device) << label;
        EXPECT_EQ(status, FT_OK) << label;
        EXPECT_EQ(std::string(matched.GetString()), c.descriptions[static_cast<size_t>(c.opened)])
            << label;
        ASSERT_GE(driver.calls.size(), expected.size() + 1);
        EXPECT_EQ(
            std::vector<std::string>(driver.calls.begin(), driver.calls.begin() + expected.size()),
            expected)
            << label;
        EXPECT_EQ(driver.calls[expected.size()], "Open " + std::to_string(c.opened)) << label;
    }
}

TEST(CableTransportTest, SettingsAreAppliedInOrderAfterTheOpen) {
    FakeCableDriver driver({"USB Serial", kCable});
    FT_HANDLE handle = nullptr;
    FT_STATUS status = 1;
    CString matched;
    ASSERT_TRUE(CableFindAndOpen(handle, status, matched));
    EXPECT_EQ(driver.calls, (std::vector<std::string>{
                                "CreateDeviceInfoList",
                                "GetDeviceInfoDetail 0",
                                "GetDeviceInfoDetail 1",
                                "Open 1",
                                "SetBaudRate 19200",
                                "SetDataCharacteristics 8 0 0",
                                "SetFlowControl 0 0 0",
                                "SetTimeouts 250 250",
                                "SetUSBParameters 64 64",
                            }));
    EXPECT_TRUE(CableIsOpen(handle));
}

TEST(CableTransportTest, FailedOpenLeavesNoCableButReportsTheMatch) {
    FakeCableDriver driver({kCable});
    driver.openStatus = FT_DEVICE_NOT_OPENED;
    FT_HANDLE handle = nullptr;
    FT_STATUS status = FT_OK;
    CString matched;
    EXPECT_TRUE(CableFindAndOpen(handle, status, matched));
    EXPECT_EQ(handle, nullptr);
    EXPECT_FALSE(CableIsOpen(handle));
    EXPECT_EQ(status, FT_DEVICE_NOT_OPENED);
    EXPECT_EQ(driver.calls.back(), "Open 0");  // nothing configured
}

TEST(CableTransportTest, ReadAndWriteAreOneDriverCallEach) {
    FakeCableDriver driver({kCable});
    FT_HANDLE handle = nullptr;
    FT_STATUS status = 1;
    CString matched;
    ASSERT_TRUE(CableFindAndOpen(handle, status, matched));
    driver.calls.clear();
    const BYTE command[] = {0xf4, 0x02};
    CableWrite(handle, command, 2);
    BYTE buffer[512] = {};
    EXPECT_EQ(CableRead(handle, buffer, 512), 3u);
    EXPECT_EQ(buffer[2], 0xab);
    // A driver that reports more than was asked for cannot make a caller overrun its buffer.
    driver.readReport = 900;
    EXPECT_EQ(CableRead(handle, buffer, 100), 100u);
    EXPECT_EQ(driver.calls, (std::vector<std::string>{"Write 2", "Read 512", "Read 100"}));
    EXPECT_FALSE(CableIsOpen(nullptr));
}

}  // namespace
