// What the host's thread may do with the Setup thread: ask whether its
// window is open, post it a refresh, start it and close it.
#pragma once

// WM_USER + 500: refresh the Previous QSO display.
const unsigned WM_PREV_QSO_REFRESH = 0x0400 + 500;

class Setup;
extern Setup* g_pSetup;

// True while the Setup window exists.
bool IsSetupWindowOpen();
// Posts WM_PREV_QSO_REFRESH to the Setup window; false (and nothing posted)
// when no window exists.
bool PostPrevQsoRefresh();
// Starts the Setup thread, which runs the Setup window.
void StartSetupThread();
// Closes both windows and returns once the Setup window is gone (bounded wait).
void CloseOperatorWindows();

// Hands the steps above, and the Cabrillo header dialog, to the portable
// code (g_windowHooks). Called once at load.
void InstallWindowHooks();
