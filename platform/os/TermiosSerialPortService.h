// The production serial-port services: COM numbers resolved by the port directory, ports opened
// and checked as ttys, line settings applied with termios.
#pragma once

#include "platform/os/SerialPortService.h"

class TermiosSerialPortService final : public SerialPortService {
public:
    HANDLE CreateFile(const char* deviceName) override;
    BOOL SetCommState(HANDLE port, const DCB& settings) override;
    BOOL PurgeComm(HANDLE port, DWORD flags) override;
    BOOL SetCommMask(HANDLE port, DWORD mask) override;
    BOOL EscapeCommFunction(HANDLE port, DWORD function) override;
    BOOL WriteFile(HANDLE port, const void* data, DWORD count, DWORD* written) override;
    BOOL ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* read) override;
    BOOL ReadAvailable(HANDLE port, void* buffer, DWORD count, DWORD* read) override;
    BOOL HasHungUp(HANDLE port) override;
    BOOL CancelIoEx(HANDLE port) override;
    BOOL CloseHandle(HANDLE port) override;

    // The COM number named by "\\.\COMn" or "COMn"; 0 when the name is of another form.
    static int ComNumber(const char* deviceName);
};
