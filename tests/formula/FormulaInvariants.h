// What every evaluation must satisfy whatever the text: a stop position inside the trimmed formula
// and a message of one of the defined forms. Shared by the corpus replay and the fuzz target.
#pragma once

#include <cstdio>

#include "platform/os/CString.h"
#include "platform/os/WinTypes.h"

// Returns nullptr when the result is well formed, otherwise what is wrong with it.
inline const char* FormulaResultFault(CString formula, WORD errorPosition, const CString& message) {
    static const char* const notes[] = {"", " (Division durch Null)",
                                        " (keine Wurzel aus neg. Zahl)",
                                        " (Ein Error wurde abgefangen)"};
    const int length = formula.Trim().GetLength();
    if (errorPosition > length) {
        return "error position beyond the formula";
    }
    CString prefix;
    prefix.Format("Error an Position %d gefunden", static_cast<int>(errorPosition));
    for (const char* note : notes) {
        const CString expected = errorPosition == 0 ? CString(note) : prefix + note + "!";
        if (message == expected) {
            return nullptr;
        }
    }
    return "message of an undefined form";
}
