#include "ui/setup_link.h"

#include "cabrillo/header.h"
#include "engine/hooks.h"
#include "ui/host_link.h"
#include "ui/operator_windows.h"
#include "ui/setup_window_handle.h"

namespace {

int EditCabrilloHeader(const CString& callsign, const COleDateTime* first, const COleDateTime* second)
{
    return g_cabrilloHeader.EditHeader(callsign, first, second);
}

} // namespace

bool IsSetupWindowOpen()
{
    return g_pSetup.load() != nullptr || g_setupWindow.load() != nullptr;
}

bool PostPrevQsoRefresh()
{
    HWND h = g_setupWindow.load();
    return h && PostMessageA(h, WM_PREV_QSO_REFRESH, 0, 0);
}

namespace {

// Long enough for a busy host to answer a call in progress, short enough
// that closing the host never seems to hang.
const DWORD kCloseTimeoutMs = 3000;

DWORD WINAPI SetupThreadProc(LPVOID)
{
    Setup* window = new Setup;
    Setup* none = nullptr;
    if (!g_pSetup.compare_exchange_strong(none, window)) {
        delete window; // a Setup thread runs already
        return 1;
    }
    g_closeRequested = false;
    const HRESULT com = CoInitialize(nullptr);
    window->DoModal();
    delete window; // the Previous QSO window goes with it
    // The host reference belongs to this thread's apartment.
    g_hostApp.ReleaseDispatch();
    // While the module unloads, the host's thread holds the loader lock,
    // which uninitialising COM may want: the thread ends without it then.
    if (SUCCEEDED(com) && !g_moduleUnloading)
        CoUninitialize();
    // Last: from here on the module may go away; only the return is left.
    g_pSetup = nullptr;
    return 0;
}

// Handles this thread's messages for up to ms milliseconds, the calls of
// the Setup thread to the host object among them.
void PumpFor(DWORD ms)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

} // namespace

void StartSetupThread()
{
    if (IsSetupWindowOpen())
        CloseOperatorWindows();
    HANDLE thread = CreateThread(nullptr, 0, SetupThreadProc, nullptr, 0, nullptr);
    if (thread)
        CloseHandle(thread); // known only through g_pSetup
}

void CloseOperatorWindows()
{
    // The window is asked to close, never waited for with SendMessage: its
    // thread may be inside a call to the host object, which this thread
    // must answer. A thread still starting gets the request once its
    // window exists.
    bool asked = false;
    g_closeRequested = true;
    const DWORD start = GetTickCount();
    while (g_pSetup.load() && GetTickCount() - start < kCloseTimeoutMs) {
        HWND h = g_setupWindow.load();
        if (h && !asked)
            asked = PostMessageA(h, WM_CLOSE, 0, 0) != FALSE;
        PumpFor(10);
    }
}

void InstallWindowHooks()
{
    g_windowHooks = WindowHooks{IsSetupWindowOpen, PostPrevQsoRefresh, StartSetupThread, EditCabrilloHeader};
}
