// A page's section of a configuration file: "TABLE<output index>" with MAX and VALUE0 to VALUE255.
#include <climits>

#include "platform/os/PrivateProfile.h"
#include "tables/CDlgTable.h"

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

int ReadNumber(const CString& section, const CString& key, const CString& path) {
    char buffer[kValueBufferSize];
    GetPrivateProfileStringA(section, key, "0", buffer, kValueBufferSize, path);
    return DecimalValue(buffer);
}

}  // namespace

void CDlgTable::SaveToIni(const CString& path) {
    CString section;
    section.Format(kSectionFormat, m_outputIndex);
    CString value;
    value.Format("%d", m_maxValue);
    WritePrivateProfileStringA(section, kMaxKey, value, path);
    CString key;
    for (int i = 0; i < TABLE_SIZE; ++i) {
        key.Format(kValueKeyFormat, i);
        value.Format("%d", m_table[i]);
        WritePrivateProfileStringA(section, key, value, path);
    }
}

void CDlgTable::LoadFromIni(const CString& path) {
    CString section;
    section.Format(kSectionFormat, m_outputIndex);
    const int maxValue = ReadNumber(section, kMaxKey, path);
    if (maxValue == 0) {
        return;  // no such section, or no range in it: the page stays as it is
    }
    SetMaxValue(static_cast<WORD>(maxValue & 0xFFFF));
    CString key;
    for (int i = 0; i < TABLE_SIZE; ++i) {
        key.Format(kValueKeyFormat, i);
        m_table[i] = static_cast<WORD>(ReadNumber(section, key, path) & 0xFFFF);
    }
    RefillList();
    RedrawCurve();
    HandOverCurve();
}
