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

void CStdioFile::WriteString(const CString& text)
{
    if (!m_file)
        return;
    std::fwrite(text.GetString(), 1, static_cast<size_t>(text.GetLength()), m_file);
    std::fflush(m_file);
}

void CStdioFile::WriteLine(const CString& text)
{
    WriteString(text + kLineEnd);
}

void CStdioFile::Close()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}
