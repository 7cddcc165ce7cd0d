// Fuzz target: arbitrary bytes as a formula, evaluated at a few x. Every evaluation must end with a
// well-formed result, and a parser used twice must give what a new one gives.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "formula/CFormulaParser.h"
#include "tests/formula/FormulaInvariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 100000) {
        return 0;
    }
    const CString formula(reinterpret_cast<const char*>(data), static_cast<int>(size));
    CFormulaParser reused;
    for (double x : {0.0, 1.0, 127.5, 255.0, -1e308}) {
        CFormulaParser parser;
        WORD position = 0;
        CString message;
        const double value = parser.Calculation(formula, x, position, message);
        if (const char* fault = FormulaResultFault(formula, position, message)) {
            std::fprintf(stderr, "%s (position %u, message \"%s\")\n", fault, position,
                         message.GetString());
            std::abort();
        }
        WORD againPosition = 0;
        CString againMessage;
        const double again = reused.Calculation(formula, x, againPosition, againMessage);
        if (std::memcmp(&value, &again, sizeof value) != 0 || againPosition != position ||
            againMessage != message) {
            std::fprintf(stderr, "a reused parser gave another result\n");
            std::abort();
        }
    }
    return 0;
}
