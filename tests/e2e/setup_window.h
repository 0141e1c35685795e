// The operator windows as a test meets them: a host logger of version 2.19
// with its automation object, a reset that opens the Setup window, clicks
// as the operator makes them, and what the screen shows.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "e2e/engine_fixture.h"
#include "host/answer.h"
#include "host/fake_host_app.h"
#include "resources/resource.h"

using Macros = std::vector<std::string>;

// A wait long enough here for the Setup thread to act, several times
// longer where Wine runs under an emulator.
inline DWORD Scaled(DWORD ms)
{
    static const DWORD factor = WineEmulator().empty() ? 1 : 6;
    return ms * factor;
}


inline BOOL CALLBACK IsSetupWindow(HWND h, LPARAM found)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(h) && GetDlgItem(h, IDC_SETUP_CW)) {
        *reinterpret_cast<HWND*>(found) = h;
        return FALSE;
    }
    return TRUE;
}

// This process's Setup window (the dialog with a CW button), else null.
inline HWND FindSetupWindow()
{
    HWND found = nullptr;
    EnumWindows(IsSetupWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

inline BOOL CALLBACK IsPrevQsoWindow(HWND h, LPARAM found)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(h) && GetDlgItem(h, IDC_PREV_TABLE) &&
        !GetDlgItem(h, IDC_SETUP_CW)) {
        *reinterpret_cast<HWND*>(found) = h;
        return FALSE;
    }
    return TRUE;
}

// This process's Previous QSO window, else null.
inline HWND FindPrevQsoWindow()
{
    HWND found = nullptr;
    EnumWindows(IsPrevQsoWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Pumps until the Setup window is there (or gone), at most 10 s.
inline HWND WaitForSetupWindow(bool open = true)
{
    for (DWORD i = 0; i < Scaled(500); ++i) {
        HWND h = FindSetupWindow();
        if ((h != nullptr) == open)
            return h;
        FakeHostApp::PumpFor(20);
    }
    return FindSetupWindow();
}

// A click as the operator makes it: posted, then this thread answers the
// host calls it causes.
inline void Click(HWND setup, int id)
{
    PostMessageA(GetDlgItem(setup, id), BM_CLICK, 0, 0);
    FakeHostApp::PumpFor(Scaled(300));
}

// The face colour of a button, read from the screen between its border
// rings and its focus mark, away from the caption.
inline COLORREF FaceOf(HWND setup, int id)
{
    POINT p = {6, 5};
    ClientToScreen(GetDlgItem(setup, id), &p);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

inline std::string Key(const char* key)
{
    char buf[64] = "";
    GetPrivateProfileStringA("Settings", key, "<none>", buf, sizeof buf, fx::kIniFile);
    return buf;
}

inline std::string Shot(const std::string& name)
{
    std::string dir = support::ExeDir() + "screenshots";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\setup_" + name + ".bmp";
}

// A host logger of version 2.19 with its automation object, and the plug-in.
struct Station {
    explicit Station(const char* name, bool withHostObject = true) : dir(name)
    {
        if (withHostObject) {
            app.reset(new FakeHostApp);
            app->SetFrequency(0.0); // no "<SP1>" until a test tunes the radio
        }
        fx::WriteHostVersion("2.19");
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
    }
    // A reset that opens the Setup window, as the first one of a session does.
    HWND Open(const char* mode, const char* country = "YL")
    {
        fx::SetStart("0");
        if (mode)
            WritePrivateProfileStringA("Settings", "Mode", mode, fx::kIniFile);
        HostReset r = fx::ContestReset();
        r.myCountry = country;
        host.ResetStats(r);
        HWND h = WaitForSetupWindow();
        FakeHostApp::PumpFor(Scaled(300)); // its first calls to the host
        return h;
    }
    Macros Sent() const { return app ? app->Macros() : Macros(); }
    support::Scratch dir;
    std::unique_ptr<FakeHostApp> app;
    PluginHost host{fx::DllPath()};
};



