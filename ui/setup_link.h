// What the host's thread may do with the Setup thread: ask whether its
// window is open, post it a refresh, start it and close it.
#pragma once
#include <atomic>

// WM_USER + 500: refresh the Previous QSO display.
const unsigned WM_PREV_QSO_REFRESH = 0x0400 + 500;

class Setup;
// Set by the Setup thread for its whole life (from before its window exists
// until after it is gone and the thread has let go of COM), else null.
extern std::atomic<Setup*> g_pSetup;
// Set when the module unloads, before its windows are closed.
extern std::atomic<bool> g_moduleUnloading;
// Set while the windows are asked to close: refreshes still queued are
// skipped, so the close request behind them is reached at once.
extern std::atomic<bool> g_closeRequested;

// True while a Setup thread runs its window.
bool IsSetupWindowOpen();
// Posts WM_PREV_QSO_REFRESH to the Setup window; false (and nothing posted)
// when no window exists.
bool PostPrevQsoRefresh();
// Starts the Setup thread, which runs the Setup window.
void StartSetupThread();
// Closes both windows and returns once the Setup thread has let go of
// them. Bounded; meanwhile this thread answers the calls the Setup thread
// makes to the host object, so that neither waits for the other.
void CloseOperatorWindows();

// Hands the steps above, and the Cabrillo header dialog, to the portable
// code (g_windowHooks). Called once at load.
void InstallWindowHooks();
