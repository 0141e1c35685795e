#include "ui/setup_link.h"

#include "cabrillo/header.h"
#include "engine/hooks.h"
#include "ui/setup_window_handle.h"

namespace {

int EditCabrilloHeader(const CString& callsign, const COleDateTime* first, const COleDateTime* second)
{
    return g_cabrilloHeader.EditHeader(callsign, first, second);
}

} // namespace

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

void InstallWindowHooks()
{
    g_windowHooks = WindowHooks{IsSetupWindowOpen, PostPrevQsoRefresh, StartSetupThread, EditCabrilloHeader};
}
