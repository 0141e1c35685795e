// Finding and answering the plug-in's message boxes from a test.
#pragma once
#include <windows.h>

#include <string>

struct SeenBox {
    std::string caption, text;
    HWND owner = nullptr;
    bool found = false;
};

inline BOOL CALLBACK FindOwnDialog(HWND h, LPARAM p)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (pid == GetCurrentProcessId() && std::string(cls) == "#32770" && IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(p) = h;
        return FALSE;
    }
    return TRUE;
}

// Waits (bounded) for a message box of this process to appear, records its
// caption, text and owner, and presses its OK button.
inline SeenBox AnswerNextMessageBox(DWORD timeoutMs = 10000)
{
    SeenBox seen;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND box = nullptr;
        EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&box));
        if (box) {
            char buf[512] = "";
            GetWindowTextA(box, buf, sizeof buf);
            seen.caption = buf;
            // The message text is the box's static control (id 0xFFFF).
            GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
            seen.text = buf;
            seen.owner = GetWindow(box, GW_OWNER);
            seen.found = true;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return seen;
        }
        Sleep(50);
    }
    return seen;
}
