// The Setup window through the real DLL: a reset opens it on the plug-in's
// own thread, it talks to a host object living on this thread (which pumps
// while it waits, as the host logger does), and unloading closes it.
#include <doctest.h>

#include <string>
#include <vector>

#include "e2e/setup_window.h"
#include "support/message_boxes.h"

namespace {

const COLORREF kGreen = RGB(0, 255, 0), kGrey = RGB(240, 240, 240);

} // namespace

TEST_CASE("Setup window: the mode sent and shown when it opens, and by each button")
{
    const struct {
        const char* mode; // nullptr: no key
        Macros atOpen;
        COLORREF cw, ssb;
        const char* shot;
    } rows[] = {
        {nullptr, {"<MODE:CW>", "<BAUDRATE:27>"}, kGreen, kGrey, "no_mode"},
        {"CW", {"<MODE:CW>", "<BAUDRATE:27>"}, kGreen, kGrey, "cw"},
        {"SSB", {"<MODE:SSB>"}, kGrey, kGreen, "ssb"},
        {"cw", {}, kGrey, kGrey, "lower_case_cw"},
    };
    for (const auto& row : rows) {
        INFO((row.mode ? row.mode : "<no key>"));
        Station s("setup_modes");
        HWND setup = s.Open(row.mode);
        REQUIRE(setup);
        CHECK(s.Sent() == row.atOpen);
        CHECK(FaceOf(setup, IDC_SETUP_CW) == row.cw);
        CHECK(FaceOf(setup, IDC_SETUP_SSB) == row.ssb);
        SaveWindowBitmap(setup, Shot(row.shot));

        Click(setup, IDC_SETUP_SSB);
        CHECK(Key("Mode") == "SSB");
        CHECK(FaceOf(setup, IDC_SETUP_SSB) == kGreen);
        CHECK(FaceOf(setup, IDC_SETUP_CW) == kGrey);
        Click(setup, IDC_SETUP_CW);
        Click(setup, IDC_SETUP_CW);
        Macros expected = row.atOpen;
        expected.insert(expected.end(), {"<MODE:SSB>", "<MODE:CW>", "<MODE:CW>"});
        CHECK(s.Sent() == expected);
        CHECK(Key("Mode") == "CW");
        CHECK(FaceOf(setup, IDC_SETUP_CW) == kGreen);
    }
}

TEST_CASE("Setup window: which resets open it")
{
    const struct {
        const char* version;
        const char* start;
        bool opens;
    } rows[] = {{"2.19", "0", true},  {"2.19", "1", false}, {"2.18", "0", false}, {"2.17", "0", false},
                {"2.16", "0", false}, {"2.15", "0", false}, {"2.14", "0", false}, {"2.14R", "0", false}};
    for (const auto& row : rows) {
        INFO(std::string(row.version), " Start=", std::string(row.start));
        Station s("setup_opens");
        fx::WriteHostVersion(row.version);
        fx::SetStart(row.start);
        s.host.ResetStats(fx::ContestReset());
        if (row.opens) {
            CHECK(WaitUntil([] { return FindSetupWindow() != nullptr; }, Scaled(10000)));
        } else {
            // The window opens only on the thread the reset starts: after a
            // reset that must not open it, the plug-in has no thread.
            FakeHostApp::PumpFor(Scaled(300));
            const BYTE* base = reinterpret_cast<const BYTE*>(s.host.Module());
            CHECK(ThreadsStartedIn(base, ImageEnd(s.host.Module())) == 0);
            CHECK(FindSetupWindow() == nullptr);
        }
    }
    Station s("setup_once");
    HWND first = s.Open(nullptr);
    fx::SetStart("0");
    s.host.ResetStats(fx::ContestReset()); // a window is open: no second one
    FakeHostApp::PumpFor(Scaled(500));
    CHECK(FindSetupWindow() == first);
    CHECK(Key("Start") == "0");
}

TEST_CASE("Setup window: a reset while it closes opens it again")
{
    const struct {
        const char* how;
        bool escape; // else WM_CLOSE
    } rows[] = {{"Escape", true}, {"WM_CLOSE", false}};
    for (const auto& row : rows) {
        INFO(std::string(row.how));
        Station s("setup_reopen");
        HWND old = s.Open(nullptr);
        REQUIRE(old);
        if (row.escape)
            PostMessageA(GetDlgItem(old, IDC_SETUP_CW), WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageA(old, WM_CLOSE, 0, 0);
        // Hidden: the close has begun. The host's thread answers nothing
        // meanwhile, so the Setup thread is still ending when the reset comes.
        const DWORD start = GetTickCount();
        while (IsWindowVisible(old) && GetTickCount() - start < Scaled(10000))
            Sleep(1);
        REQUIRE_FALSE(IsWindowVisible(old));
        fx::SetStart("0");
        s.host.ResetStats(fx::ContestReset());
        CHECK(Key("Start") == "1");
        HWND again = nullptr;
        CHECK(WaitUntil([&] { return !IsWindow(old) && (again = FindSetupWindow()) != nullptr; }, Scaled(10000)));
        FakeHostApp::PumpFor(Scaled(300)); // the new window's first calls to the host
        CHECK(s.Sent() == Macros{"<MODE:CW>", "<BAUDRATE:27>", "<MODE:CW>", "<BAUDRATE:27>"});
        if (again)
            SaveWindowBitmap(again, Shot(std::string("reopened_") + row.how));
    }
}

TEST_CASE("Setup window: with a settings file that cannot be written, every other reset still opens it")
{
    Station s("setup_unwritable");
    const std::string ini = "[Settings]\r\nStart=1\r\n";
    support::WriteBytes(fx::kIniFile, ini);
    REQUIRE(SetFileAttributesA(fx::kIniFile, FILE_ATTRIBUTE_READONLY));
    // Wine lets root write a read-only file: a holder stops every writer.
    HANDLE holder = CreateFileA(fx::kIniFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(holder != INVALID_HANDLE_VALUE);
    // "Start" is kept in memory: 1 is cleared, 0 opens the window and sets 1.
    for (bool opens : {false, true, false, true}) {
        CAPTURE(opens);
        s.host.ResetStats(fx::ContestReset());
        CHECK((WaitForSetupWindow(opens) != nullptr) == opens);
        CHECK(OperatorCloses());
        // Its thread ends too, or the next reset finds the window still open.
        const BYTE* base = reinterpret_cast<const BYTE*>(s.host.Module());
        CHECK(WaitUntil([&] { return ThreadsStartedIn(base, ImageEnd(s.host.Module())) == 0; }, Scaled(10000)));
        CHECK(support::ReadBytes(fx::kIniFile) == ini);
    }
    CloseHandle(holder);
    SetFileAttributesA(fx::kIniFile, FILE_ATTRIBUTE_NORMAL);
}

TEST_CASE("Setup window: keys, check boxes, Russian texts, keys that close it")
{
    Station s("setup_keys");
    WritePrivateProfileStringA("Settings", "setup_window_on_top", "1", fx::kIniFile);
    WritePrivateProfileStringA("Settings", "setup_x", "-35", fx::kIniFile);
    WritePrivateProfileStringA("Settings", "setup_y", "120", fx::kIniFile);
    HWND setup = s.Open(nullptr, "UA");
    REQUIRE(setup);
    CHECK(TitleUtf8(setup) == "Установки BALTIC-2019");
    RECT r;
    GetWindowRect(setup, &r);
    CHECK(r.left == -35);
    CHECK(r.top == 120);
    CHECK(SendMessageA(GetDlgItem(setup, IDC_SETUP_ON_TOP), BM_GETCHECK, 0, 0) == BST_CHECKED);
    CHECK((GetWindowLongA(setup, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    CHECK((GetMenuState(GetSystemMenu(setup, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0);

    SetWindowPos(setup, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PostMessageA(setup, WM_SETCURSOR, reinterpret_cast<WPARAM>(setup), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    Click(setup, IDC_SETUP_ON_TOP);
    Click(setup, IDC_SETUP_VIEW_PREV);
    CHECK(Key("setup_x") == "200");
    CHECK(Key("setup_y") == "150");
    CHECK(Key("setup_window_on_top") == "0");
    CHECK(Key("setup_view_prev_qso") == "1");
    // Russian texts read right whatever the system's code page.
    const std::string codePage = std::to_string(GetACP());
    SaveWindowBitmap(setup, Shot("russian_" + codePage));
    HWND prev = FindPrevQsoWindow();
    REQUIRE(prev);
    CHECK(TitleUtf8(prev) == "BALTIC-CW/SSB-2019 Предыдущие QSO");
    SaveWindowBitmap(prev, Shot("prev_qso_russian_" + codePage));

    PostMessageA(setup, WM_KEYDOWN, VK_RETURN, 0);
    FakeHostApp::PumpFor(Scaled(300));
    CHECK(FindSetupWindow() == setup);
    PostMessageA(GetDlgItem(setup, IDC_SETUP_CW), WM_KEYDOWN, VK_ESCAPE, 0);
    CHECK(WaitForSetupWindow(false) == nullptr);
}

TEST_CASE("Setup window: without a host object, with a busy host, and with a host that fails a call")
{
    {
        // The host turns calls away for a while: they are made again until
        // it takes them, and the operator sees no box.
        Station s("setup_busy_host");
        WritePrivateProfileStringA("Settings", "setup_view_prev_qso", "1", fx::kIniFile);
        support::BoxAnswerer boxes;
        s.app->SetBusy(Scaled(1500));
        REQUIRE(s.Open(nullptr));
        CHECK(WaitUntil([&] { return s.Sent().size() == 2 && FindPrevQsoWindow(); }, Scaled(10000)));
        CHECK(s.app->Rejected() > 0);
        CHECK(s.Sent() == Macros{"<MODE:CW>", "<BAUDRATE:27>"});
        CHECK(boxes.Seen().empty());
    }
    {
        Station s("setup_no_host", false);
        HWND setup = s.Open(nullptr);
        REQUIRE(setup);
        Click(setup, IDC_SETUP_SSB);
        CHECK(FaceOf(setup, IDC_SETUP_SSB) == kGreen);
        CHECK(Key("Mode") == "SSB");
    }
    {
        // The opening macro fails: the window still opens whole, shows the
        // failure once and asks for its first refresh (the second call).
        Station s("setup_failing_open");
        support::BoxAnswerer boxes;
        s.app->SetFailing(true);
        HWND setup = s.Open("SSB");
        REQUIRE(setup);
        FakeHostApp::PumpFor(Scaled(500));
        s.app->SetFailing(false);
        REQUIRE(boxes.Seen().size() == 1);
        CHECK(boxes.Seen()[0].text == "The host's automation call 16 failed: The host refused the call");
        CHECK(s.app->Calls() == 2);
        CHECK((GetMenuState(GetSystemMenu(setup, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0);
        CHECK(FaceOf(setup, IDC_SETUP_SSB) == kGreen);
    }
    Station s("setup_failing");
    HWND setup = s.Open(nullptr);
    REQUIRE(setup);
    support::BoxAnswerer boxes;
    s.app->SetFailing(true);
    Click(setup, IDC_SETUP_SSB);
    FakeHostApp::PumpFor(Scaled(500));
    s.app->SetFailing(false);
    REQUIRE(boxes.Seen().size() == 1);
    CHECK(boxes.Seen()[0].text == "The host's automation call 16 failed: The host refused the call");
    // The click as the button reports it: under Wine without a window
    // manager the first simulated click after a box only activates.
    PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDC_SETUP_SSB, BN_CLICKED), 0);
    FakeHostApp::PumpFor(Scaled(300));
    CHECK(s.Sent() == Macros{"<MODE:CW>", "<BAUDRATE:27>", "<MODE:SSB>"});
}

TEST_CASE("Setup window: a host that ends with the windows open ends at once")
{
    support::Scratch dir("setup_exit");
    WritePrivateProfileStringA("Settings", "setup_view_prev_qso", "1", fx::kIniFile); // both windows
    const std::string out = dir.Path() + "\\hostsim.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = file;
    PROCESS_INFORMATION pi = {};
    // The host ends as soon as the Setup window's three macros have come.
    std::string command = "\"" + support::ExeDir() + "hostsim.exe\" windows --macros 3 --seconds " +
                          std::to_string(Scaled(20000) / 1000);
    REQUIRE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi));
    CloseHandle(file);
    const bool ended = WaitForSingleObject(pi.hProcess, Scaled(30000)) == WAIT_OBJECT_0;
    CHECK(ended);
    if (!ended)
        TerminateProcess(pi.hProcess, 1);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CHECK(code == 0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // The refresh that the window asks for as it opens finds the radio tuned.
    CHECK(support::ReadBytes(out) == "macro <MODE:CW>\r\nmacro <BAUDRATE:27>\r\nmacro <SP1>\r\n");
}
