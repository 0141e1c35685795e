// A host that frees the plug-in once more than it loaded it while the
// Setup window is open: the windows go on working. The module then stays
// in the process, so this runs in a program of its own.
#include <doctest.h>

#include <cstdio>

#include "e2e/setup_window.h"

TEST_CASE("Unloading twice with the Setup window open: its buttons and Escape still work")
{
    SetUnhandledExceptionFilter(CrashFilter);
    Station s("unload_twice");
    HWND setup = s.Open(nullptr);
    REQUIRE(setup);
    const Macros atOpen = s.Sent();
    HMODULE module = s.host.Module();
    s.host.Unload();
    FreeLibrary(module); // the Setup thread's own reference
    FakeHostApp::PumpFor(Scaled(300));
    Click(setup, IDC_SETUP_CW);
    PostMessageA(GetDlgItem(setup, IDC_SETUP_CW), WM_KEYDOWN, VK_ESCAPE, 0);
    CHECK(WaitForSetupWindow(false) == nullptr);
    Macros expected = atOpen;
    expected.push_back("<MODE:CW>");
    CHECK(s.Sent() == expected);
    FakeHostApp::PumpFor(Scaled(1000)); // the host runs on
    CHECK(lstrlenA("host") == 4);
}
