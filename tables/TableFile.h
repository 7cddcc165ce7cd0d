// Table text files: one entry per line in index order, each an unsigned decimal number ended by a
// line feed. Loading scans any bytes: numbers fill a grid of 8 positions on each of 256 lines, and
// the table takes the column at which the scan stopped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/os/CString.h"
#include "tables/LookupTable.h"

class TableFileScanner {
public:
    // Scans the next bytes of the file; false once the 256th number has been taken (the scan stops
    // there and later bytes change nothing).
    bool Feed(const char* bytes, size_t count);
    // Stores the numbers of the column at which the scan stopped. Entries for which the file gave
    // no number there keep their value; numbers beyond the grid are not kept. Returns how many
    // entries were stored.
    int Apply(WORD (&table)[TABLE_SIZE]) const;
    // The same numbers as the file writes them, before they are cut to 16 bits (a number beyond
    // 64 bits as the largest one), so that a value beyond a range can be named.
    int ApplyNumbers(std::uint64_t (&numbers)[TABLE_SIZE]) const;

    static constexpr int kPositions = 8;

private:
    void EndNumber();

    WORD m_grid[TABLE_SIZE][kPositions] = {};
    std::uint64_t m_numbers[TABLE_SIZE][kPositions] = {};
    bool m_given[TABLE_SIZE][kPositions] = {};
    std::uint32_t m_number = 0;
    std::uint64_t m_wholeNumber = 0;  // the same, saturated instead of wrapped
    bool m_inNumber = false;
    // Line and position stop counting at the end of the grid: past it they mean only "outside".
    int m_line = 0;
    int m_position = 0;
    int m_count = 0;
    bool m_stopped = false;
};

// Loads the table from a table text file. FALSE, with the table unchanged, when the file cannot be
// opened or read (a folder, a device or a pipe counts as a file that cannot be opened).
// `stored` (optional) receives how many entries the file gave.
BOOL LoadTableFile(const CString& path, WORD (&table)[TABLE_SIZE], int* stored = nullptr);
// The numbers of a table text file as the file writes them (ApplyNumbers), for a check of their
// range before they become a table. FALSE when the file cannot be opened or read.
BOOL LoadTableFileNumbers(const CString& path, std::uint64_t (&numbers)[TABLE_SIZE], int* stored);

// The 256 lines of a table text file.
std::string FormatTableFile(const WORD (&table)[TABLE_SIZE]);

// Writes the table text file, replacing an existing file only once the new one is complete.
// Returns 0, or the errno of the step that failed (the old file then stays as it was).
int SaveTableFile(const CString& path, const WORD (&table)[TABLE_SIZE]);
