// The Setup thread's life, and how the host's thread waits for it.
//
// The host may unload the module (FreeLibrary) at any moment, and the
// Setup thread runs the module's code: it must never run it after the
// module is unmapped, and no wait may deadlock.
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
//   thread is left in the module's code, unless the host freed the module
//   once more than it loaded it (checked, not assumed: OnModuleUnload).
// - The one wait for the thread is a reset's, inside an export, when a
//   window is still ending (no loader lock held). It serves only what the
//   thread may need of the host's thread: messages sent to it and the calls
//   COM carries into its apartment through its COM window (none of the
//   host's timers, input or other posted messages; a WM_QUIT goes back).
//   It gives up after kSilenceMs without progress, or kLimitMs.
// - COM is initialised and uninitialised on the Setup thread, balanced:
//   with the reference held, nothing can wait on the loader lock for it.
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

// A thread that shows no progress for this long is taken as stuck.
const DWORD kSilenceMs = 5000;
// No wait of the host's thread lasts longer than this.
const DWORD kLimitMs = 15000;

int EditCabrilloHeader(const CString& callsign, const COleDateTime* first, const COleDateTime* second)
{
    return g_cabrilloHeader.EditHeader(callsign, first, second);
}

// True while a Setup thread may still execute the module's code.
bool ThreadInModule()
{
    return g_setupThread.gone && WaitForSingleObject(g_setupThread.gone, 0) != WAIT_OBJECT_0;
}

// The window through which COM carries calls from other apartments into
// this thread's: a message-only window (Vista on, and Wine) or, on XP, a
// hidden top-level one. Null when this thread has no apartment.
HWND ComWindowOfThisThread()
{
    const wchar_t* const kClass = L"OleMainThreadWndClass";
    const DWORD me = GetCurrentThreadId();
    for (HWND parent : {HWND_MESSAGE, HWND(nullptr)})
        for (HWND h = nullptr; (h = FindWindowExW(parent, h, kClass, nullptr)) != nullptr;)
            if (GetWindowThreadProcessId(h, nullptr) == me)
                return h;
    return nullptr;
}

// Waits until the event is set, serving meanwhile only messages sent to
// this thread and the calls COM carries into its apartment. Gives up after
// kSilenceMs without progress of the Setup thread or of the calls served,
// or after kLimitMs. True when the event was set.
bool ServeUntil(HANDLE event)
{
    const HWND com = ComWindowOfThisThread();
    const DWORD start = GetTickCount();
    DWORD lastProgress = start;
    unsigned seen = g_setupThread.progress;
    bool quit = false;
    WPARAM quitCode = 0;
    bool set = false;
    while (!set) {
        set = MsgWaitForMultipleObjects(1, &event, FALSE, 10, QS_SENDMESSAGE) == WAIT_OBJECT_0;
        MSG m;
        PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        bool served = false;
        while (com && PeekMessageW(&m, com, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) { // the host's own: handed back below
                quit = true;
                quitCode = m.wParam;
                continue;
            }
            DispatchMessageW(&m);
            served = true;
        }
        const DWORD now = GetTickCount();
        if (served || g_setupThread.progress != seen) {
            seen = g_setupThread.progress;
            lastProgress = now;
        }
        if (now - lastProgress > kSilenceMs || now - start > kLimitMs)
            break;
    }
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
    return set;
}

// Asks a dialog of the Setup thread to close: the Setup window (shown or
// not yet), the Previous QSO window or a message box. The thread's other
// windows (COM's, the input method's) are left alone.
BOOL CALLBACK PostClose(HWND window, LPARAM)
{
    wchar_t kind[8] = L"";
    GetClassNameW(window, kind, 8);
    if (lstrcmpW(kind, L"#32770") == 0)
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

DWORD WINAPI SetupThreadProc(LPVOID reference)
{
    SetupThreadLife& life = g_setupThread;
    const HRESULT com = CoInitialize(nullptr);
    try {
        Setup window;
        window.DoModal();
    } catch (...) { // no window: the thread ends as after a close
    }
    // The host reference belongs to this thread's apartment.
    g_hostApp.ReleaseDispatch();
    if (SUCCEEDED(com))
        CoUninitialize();
    life.running = false;
    SetEvent(life.gone);
    // The host may have let go of the module: this may unload it, and the
    // call returns into the system only.
    FreeLibraryAndExitThread(static_cast<HMODULE>(reference), 0);
}

} // namespace

bool IsSetupWindowOpen()
{
    return g_setupThread.running.load();
}

bool PostPrevQsoRefresh()
{
    HWND h = g_setupWindow.load();
    return h && PostMessageA(h, WM_PREV_QSO_REFRESH, 0, 0);
}

void StartSetupThread()
{
    SetupThreadLife& life = g_setupThread;
    if (g_moduleUnloading)
        return;
    if (ThreadInModule() && !CloseOperatorWindows())
        return; // the old window is still ending: no second one
    if (!life.gone && !(life.gone = CreateEventW(nullptr, TRUE, TRUE, nullptr)))
        return;
    HMODULE reference = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&SetupThreadProc),
                            &reference))
        return;
    ResetEvent(life.gone);
    life.running = true;
    g_closeRequested = false;
    DWORD id = 0;
    // The handle is closed at once: the thread is known through the event.
    const CKernelHandle thread(CreateThread(nullptr, 0, SetupThreadProc, reference, 0, &id));
    if (!thread) {
        life.running = false;
        SetEvent(life.gone);
        FreeLibrary(reference);
        return;
    }
    life.threadId = id;
}

bool CloseOperatorWindows()
{
    SetupThreadLife& life = g_setupThread;
    if (!ThreadInModule())
        return true;
    // Asked, never waited for with SendMessage: the thread may be inside a
    // call to the host object, which this thread must answer. A thread
    // still starting sees the request once its window exists.
    g_closeRequested = true;
    EnumThreadWindows(life.threadId, PostClose, 0);
    return ServeUntil(life.gone);
}

void OnModuleUnload()
{
    g_moduleUnloading = true;
    // A host that frees the module once more than it loaded it drops the
    // Setup thread's reference too, and the count reaches zero while the
    // windows are open. The pin keeps the code mapped under the thread
    // (measured under Wine; not known for Windows); it cannot stop the
    // runtime's teardown after DllMain returns. The thread finds its
    // objects whole because none is ever destroyed (plugin/globals.cpp).
    if (ThreadInModule()) {
        HMODULE pinned = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&SetupThreadProc), &pinned);
        return;
    }
    if (g_setupThread.gone) {
        CloseHandle(g_setupThread.gone);
        g_setupThread.gone = nullptr;
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
