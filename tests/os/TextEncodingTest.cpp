#include "platform/os/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, ProgramTextAndFileNamesBecomeUtf8AndBack) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"QP4 V2.0", "QP4 V2.0"},
        {"25 \xB0"
         "C",
         "25 \xC2\xB0"
         "C"},  // the degree sign alone is no UTF-8: Windows-1252
        // The 0x80 block: euro sign, double low quotation mark, Z caron, Y diaeresis.
        {"\x80\x84\x8E\x9F", "\xE2\x82\xAC\xE2\x80\x9E\xC5\xBD\xC5\xB8"},
        // The bytes without a character keep their C1 control.
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {"\xFF", "\xC3\xBF"},
        // A file name: well-formed UTF-8 stays as it is (e acute, a CJK character).
        {"/tmp/Tabell\xC3\xA9 \xE8\xA1\xA8.txt", "/tmp/Tabell\xC3\xA9 \xE8\xA1\xA8.txt"},
        // Cut off or overlong: byte by byte, as Windows-1252.
        {"\xC3", "\xC3\x83"},
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},
        {"\xC1\xBF", "\xC3\x81\xC2\xBF"},
        {"\xE0\x80\xAF", "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},
        {"\xF0\x8F\xBF\xBF", "\xC3\xB0\xC2\x8F\xC2\xBF\xC2\xBF"},
        // Code points beyond U+10FFFF, and the lead bytes of nothing else: byte by byte too.
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
        {"\xF5\x80\x80\x80", "\xC3\xB5\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"},
        {"\xF6\x90\x80\x80", "\xC3\xB6\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
        {"\xF7\xBF\xBF\xBF", "\xC3\xB7\xC2\xBF\xC2\xBF\xC2\xBF"},
        // A path that mixes both: a Latin-1 e acute before a blank, before a UTF-8 one and before
        // a dot, each shown as the same character.
        {"/tmp/caf\xE9 \xC3\xA9t\xE9\xC3\xA9.ini",
         "/tmp/caf\xC3\xA9 \xC3\xA9t\xC3\xA9\xC3\xA9.ini"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DisplayTextToUtf8(row.in), row.out) << row.in;
    }
    // Every byte comes back from what is shown, except where it formed UTF-8.
    for (int byte = 1; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(Utf8ToWindows1252(DisplayTextToUtf8(one)), one) << byte;
    }
    EXPECT_EQ(Utf8ToWindows1252("\xE8\xA1\xA8 \xE2\x82\xAC"), "? \x80");
}
