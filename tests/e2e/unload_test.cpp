// Unloading the plug-in in every timing of its Setup thread: the host never
// crashes, the windows end when the operator closes them (the module goes
// with them), and the plug-in loads and works again. A crash anywhere ends
// the test program at once.
#include <doctest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "e2e/setup_window.h"

namespace {

bool ModuleLoaded()
{
    return GetModuleHandleA("BALTIC.dll") != nullptr;
}

// Pumps until the state holds, at most ms milliseconds.
bool PumpUntil(bool (*state)(), DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!state() && GetTickCount() - start < ms)
        FakeHostApp::PumpFor(20);
    return state();
}

DWORD TimedUnload(PluginHost& host)
{
    const DWORD start = GetTickCount();
    host.Unload();
    return GetTickCount() - start;
}

// The operator closes the windows that outlived the unload; returns how
// long the module took to go.
DWORD ModuleGoesWhenOperatorCloses()
{
    const DWORD start = GetTickCount();
    CHECK(OperatorCloses(+[] { return !ModuleLoaded(); }));
    return GetTickCount() - start;
}

// The operator answers any box and presses Escape in the Setup window: the
// module then leaves the process. Returns how long it took to go.
DWORD ModuleGoesAtEscape()
{
    const DWORD start = GetTickCount();
    CHECK(WaitUntil(
        [] {
            if (HWND box = FindBox())
                PostMessageA(box, WM_CLOSE, 0, 0);
            else if (HWND setup = FindSetupWindow())
                PostMessageA(GetDlgItem(setup, IDC_SETUP_CW), WM_KEYDOWN, VK_ESCAPE, 0);
            return !ModuleLoaded();
        },
        Scaled(10000)));
    return GetTickCount() - start;
}

// After the unloads: the plug-in loads again and works as after a start.
void LoadsAndWorksAgain()
{
    PluginHost again(fx::DllPath());
    REQUIRE(again.Loaded());
    fx::SetStart("1"); // no window this time
    CHECK(again.ResetStats(fx::ContestReset()) == 1);
    CHECK(again.AddData(fx::Qso("LY1BB")) == 1);
    CHECK(fx::Totals(again) == "Total\t 1\t 1\t 1\t 0\r\nDupe\t 0\r\nBad QSO\t 0");
}

} // namespace

TEST_CASE("Unloading: the timings of the Setup thread")
{
    SetUnhandledExceptionFilter(CrashFilter);
    enum Timing { kStarting, kInOpeningCalls, kInBox, kInSlowCall, kIdleBothWindows };
    const struct {
        Timing timing;
        const char* what;
    } rows[] = {
        {kStarting, "FreeLibrary right after the reset, no host object"},
        {kInOpeningCalls, "the opening macros wait for the host"},
        {kInBox, "a failed host call's box is open on the Setup thread"},
        {kInSlowCall, "a host call under way that takes 4.5 s"},
        {kIdleBothWindows, "both windows open and idle"},
    };
    support::Scratch dir("unload_timings");
    const BYTE *base = nullptr, *end = nullptr;
    for (const auto& row : rows) {
        INFO(std::string(row.what));
        Station s("unload_timing", row.timing != kStarting);
        base = reinterpret_cast<const BYTE*>(s.host.Module());
        end = ImageEnd(s.host.Module());
        HWND setup = nullptr;
        if (row.timing == kStarting || row.timing == kInOpeningCalls) {
            if (s.app)
                s.app->SetDelay(400);
            fx::SetStart("0");
            s.host.ResetStats(fx::ContestReset());
        } else {
            setup = s.Open(nullptr);
            REQUIRE(setup);
        }
        if (row.timing == kInBox) {
            s.app->SetFailing(true);
            PostMessageA(GetDlgItem(setup, IDC_SETUP_SSB), BM_CLICK, 0, 0);
            REQUIRE(PumpUntil([] { return FindBox() != nullptr; }, Scaled(3000)));
        } else if (row.timing == kInSlowCall) {
            s.app->SetDelay(4500);
            PostMessageA(GetDlgItem(setup, IDC_SETUP_SSB), BM_CLICK, 0, 0);
            Sleep(Scaled(300)); // not answered: the Setup thread now waits inside the call
        } else if (row.timing == kIdleBothWindows) {
            Click(setup, IDC_SETUP_VIEW_PREV);
        }
        const DWORD took = TimedUnload(s.host);
        // The windows stay with the module until the operator closes them;
        // meanwhile the host goes on and answers their calls.
        FakeHostApp::PumpFor(Scaled(row.timing == kInSlowCall ? 5000 : 1000));
        CHECK(ModuleLoaded());
        if (s.app) {
            s.app->SetFailing(false);
            s.app->SetDelay(0);
        }
        const DWORD closed = ModuleGoesAtEscape();
        MESSAGE(std::string(row.what), ": FreeLibrary took ", took, " ms; the module went ", closed,
                " ms after the operator pressed Escape");
        CHECK(FindSetupWindow() == nullptr);
        CHECK(lstrlenA("host") == 4); // the host runs on
    }
    FakeHostApp::PumpFor(10000); // the process runs on
    CHECK(ThreadsStartedIn(base, end) == 0);
    LoadsAndWorksAgain();
}

TEST_CASE("Unloading: loads and unloads at random delays after a reset")
{
    SetUnhandledExceptionFilter(CrashFilter);
    const char* env = std::getenv("BALTIC_UNLOAD_ROUNDS");
    const int rounds = env ? std::atoi(env) : 100;
    const unsigned seed = 20261208;
    std::mt19937 random(seed);
    support::Scratch dir("unload_loop");
    FakeHostApp app;
    REQUIRE(app.Running());
    app.SetFrequency(0.0);
    fx::WriteHostVersion("2.19");
    DWORD longest = 0;
    int slow = 0, failing = 0, withPrev = 0, reloaded = 0;
    const BYTE *base = nullptr, *end = nullptr;
    for (int round = 0; round < rounds; ++round) {
        const unsigned kind = random() % 20;
        const DWORD delay = random() % 501, closeDelay = random() % 301;
        const bool pump = random() % 2 == 0, prev = random() % 3 == 0;
        withPrev += prev;
        WritePrivateProfileStringA("Settings", "setup_view_prev_qso", prev ? "1" : "0", fx::kIniFile);
        fx::SetStart("0");
        app.SetDelay(0);
        app.SetFailing(kind == 1 || kind == 2);
        failing += kind == 1 || kind == 2;
        PluginHost host(fx::DllPath());
        REQUIRE(host.Loaded());
        base = reinterpret_cast<const BYTE*>(host.Module());
        end = ImageEnd(host.Module());
        host.ResetStats(fx::ContestReset());
        if (kind == 0) { // a call under way past every bound of the plug-in
            app.SetDelay(6000);
            ++slow;
            if (HWND setup = FindSetupWindow())
                PostMessageA(GetDlgItem(setup, IDC_SETUP_SSB), BM_CLICK, 0, 0);
        }
        if (pump)
            FakeHostApp::PumpFor(delay);
        else
            Sleep(delay);
        const DWORD took = TimedUnload(host);
        if (took > longest)
            longest = took;
        // Some rounds load the plug-in again over the open windows; the
        // others close them first, at a random moment.
        if (kind == 3 || kind == 4) {
            ++reloaded;
            continue;
        }
        FakeHostApp::PumpFor(closeDelay);
        app.SetFailing(false);
        app.SetDelay(0);
        ModuleGoesWhenOperatorCloses();
    }
    app.SetDelay(0);
    app.SetFailing(false);
    if (ModuleLoaded())
        ModuleGoesWhenOperatorCloses();
    FakeHostApp::PumpFor(2000);
    MESSAGE(rounds, " rounds (seed ", seed, "; ", slow, " with a 6 s call, ", failing, " failing, ", withPrev,
            " with both windows, ", reloaded, " loaded again over open windows): longest FreeLibrary ", longest,
            " ms");
    CHECK(FindSetupWindow() == nullptr);
    CHECK(ThreadsStartedIn(base, end) == 0);
    LoadsAndWorksAgain();
}
