// CString: an 8-bit ANSI text with value semantics, the subset of the
// platform string class this plug-in uses.
#pragma once
#include <cstdarg>
#include <string>

// printf format checking of the formatting members, where the compiler
// offers it (the first argument of a member is the object).
#if defined(__GNUC__) || defined(__clang__)
#if defined(__MINGW_PRINTF_FORMAT)
#define BALTIC_PRINTF(fmt, args) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, args)))
#else
#define BALTIC_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#endif
#else
#define BALTIC_PRINTF(fmt, args)
#endif

class CString {
public:
    CString() = default;
    CString(const char* text) : m_s(text ? text : "") {}
    CString(const char* text, int length) : m_s(text ? std::string(text, static_cast<size_t>(length)) : std::string()) {}
    CString(const std::string& text) : m_s(text) {}
    CString(char c, int count = 1) : m_s(static_cast<size_t>(count > 0 ? count : 0), c) {}

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    const char* GetString() const { return m_s.c_str(); }
    operator const char*() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }
    char GetAt(int index) const;
    char operator[](int index) const { return GetAt(index); }

    CString& operator=(const char* text) { m_s = text ? text : ""; return *this; }
    CString& operator+=(const CString& other) { m_s += other.m_s; return *this; }
    CString& operator+=(const char* text) { if (text) m_s += text; return *this; }
    CString& operator+=(char c) { m_s += c; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
    friend CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
    friend bool operator==(const char* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

    // Exact byte comparison: <0, 0, >0.
    int Compare(const char* other) const;
    // Case-insensitive comparison, multibyte-aware in the ANSI code page.
    int CompareNoCase(const char* other) const;
    // Case-insensitive comparison folding ASCII letters only, byte by byte.
    int CompareNoCaseAscii(const char* other) const;

    // printf-style formatting; replaces the content.
    void Format(const char* format, ...) BALTIC_PRINTF(2, 3);
    void FormatV(const char* format, va_list args) BALTIC_PRINTF(2, 0);
    void AppendFormat(const char* format, ...) BALTIC_PRINTF(2, 3);

    // Position of the first occurrence at or after start, -1 if none.
    int Find(const char* sub, int start = 0) const;
    int Find(char c, int start = 0) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    // Removes leading and trailing blanks, tabs and line breaks.
    CString& Trim();
    // Replaces every non-overlapping occurrence; returns the count.
    int Replace(const char* from, const char* to);

private:
    std::string m_s;
};

// text with every control character (below 0x20, and 0x7F) made a blank:
// what a line of a file gets of a text that must not split or end it.
CString BlankControls(const CString& text);

// A host or header text as a finding quotes it: on one line, and cut after
// 40 characters, so that no value can bury the rest of a file.
CString Shown(const CString& text);
// Shown(text) in double quotes.
CString Quoted(const CString& text);
// A copy without the blanks around it.
CString Trimmed(const CString& text);
// Equal ignoring the case of ASCII letters.
bool SameNoCase(const CString& a, const char* b);
