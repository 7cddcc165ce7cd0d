#include "platform/os/DisplayWidth.h"

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Combining marks, zero-width spaces and joiners, variation selectors.
constexpr Range kNoWidth[] = {{0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD},
                              {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F},
                              {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}};
// East Asian wide and full-width characters, and the emoji shown two columns wide.
constexpr Range kDoubleWidth[] = {{0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},
                                  {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
                                  {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},
                                  {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
                                  {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD}};

template <std::size_t N>
bool In(const Range (&ranges)[N], char32_t c) {
    for (const Range& r : ranges) {
        if (c >= r.first && c <= r.last) {
            return true;
        }
    }
    return false;
}

// The character at `i` and the bytes it takes; a byte that starts no UTF-8 character is one.
char32_t Decode(const std::string& text, std::size_t i, std::size_t& length) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || i + length > text.size()) {
        length = 1;
        return lead;
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            length = 1;
            return lead;
        }
        c = (c << 6) | (next & 0x3F);
    }
    return c;
}

std::size_t CharacterWidth(char32_t c) {
    return In(kNoWidth, c) ? 0 : In(kDoubleWidth, c) ? 2 : 1;
}

}  // namespace

std::size_t DisplayWidth(const std::string& utf8) {
    std::size_t width = 0;
    std::size_t length = 0;
    for (std::size_t i = 0; i < utf8.size(); i += length) {
        width += CharacterWidth(Decode(utf8, i, length));
    }
    return width;
}

std::string PaddedTo(std::string utf8, std::size_t width) {
    const std::size_t shown = DisplayWidth(utf8);
    utf8.append(width > shown ? width - shown : 0, ' ');
    return utf8;
}

std::string CutTo(const std::string& utf8, std::size_t width) {
    std::size_t shown = 0;
    std::size_t length = 0;
    for (std::size_t i = 0; i < utf8.size(); i += length) {
        shown += CharacterWidth(Decode(utf8, i, length));
        if (shown > width) {
            return utf8.substr(0, i);
        }
    }
    return utf8;
}
