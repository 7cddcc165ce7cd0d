// Fuzz target: arbitrary bytes as a table text file. Scanning them in two pieces must give what one
// piece gives, whatever the split; and a table saved as text must load back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tables/TableFile.h"

namespace {

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    WORD whole[TABLE_SIZE];
    WORD split[TABLE_SIZE];
    for (int i = 0; i < TABLE_SIZE; ++i) {
        whole[i] = split[i] = static_cast<WORD>(i * 257);
    }
    TableFileScanner one;
    one.Feed(bytes, size);
    const int stored = one.Apply(whole);
    Check(stored >= 0 && stored <= TABLE_SIZE, "stored count out of range");

    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    TableFileScanner two;
    if (two.Feed(bytes, cut)) {
        two.Feed(bytes + cut, size - cut);
    }
    Check(two.Apply(split) == stored && std::memcmp(whole, split, sizeof whole) == 0,
          "a split scan gave another table");

    // The bytes as a table: its text loads back as the same table.
    WORD table[TABLE_SIZE] = {};
    std::memcpy(table, data, size < sizeof table ? size : sizeof table);
    const std::string text = FormatTableFile(table);
    WORD loaded[TABLE_SIZE] = {};
    TableFileScanner back;
    Check(!back.Feed(text.data(), text.size()), "a saved table does not end the scan");
    Check(back.Apply(loaded) == TABLE_SIZE && std::memcmp(loaded, table, sizeof table) == 0,
          "a saved table did not load back");
    return 0;
}
