#include "link/StandAloneImage.h"

#include <cstdint>

#include "link/CableTransport.h"
#include "link/DeviceProtocol.h"

namespace {

int HexDigit(BYTE c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// What a colon after no digit sets as the address: none, so a value stored there is refused.
constexpr std::uint32_t NO_ADDRESS = 0xffffffffu;

}  // namespace

StandAloneParse ParseStandAloneFile(const BYTE* data, std::size_t size, StandAloneImage& image) {
    image.bytes.fill(STANDALONE_ERASED);
    image.count = 0;
    image.refusedLine = 0;
    // Digits accumulate in 32 bits, higher ones shifting out. "Empty" (no digit since the last
    // colon or stored value) is a flag of its own, so that no digit sequence can read as empty.
    std::uint32_t accumulator = 0;
    bool empty = false;
    std::uint32_t address = 0;
    DWORD line = 1;
    for (std::size_t i = 0; i < size; ++i) {
        const BYTE c = data[i];
        const int digit = HexDigit(c);
        if (digit >= 0) {
            if (empty) {
                accumulator = 0;
                empty = false;
            }
            accumulator = (accumulator << 4) | static_cast<std::uint32_t>(digit);
        } else if (c == ':') {
            address = empty ? NO_ADDRESS : accumulator;
            empty = true;
        } else if (c == '\r' || c == '\n') {
            if (!empty) {
                if (address >= STANDALONE_IMAGE_SIZE || image.count >= STANDALONE_IMAGE_SIZE) {
                    image.refusedLine = line;
                    return address >= STANDALONE_IMAGE_SIZE ? StandAloneParse::AddressOutside
                                                            : StandAloneParse::TooManyValues;
                }
                image.bytes[address] = static_cast<BYTE>(accumulator & 0xff);
                ++image.count;
                empty = true;
            }
            // A carriage return and its line feed end one line.
            if (c == '\r' || i == 0 || data[i - 1] != '\r') {
                ++line;
            }
        }
    }
    return StandAloneParse::Ok;
}

void WriteStandAloneImage(FT_HANDLE hCable, const StandAloneImage& image,
                          const std::function<void(DWORD)>& sending) {
    for (DWORD a = 0; a < image.count && a < STANDALONE_IMAGE_SIZE; ++a) {
        if (sending) {
            sending(a + 1);
        }
        CableWriteEepromByte(hCable, static_cast<WORD>(a), image.bytes[a]);
    }
}

DWORD WriteStandAloneImageWhile(FT_HANDLE hCable, const StandAloneImage& image,
                                const std::function<void(DWORD)>& sending,
                                const std::function<bool()>& goOn) {
    DWORD a = 0;
    // A device goes during a byte's pause far more often than during its write: the bytes before
    // the loss was seen count as sent.
    for (; a < image.count && a < STANDALONE_IMAGE_SIZE; ++a) {
        if ((goOn && !goOn()) || CableIsGone(hCable)) {
            break;
        }
        if (sending) {
            sending(a + 1);
        }
        CableWriteEepromByte(hCable, static_cast<WORD>(a), image.bytes[a]);
    }
    return a;
}
