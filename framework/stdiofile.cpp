#include "framework/stdiofile.h"

#include <string>
#ifdef _WIN32
#include <share.h>
#endif

const char* const CStdioFile::kLineEnd = "\r\n";

bool CStdioFile::Open(const char* name, unsigned flags)
{
    Close();
    if (!name || !*name)
        return false;
    // Binary mode: the line end is written explicitly and read back whole.
    const char* mode = (flags & modeAppend) ? "ab" : (flags & modeWrite) ? "wb" : "rb";
#ifdef _WIN32
    m_file = _fsopen(name, mode, _SH_DENYNO);
#else
    m_file = std::fopen(name, mode);
#endif
    return m_file != nullptr;
}

bool CStdioFile::ReadString(CString& line)
{
    line.Empty();
    if (!m_file)
        return false;
    std::string s;
    int c;
    bool any = false;
    while ((c = std::fgetc(m_file)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        s += static_cast<char>(c);
    }
    if (!any)
        return false;
    if (c == '\n' && !s.empty() && s.back() == '\r')
        s.pop_back();
    line = CString(s);
    return true;
}

bool CStdioFile::WriteString(const CString& text)
{
    if (!m_file)
        return false;
    const size_t n = static_cast<size_t>(text.GetLength());
    bool written = std::fwrite(text.GetString(), 1, n, m_file) == n;
    return std::fflush(m_file) == 0 && written;
}

bool CStdioFile::WriteLine(const CString& text)
{
    return WriteString(text + kLineEnd);
}

bool CStdioFile::Close()
{
    if (!m_file)
        return true;
    // The stream's error flag records a failed read or write since Open.
    bool sound = !std::ferror(m_file);
    sound = std::fclose(m_file) == 0 && sound;
    m_file = nullptr;
    return sound;
}
