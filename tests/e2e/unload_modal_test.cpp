// The host lets go of the plug-in from a timer while one of the plug-in's
// dialogs or boxes is up on the host's thread. Once one has been up, the
// module stays in the process, so these cases run in a program of their own.
#include <doctest.h>

#include <cstdio>
#include <string>

#include "e2e/engine_fixture.h"
#include "e2e/setup_window.h"
#include "host/answer.h"

namespace {

// What the host's timer saw of the one dialog or box it waited for.
struct Seen {
    const char* caption = nullptr; // the window the timer waits for
    PluginHost* host = nullptr;
    HWND hostWindow = nullptr;
    bool found = false, owned = false, hostEnabled = true;
} g_seen;

// The host's timer: answers every dialog of the plug-in with OK; the one
// awaited is first looked at, then the host frees the plug-in under it.
void CALLBACK HostTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindProcessDialog(nullptr);
    if (!dialog)
        return;
    if (!g_seen.found && FindProcessDialog(g_seen.caption) == dialog) {
        g_seen.found = true;
        g_seen.owned = GetWindow(dialog, GW_OWNER) == g_seen.hostWindow;
        g_seen.hostEnabled = IsWindowEnabled(g_seen.hostWindow) != FALSE;
        g_seen.host->Unload();
    }
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

} // namespace

TEST_CASE("Unloading from a host timer while the plug-in's dialog or box is up")
{
    SetUnhandledExceptionFilter(CrashFilter);
    enum Ui { kHeader, kOutput, kSetupSet };
    const struct {
        Ui ui;
        const char* caption;
    } rows[] = {{kHeader, "Baltic Contest"}, {kOutput, "Output"}, {kSetupSet, "Error"}};
    support::Scratch dir("unload_modal");
    fx::WriteHostVersion("2.18"); // no Setup window
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "UnloadModalHost";
    RegisterClassA(&wc);
    HWND hostWindow = CreateWindowA(wc.lpszClassName, "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                    nullptr, nullptr, wc.hInstance, nullptr);
    REQUIRE(hostWindow);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, HostTimer);
    for (const auto& row : rows) {
        INFO(row.caption);
        PluginHost host(fx::DllPath());
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
        g_seen = Seen();
        g_seen.caption = row.caption;
        g_seen.host = &host;
        g_seen.hostWindow = hostWindow;
        HostReset exportReset = fx::ContestReset();
        exportReset.cabrillo = 1;
        SetActiveWindow(hostWindow);
        if (row.ui == kSetupSet) {
            host.SetupSet();
        } else {
            REQUIRE(host.ResetStats(exportReset) == 1);
            if (row.ui == kOutput) {
                REQUIRE(host.AddData(fx::Qso()) == 1);
                SetActiveWindow(hostWindow);
                int status = 0;
                host.GetResult(&status);
            }
        }
        // Back from the plug-in: the host runs on, its window enabled again.
        CHECK(g_seen.found);
        CHECK(g_seen.owned);
        CHECK_FALSE(g_seen.hostEnabled);
        CHECK(IsWindowEnabled(hostWindow));
        CHECK(lstrlenA("host") == 4); // a call into another DLL
    }
    KillTimer(nullptr, timer);
    DestroyWindow(hostWindow);
}
