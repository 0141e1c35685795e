// What the portable code needs of the operator windows: whether the Setup
// window is open, a refresh posted to it, its thread started, the Cabrillo
// header edited. The window layer installs the real steps at load; until
// then, and in a build without windows, no window is open, a post reaches
// nobody, nothing starts and the header edit is cancelled.
#pragma once
#include "framework/oledate.h"

struct WindowHooks {
    bool (*isSetupWindowOpen)();
    // False when nothing was posted (no window).
    bool (*postPrevQsoRefresh)();
    void (*startSetupThread)();
    // 1 when the operator confirmed the header, 0 when cancelled.
    int (*editCabrilloHeader)(const CString& callsign, const COleDateTime* first, const COleDateTime* second);
};

extern WindowHooks g_windowHooks;

// The steps in force before the window layer installs its own.
extern const WindowHooks kNoWindows;
