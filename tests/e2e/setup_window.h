// The operator windows as a test meets them: a host logger of version 2.19
// with its automation object, a reset that opens the Setup window, clicks
// as the operator makes them, and what the screen shows.
#pragma once
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "e2e/engine_fixture.h"
#include "host/answer.h"
#include "host/fake_host_app.h"
#include "host/own_windows.h"
#include "resources/resource.h"

#include <tlhelp32.h>

using Macros = std::vector<std::string>;

// A wait long enough here for the Setup thread to act, several times
// longer where Wine runs under an emulator.
// A crash anywhere ends the test program at once, saying where.
inline LONG WINAPI CrashFilter(EXCEPTION_POINTERS* e)
{
    std::fprintf(stderr, "crash: exception %08lx at %p on thread %lu\n", e->ExceptionRecord->ExceptionCode,
                 e->ExceptionRecord->ExceptionAddress, GetCurrentThreadId());
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

inline DWORD Scaled(DWORD ms)
{
    static const DWORD factor = WineEmulator().empty() ? 1 : 6;
    return ms * factor;
}


// A visible top-level window of this process that matches, else null.
inline HWND FindOwnWindow(bool (*match)(HWND))
{
    OwnWindowQuery q;
    q.match = match;
    return FindOwnWindow(q);
}

// This process's Setup window (the dialog with a CW button), else null.
inline HWND FindSetupWindow()
{
    return FindOwnWindow([](HWND h) { return GetDlgItem(h, IDC_SETUP_CW) != nullptr; });
}

// Threads of this process that started in the code between base and end.
inline int ThreadsStartedIn(const BYTE* base, const BYTE* end)
{
    typedef LONG(WINAPI * QueryThread)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryThread>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
    const int kStartAddress = 9; // ThreadQuerySetWin32StartAddress
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 t = {};
    t.dwSize = sizeof t;
    for (BOOL more = Thread32First(snapshot, &t); more; more = Thread32Next(snapshot, &t)) {
        if (t.th32OwnerProcessID != GetCurrentProcessId())
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, t.th32ThreadID);
        const BYTE* start = nullptr;
        if (thread && query(thread, kStartAddress, &start, sizeof start, nullptr) == 0 && start >= base && start < end)
            ++count;
        if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return count;
}

// The end of a loaded module's image.
inline const BYTE* ImageEnd(HMODULE module)
{
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const auto* headers =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    return base + headers->OptionalHeader.SizeOfImage;
}

// This process's Previous QSO window, else null.
inline HWND FindPrevQsoWindow()
{
    return FindOwnWindow([](HWND h) { return GetDlgItem(h, IDC_PREV_TABLE) && !GetDlgItem(h, IDC_SETUP_CW); });
}

// Pumps until the Setup window is there (or gone), at most 10 s.
inline HWND WaitForSetupWindow(bool open = true)
{
    WaitUntil([open] { return (FindSetupWindow() != nullptr) == open; }, Scaled(10000));
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

// A window's title as stored (wide, not narrowed), in UTF-8 so that a
// failed check prints the text.
inline std::string TitleUtf8(HWND window)
{
    wchar_t title[128] = L"";
    InternalGetWindowText(window, title, 128);
    char utf8[512] = "";
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
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

// A dialog of this process other than the plug-in's two windows: a box.
inline HWND FindBox()
{
    return FindOwnWindow([](HWND h) {
        char kind[16] = "";
        GetClassNameA(h, kind, sizeof kind);
        return std::string(kind) == "#32770" && !GetDlgItem(h, IDC_SETUP_CW) && !GetDlgItem(h, IDC_PREV_TABLE);
    });
}

// The operator answers any box and closes the Setup window, until the
// state holds (by default: no Setup window left); at most 10 s.
inline bool OperatorCloses(bool (*done)() = [] { return FindSetupWindow() == nullptr; })
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < Scaled(10000)) {
        if (HWND box = FindBox())
            PostMessageA(box, WM_CLOSE, 0, 0);
        else if (HWND setup = FindSetupWindow())
            PostMessageA(setup, WM_CLOSE, 0, 0);
        FakeHostApp::PumpFor(50);
    }
    return done();
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
    // The windows outlive an unload of the plug-in: the operator closes
    // them before the host goes, so that the next station starts afresh.
    ~Station()
    {
        OperatorCloses();
        // The Setup thread ends by releasing this host's object: answer it.
        const BYTE* base = reinterpret_cast<const BYTE*>(host.Module());
        const BYTE* end = base ? ImageEnd(host.Module()) : nullptr;
        if (base)
            WaitUntil([&] { return ThreadsStartedIn(base, end) == 0; }, Scaled(10000));
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



