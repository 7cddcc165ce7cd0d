// How wide text is on a terminal: what lines up the columns of brenvo-cli and brenvo-dimmer in
// every language.
#include <gtest/gtest.h>

#include "platform/os/DisplayWidth.h"

TEST(DisplayWidth, CountsWhatATerminalShowsNotBytes) {
    const struct {
        const char* text;
        std::size_t width;
    } cases[] = {
        {"12 outputs", 10},
        {"12 Ausg\xC3\xA4nge", 11},       // two bytes, one column
        {"\xE6\x97\xA5\xE6\x9C\xAC", 4},  // two wide characters
        {"e\xCC\x81", 1},                 // a combining accent takes no column
        {"\xF0\x9F\x98\x80", 2},          // an emoji
        {"\xFF\xC3", 2},                  // bytes that make no character: one each
        {"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
    }
    EXPECT_EQ(PaddedTo("Ausg\xC3\xA4nge", 10), "Ausg\xC3\xA4nge  ");
    EXPECT_EQ(PaddedTo("too long", 3), "too long");
    EXPECT_EQ(CutTo("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 5), "\xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(CutTo("Gr\xC3\xBC\xC3\x9F"
                    "e",
                    4),
              "Gr\xC3\xBC\xC3\x9F");
}
