// ui/ owns the Setup thread's life (here), the published Setup window
// handle (setup_window_handle.h), the two windows and their remembered
// positions (operator_windows.h) and the host's automation object
// (host_link.h); it installs the window hooks of engine/hooks.h at load.
//
// What the host's thread may do with the Setup thread: ask whether its
// window is open, post it a refresh, start it and close it. Why the thread
// can never outlive the module's code, and why no wait can deadlock, is
// told in setup_link.cpp.
#pragma once
#include <windows.h>

#include <atomic>

// WM_USER + 500: refresh the Previous QSO display.
const unsigned WM_PREV_QSO_REFRESH = 0x0400 + 500;
// WM_USER + 501: the Setup window is whole and runs its message loop
// (posted to itself at the end of its initialisation).
const unsigned WM_SETUP_OPENED = 0x0400 + 501;

// Set when the module unloads.
extern std::atomic<bool> g_moduleUnloading;
// Set while the windows are asked to close: refreshes still queued are
// skipped, so the close request behind them is reached at once.
extern std::atomic<bool> g_closeRequested;

// The one Setup thread's life as both threads see it. The host's thread
// makes the event once and starts the thread; the "gone" event is the
// exact truth, the flag a cheap approximation for the call check.
struct SetupThreadLife {
    HANDLE gone = nullptr; // set by the thread before it lets go of the module
    DWORD threadId = 0;
    std::atomic<bool> running{false}; // cleared by the thread just before "gone"
    // Bumped at every message the Setup window handles, so that a wait
    // can tell a busy thread from a stuck one.
    std::atomic<unsigned> progress{0};
};
extern SetupThreadLife g_setupThread;

// True while a Setup thread runs its window.
bool IsSetupWindowOpen();
// Posts WM_PREV_QSO_REFRESH to the Setup window; false (and nothing posted)
// when no window exists.
bool PostPrevQsoRefresh();
// Starts the Setup thread, which runs the Setup window.
void StartSetupThread();
// Closes both windows from inside an export and returns once the Setup
// thread is done with them (bounded). Meanwhile this thread serves only
// the Setup thread's calls into its apartment and messages sent to it.
// False when the thread did not end in time.
bool CloseOperatorWindows();
// The module unloads: by then no Setup thread runs the module's code.
void OnModuleUnload();
// The process exits: the Setup thread and its apartment are already gone.
void ForgetSetupThreadAtExit();

// Hands the steps above, and the Cabrillo header dialog, to the portable
// code (g_windowHooks). Called once at load.
void InstallWindowHooks();
