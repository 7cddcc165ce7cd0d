#include "tables/TableIni.h"

#include <climits>

#include "platform/os/CString.h"
#include "platform/os/PrivateProfile.h"

namespace {

constexpr const char* kSectionFormat = "TABLE%d";
constexpr const char* kMaxKey = "MAX";
constexpr const char* kValueKeyFormat = "VALUE%d";
constexpr DWORD kValueBufferSize = 255;

// A decimal number read the way atoi does (leading blanks, a sign, digits up to the first other
// character, 0 for none), held at the int limits instead of overflowing.
int DecimalValue(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) {
        ++text;
    }
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') {
        ++text;
    }
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value <= INT_MAX) {
            value = value * 10 + (*text - '0');
        }
    }
    if (negative) {
        return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
    }
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

int ReadNumber(const CString& section, const CString& key, const char* path) {
    char buffer[kValueBufferSize];
    GetPrivateProfileStringA(section, key, "0", buffer, kValueBufferSize, path);
    return DecimalValue(buffer);
}

}  // namespace

BOOL SaveTableSection(const char* path, int outputIndex, WORD maxValue,
                      const WORD (&table)[TABLE_SIZE]) {
    CString section;
    section.Format(kSectionFormat, outputIndex);
    CString value;
    value.Format("%d", maxValue);
    BOOL stored = WritePrivateProfileStringA(section, kMaxKey, value, path);
    CString key;
    for (int i = 0; i < TABLE_SIZE; ++i) {
        key.Format(kValueKeyFormat, i);
        value.Format("%d", table[i]);
        if (!WritePrivateProfileStringA(section, key, value, path)) {
            stored = FALSE;
        }
    }
    return stored;
}

bool LoadTableSection(const char* path, int outputIndex, WORD& maxValue,
                      WORD (&table)[TABLE_SIZE]) {
    CString section;
    section.Format(kSectionFormat, outputIndex);
    const int max = ReadNumber(section, kMaxKey, path);
    if (max == 0) {
        return false;
    }
    maxValue = static_cast<WORD>(max & 0xFFFF);
    CString key;
    for (int i = 0; i < TABLE_SIZE; ++i) {
        key.Format(kValueKeyFormat, i);
        table[i] = static_cast<WORD>(ReadNumber(section, key, path) & 0xFFFF);
    }
    return true;
}
