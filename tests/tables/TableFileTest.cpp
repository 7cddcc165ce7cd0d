#include "tables/TableFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/support/TempRuntimeDir.h"

namespace {

// Entry `index` after scanning `text` into a table whose entries were all 7, and how many entries
// the scan stored.
std::pair<WORD, int> ScannedEntry(const std::string& text, int index) {
    WORD table[TABLE_SIZE];
    std::fill(table, table + TABLE_SIZE, WORD{7});
    TableFileScanner scanner;
    scanner.Feed(text.data(), text.size());
    const int stored = scanner.Apply(table);
    return {table[index], stored};
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
        int stored;
    } cases[] = {
        {"one number a line", Lines(256, "\n"), 255, 256, 256},
        {"CR LF", Lines(256, "\r\n"), 100, 101, 256},
        {"low 16 bits", "70000\n", 0, 4464, 1},
        {"a minus sign separates", "-5\n", 0, 5, 1},
        {"a NUL byte is skipped", std::string("1") + '\0' + "2\n", 0, 12, 1},
        {"no byte after the last number", Lines(255, "\n") + "256", 255, 7, 255},
        {"fewer numbers keep the rest", "3\n", 1, 7, 1},
        {"the 256th number picks column 1", Lines(128, "\n", true), 127, 1128, 128},
        {"numbers after the 256th move nothing", Lines(127, "\n", true) + "128 1128 5 6\n", 127,
         1128, 128},
        {"a 9th number is outside the grid", "1 2 3 4 5 6 7 8 9 10", 0, 7, 0},
        {"a 9th number does not reach the next line", "1 2 3 4 5 6 7 8 9\n", 1, 7, 1},
        {"a last line of eight numbers picks no column", Lines(3, "\n") + "1 2 3 4 5 6 7 8 ", 3, 7,
         0},
        {"lines past the grid", std::string(300, '\n') + "5\n", 0, 7, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScannedEntry(c.text, c.index), std::make_pair(c.expected, c.stored)) << c.what;
    }
    // Only a regular file is read: a pipe is no table file.
    TempRuntimeDir dir;
    const std::string pipe = dir.Path() + "/Table.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    WORD table[TABLE_SIZE] = {};
    EXPECT_FALSE(LoadTableFile(pipe.c_str(), table));
}

TEST(TableFileTest, TheNumbersAsWrittenKeepWhatTheCutTo16BitsDrops) {
    const struct {
        std::string text;
        WORD entry;
        std::uint64_t number;
    } cases[] = {
        {"1023\n", 1023, 1023},
        {"70000\n", 4464, 70000},
        {"4294967296\n", 0, 4294967296u},              // beyond 32 bits, where the cut alone sees 0
        {"99999999999999999999999\n", 0, UINT64_MAX},  // saturated: its cut is not checked
    };
    for (const auto& c : cases) {
        TableFileScanner scanner;
        scanner.Feed(c.text.data(), c.text.size());
        WORD table[TABLE_SIZE] = {};
        std::uint64_t numbers[TABLE_SIZE] = {};
        EXPECT_EQ(scanner.Apply(table), 1) << c.text;
        EXPECT_EQ(scanner.ApplyNumbers(numbers), 1) << c.text;
        EXPECT_EQ(numbers[0], c.number) << c.text;
        if (c.number != UINT64_MAX) {
            EXPECT_EQ(table[0], c.entry) << c.text;
        }
    }
}
