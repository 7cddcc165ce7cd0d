#include "platform/os/TermiosSerialPortService.h"

#include <sys/ioctl.h>

#include <cstring>

#include "platform/os/PortDirectory.h"
#include "platform/os/TtyDevice.h"

namespace {

TtyDevice* Device(HANDLE port) {
    return static_cast<TtyDevice*>(port);
}

// A write that makes no progress for this long is given up: the caller sees a missing reply.
constexpr int kWriteStallMs = 2000;

}  // namespace

int TermiosSerialPortService::ComNumber(const char* deviceName) {
    if (deviceName == nullptr) {
        return 0;
    }
    const char* name = deviceName;
    if (std::strncmp(name, "\\\\.\\", 4) == 0) {
        name += 4;
    }
    if (std::strncmp(name, "COM", 3) != 0) {
        return 0;
    }
    name += 3;
    int n = 0;
    for (int digits = 0; *name != '\0'; ++name, ++digits) {
        if (*name < '0' || *name > '9' || digits == 3) {
            return 0;
        }
        n = n * 10 + (*name - '0');
    }
    return n >= 1 && n <= 256 ? n : 0;
}

HANDLE TermiosSerialPortService::CreateFile(const char* deviceName) {
    int comNumber = ComNumber(deviceName);
    if (comNumber == 0) {
        return nullptr;
    }
    std::optional<PortLocation> where = PortDirectory().ResolveComPort(comNumber);
    if (!where) {
        return nullptr;
    }
    std::unique_ptr<TtyDevice> device = TtyDevice::Open(*where);
    if (!device) {
        return nullptr;
    }
    device->RequestLowLatency();
    return device.release();
}

BOOL TermiosSerialPortService::SetCommState(HANDLE port, const DCB& dcb) {
    if (port == nullptr) {
        return FALSE;
    }
    TtyLineSettings s;
    s.baudRate = dcb.BaudRate;
    s.dataBits = dcb.ByteSize;
    s.parity = dcb.Parity == ODDPARITY ? 'O' : (dcb.Parity == EVENPARITY ? 'E' : 'N');
    if (dcb.Parity > EVENPARITY) {
        return FALSE;  // mark and space parity: not offered here
    }
    s.stopBits = dcb.StopBits == TWOSTOPBITS ? 2 : (dcb.StopBits == ONESTOPBIT ? 1 : 0);
    s.rtsCtsFlow = dcb.fOutxCtsFlow;
    s.xonXoffFlow = dcb.fOutX || dcb.fInX;
    return Device(port)->Configure(s) ? TRUE : FALSE;
}

BOOL TermiosSerialPortService::PurgeComm(HANDLE port, DWORD flags) {
    if (port == nullptr) {
        return FALSE;
    }
    bool receive = (flags & (PURGE_RXABORT | PURGE_RXCLEAR)) != 0;
    bool transmit = (flags & (PURGE_TXABORT | PURGE_TXCLEAR)) != 0;
    return Device(port)->Purge(receive, transmit) ? TRUE : FALSE;
}

// Transmit-empty events are what a Windows driver reports; nothing waits for them here.
BOOL TermiosSerialPortService::SetCommMask(HANDLE port, DWORD /*mask*/) {
    return port != nullptr ? TRUE : FALSE;
}

BOOL TermiosSerialPortService::EscapeCommFunction(HANDLE port, DWORD function) {
    if (port == nullptr) {
        return FALSE;
    }
    switch (function) {
        case SETDTR:
            return Device(port)->SetModemLine(TIOCM_DTR, true) ? TRUE : FALSE;
        case CLRDTR:
            return Device(port)->SetModemLine(TIOCM_DTR, false) ? TRUE : FALSE;
        case SETRTS:
            return Device(port)->SetModemLine(TIOCM_RTS, true) ? TRUE : FALSE;
        case CLRRTS:
            return Device(port)->SetModemLine(TIOCM_RTS, false) ? TRUE : FALSE;
        default:
            return FALSE;
    }
}

BOOL TermiosSerialPortService::WriteFile(HANDLE port, const void* data, DWORD count,
                                         DWORD* written) {
    DWORD done = 0;
    if (port != nullptr && data != nullptr) {
        done = static_cast<DWORD>(Device(port)->Write(data, count, kWriteStallMs));
    }
    if (written != nullptr) {
        *written = done;
    }
    return port != nullptr && done == count ? TRUE : FALSE;
}

BOOL TermiosSerialPortService::ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* read) {
    if (read != nullptr) {
        *read = 0;
    }
    if (port == nullptr || buffer == nullptr || count == 0) {
        return FALSE;
    }
    std::size_t got = 0;
    TtyDevice::ReadResult result = Device(port)->Read(buffer, count, got);
    if (read != nullptr) {
        *read = static_cast<DWORD>(got);
    }
    return result == TtyDevice::ReadResult::Bytes || result == TtyDevice::ReadResult::Nothing
               ? TRUE
               : FALSE;
}

BOOL TermiosSerialPortService::ReadAvailable(HANDLE port, void* buffer, DWORD count, DWORD* read) {
    DWORD done = 0;
    if (port != nullptr && buffer != nullptr) {
        done = static_cast<DWORD>(Device(port)->ReadFor(buffer, count, 0));
    }
    if (read != nullptr) {
        *read = done;
    }
    return port != nullptr ? TRUE : FALSE;
}

BOOL TermiosSerialPortService::HasHungUp(HANDLE port) {
    return port != nullptr && Device(port)->ProbeHangUp() ? TRUE : FALSE;
}

BOOL TermiosSerialPortService::CancelIoEx(HANDLE port) {
    if (port == nullptr) {
        return FALSE;
    }
    Device(port)->Cancel();
    return TRUE;
}

BOOL TermiosSerialPortService::CloseHandle(HANDLE port) {
    if (port == nullptr) {
        return FALSE;
    }
    delete Device(port);
    return TRUE;
}
