// CStdioFile: a buffered text file, read line by line or written whole.
// Every line this module writes ends in CR LF; that is decided here alone.
#pragma once
#include <cstdio>
#include <string>

#include "framework/str.h"

// The line end of every file and text the module writes; string literals
// join it ("a line" BALTIC_CRLF).
#define BALTIC_CRLF "\r\n"

class CStdioFile {
public:
    enum OpenFlags {
        modeRead = 0x0,
        modeWrite = 0x1,      // create or truncate
        modeAppend = 0x2,     // create if missing, write at the end
    };

    CStdioFile() = default;
    ~CStdioFile() { Close(); }
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // Opens the file shared for reading and writing by other programs.
    // An empty name fails.
    bool Open(const char* name, unsigned flags);
    bool IsOpen() const { return m_file != nullptr; }
    // Reads the next line without its line end (LF or CR LF); false at the end.
    bool ReadString(CString& line);
    // Writes text as it is, then flushes. False when not all of it
    // reached the file (not open, disk full, device error).
    bool WriteString(const CString& text);
    // Writes text and the line end, then flushes.
    bool WriteLine(const CString& text);
    // Reads the rest of the file, every byte as it is.
    bool ReadAll(CString& text);
    // Hands what was written to the disk itself (not only to the system's
    // cache), so that a power cut after it cannot lose it.
    bool Commit();
    // Closes the file. False when any read or write since Open failed or
    // the close itself failed: what was read or written is then incomplete.
    bool Close();

private:
    static const size_t kReadBlock = 64 * 1024;
    FILE* m_file = nullptr;
    std::string m_readBuf; // block read ahead by ReadString
    size_t m_readPos = 0;
};

// The whole file as it is. A missing file (or folder) reads as empty;
// false when the file exists but cannot be read.
bool ReadFileContent(const char* name, CString& content);

// Gives the file name the content without ever losing a complete copy:
// the content goes to name + ".tmp" beside it, which takes the old file's
// place only when written whole and committed to the disk. A file that another program holds open
// cannot be replaced; it is then rewritten in place. False when the
// content did not reach name. A copy that could not be written whole is
// removed and the old file stays as it was; a whole copy that could not be
// put in place stays beside it, since it may be the only complete one.
bool ReplaceFileContent(const char* name, const CString& content);
