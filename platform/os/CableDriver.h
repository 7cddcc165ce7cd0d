// The configuration cable's driver: the roles of the vendor's USB-serial driver library that the
// cable transport uses, each a method with the library's arguments. Status 0 means success.
// The production driver works on FTDI ttys found in sysfs and on emulated cables; tests install
// a recording driver.
#pragma once

#include <string>

#include "platform/os/WinTypes.h"

using FT_HANDLE = void*;
using FT_STATUS = DWORD;

constexpr FT_STATUS FT_OK = 0;
constexpr FT_STATUS FT_INVALID_HANDLE = 1;
constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
constexpr FT_STATUS FT_IO_ERROR = 4;

constexpr int FT_DESCRIPTION_SIZE = 64;
constexpr int FT_SERIAL_SIZE = 16;

class CableDriver {
public:
    virtual ~CableDriver() = default;
    // Number of attached cables.
    virtual FT_STATUS CreateDeviceInfoList(DWORD* count) = 0;
    // Detail of cable `index`: both texts zero-terminated within their buffers.
    virtual FT_STATUS GetDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id,
                                          DWORD* locId, char serialNumber[FT_SERIAL_SIZE],
                                          char description[FT_DESCRIPTION_SIZE],
                                          FT_HANDLE* handle) = 0;
    virtual FT_STATUS Open(int index, FT_HANDLE* handle) = 0;
    virtual FT_STATUS SetBaudRate(FT_HANDLE handle, DWORD baud) = 0;
    virtual FT_STATUS SetDataCharacteristics(FT_HANDLE handle, BYTE wordLength, BYTE stopBits,
                                             BYTE parity) = 0;
    virtual FT_STATUS SetFlowControl(FT_HANDLE handle, WORD flowControl, BYTE xon, BYTE xoff) = 0;
    virtual FT_STATUS SetTimeouts(FT_HANDLE handle, DWORD readMs, DWORD writeMs) = 0;
    virtual FT_STATUS SetUSBParameters(FT_HANDLE handle, DWORD inSize, DWORD outSize) = 0;
    // Returns when `toRead` bytes have arrived or the read time-out has passed.
    virtual FT_STATUS Read(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* bytesRead) = 0;
    virtual FT_STATUS Write(FT_HANDLE handle, const void* buffer, DWORD toWrite,
                            DWORD* bytesWritten) = 0;
    // FT_OK while the cable's device is there; FT_DEVICE_NOT_FOUND once it has hung up (unplugged,
    // or the far end closed): a device that is gone stays gone for the run.
    virtual FT_STATUS GetStatus(FT_HANDLE /*handle*/) { return FT_OK; }
    // Releases an opened cable. The program keeps its cable until it ends; tests and tools that
    // open cables repeatedly close them.
    virtual FT_STATUS Close(FT_HANDLE /*handle*/) { return FT_OK; }
    // The name under which a person finds cable `index` of the last list: its device
    // ("/dev/ttyUSB0") or its emulated name ("CABLE0").
    virtual std::string PortName(DWORD index) { return "CABLE" + std::to_string(index); }
};

// The driver in use: the production driver unless a test installed another.
CableDriver& CurrentCableDriver();
// Installs a driver (not owned); nullptr restores the production driver.
void SetCableDriver(CableDriver* driver);
