#include "tests/support/RecordingCableDriver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

std::string RecordingCableDriver::Entry::Text() const {
    std::string text = op;
    if (op == "Write") {
        if (bytes.size() > 8) {
            return text + "[" + std::to_string(bytes.size()) + "]";
        }
        text += "(";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
            text += (i ? " " : "") + std::string(hex);
        }
        return text + ")";
    }
    text += "(";
    for (std::size_t i = 0; i < args.size(); ++i) {
        text += (i ? "," : "") + std::to_string(args[i]);
    }
    text += ")";
    if (op == "Read") {
        text += "->" + std::to_string(bytes.size());
    }
    return text;
}

RecordingCableDriver::RecordingCableDriver(RecordingTimeService* time) {
    if (!time) {
        m_ownTime = std::make_unique<RecordingTimeService>(false);
        time = m_ownTime.get();
    }
    m_time = time;
    m_pausesTaken = m_time->Pauses().size();
    SetCableDriver(this);
}

RecordingCableDriver::~RecordingCableDriver() {
    SetCableDriver(nullptr);
}

void RecordingCableDriver::AddDevice(const std::string& description,
                                     const std::string& serialNumber, FT_STATUS openStatus) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_devices.push_back({description, serialNumber, openStatus});
}

void RecordingCableDriver::ScriptRead(const std::vector<BYTE>& bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_script.push_back(bytes);
}

void RecordingCableDriver::AttachResponder(DeviceResponder* responder) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_responder = responder;
}

void RecordingCableDriver::Unplug() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_devices.clear();
    m_responder = nullptr;
    m_hungUp = true;
    m_pending.clear();
    m_late.clear();
}

void RecordingCableDriver::TakePauses() {
    const std::vector<DWORD> pauses = m_time->Pauses();
    if (pauses.size() < m_pausesTaken) {
        m_pausesTaken = 0;  // the test cleared the time service
    }
    for (std::size_t i = m_pausesTaken; i < pauses.size(); ++i) {
        m_log.push_back({"Sleep", {pauses[i]}, {}});
    }
    m_pausesTaken = pauses.size();
}

void RecordingCableDriver::Record(Entry entry) {
    TakePauses();
    m_log.push_back(std::move(entry));
}

std::vector<RecordingCableDriver::Entry> RecordingCableDriver::Log() {
    std::lock_guard<std::mutex> lock(m_mutex);
    TakePauses();
    return m_log;
}

std::vector<std::string> RecordingCableDriver::Texts() {
    std::vector<std::string> texts;
    for (const Entry& e : Log()) {
        texts.push_back(e.Text());
    }
    return texts;
}

std::vector<std::vector<BYTE>> RecordingCableDriver::Writes() {
    std::vector<std::vector<BYTE>> writes;
    for (const Entry& e : Log()) {
        if (e.op == "Write") {
            writes.push_back(e.bytes);
        }
    }
    return writes;
}

void RecordingCableDriver::ClearLog() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_log.clear();
    m_pausesTaken = m_time->Pauses().size();
}

FT_HANDLE RecordingCableDriver::OpenedHandle() const {
    return const_cast<int*>(&m_handleTag);
}

FT_STATUS RecordingCableDriver::CreateDeviceInfoList(DWORD* count) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Record({"CreateDeviceInfoList", {}, {}});
    *count = static_cast<DWORD>(m_devices.size());
    return FT_OK;
}

FT_STATUS RecordingCableDriver::GetDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type,
                                                    DWORD* id, DWORD* locId,
                                                    char serialNumber[FT_SERIAL_SIZE],
                                                    char description[FT_DESCRIPTION_SIZE],
                                                    FT_HANDLE* handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Record({"GetDeviceInfoDetail", {index}, {}});
    if (index >= m_devices.size()) {
        return FT_DEVICE_NOT_FOUND;
    }
    const Device& d = m_devices[index];
    // The driver's callers may leave out what they do not need.
    for (DWORD* unused : {flags, type, id, locId}) {
        if (unused != nullptr) {
            *unused = 0;
        }
    }
    if (handle != nullptr) {
        *handle = nullptr;
    }
    if (serialNumber != nullptr) {
        std::snprintf(serialNumber, FT_SERIAL_SIZE, "%s", d.serialNumber.c_str());
    }
    if (description != nullptr) {
        std::snprintf(description, FT_DESCRIPTION_SIZE, "%s", d.description.c_str());
    }
    return FT_OK;
}

FT_STATUS RecordingCableDriver::Open(int index, FT_HANDLE* handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Record({"Open", {static_cast<DWORD>(index)}, {}});
    if (index < 0 || static_cast<std::size_t>(index) >= m_devices.size()) {
        *handle = nullptr;
        return FT_DEVICE_NOT_FOUND;
    }
    const FT_STATUS status = m_devices[static_cast<std::size_t>(index)].openStatus;
    *handle = status == FT_OK ? OpenedHandle() : nullptr;
    if (status == FT_OK) {
        m_hungUp = false;  // a cable plugged in again
    }
    return status;
}

FT_STATUS RecordingCableDriver::SetBaudRate(FT_HANDLE, DWORD baud) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Record({"SetBaudRate", {baud}, {}});
    return FT_OK;
}

FT_STATUS RecordingCableDriver::SetDataCharacteristics(FT_HANDLE, BYTE wordLength, BYTE stopBits,
                                                       BYTE parity) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Record({"SetDataCharacteristics", {wordLength, stopBits, parity}, {}});
    return FT_OK;
}

FT_STATUS RecordingCableDriver::SetFlowControl(FT_HANDLE, WORD flowControl, BYTE xon, BYTE xoff) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Record({"SetFlowControl", {flowControl, xon, xoff}, {}});
    return FT_OK;
}

FT_STATUS RecordingCableDriver::SetTimeouts(FT_HANDLE, DWORD readMs, DWORD writeMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Record({"SetTimeouts", {readMs, writeMs}, {}});
    m_readTimeoutMs = readMs;
    return FT_OK;
}

FT_STATUS RecordingCableDriver::SetUSBParameters(FT_HANDLE, DWORD inSize, DWORD outSize) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Record({"SetUSBParameters", {inSize, outSize}, {}});
    return FT_OK;
}

FT_STATUS RecordingCableDriver::Read(FT_HANDLE, void* buffer, DWORD toRead, DWORD* bytesRead) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<BYTE> got;
    if (!m_script.empty()) {
        got = m_script.front();
        m_script.pop_front();
        got.resize(std::min<std::size_t>(got.size(), toRead));
    } else {
        const std::size_t n = std::min<std::size_t>(m_pending.size(), toRead);
        got.assign(m_pending.begin(), m_pending.begin() + static_cast<long>(n));
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<long>(n));
    }
    if (!got.empty()) {
        std::memcpy(buffer, got.data(), got.size());
    }
    *bytesRead = static_cast<DWORD>(got.size());
    Record({"Read", {toRead}, got});
    m_pending.insert(m_pending.end(), m_late.begin(), m_late.end());
    m_late.clear();
    return got.size() < toRead && m_hungUp ? FT_IO_ERROR : FT_OK;
}

FT_STATUS RecordingCableDriver::Write(FT_HANDLE, const void* buffer, DWORD toWrite,
                                      DWORD* bytesWritten) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const BYTE* bytes = static_cast<const BYTE*>(buffer);
    Record({"Write", {toWrite}, std::vector<BYTE>(bytes, bytes + toWrite)});
    if (m_hungUp) {
        *bytesWritten = 0;
        return FT_IO_ERROR;
    }
    if (m_responder) {
        const DeviceReply reply = m_responder->OnReceive(bytes, toWrite);
        std::vector<BYTE>& to = reply.delayMs >= m_readTimeoutMs ? m_late : m_pending;
        to.insert(to.end(), reply.bytes.begin(), reply.bytes.end());
        m_hungUp = reply.hangUp;
    }
    *bytesWritten = toWrite;
    return FT_OK;
}

FT_STATUS RecordingCableDriver::GetStatus(FT_HANDLE) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hungUp && m_pending.empty() && m_late.empty() ? FT_DEVICE_NOT_FOUND : FT_OK;
}

FT_STATUS RecordingCableDriver::Close(FT_HANDLE) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Record({"Close", {}, {}});
    return FT_OK;
}
