// CString: narrow 8-bit text in Windows-1252, with the operations of the Windows string class that
// the program uses. Conversion to other encodings happens only at the user-interface boundary.
#pragma once

#include <cstdarg>
#include <string>

#include "platform/os/WinTypes.h"

class CString {
public:
    CString() = default;
    CString(const char* text)
        : m_s(text ? text : "") {}  // NOLINT: implicit as in the original class
    CString(const char* text, int length) : m_s(text, length > 0 ? length : 0) {}
    CString(const std::string& text) : m_s(text) {}  // NOLINT
    CString(char ch, int repeat = 1) : m_s(repeat > 0 ? repeat : 0, ch) {}

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    const char* GetString() const { return m_s.c_str(); }
    operator const char*() const { return m_s.c_str(); }  // NOLINT: as in the original class
    const std::string& str() const { return m_s; }

    char GetAt(int index) const { return m_s.at(static_cast<size_t>(index)); }
    void SetAt(int index, char ch) { m_s.at(static_cast<size_t>(index)) = ch; }
    char operator[](int index) const { return GetAt(index); }

    CString& operator=(const char* text) {
        m_s = text ? text : "";
        return *this;
    }
    CString& operator+=(const CString& other) {
        m_s += other.m_s;
        return *this;
    }
    CString& operator+=(const char* text) {
        m_s += text ? text : "";
        return *this;
    }
    CString& operator+=(char ch) {
        m_s += ch;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const char* b) { return a + CString(b); }
    friend CString operator+(const char* a, const CString& b) { return CString(a) + b; }
    friend CString operator+(const CString& a, char b) { return CString(a.m_s + b); }

    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
    friend bool operator==(const char* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;

    // printf-style formatting; the text is replaced.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Index of the first occurrence at or after start, or -1.
    int Find(const char* sub, int start = 0) const;
    int Find(char ch, int start = 0) const;
    int ReverseFind(char ch) const;

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    int Replace(const char* oldText, const char* newText);
    int Delete(int index, int count = 1);
    int Insert(int index, const char* text);

private:
    std::string m_s;
};
