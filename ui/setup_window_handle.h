// The Setup window's handle, published by the Setup thread only while the
// window exists. The host's thread posts and closes through it, never
// through the window object, which the other thread may be deleting.
#pragma once
#include <windows.h>

#include <atomic>

extern std::atomic<HWND> g_setupWindow;
