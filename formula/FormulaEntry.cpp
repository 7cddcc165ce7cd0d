#include "formula/FormulaEntry.h"

#include <cstdint>

#include "formula/CFormulaParser.h"
#include "formula/TableValue.h"

WORD FormulaEntry(const CString& formula, WORD x, WORD& errorPosition, CString& message) {
    CFormulaParser parser;
    errorPosition = 0;
    const double value =
        parser.Calculation(formula, static_cast<double>(x), errorPosition, message);
    return static_cast<WORD>(static_cast<std::uint32_t>(TruncateToInt32(value)));
}
