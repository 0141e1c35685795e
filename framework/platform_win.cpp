#include "framework/platform.h"

#include <io.h>
#include <mbstring.h>
#include <windows.h>

#include "framework/handles_win.h"
#include "framework/wnd_win.h"


int AnsiCompareNoCase(const char* a, const char* b)
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b));
}

bool FlushToDisk(std::FILE* file)
{
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h) != FALSE;
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
