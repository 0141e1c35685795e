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
inline std::string NarrowFrom(const wchar_t* text, int length)
{
    int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], n, nullptr, nullptr);
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
