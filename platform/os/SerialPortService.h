// The serial-port services the serial link is written against, under their Windows roles: open a
// COM port exclusively, apply line settings, purge, raise modem lines, write, a blocking read that
// another thread can cancel, and close. Production works on Linux ttys; tests may
// install another service.
#pragma once

#include "platform/os/WinTypes.h"

using HANDLE = void*;

// Line settings; every field left at zero means "off" or "none".
struct DCB {
    DWORD BaudRate = 0;
    BYTE ByteSize = 0;
    BYTE Parity = 0;    // NOPARITY, ODDPARITY, EVENPARITY
    BYTE StopBits = 0;  // ONESTOPBIT, TWOSTOPBITS
    bool fBinary = false;
    bool fParity = false;
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;
    BYTE fDtrControl = 0;  // DTR_CONTROL_DISABLE
    BYTE fRtsControl = 0;  // RTS_CONTROL_DISABLE
    bool fOutX = false;
    bool fInX = false;
    bool fErrorChar = false;
    bool fNull = false;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
};

constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE TWOSTOPBITS = 2;
constexpr BYTE DTR_CONTROL_DISABLE = 0;
constexpr BYTE RTS_CONTROL_DISABLE = 0;

constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

constexpr DWORD EV_TXEMPTY = 0x0004;

constexpr DWORD SETRTS = 3;
constexpr DWORD CLRRTS = 4;
constexpr DWORD SETDTR = 5;
constexpr DWORD CLRDTR = 6;

class SerialPortService {
public:
    virtual ~SerialPortService() = default;
    // Opens "\\.\COMn" for reading and writing, exclusively; nullptr when it cannot be used.
    virtual HANDLE CreateFile(const char* deviceName) = 0;
    virtual BOOL SetCommState(HANDLE port, const DCB& settings) = 0;
    virtual BOOL PurgeComm(HANDLE port, DWORD flags) = 0;
    virtual BOOL SetCommMask(HANDLE port, DWORD mask) = 0;
    virtual BOOL EscapeCommFunction(HANDLE port, DWORD function) = 0;
    // Blocking write of the whole buffer.
    virtual BOOL WriteFile(HANDLE port, const void* data, DWORD count, DWORD* written) = 0;
    // Blocking read: returns once `count` bytes arrived (a service may return sooner with at least
    // one), or when cancelled with the bytes that had arrived by then; FALSE when the read was
    // cancelled before any arrived, or failed.
    virtual BOOL ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* read) = 0;
    // Takes at most `count` bytes that have already arrived, without waiting (a read with the
    // "return at once" time-outs).
    virtual BOOL ReadAvailable(HANDLE /*port*/, void* /*buffer*/, DWORD /*count*/, DWORD* read) {
        if (read != nullptr) {
            *read = 0;
        }
        return TRUE;
    }
    // Whether the port's device has hung up (unplugged, or the far end closed). A device that is
    // gone stays gone for the run.
    virtual BOOL HasHungUp(HANDLE /*port*/) { return FALSE; }
    // Releases a blocking read on `port` from another thread (or the next one that starts).
    virtual BOOL CancelIoEx(HANDLE port) = 0;
    virtual BOOL CloseHandle(HANDLE port) = 0;
};

// The service in use: the production one unless a test installed another.
SerialPortService& CurrentSerialPortService();
// Installs a service (not owned); nullptr restores the production service.
void SetSerialPortService(SerialPortService* service);
