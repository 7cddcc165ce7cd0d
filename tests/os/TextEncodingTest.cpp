#include "platform/os/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, Windows1252BecomesUtf8) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"QP4 V2.0", "QP4 V2.0"},
        {"25 \xB0"
         "C",
         "25 \xC2\xB0"
         "C"},  // degree sign, as Latin-1
        // The 0x80 block: euro sign, double low quotation mark, Z caron, Y diaeresis.
        {"\x80\x84\x8E\x9F", "\xE2\x82\xAC\xE2\x80\x9E\xC5\xBD\xC5\xB8"},
        {"\x81\x8D\x8F\x90\x9D", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xFF", "\xC3\xBF"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Windows1252ToUtf8(row.in), row.out) << row.in;
    }
}
