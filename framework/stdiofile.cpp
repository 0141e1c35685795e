#include "framework/stdiofile.h"

#include "framework/platform.h"

#include <cerrno>
#include <string>
#ifdef _WIN32
#include <share.h>
#endif

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
    // Names use '\\' between folders, as on Windows.
    std::string native(name);
    for (char& c : native)
        if (c == '\\')
            c = '/';
    m_file = std::fopen(native.c_str(), mode);
#endif
    return m_file != nullptr;
}

bool CStdioFile::ReadString(CString& line)
{
    line.Empty();
    if (!m_file)
        return false;
    // Lines are cut from blocks read whole: a call per character costs too
    // much on the long files of a long contest. Every byte is kept, NULs too.
    std::string s;
    for (;;) {
        if (m_readPos == m_readBuf.size()) {
            m_readBuf.resize(kReadBlock);
            size_t got = std::fread(&m_readBuf[0], 1, kReadBlock, m_file);
            m_readBuf.resize(got);
            m_readPos = 0;
            if (got == 0)
                break;
        }
        size_t end = m_readBuf.find('\n', m_readPos);
        if (end != std::string::npos) {
            s.append(m_readBuf, m_readPos, end - m_readPos);
            m_readPos = end + 1;
            if (!s.empty() && s.back() == '\r')
                s.pop_back();
            line = CString(s);
            return true;
        }
        s.append(m_readBuf, m_readPos, std::string::npos);
        m_readPos = m_readBuf.size();
    }
    if (s.empty())
        return false;
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
    return WriteString(text + BALTIC_CRLF);
}

bool CStdioFile::ReadAll(CString& text)
{
    text.Empty();
    if (!m_file)
        return false;
    std::string all(m_readBuf, m_readPos, std::string::npos);
    m_readBuf.clear();
    m_readPos = 0;
    char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, m_file)) > 0)
        all.append(block, got);
    text = CString(all);
    return !std::ferror(m_file);
}

bool CStdioFile::Commit()
{
    return m_file && std::fflush(m_file) == 0 && FlushToDisk(m_file);
}

bool CStdioFile::Close()
{
    if (!m_file)
        return true;
    // The stream's error flag records a failed read or write since Open.
    bool sound = !std::ferror(m_file);
    sound = std::fclose(m_file) == 0 && sound;
    m_file = nullptr;
    m_readBuf.clear();
    m_readPos = 0;
    return sound;
}

bool ReadFileContent(const char* name, CString& content)
{
    content.Empty();
    CStdioFile in;
    errno = 0;
    if (!in.Open(name, CStdioFile::modeRead))
        return errno == ENOENT;
    bool read = in.ReadAll(content);
    return in.Close() && read;
}

bool ReplaceFileContent(const char* name, const CString& content)
{
    const CString temp = CString(name) + ".tmp";
    CStdioFile out;
    // Committed before the rename: otherwise a power cut soon after can
    // leave the name on a file whose data never reached the disk.
    bool written = out.Open(temp, CStdioFile::modeWrite) && out.WriteString(content) && out.Commit();
    written = out.Close() && written;
    if (!written) {
        std::remove(temp);
        return false;
    }
    if (ReplaceFileWith(temp, name))
        return true;
    if (!out.Open(name, CStdioFile::modeWrite))
        return false;
    written = out.WriteString(content) && out.Commit();
    if (!out.Close() || !written)
        return false;
    std::remove(temp);
    return true;
}
