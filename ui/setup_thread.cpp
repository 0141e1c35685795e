#include <windows.h>

#include <atomic>

#include "ui/setup_link.h"

extern std::atomic<HWND> g_setupWindow;

void StartSetupThread()
{
    // The Setup window and its thread are not part of this build yet: a
    // reset that would open it opens nothing.
}

void CloseOperatorWindows()
{
    HWND h = g_setupWindow.load();
    if (!h)
        return;
    SendMessageA(h, WM_CLOSE, 0, 0);
    // Bounded: unloading must never hang on a thread that does not answer.
    for (int i = 0; i < 100 && g_setupWindow.load(); ++i)
        Sleep(20);
}
