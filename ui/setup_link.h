// ui/ owns the Setup thread's life (here), the published Setup window
// handle (setup_window_handle.h), the two windows and their remembered
// positions (operator_windows.h) and the host's automation object
// (host_link.h); it installs the window hooks of engine/hooks.h at load.
//
// What the host's thread may do with the Setup thread: ask whether its
// window is open, post it a refresh, and start it. Why the thread
// can never outlive the module's code, and why no wait can deadlock, is
// told in setup_link.cpp.
#pragma once
#include <windows.h>

#include <atomic>

#include "framework/lock.h"

// WM_USER + 500: refresh the Previous QSO display.
const unsigned WM_PREV_QSO_REFRESH = 0x0400 + 500;
// WM_USER + 501: the Setup window is whole and runs its message loop
// (posted to itself at the end of its initialisation).
const unsigned WM_SETUP_OPENED = 0x0400 + 501;

// Set when the module unloads.
extern std::atomic<bool> g_moduleUnloading;

// The one Setup thread's life as both threads see it.
enum class SetupPhase {
    kNone,    // no Setup thread runs the module's code
    kOpen,    // the thread is starting, or its window is open
    kClosing, // the window is ending, and the thread with it
    kRestart, // the window is ending; the thread then runs a new one
};
struct SetupThreadLife {
    CCriticalSection lock; // held only to read or change the phase
    SetupPhase phase = SetupPhase::kNone;
};
extern SetupThreadLife& g_setupThread;

// True while a Setup window is open or coming (a closing one is not).
bool IsSetupWindowOpen();
// Posts WM_PREV_QSO_REFRESH to the Setup window; false (and nothing posted)
// when no window exists.
bool PostPrevQsoRefresh();
// Starts the Setup thread, which runs the Setup window; a thread whose
// window is closing is asked to run a new one instead. Never waits.
void StartSetupThread();
// The Setup window is ending (on the Setup thread, once it is cancelled).
void SetupWindowEnding();
// The module unloads: by then no Setup thread runs the module's code.
void OnModuleUnload();
// The process exits: the Setup thread and its apartment are already gone.
void ForgetSetupThreadAtExit();

// Hands the steps above, and the Cabrillo header dialog, to the portable
// code (g_windowHooks). Called once at load.
void InstallWindowHooks();
