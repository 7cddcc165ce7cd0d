// The StandAlone scene file and its EEPROM image: the file's lines (a hexadecimal EEPROM address, a
// colon and a hexadecimal byte value) parsed into the bytes that are written, address by address,
// into the dimmer's plug-in EEPROM.
#pragma once

#include <array>
#include <cstddef>
#include <functional>

#include "platform/os/CableDriver.h"
#include "platform/os/WinTypes.h"

constexpr DWORD STANDALONE_IMAGE_SIZE = 33000;
// What an erased EEPROM cell holds: sent for an address below the count that no line named.
constexpr BYTE STANDALONE_ERASED = 0xff;

enum class StandAloneParse {
    Ok,
    AddressOutside,  // a value was stored at an address outside the image
    TooManyValues    // more values than the image holds
};

struct StandAloneImage {
    std::array<BYTE, STANDALONE_IMAGE_SIZE> bytes{};
    // Values stored; the addresses 0 to count - 1 are written, whatever addresses the lines named.
    DWORD count = 0;
    // The line, counted from 1, whose value was refused.
    DWORD refusedLine = 0;
};

// Parses a whole file into `image`. A value is stored when its line ends with a carriage return
// or a line feed; a line without a colon stores at the previous line's address. On a refusal the
// parse stops and nothing of the image may be written.
StandAloneParse ParseStandAloneFile(const BYTE* data, std::size_t size, StandAloneImage& image);

// Writes the addresses 0 to count - 1, one EEPROM command and its pause each. Before each byte
// `sending` is told how many bytes will have gone out with it, so that a display updated there
// shows each byte during its pause.
void WriteStandAloneImage(FT_HANDLE hCable, const StandAloneImage& image,
                          const std::function<void(DWORD)>& sending);
// The same, stopping before a byte when `goOn` says no or the cable has gone (CableIsGone).
// Returns the bytes sent before it stopped.
DWORD WriteStandAloneImageWhile(FT_HANDLE hCable, const StandAloneImage& image,
                                const std::function<void(DWORD)>& sending,
                                const std::function<bool()>& goOn);
