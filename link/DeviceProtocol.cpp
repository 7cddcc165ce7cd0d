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
}  // namespace

CString CableIdentify(FT_HANDLE hCable) {
    if (!CableIsOpen(hCable)) {
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
    if (CableIsOpen(hCable)) {
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
    if (CableIsOpen(hCable)) {
        CableWrite(hCable, request.data(), request.size());
    }
    Sleep(EEPROM_PAUSE_MS);
}

DWORD CableReadTemperature(FT_HANDLE hCable, BYTE* reply, DWORD replyLength) {
    if (!CableIsOpen(hCable)) {
        return 0;
    }
    replyLength = std::min(replyLength, TEMPERATURE_REPLY_FOUR_READINGS);
    WriteByte(hCable, CMD_READ_TEMPERATURE);
    return CableRead(hCable, reply, replyLength);
}

DWORD CableReadShutdownTemperature(FT_HANDLE hCable, WORD* raw) {
    *raw = 0xffff;
    if (!CableIsOpen(hCable)) {
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
    if (!CableIsOpen(hCable)) {
        return;
    }
    const auto request = WriteShutdownRequest(raw);
    CableWrite(hCable, request.data(), request.size());
}

bool CableWriteTable(FT_HANDLE hCable, BYTE command, int outputIndex, const WORD* table) {
    if (!CableIsOpen(hCable) || !IsOutputIndex(outputIndex)) {
        return false;
    }
    BYTE image[TABLE_IMAGE_SIZE];
    TableToImage(table, image);
    WriteByte(hCable, command);
    WriteByte(hCable, static_cast<BYTE>(outputIndex));
    Sleep(TABLE_INDEX_PAUSE_MS);
    CableWrite(hCable, image, TABLE_IMAGE_SIZE);
    Sleep(TABLE_STORE_PAUSE_MS);
    WriteByte(hCable, TABLE_TRAILER);
    Sleep(TABLE_TRAILER_PAUSE_MS);
    BYTE reply[CABLE_IDENTIFY_CAPACITY];
    CableRead(hCable, reply, CABLE_IDENTIFY_CAPACITY);
    WriteByte(hCable, CMD_IDENTIFY);
    for (int probe = 0; probe < TABLE_PROBE_LIMIT; ++probe) {
        Sleep(TABLE_PROBE_PAUSE_MS);
        if (CableRead(hCable, reply, CABLE_IDENTIFY_CAPACITY) > 0) {
            return true;
        }
    }
    return false;
}

bool SerialWriteTable(BYTE command, int outputIndex, const WORD* table) {
    if (!SerialIsOpen() || !IsOutputIndex(outputIndex)) {
        return false;
    }
    const auto request = WriteTableRequest(command, outputIndex, table);
    SerialRequest(request.data(), request.size(), nullptr, 0, nullptr, SERIAL_REPLY_TIMEOUT_MS);
    Sleep(TABLE_STORE_PAUSE_MS);
    return true;
}

DWORD CableReadTable(FT_HANDLE hCable, int outputIndex, WORD* table) {
    if (!CableIsOpen(hCable) || !IsOutputIndex(outputIndex)) {
        return 0;
    }
    BYTE reply[TABLE_IMAGE_SIZE];
    CableRead(hCable, reply, TABLE_IMAGE_SIZE);
    const auto request = ReadTableRequest(outputIndex);
    CableWrite(hCable, request.data(), request.size());
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
    }
    return count;
}
