#include "platform/os/TtyCableDriver.h"

#include <cstring>
#include <memory>

#include "platform/os/PortDirectory.h"
#include "platform/os/TtyDevice.h"

struct TtyCableDriver::Cable {
    std::unique_ptr<TtyDevice> device;
    TtyLineSettings settings;
    DWORD readTimeoutMs = 0;  // 0: return what is there, never wait without bound
    DWORD writeTimeoutMs = 0;
};

namespace {

void CopyText(char* target, size_t size, const std::string& text) {
    std::memset(target, 0, size);
    std::memcpy(target, text.data(), text.size() < size ? text.size() : size - 1);
}

}  // namespace

TtyCableDriver::TtyCableDriver(std::string sysfsRoot, std::string devRoot)
    : m_sysfsRoot(std::move(sysfsRoot)), m_devRoot(std::move(devRoot)) {}

TtyCableDriver::~TtyCableDriver() {
    for (Cable* cable : m_open) {
        delete cable;
    }
}

TtyCableDriver::Cable* TtyCableDriver::Find(FT_HANDLE handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_open.find(static_cast<Cable*>(handle));
    return it == m_open.end() ? nullptr : *it;
}

FT_STATUS TtyCableDriver::CreateDeviceInfoList(DWORD* count) {
    std::vector<PortLocation> list = PortDirectory(m_sysfsRoot, m_devRoot).ListCables();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_list = std::move(list);
    if (count != nullptr) {
        *count = static_cast<DWORD>(m_list.size());
    }
    return FT_OK;
}

FT_STATUS TtyCableDriver::GetDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id,
                                              DWORD* locId, char serialNumber[FT_SERIAL_SIZE],
                                              char description[FT_DESCRIPTION_SIZE],
                                              FT_HANDLE* handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index >= m_list.size()) {
        return FT_DEVICE_NOT_FOUND;
    }
    const PortLocation& cable = m_list[index];
    if (flags != nullptr)
        *flags = 0;
    if (type != nullptr)
        *type = 0;
    if (id != nullptr)
        *id = 0;
    if (locId != nullptr)
        *locId = index;
    if (serialNumber != nullptr)
        CopyText(serialNumber, FT_SERIAL_SIZE, cable.serialNumber);
    if (description != nullptr)
        CopyText(description, FT_DESCRIPTION_SIZE, cable.description);
    if (handle != nullptr)
        *handle = nullptr;
    return FT_OK;
}

FT_STATUS TtyCableDriver::Open(int index, FT_HANDLE* handle) {
    if (handle == nullptr) {
        return FT_INVALID_HANDLE;
    }
    *handle = nullptr;
    PortLocation where;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (index < 0 || static_cast<size_t>(index) >= m_list.size()) {
            return FT_DEVICE_NOT_FOUND;
        }
        where = m_list[static_cast<size_t>(index)];
    }
    auto cable = std::make_unique<Cable>();
    cable->device = TtyDevice::Open(where);
    if (!cable->device || !cable->device->Configure(cable->settings) ||
        !cable->device->Purge(true, true)) {
        return FT_DEVICE_NOT_OPENED;
    }
    cable->device->RequestLowLatency();
    std::lock_guard<std::mutex> lock(m_mutex);
    *handle = cable.get();
    m_open.insert(cable.release());
    return FT_OK;
}

FT_STATUS TtyCableDriver::Apply(Cable* cable, const TtyLineSettings& wanted) {
    // A refused change leaves the line as it was.
    if (!cable->device->Configure(wanted)) {
        return FT_IO_ERROR;
    }
    cable->settings = wanted;
    return FT_OK;
}

FT_STATUS TtyCableDriver::SetBaudRate(FT_HANDLE handle, DWORD baud) {
    Cable* cable = Find(handle);
    if (cable == nullptr) {
        return FT_INVALID_HANDLE;
    }
    TtyLineSettings wanted = cable->settings;
    wanted.baudRate = baud;
    return Apply(cable, wanted);
}

FT_STATUS TtyCableDriver::SetDataCharacteristics(FT_HANDLE handle, BYTE wordLength, BYTE stopBits,
                                                 BYTE parity) {
    Cable* cable = Find(handle);
    if (cable == nullptr) {
        return FT_INVALID_HANDLE;
    }
    // Stop-bit codes: 0 one, 2 two. Parity codes: 0 none, 1 odd, 2 even.
    if ((wordLength != 7 && wordLength != 8) || (stopBits != 0 && stopBits != 2) || parity > 2) {
        return FT_IO_ERROR;
    }
    TtyLineSettings wanted = cable->settings;
    wanted.dataBits = wordLength;
    wanted.stopBits = stopBits == 2 ? 2 : 1;
    wanted.parity = parity == 1 ? 'O' : (parity == 2 ? 'E' : 'N');
    return Apply(cable, wanted);
}

FT_STATUS TtyCableDriver::SetFlowControl(FT_HANDLE handle, WORD flowControl, BYTE /*xon*/,
                                         BYTE /*xoff*/) {
    Cable* cable = Find(handle);
    if (cable == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (flowControl != kFlowNone && flowControl != kFlowRtsCts && flowControl != kFlowXonXoff) {
        return FT_IO_ERROR;
    }
    TtyLineSettings wanted = cable->settings;
    wanted.rtsCtsFlow = flowControl == kFlowRtsCts;
    wanted.xonXoffFlow = flowControl == kFlowXonXoff;
    return Apply(cable, wanted);
}

FT_STATUS TtyCableDriver::SetTimeouts(FT_HANDLE handle, DWORD readMs, DWORD writeMs) {
    Cable* cable = Find(handle);
    if (cable == nullptr) {
        return FT_INVALID_HANDLE;
    }
    cable->readTimeoutMs = readMs;
    cable->writeTimeoutMs = writeMs;
    return FT_OK;
}

// The kernel's driver chooses its own USB transfer sizes; the request is accepted as it stands.
FT_STATUS TtyCableDriver::SetUSBParameters(FT_HANDLE handle, DWORD /*inSize*/, DWORD /*outSize*/) {
    return Find(handle) != nullptr ? FT_OK : FT_INVALID_HANDLE;
}

FT_STATUS TtyCableDriver::Read(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* bytesRead) {
    if (bytesRead != nullptr) {
        *bytesRead = 0;
    }
    Cable* cable = Find(handle);
    if (cable == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (buffer == nullptr) {
        return FT_IO_ERROR;
    }
    int timeout = cable->readTimeoutMs > 600000 ? 600000 : static_cast<int>(cable->readTimeoutMs);
    size_t n = cable->device->ReadFor(buffer, toRead, timeout);
    if (bytesRead != nullptr) {
        *bytesRead = static_cast<DWORD>(n);
    }
    return n < toRead && cable->device->HasHungUp() ? FT_IO_ERROR : FT_OK;
}

FT_STATUS TtyCableDriver::Write(FT_HANDLE handle, const void* buffer, DWORD toWrite,
                                DWORD* bytesWritten) {
    if (bytesWritten != nullptr) {
        *bytesWritten = 0;
    }
    Cable* cable = Find(handle);
    if (cable == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (buffer == nullptr) {
        return FT_IO_ERROR;
    }
    // A write time-out of 0 would mean "never give up": bound it all the same.
    int timeout = cable->writeTimeoutMs == 0 || cable->writeTimeoutMs > 600000
                      ? 2000
                      : static_cast<int>(cable->writeTimeoutMs);
    size_t n = cable->device->Write(buffer, toWrite, timeout);
    if (bytesWritten != nullptr) {
        *bytesWritten = static_cast<DWORD>(n);
    }
    return n == toWrite ? FT_OK : FT_IO_ERROR;
}

FT_STATUS TtyCableDriver::GetStatus(FT_HANDLE handle) {
    Cable* cable = Find(handle);
    if (cable == nullptr) {
        return FT_INVALID_HANDLE;
    }
    return cable->device->ProbeHangUp() ? FT_DEVICE_NOT_FOUND : FT_OK;
}

FT_STATUS TtyCableDriver::Close(FT_HANDLE handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_open.find(static_cast<Cable*>(handle));
    if (it == m_open.end()) {
        return FT_INVALID_HANDLE;
    }
    delete *it;
    m_open.erase(it);
    return FT_OK;
}

std::string TtyCableDriver::PortName(DWORD index) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index >= m_list.size()) {
        return std::string();
    }
    const PortLocation& cable = m_list[index];
    return cable.kind == PortLocation::Kind::Emulated ? cable.name : cable.devicePath;
}

CableDriver& ProductionCableDriver() {
    static TtyCableDriver driver;
    return driver;
}
