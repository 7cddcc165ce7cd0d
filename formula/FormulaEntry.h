// A formula's value for one table entry, as the formula editor fills a table.
#pragma once

#include "platform/os/CString.h"
#include "platform/os/WinTypes.h"

// The formula at x, truncated toward zero to 32 bits (TruncateToInt32), low 16 bits.
// `errorPosition` is 0 when the whole formula was read, else where reading stopped (1-based);
// `message` is the parser's note.
WORD FormulaEntry(const CString& formula, WORD x, WORD& errorPosition, CString& message);
// The formula's value at x before it becomes an entry, for a check of its range.
double FormulaValue(const CString& formula, WORD x, WORD& errorPosition, CString& message);
