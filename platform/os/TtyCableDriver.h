// The production cable driver: the cables are FTDI ttys that the kernel already drives (found in
// sysfs, described by their USB product string) and the emulated cables of the port folder.
// A handle is one opened tty with the read and write time-outs it was given.
#pragma once

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/os/CableDriver.h"
#include "platform/os/PortLocation.h"

struct TtyLineSettings;

class TtyCableDriver final : public CableDriver {
public:
    explicit TtyCableDriver(std::string sysfsRoot = "/sys", std::string devRoot = "/dev");
    ~TtyCableDriver() override;

    FT_STATUS CreateDeviceInfoList(DWORD* count) override;
    FT_STATUS GetDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id, DWORD* locId,
                                  char serialNumber[FT_SERIAL_SIZE],
                                  char description[FT_DESCRIPTION_SIZE],
                                  FT_HANDLE* handle) override;
    FT_STATUS Open(int index, FT_HANDLE* handle) override;
    FT_STATUS SetBaudRate(FT_HANDLE handle, DWORD baud) override;
    FT_STATUS SetDataCharacteristics(FT_HANDLE handle, BYTE wordLength, BYTE stopBits,
                                     BYTE parity) override;
    FT_STATUS SetFlowControl(FT_HANDLE handle, WORD flowControl, BYTE xon, BYTE xoff) override;
    FT_STATUS SetTimeouts(FT_HANDLE handle, DWORD readMs, DWORD writeMs) override;
    FT_STATUS SetUSBParameters(FT_HANDLE handle, DWORD inSize, DWORD outSize) override;
    FT_STATUS Read(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* bytesRead) override;
    FT_STATUS Write(FT_HANDLE handle, const void* buffer, DWORD toWrite,
                    DWORD* bytesWritten) override;
    FT_STATUS GetStatus(FT_HANDLE handle) override;
    FT_STATUS Close(FT_HANDLE handle) override;
    std::string PortName(DWORD index) override;

    // Flow-control modes as the driver library numbers them.
    static constexpr WORD kFlowNone = 0x0000;
    static constexpr WORD kFlowRtsCts = 0x0100;
    static constexpr WORD kFlowXonXoff = 0x0400;

private:
    struct Cable;
    Cable* Find(FT_HANDLE handle);
    FT_STATUS Apply(Cable* cable, const TtyLineSettings& wanted);

    std::string m_sysfsRoot;
    std::string m_devRoot;
    std::mutex m_mutex;
    std::vector<PortLocation> m_list;  // as of the last CreateDeviceInfoList
    std::set<Cable*> m_open;
};

// The production driver instance behind CurrentCableDriver().
CableDriver& ProductionCableDriver();
