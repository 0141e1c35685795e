#include "framework/str.h"
#include "framework/platform.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

char CString::GetAt(int index) const
{
    if (index < 0 || index >= GetLength())
        throw std::invalid_argument("CString index out of range");
    return m_s[static_cast<size_t>(index)];
}

int CString::Compare(const char* other) const
{
    return std::strcmp(m_s.c_str(), other ? other : "");
}

int CString::CompareNoCase(const char* other) const
{
    return AnsiCompareNoCase(m_s.c_str(), other ? other : "");
}

int CString::CompareNoCaseAscii(const char* other) const
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_s.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(other ? other : "");
    for (;; ++a, ++b) {
        int ca = (*a >= 'A' && *a <= 'Z') ? *a + 32 : *a;
        int cb = (*b >= 'A' && *b <= 'Z') ? *b + 32 : *b;
        if (ca != cb || !ca)
            return ca - cb;
    }
}

void CString::FormatV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n < 0) {
        m_s.clear();
        return;
    }
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, args);
    m_s.assign(buf.data(), static_cast<size_t>(n));
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char* format, ...)
{
    CString piece;
    va_list args;
    va_start(args, format);
    piece.FormatV(format, args);
    va_end(args);
    m_s += piece.m_s;
}

int CString::Find(const char* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength())
        return -1;
    size_t p = m_s.find(sub, static_cast<size_t>(start));
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::Find(char c, int start) const
{
    if (start < 0 || start > GetLength())
        return -1;
    size_t p = m_s.find(c, static_cast<size_t>(start));
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (first >= GetLength() || count <= 0)
        return CString();
    return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Right(int count) const
{
    if (count <= 0)
        return CString();
    if (count >= GetLength())
        return *this;
    return Mid(GetLength() - count);
}

CString& CString::Trim()
{
    const char* blanks = " \t\r\n";
    size_t first = m_s.find_first_not_of(blanks);
    if (first == std::string::npos) {
        m_s.clear();
        return *this;
    }
    size_t last = m_s.find_last_not_of(blanks);
    m_s = m_s.substr(first, last - first + 1);
    return *this;
}

int CString::Replace(const char* from, const char* to)
{
    if (!from || !*from)
        return 0;
    std::string result;
    std::string with = to ? to : "";
    size_t fromLen = std::strlen(from);
    size_t pos = 0;
    int count = 0;
    for (;;) {
        size_t hit = m_s.find(from, pos);
        if (hit == std::string::npos)
            break;
        result.append(m_s, pos, hit - pos);
        result += with;
        pos = hit + fromLen;
        ++count;
    }
    if (count) {
        result.append(m_s, pos, std::string::npos);
        m_s.swap(result);
    }
    return count;
}

CString BlankControls(const CString& text)
{
    std::string s = text.str();
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return CString(s);
}

CString Shown(const CString& text)
{
    const int kShownMax = 40;
    CString s = BlankControls(text);
    return s.GetLength() > kShownMax ? s.Left(kShownMax) + "..." : s;
}

CString Quoted(const CString& text)
{
    return "\"" + Shown(text) + "\"";
}

CString Trimmed(const CString& text)
{
    CString t = text;
    return t.Trim();
}

bool SameNoCase(const CString& a, const char* b)
{
    return a.CompareNoCaseAscii(b) == 0;
}
