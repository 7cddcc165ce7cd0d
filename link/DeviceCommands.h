// The dimmer's command set: every command byte, reply size and pause of the protocol, and the
// encoding of each request. Header-only, so that the dimmer emulator speaks the same bytes.
#pragma once

#include <array>
#include <cstddef>

#include "platform/os/WinTypes.h"

constexpr BYTE CMD_IDENTIFY = 0x69;                    // 'i'; reply: model text
constexpr BYTE CMD_SET_OUTPUT = 0xb0;                  // + output index; level low, level high
constexpr BYTE CMD_EEPROM_WRITE = 187;                 // address low, high, data, check
constexpr BYTE CMD_READ_TEMPERATURE = 0xbc;            // reply: 1 or 8 bytes
constexpr BYTE CMD_READ_SHUTDOWN_TEMPERATURE = 0xbd;   // reply: raw value, 2 bytes
constexpr BYTE CMD_WRITE_SHUTDOWN_TEMPERATURE = 0xbe;  // raw low, raw high
constexpr BYTE CMD_WRITE_TABLE_A = 0xbf;               // output index, 512 table bytes
constexpr BYTE CMD_WRITE_TABLE_B = 0xf3;               // output index, 512 table bytes
constexpr BYTE CMD_READ_TABLE = 0xf4;                  // output index; reply: 512 table bytes
constexpr BYTE TABLE_TRAILER = 0xff;                   // ends a table write on the cable

constexpr int OUTPUT_COUNT_MAX = 12;
constexpr int TABLE_ENTRIES = 256;
constexpr DWORD TABLE_IMAGE_SIZE = 512;

// Request lengths, code byte included.
constexpr std::size_t SET_OUTPUT_LENGTH = 3;
constexpr std::size_t EEPROM_WRITE_LENGTH = 5;
constexpr std::size_t WRITE_SHUTDOWN_LENGTH = 3;
constexpr std::size_t READ_TABLE_LENGTH = 2;
constexpr std::size_t WRITE_TABLE_LENGTH = 2 + TABLE_IMAGE_SIZE;

// Reply sizes.
constexpr DWORD CABLE_IDENTIFY_CAPACITY = 100;
constexpr DWORD SERIAL_IDENTIFY_CAPACITY = 1000;
constexpr DWORD TEMPERATURE_REPLY_ONE_BYTE = 1;
constexpr DWORD TEMPERATURE_REPLY_FOUR_READINGS = 8;
constexpr DWORD SHUTDOWN_REPLY_LENGTH = 2;
constexpr int TEMPERATURE_SENSORS = 4;

// Pacing.
constexpr LONG SERIAL_REPLY_TIMEOUT_MS = 50;
// After a table reply cut off by the time-out: the line counts as quiet after this long without a
// byte (over a hundred byte times at 115200 baud).
constexpr DWORD SERIAL_DRAIN_QUIET_MS = 10;
constexpr DWORD LEVEL_PAUSE_MS = 10;           // after every output level
constexpr DWORD EEPROM_PAUSE_MS = 10;          // after every EEPROM byte
constexpr DWORD TABLE_INDEX_PAUSE_MS = 100;    // cable: between index and table bytes
constexpr DWORD TABLE_STORE_PAUSE_MS = 1000;   // while the dimmer stores a written table
constexpr DWORD TABLE_TRAILER_PAUSE_MS = 100;  // cable: after the trailer
constexpr DWORD TABLE_PROBE_PAUSE_MS = 100;    // cable: between readiness probes
constexpr DWORD TABLE_READ_PAUSE_MS = 100;     // cable: between table request and reply
// A dimmer confirms a stored table within a few probes. When none of the probes is answered
// within this time after the identify probe was sent, the write is reported as not confirmed
// instead of waiting for ever.
constexpr DWORD TABLE_CONFIRM_LIMIT_MS = 3000;

// A 16-bit value as it travels: low byte first.
inline WORD WordFromWire(const BYTE* bytes) {
    return static_cast<WORD>(bytes[0] | (bytes[1] << 8));
}
inline BYTE LowByte(WORD value) {
    return static_cast<BYTE>(value & 0xff);
}
inline BYTE HighByte(WORD value) {
    return static_cast<BYTE>(value >> 8);
}

inline bool IsOutputIndex(int outputIndex) {
    return outputIndex >= 0 && outputIndex < OUTPUT_COUNT_MAX;
}

inline std::array<BYTE, SET_OUTPUT_LENGTH> SetOutputRequest(int outputIndex, WORD level) {
    return {static_cast<BYTE>(CMD_SET_OUTPUT + outputIndex), LowByte(level), HighByte(level)};
}

inline BYTE EepromCheckByte(BYTE addressLow, BYTE addressHigh, BYTE data) {
    return static_cast<BYTE>(addressLow ^ addressHigh ^ data);
}

inline std::array<BYTE, EEPROM_WRITE_LENGTH> EepromWriteRequest(WORD address, BYTE data) {
    const BYTE low = LowByte(address);
    const BYTE high = HighByte(address);
    return {CMD_EEPROM_WRITE, low, high, data, EepromCheckByte(low, high, data)};
}

// The raw value as the temperature control computes it: remainder and quotient of a division
// truncating toward zero, each cut to 8 bits.
inline std::array<BYTE, WRITE_SHUTDOWN_LENGTH> WriteShutdownRequest(LONG raw) {
    return {CMD_WRITE_SHUTDOWN_TEMPERATURE, static_cast<BYTE>(raw % 256),
            static_cast<BYTE>(raw / 256)};
}

inline std::array<BYTE, READ_TABLE_LENGTH> ReadTableRequest(int outputIndex) {
    return {CMD_READ_TABLE, static_cast<BYTE>(outputIndex)};
}

// Entry i travels as bytes 2i (low) and 2i+1 (high).
inline void TableToImage(const WORD* table, BYTE* image) {
    for (int i = 0; i < TABLE_ENTRIES; ++i) {
        image[2 * i] = LowByte(table[i]);
        image[2 * i + 1] = HighByte(table[i]);
    }
}

inline void ImageToTable(const BYTE* image, WORD* table) {
    for (int i = 0; i < TABLE_ENTRIES; ++i) {
        table[i] = WordFromWire(image + 2 * i);
    }
}

inline std::array<BYTE, WRITE_TABLE_LENGTH> WriteTableRequest(BYTE command, int outputIndex,
                                                              const WORD* table) {
    std::array<BYTE, WRITE_TABLE_LENGTH> request{};
    request[0] = command;
    request[1] = static_cast<BYTE>(outputIndex);
    TableToImage(table, request.data() + 2);
    return request;
}
