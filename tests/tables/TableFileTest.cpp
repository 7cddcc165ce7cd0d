#include "tables/TableFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Entry `index` after scanning `text` into a table whose entries were all 7.
WORD ScannedEntry(const std::string& text, int index) {
    WORD table[TABLE_SIZE];
    std::fill(table, table + TABLE_SIZE, WORD{7});
    TableFileScanner scanner;
    scanner.Feed(text.data(), text.size());
    scanner.Apply(table);
    return table[index];
}

// The numbers 1 to count, one a line, or each followed by 1000 more on the same line.
std::string Lines(int count, const char* end, bool pairs = false) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += std::to_string(i) + (pairs ? " " + std::to_string(1000 + i) : "") + end;
    }
    return text;
}

}  // namespace

TEST(TableFileTest, TheScanTakesOneColumnOfTheGridAndKeepsEntriesTheFileDoesNotGive) {
    const struct {
        const char* what;
        std::string text;
        int index;
        WORD expected;
    } cases[] = {
        {"one number a line", Lines(256, "\n"), 255, 256},
        {"CR LF", Lines(256, "\r\n"), 100, 101},
        {"low 16 bits", "70000\n", 0, 4464},
        {"a minus sign separates", "-5\n", 0, 5},
        {"a NUL byte is skipped", std::string("1") + '\0' + "2\n", 0, 12},
        {"no byte after the last number", Lines(255, "\n") + "256", 255, 7},
        {"fewer numbers keep the rest", "3\n", 1, 7},
        {"the 256th number picks column 1", Lines(128, "\n", true), 127, 1128},
        {"a 9th number is outside the grid", "1 2 3 4 5 6 7 8 9 10", 0, 7},
        {"lines past the grid", std::string(300, '\n') + "5\n", 0, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScannedEntry(c.text, c.index), c.expected) << c.what;
    }
}
