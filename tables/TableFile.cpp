#include "tables/TableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/os/SafeFile.h"

bool TableFileScanner::Feed(const char* bytes, size_t count) {
    for (size_t i = 0; i < count && !m_stopped; ++i) {
        const char byte = bytes[i];
        if (byte == '\0') {
            continue;  // neither part of a number nor a separator
        }
        if (byte >= '0' && byte <= '9') {
            // Unsigned, so that long digit runs wrap instead of overflowing; only the low 16 bits
            // are kept, and those do not depend on the wrap.
            m_number = (m_inNumber ? m_number : 0u) * 10u + static_cast<std::uint32_t>(byte - '0');
            const std::uint64_t whole = m_inNumber ? m_wholeNumber : 0u;
            const std::uint64_t digit = static_cast<std::uint64_t>(byte - '0');
            m_wholeNumber = whole > (UINT64_MAX - digit) / 10u ? UINT64_MAX : whole * 10u + digit;
            m_inNumber = true;
            continue;
        }
        EndNumber();
        if (!m_stopped && byte == '\n') {
            if (m_line < TABLE_SIZE) {
                ++m_line;
            }
            m_position = 0;
        }
    }
    return !m_stopped;
}

void TableFileScanner::EndNumber() {
    if (!m_inNumber) {
        return;
    }
    m_inNumber = false;
    if (m_line < TABLE_SIZE && m_position < kPositions) {
        m_grid[m_line][m_position] = static_cast<WORD>(m_number & 0xFFFFu);
        m_numbers[m_line][m_position] = m_wholeNumber;
        m_given[m_line][m_position] = true;
    }
    if (++m_count == TABLE_SIZE) {
        m_stopped = true;
    } else if (m_position < kPositions) {
        ++m_position;
    }
}

int TableFileScanner::Apply(WORD (&table)[TABLE_SIZE]) const {
    // A number still in progress at the end of the file was never ended, so it is not taken.
    if (m_position >= kPositions) {
        return 0;
    }
    int stored = 0;
    for (int i = 0; i < TABLE_SIZE; ++i) {
        if (m_given[i][m_position]) {
            table[i] = m_grid[i][m_position];
            ++stored;
        }
    }
    return stored;
}

int TableFileScanner::ApplyNumbers(std::uint64_t (&numbers)[TABLE_SIZE]) const {
    if (m_position >= kPositions) {
        return 0;
    }
    int stored = 0;
    for (int i = 0; i < TABLE_SIZE; ++i) {
        if (m_given[i][m_position]) {
            numbers[i] = m_numbers[i][m_position];
            ++stored;
        }
    }
    return stored;
}

namespace {

// Scans the whole file. False when it cannot be opened or read (a folder, a device or a pipe
// counts as a file that cannot be opened).
bool ScanTableFile(const CString& path, TableFileScanner& scanner) {
    // Non-blocking, so that a pipe chosen by mistake does not hang the open.
    const int fd = ::open(path.GetString(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    // The size the file system reports is what is read, in pieces, so that a large file costs no
    // more memory than a small one.
    std::vector<char> buffer(64 * 1024);
    off_t remaining = st.st_size;
    bool failed = false;
    while (remaining > 0) {
        const size_t want = static_cast<size_t>(
            remaining < static_cast<off_t>(buffer.size()) ? remaining : buffer.size());
        const ssize_t n = ::read(fd, buffer.data(), want);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            failed = true;
            break;
        }
        if (n == 0) {
            break;  // the file shrank while it was read: what was there is the file
        }
        remaining -= n;
        if (!scanner.Feed(buffer.data(), static_cast<size_t>(n))) {
            break;
        }
    }
    ::close(fd);
    return !failed;
}

}  // namespace

BOOL LoadTableFile(const CString& path, WORD (&table)[TABLE_SIZE], int* stored) {
    // Held apart from the stack: its grids are large.
    auto scanner = std::make_unique<TableFileScanner>();
    if (!ScanTableFile(path, *scanner)) {
        return FALSE;
    }
    const int given = scanner->Apply(table);
    if (stored != nullptr) {
        *stored = given;
    }
    return TRUE;
}

BOOL LoadTableFileNumbers(const CString& path, std::uint64_t (&numbers)[TABLE_SIZE], int* stored) {
    auto scanner = std::make_unique<TableFileScanner>();
    if (!ScanTableFile(path, *scanner)) {
        return FALSE;
    }
    const int given = scanner->ApplyNumbers(numbers);
    if (stored != nullptr) {
        *stored = given;
    }
    return TRUE;
}

std::string FormatTableFile(const WORD (&table)[TABLE_SIZE]) {
    std::string text;
    text.reserve(TABLE_SIZE * 6);
    char line[16];
    for (WORD entry : table) {
        const int n = std::snprintf(line, sizeof line, "%d\n", static_cast<int>(entry));
        text.append(line, static_cast<size_t>(n));
    }
    return text;
}

int SaveTableFile(const CString& path, const WORD (&table)[TABLE_SIZE]) {
    return WriteFileSafely(path.str(), FormatTableFile(table));
}
