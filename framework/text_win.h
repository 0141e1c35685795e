// Text between the 8-bit code pages and the wide (UTF-16) calls of Windows,
// in one place: the host link, automation errors and the Russian window
// texts all cross it.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

// Wide text of 8-bit text in the given code page.
inline std::wstring WideFrom(const std::string& text, UINT codePage = CP_ACP)
{
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

// 8-bit text (the system's code page) of wide text; a BSTR may hold NULs.
// Never a look-alike letter: a character the code page cannot hold becomes
// its default character ("?"), and *exact (when given) tells whether every
// character was held as it is.
inline std::string NarrowFrom(const wchar_t* text, int length, bool* exact = nullptr)
{
    // A UTF-8 system code page holds everything and takes neither the flag
    // nor the question.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* askDefault = utf8 ? nullptr : &usedDefault;
    int n = WideCharToMultiByte(CP_ACP, flags, text, length, nullptr, 0, nullptr, askDefault);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, flags, text, length, &out[0], n, nullptr, askDefault);
    if (exact)
        *exact = !usedDefault;
    return out;
}

inline std::string NarrowFrom(BSTR text)
{
    return text ? NarrowFrom(text, static_cast<int>(SysStringLen(text))) : std::string();
}

// A new BSTR of 8-bit text; the caller frees it.
inline BSTR BstrFrom(const std::string& text)
{
    const std::wstring wide = WideFrom(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
