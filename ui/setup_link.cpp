#include "ui/setup_link.h"

#include <windows.h>

#include <atomic>


// The Setup window's handle, published by the Setup thread only while the
// window exists. The host's thread posts and closes through it, never
// through the window object, which the other thread may be deleting.
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
