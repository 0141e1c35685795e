#include "framework/platform.h"

#include <mbstring.h>
#include <windows.h>

#include "framework/handles_win.h"
#include "framework/wnd_win.h"

#include <vector>

int AnsiCompareNoCase(const char* a, const char* b)
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b));
}

CString ProfileRead(const char* section, const char* key, const char* defaultValue, const char* file)
{
    // The call cuts a long value to size - 1 characters without telling:
    // grow the buffer until the value fits with room to spare.
    std::vector<char> buf(256);
    for (;;) {
        DWORD n = GetPrivateProfileStringA(section, key, defaultValue ? defaultValue : "", buf.data(),
                                           static_cast<DWORD>(buf.size()), file);
        if (n + 1 < buf.size())
            return CString(buf.data(), static_cast<int>(n));
        if (buf.size() >= (1u << 24))
            return CString(buf.data(), static_cast<int>(n));
        buf.resize(buf.size() * 4);
    }
}

bool ProfileWrite(const char* section, const char* key, const char* value, const char* file)
{
    return WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

bool ReplaceFileWith(const char* source, const char* target)
{
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void ForEachFileName(const char* pattern, const std::function<bool(const char* name)>& visit)
{
    WIN32_FIND_DATAA data;
    CFindHandle search(FindFirstFileA(pattern, &data));
    if (!search)
        return;
    do {
        if (!visit(data.cFileName))
            break;
    } while (FindNextFileA(search.Get(), &data));
}

void DebugTrace(const char* text)
{
    OutputDebugStringA(text ? text : "");
}

int ShowMessageBox(const char* text, const char* caption, unsigned style)
{
    // The host's own window owns the box when the calling thread has one.
    return MessageBoxA(ModalOwnerWindow(), text, caption, style);
}

void KeepModuleForProcess()
{
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&KeepModuleForProcess), &pinned);
}
