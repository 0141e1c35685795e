#include "support/read_only.h"

#ifdef _WIN32
#include <doctest.h>
#include <windows.h>

namespace support {

namespace {

// Runs a command line, Unix or Windows, and waits for it (bounded).
void Run(std::string command)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    REQUIRE_MESSAGE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                                   &si, &pi),
                    "cannot run " << command);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// The folder's Unix name under Wine, empty on Windows.
std::string UnixName(const std::string& folder)
{
    typedef char*(CDECL * UnixNameFn)(const WCHAR*);
    auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return std::string();
    std::wstring wide(folder.begin(), folder.end());
    char* name = unixName(wide.c_str());
    std::string s = name ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return s;
}

bool CanWrite(const std::string& folder)
{
    const std::string probe = folder + "\\read-only-probe.tmp";
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

// True once the folder is as asked, polled for up to 10 s: Wine does not
// wait for a Unix program it starts.
bool Set(const std::string& folder, bool readOnly)
{
    const std::string unix = UnixName(folder);
    if (!unix.empty())
        Run(std::string("/usr/bin/chattr ") + (readOnly ? "+i" : "-i") + " \"" + unix + "\"");
    else
        Run("icacls \"" + folder + "\" " + (readOnly ? "/deny *S-1-1-0:(W,D,DC)" : "/remove:d *S-1-1-0"));
    for (int i = 0; i < 500; ++i) {
        if (CanWrite(folder) != readOnly)
            return true;
        Sleep(20);
    }
    return false;
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(const std::string& folder) : m_folder(folder)
{
    m_set = Set(m_folder, true);
    if (!m_set)
        Set(m_folder, false);
    REQUIRE_MESSAGE(m_set, m_folder << " could not be made read-only");
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_set)
        Set(m_folder, false);
}

} // namespace support
#endif
