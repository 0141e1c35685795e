#include "ui/setup_link.h"

#include "ui/setup_window_handle.h"

std::atomic<HWND> g_setupWindow{nullptr};

bool IsSetupWindowOpen()
{
    return g_setupWindow.load() != nullptr;
}

bool PostPrevQsoRefresh()
{
    HWND h = g_setupWindow.load();
    return h && PostMessageA(h, WM_PREV_QSO_REFRESH, 0, 0);
}

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
