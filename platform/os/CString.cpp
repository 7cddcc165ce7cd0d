#include "platform/os/CString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Windows-1252 case mapping is ASCII-only in the invariant locale that the program relies on.
char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int Clamp(int v, int lo, int hi) {
    return std::max(lo, std::min(v, hi));
}

}  // namespace

int CString::Compare(const char* text) const {
    return std::strcmp(m_s.c_str(), text ? text : "");
}

int CString::CompareNoCase(const char* text) const {
    const char* a = m_s.c_str();
    const char* b = text ? text : "";
    for (;; ++a, ++b) {
        const unsigned char ca = static_cast<unsigned char>(LowerAscii(*a));
        const unsigned char cb = static_cast<unsigned char>(LowerAscii(*b));
        if (ca != cb || ca == 0) {
            return ca < cb ? -1 : (ca > cb ? 1 : 0);
        }
    }
}

void CString::FormatV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        m_s.clear();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    m_s.assign(buffer.data(), static_cast<size_t>(needed));
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char* format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_s += tail.m_s;
}

int CString::Find(const char* sub, int start) const {
    if (start < 0 || start > GetLength()) {
        return -1;
    }
    const size_t at = m_s.find(sub ? sub : "", static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start > GetLength()) {
        return -1;
    }
    const size_t at = m_s.find(ch, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
    const size_t at = m_s.rfind(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const {
    return CString(m_s.substr(0, static_cast<size_t>(Clamp(count, 0, GetLength()))));
}

CString CString::Right(int count) const {
    const int n = Clamp(count, 0, GetLength());
    return CString(m_s.substr(static_cast<size_t>(GetLength() - n)));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    const int from = Clamp(first, 0, GetLength());
    const int n = Clamp(count, 0, GetLength() - from);
    return CString(m_s.substr(static_cast<size_t>(from), static_cast<size_t>(n)));
}

CString& CString::MakeUpper() {
    std::transform(m_s.begin(), m_s.end(), m_s.begin(), UpperAscii);
    return *this;
}

CString& CString::MakeLower() {
    std::transform(m_s.begin(), m_s.end(), m_s.begin(), LowerAscii);
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft() {
    const auto it = std::find_if(m_s.begin(), m_s.end(), [](char c) { return !IsSpace(c); });
    m_s.erase(m_s.begin(), it);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_s.empty() && IsSpace(m_s.back())) {
        m_s.pop_back();
    }
    return *this;
}

int CString::Replace(const char* oldText, const char* newText) {
    const std::string from = oldText ? oldText : "";
    const std::string to = newText ? newText : "";
    if (from.empty()) {
        return 0;
    }
    int count = 0;
    for (size_t at = m_s.find(from); at != std::string::npos; at = m_s.find(from, at + to.size())) {
        m_s.replace(at, from.size(), to);
        ++count;
    }
    return count;
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0) {
        m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }
    return GetLength();
}

int CString::Insert(int index, const char* text) {
    m_s.insert(static_cast<size_t>(Clamp(index, 0, GetLength())), text ? text : "");
    return GetLength();
}
