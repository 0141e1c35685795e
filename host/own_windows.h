// This process's top-level windows, found the one way the stand-in and the
// tests look for them, and the one way to wait for a state: look again,
// pumping this thread's messages between looks (a window of this thread
// may have to answer meanwhile), until it holds or the time limit passes.
#pragma once
#include <windows.h>

#include <functional>

struct OwnWindowQuery {
    const char* className = nullptr; // exact class name; nullptr: any
    const char* title = nullptr;     // exact title; nullptr: any
    bool visibleOnly = true;
    bool (*match)(HWND) = nullptr; // a further test; nullptr: none
    HWND except = nullptr;         // never this window
};

// The first top-level window of this process, in z-order, that fits; else null.
HWND FindOwnWindow(const OwnWindowQuery& query);

// True as soon as done() is; false when timeoutMs passed first.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);
