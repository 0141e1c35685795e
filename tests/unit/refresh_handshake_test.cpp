// The refresh handshake between the host's thread and the Setup window:
// call checks request at most one refresh until it is done; a removal
// always requests one; nothing is posted while no window exists.
#include <doctest.h>

#include <windows.h>

#include <atomic>

#include "engine/qso_ops.h"
#include "engine/stores.h"
#include "ui/setup_link.h"
#include "ui/setup_window_handle.h"


namespace {

int g_refreshes = 0;

LRESULT CALLBACK CountingProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == WM_PREV_QSO_REFRESH)
        ++g_refreshes;
    return DefWindowProcA(h, msg, w, l);
}

int Pump()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
    return g_refreshes;
}

CallCheckArgs Check()
{
    CallCheckArgs c;
    c.call = "LY1BB";
    c.mode = "CW";
    c.band = "80m";
    c.compareBand = "80m";
    return c;
}

} // namespace

TEST_CASE("call checks request one refresh at a time; a removal requests another")
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RefreshCounter";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("RefreshCounter", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    REQUIRE(window);
    g_refreshes = 0;
    g_refreshPending = 1;
    const CString badQsoPath = g_badQsoPath;
    g_badQsoPath = ""; // removals here touch no file

    // No window yet: nothing is posted and the request stays pending.
    CheckCall(Check());
    CHECK(Pump() == 0);
    CHECK(g_refreshPending == 1);

    g_setupWindow = window;
    for (int i = 0; i < 3; ++i)
        CheckCall(Check());
    CHECK(Pump() == 1);
    CHECK(g_refreshPending == 0);

    QsoArgs removal;
    removal.call = "NOBODY";
    RemoveQso(removal);
    CHECK(Pump() == 2);
    CHECK(g_refreshPending == 1);
    CheckCall(Check());
    CheckCall(Check());
    CHECK(Pump() == 3);

    // Once the window is gone, a removal posts nothing.
    g_setupWindow = nullptr;
    RemoveQso(removal);
    CHECK(Pump() == 3);
    DestroyWindow(window);
    g_refreshPending = 1;
    g_badQsoPath = badQsoPath;
}
