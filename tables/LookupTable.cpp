#include "tables/LookupTable.h"

#include <cmath>
#include <cstdint>

#include "formula/TableValue.h"

void FillLinear(WORD (&table)[TABLE_SIZE], WORD maxValue) {
    for (int i = 0; i < TABLE_SIZE; ++i) {
        table[i] = static_cast<WORD>((static_cast<DWORD>(i) * maxValue) / 255);
    }
}

void FillLevel(WORD (&table)[TABLE_SIZE], WORD level) {
    for (WORD& entry : table) {
        entry = level;
    }
}

void FillGamma(WORD (&table)[TABLE_SIZE], WORD maxValue, double gamma) {
    const double exponent = 1.0 / gamma;
    const double den = std::pow(255.0, exponent);
    const double top = static_cast<double>(maxValue);
    for (int i = 0; i < TABLE_SIZE; ++i) {
        // In 64 bits, so that the absolute value of the lowest 32-bit number exists.
        const std::int64_t t =
            TruncateToInt32((std::pow(static_cast<double>(i), exponent) * top) / den);
        table[i] = static_cast<WORD>(static_cast<std::uint64_t>(t < 0 ? -t : t) & 0xFFFFu);
    }
}

void Invert(WORD (&table)[TABLE_SIZE], WORD maxValue) {
    for (WORD& entry : table) {
        entry = static_cast<WORD>(maxValue - entry);
    }
}
