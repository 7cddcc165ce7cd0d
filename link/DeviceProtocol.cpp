#include "link/DeviceProtocol.h"

#include <algorithm>

#include "link/CableTransport.h"
#include "link/SerialTransport.h"
#include "platform/os/TimeService.h"

CString IdentifyText(const BYTE* reply, DWORD count) {
    const BYTE* end = std::find(reply, reply + count, BYTE{0});
    return CString(reinterpret_cast<const char*>(reply), static_cast<int>(end - reply));
}

namespace {
void WriteByte(FT_HANDLE hCable, BYTE value) {
    CableWrite(hCable, &value, 1);
}

// An open cable whose device has not hung up. A gone cable answers nothing, so nothing waits on it.
bool CableUsable(FT_HANDLE hCable) {
    return CableIsOpen(hCable) && !CableIsGone(hCable);
}

LONGLONG MillisecondsSince(LONGLONG start) {
    LONGLONG now = 0;
    LONGLONG frequency = 1;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (now - start) * 1000 / frequency;
}
}  // namespace

CString CableIdentify(FT_HANDLE hCable) {
    if (!CableUsable(hCable)) {
        return CString();
    }
    BYTE reply[CABLE_IDENTIFY_CAPACITY];
    CableRead(hCable, reply, CABLE_IDENTIFY_CAPACITY);
    WriteByte(hCable, CMD_IDENTIFY);
    const DWORD count = CableRead(hCable, reply, CABLE_IDENTIFY_CAPACITY);
    return IdentifyText(reply, count);
}

CString SerialIdentify(DWORD* replyCount) {
    BYTE reply[SERIAL_IDENTIFY_CAPACITY];
    const BYTE request = CMD_IDENTIFY;
    DWORD count = 0;
    SerialRequest(&request, 1, reply, SERIAL_IDENTIFY_CAPACITY, &count, SERIAL_REPLY_TIMEOUT_MS);
    if (replyCount) {
        *replyCount = count;
    }
    return IdentifyText(reply, count);
}

bool SendOutputLevel(FT_HANDLE hCable, int outputIndex, WORD level) {
    if (!IsOutputIndex(outputIndex)) {
        return false;
    }
    const auto request = SetOutputRequest(outputIndex, level);
    if (CableUsable(hCable)) {
        CableWrite(hCable, request.data(), request.size());
    }
    if (SerialIsOpen()) {
        SerialRequest(request.data(), request.size(), nullptr, 0, nullptr, SERIAL_REPLY_TIMEOUT_MS);
    }
    Sleep(LEVEL_PAUSE_MS);
    return true;
}

void CableWriteEepromByte(FT_HANDLE hCable, WORD address, BYTE data) {
    const auto request = EepromWriteRequest(address, data);
    if (CableIsGone(hCable)) {
        return;  // nothing to pace
    }
    if (CableIsOpen(hCable)) {
        CableWrite(hCable, request.data(), request.size());
    }
    Sleep(EEPROM_PAUSE_MS);
}

DWORD CableReadTemperature(FT_HANDLE hCable, BYTE* reply, DWORD replyLength) {
    if (!CableUsable(hCable)) {
        return 0;
    }
    replyLength = std::min(replyLength, TEMPERATURE_REPLY_FOUR_READINGS);
    WriteByte(hCable, CMD_READ_TEMPERATURE);
    return CableRead(hCable, reply, replyLength);
}

DWORD CableReadShutdownTemperature(FT_HANDLE hCable, WORD* raw) {
    *raw = 0xffff;
    if (!CableUsable(hCable)) {
        return 0;
    }
    BYTE reply[SHUTDOWN_REPLY_LENGTH] = {};
    WriteByte(hCable, CMD_READ_SHUTDOWN_TEMPERATURE);
    const DWORD count = CableRead(hCable, reply, SHUTDOWN_REPLY_LENGTH);
    if (count == SHUTDOWN_REPLY_LENGTH) {
        *raw = WordFromWire(reply);
    }
    return count;
}

void CableWriteShutdownTemperature(FT_HANDLE hCable, LONG raw) {
    if (!CableUsable(hCable)) {
        return;
    }
    const auto request = WriteShutdownRequest(raw);
    CableWrite(hCable, request.data(), request.size());
}

bool CableWriteTable(FT_HANDLE hCable, BYTE command, int outputIndex, const WORD* table) {
    if (!CableUsable(hCable) || !IsOutputIndex(outputIndex)) {
        return false;
    }
    BYTE image[TABLE_IMAGE_SIZE];
    TableToImage(table, image);
    // A cable that hangs up part-way ends the write at once instead of pausing on.
    WriteByte(hCable, command);
    WriteByte(hCable, static_cast<BYTE>(outputIndex));
    if (CableIsGone(hCable)) {
        return false;
    }
    Sleep(TABLE_INDEX_PAUSE_MS);
    CableWrite(hCable, image, TABLE_IMAGE_SIZE);
    if (CableIsGone(hCable)) {
        return false;
    }
    Sleep(TABLE_STORE_PAUSE_MS);
    WriteByte(hCable, TABLE_TRAILER);
    if (CableIsGone(hCable)) {
        return false;
    }
    Sleep(TABLE_TRAILER_PAUSE_MS);
    BYTE reply[CABLE_IDENTIFY_CAPACITY];
    CableRead(hCable, reply, CABLE_IDENTIFY_CAPACITY);
    WriteByte(hCable, CMD_IDENTIFY);
    LONGLONG probeSent = 0;
    QueryPerformanceCounter(&probeSent);
    while (!CableIsGone(hCable)) {
        Sleep(TABLE_PROBE_PAUSE_MS);
        if (CableRead(hCable, reply, CABLE_IDENTIFY_CAPACITY) > 0) {
            return true;
        }
        if (MillisecondsSince(probeSent) >= static_cast<LONGLONG>(TABLE_CONFIRM_LIMIT_MS)) {
            break;
        }
    }
    return false;
}

bool SerialWriteTable(BYTE command, int outputIndex, const WORD* table) {
    if (!SerialIsOpen() || SerialIsGone() || !IsOutputIndex(outputIndex)) {
        return false;
    }
    const auto request = WriteTableRequest(command, outputIndex, table);
    SerialRequest(request.data(), request.size(), nullptr, 0, nullptr, SERIAL_REPLY_TIMEOUT_MS);
    if (SerialIsGone()) {
        return false;
    }
    Sleep(TABLE_STORE_PAUSE_MS);
    return true;
}

DWORD CableReadTable(FT_HANDLE hCable, int outputIndex, WORD* table) {
    if (!CableUsable(hCable) || !IsOutputIndex(outputIndex)) {
        return 0;
    }
    BYTE reply[TABLE_IMAGE_SIZE];
    CableRead(hCable, reply, TABLE_IMAGE_SIZE);
    const auto request = ReadTableRequest(outputIndex);
    CableWrite(hCable, request.data(), request.size());
    if (CableIsGone(hCable)) {
        return 0;
    }
    Sleep(TABLE_READ_PAUSE_MS);
    const DWORD count = CableRead(hCable, reply, TABLE_IMAGE_SIZE);
    if (count == TABLE_IMAGE_SIZE) {
        ImageToTable(reply, table);
    }
    return count;
}

DWORD SerialReadTable(int outputIndex, WORD* table) {
    if (!SerialIsOpen() || !IsOutputIndex(outputIndex)) {
        return 0;
    }
    BYTE reply[TABLE_IMAGE_SIZE];
    DWORD count = 0;
    const auto request = ReadTableRequest(outputIndex);
    SerialRequest(request.data(), request.size(), reply, TABLE_IMAGE_SIZE, &count,
                  SERIAL_REPLY_TIMEOUT_MS);
    if (count == TABLE_IMAGE_SIZE) {
        ImageToTable(reply, table);
    } else if (count > 0) {
        // Cut off by the time-out: the rest may still be on its way, and would otherwise be
        // taken as the start of the next reply (a table shifted by that many bytes).
        SerialDrain(SERIAL_DRAIN_QUIET_MS, SERIAL_REPLY_TIMEOUT_MS * 2);
    }
    return count;
}
