// The Setup thread's life, and why the host's thread never waits for it.
//
// The host may unload the module (FreeLibrary) at any moment, and the
// Setup thread runs the module's code: it must never run it after the
// module is unmapped, and nothing may deadlock.
//
// FreeLibrary calls DllMain under the loader lock, and whatever the Setup
// thread does to close its windows may need that lock: a thread ending
// does, CoUninitialize may, and under Wine even destroying a dialog did
// (measured: a DllMain that waited for the close timed out every time).
// So DllMain can neither wait for the thread (deadlock) nor return while
// it runs (the code is unmapped under it). Hence:
//
// - The Setup thread holds a module reference for its whole life. The
//   host's thread takes it (inside ResetStats0, not under the loader lock)
//   before it creates the thread, so no timing of a FreeLibrary can unmap
//   the code while the thread starts, waits inside a host call, shows a
//   box or closes. The thread's last act is FreeLibraryAndExitThread,
//   which lives in the system, so no instruction of the module follows the
//   release.
// - While the thread lives, the host's FreeLibrary only lowers the count:
//   it returns at once and DllMain does not run. The windows stay open
//   and working until the operator closes the Setup window or the process
//   ends; the module is unloaded then, on the Setup thread. A host that
//   loads the plug-in again meanwhile finds the same windows.
// - DllMain therefore never waits: when it runs on FreeLibrary, no Setup
//   thread is left in the module's code (checked, not assumed).
// - The host's thread never waits for the Setup thread either. Both see
//   the thread's life as one phase under a lock of its own, held only to
//   read or change it (never across a call): none, open, closing, or
//   closing with a new window asked for. A reset that finds the window
//   closing asks for a new one, and the ending thread, instead of ending,
//   runs it once the old window and its apartment are gone. So one thread
//   at most runs the windows, and the host's thread only posts to them.
// - COM is initialised and uninitialised on the Setup thread, balanced,
//   once per window, with its message filter registered in between: a host
//   that is busy is asked again for a few seconds before a call fails.
//   With the module reference held, nothing waits on the loader lock for it.
// - At process exit the other threads are gone: nothing waits and nothing
//   of their apartment is released.
#include "ui/setup_link.h"

#include "cabrillo/header.h"
#include "engine/hooks.h"
#include "framework/handles_win.h"
#include "ui/host_link.h"
#include "ui/operator_windows.h"
#include "ui/setup_window_handle.h"

namespace {

int EditCabrilloHeader(const CString& callsign, const COleDateTime* first, const COleDateTime* second)
{
    return g_cabrilloHeader.EditHeader(callsign, first, second);
}

SetupPhase Phase()
{
    CSingleLock lock(g_setupThread.lock);
    return g_setupThread.phase;
}

// One Setup window, from this thread's COM start to its end.
void RunSetupWindow()
{
    const HRESULT com = CoInitialize(nullptr);
    {
        const CHostCallFilter filter;
        try {
            Setup window;
            window.DoModal();
        } catch (...) { // no window: the thread goes on as after a close
        }
        SetupWindowEnding();
        // The host reference belongs to this thread's apartment.
        g_hostApp.ReleaseDispatch();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}

// The window and its apartment are gone: true when a reset asked for a
// new window meanwhile, else the thread is done with the module's state.
bool RunAgain()
{
    CSingleLock lock(g_setupThread.lock);
    const bool again = g_setupThread.phase == SetupPhase::kRestart;
    g_setupThread.phase = again ? SetupPhase::kOpen : SetupPhase::kNone;
    return again;
}

DWORD WINAPI SetupThreadProc(LPVOID reference)
{
    do
        RunSetupWindow();
    while (RunAgain());
    // The host may have let go of the module: this may unload it, and the
    // call returns into the system only.
    FreeLibraryAndExitThread(static_cast<HMODULE>(reference), 0);
}

} // namespace

bool IsSetupWindowOpen()
{
    const SetupPhase phase = Phase();
    return phase == SetupPhase::kOpen || phase == SetupPhase::kRestart;
}

bool PostPrevQsoRefresh()
{
    HWND h = g_setupWindow.load();
    return h && PostMessageA(h, WM_PREV_QSO_REFRESH, 0, 0);
}

void SetupWindowEnding()
{
    CSingleLock lock(g_setupThread.lock);
    if (g_setupThread.phase == SetupPhase::kOpen)
        g_setupThread.phase = SetupPhase::kClosing;
}

void StartSetupThread()
{
    SetupThreadLife& life = g_setupThread;
    if (g_moduleUnloading)
        return;
    {
        CSingleLock lock(life.lock);
        if (life.phase == SetupPhase::kClosing)
            life.phase = SetupPhase::kRestart; // the ending thread runs the new window
        if (life.phase != SetupPhase::kNone)
            return;
        life.phase = SetupPhase::kOpen;
    }
    HMODULE reference = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&SetupThreadProc),
                           &reference)) {
        // The handle is closed at once: the thread is known by its phase.
        const CKernelHandle thread(CreateThread(nullptr, 0, SetupThreadProc, reference, 0, nullptr));
        if (thread)
            return;
        FreeLibrary(reference);
    }
    CSingleLock lock(life.lock);
    life.phase = SetupPhase::kNone;
}

void OnModuleUnload()
{
    g_moduleUnloading = true;
    // Only the Setup thread's own last release can bring the count to
    // zero while it lives, and it left the phase at none first. A host that
    // frees the module once more than it loaded it breaks that: the count
    // reaches zero while the windows are open. The pin keeps the code mapped
    // under the thread (measured under Wine); it cannot stop the runtime's
    // teardown after DllMain returns, so the thread finds its objects whole
    // only because none is ever destroyed (plugin/globals.cpp).
    if (Phase() != SetupPhase::kNone) {
        HMODULE pinned = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&SetupThreadProc), &pinned);
    }
}

void ForgetSetupThreadAtExit()
{
    // The proxy belonged to the Setup thread's apartment, gone with it.
    g_hostApp.DetachDispatch();
}

void InstallWindowHooks()
{
    g_windowHooks = WindowHooks{IsSetupWindowOpen, PostPrevQsoRefresh, StartSetupThread, EditCabrilloHeader};
}
