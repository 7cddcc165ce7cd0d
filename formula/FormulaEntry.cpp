#include "formula/FormulaEntry.h"

#include <cstdint>

#include "formula/CFormulaParser.h"
#include "formula/TableValue.h"

double FormulaValue(const CString& formula, WORD x, WORD& errorPosition, CString& message) {
    CFormulaParser parser;
    errorPosition = 0;
    return parser.Calculation(formula, static_cast<double>(x), errorPosition, message);
}

WORD FormulaEntry(const CString& formula, WORD x, WORD& errorPosition, CString& message) {
    const double value = FormulaValue(formula, x, errorPosition, message);
    return static_cast<WORD>(static_cast<std::uint32_t>(TruncateToInt32(value)));
}
