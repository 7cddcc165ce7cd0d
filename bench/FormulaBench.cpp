// Filling a lookup table from a formula as the formula dialog does: a new parser for each of the
// 256 input values. Target: at most 1 ms for the whole table.
#include <benchmark/benchmark.h>

#include "formula/CFormulaParser.h"

static void BM_FormulaFillTable(benchmark::State& state) {
    const CString formula("sin(x/40)*500+500");
    WORD table[256];
    for (auto _ : state) {
        for (int x = 0; x < 256; ++x) {
            CFormulaParser parser;
            WORD position = 0;
            CString message;
            const double value = parser.Calculation(formula, x, position, message);
            table[x] = static_cast<WORD>(static_cast<LONG>(value));
        }
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_FormulaFillTable)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
