// The Previous QSO window through the real DLL: refreshed from the host's
// typing (the call checks), it shows when a station was worked, follows the
// host's frequency, and lives and dies with the Setup window.
#include <doctest.h>

#include <string>

#include "e2e/engine_fixture.h"
#include "e2e/setup_window.h"

namespace {

// The host's entry field holds call, and a call check asks for a refresh.
void Typed(Station& s, const char* call, double hz = 3525000.0)
{
    s.app->SetFieldText(call);
    s.app->SetFrequency(hz);
    HostCheck c;
    s.host.CheckCall(c);
    FakeHostApp::PumpFor(Scaled(300));
}

// The colour of the table's data row, at its left end.
COLORREF DataRow(HWND prev)
{
    HWND table = GetDlgItem(prev, IDC_PREV_TABLE);
    RECT r;
    GetClientRect(table, &r);
    POINT p = {4, r.bottom / 7 + 55};
    ClientToScreen(table, &p);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

HostQso Worked(const char* mode, int hour, int minute, const char* nr)
{
    HostQso q = fx::Qso("LY1BB", hour, minute);
    q.mode = mode;
    q.nrRcvd = nr;
    return q;
}

} // namespace

TEST_CASE("Previous QSO window: the lookup, the titles, <SP1> and the band row")
{
    Station s("prev_qso");
    WritePrivateProfileStringA("Settings", "setup_view_prev_qso", "1", fx::kIniFile);
    HWND setup = s.Open(nullptr);
    REQUIRE(setup);
    REQUIRE(s.host.AddData(Worked("CW", 12, 3, "007")) == 1);
    REQUIRE(s.host.AddData(Worked("SSB", 12, 40, "042")) == 1);

    Typed(s, "LY1BB");
    HWND prev = FindPrevQsoWindow(); // opened by the refresh
    REQUIRE(prev);
    CHECK(TitleUtf8(prev) == "BALTIC-CW/SSB-2019 worked with LY1BB");
    CHECK(DataRow(prev) == RGB(198, 255, 255)); // 3 525 000 Hz is on 80 m
    SaveWindowBitmap(prev, Shot("prev_qso_ly1bb"));
    RECT r;
    GetWindowRect(prev, &r);
    CHECK(r.left == 10);
    CHECK(r.top == 400);
    SetWindowPos(prev, nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PostMessageA(prev, WM_SETCURSOR, reinterpret_cast<WPARAM>(prev), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    FakeHostApp::PumpFor(Scaled(300));
    CHECK(Key("prev_x") == "300");
    CHECK(Key("prev_y") == "250");

    Typed(s, "ES"); // two characters change nothing
    CHECK(TitleUtf8(prev) == "BALTIC-CW/SSB-2019 worked with LY1BB");
    Typed(s, "");
    CHECK(TitleUtf8(prev) == "BALTIC-CW/SSB-2019 Previous QSO");
    SaveWindowBitmap(prev, Shot("prev_qso_cleared"));

    // "<SP1>" once the frequency moved more than 300 Hz from the last one.
    Typed(s, "", 3525300.0);
    Typed(s, "", 3525300.5);
    Typed(s, "", 5000000.0); // no band: the row stays highlighted
    CHECK(DataRow(prev) == RGB(198, 255, 255));
    CHECK(s.Sent() == Macros{"<MODE:CW>", "<BAUDRATE:27>", "<SP1>", "<SP1>", "<SP1>"});

    // Escape does nothing here; Window on top reopens it on top.
    PostMessageA(prev, WM_KEYDOWN, VK_ESCAPE, 0);
    FakeHostApp::PumpFor(Scaled(300));
    CHECK(FindPrevQsoWindow() == prev);
    Click(setup, IDC_SETUP_ON_TOP);
    HWND onTop = FindPrevQsoWindow();
    REQUIRE(onTop);
    CHECK((GetWindowLongA(onTop, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);

    // It dies with its Setup window.
    PostMessageA(GetDlgItem(setup, IDC_SETUP_CW), WM_KEYDOWN, VK_ESCAPE, 0);
    CHECK(WaitForSetupWindow(false) == nullptr);
    CHECK(FindPrevQsoWindow() == nullptr);
}

namespace {

// One run of the host's side: adds, removals, call checks and reports in a
// fixed pseudo-random order; what each call answered, and the end state.
struct HostRun {
    std::vector<int> answers;
    std::string report, badFile;
    double checkUs = 0;
};

HostRun RunHostSide(Station& s, bool answerTheWindows)
{
    static const char* const kCalls[] = {"LY1BB", "ES5Q", "SM5XYZ", "DL1ABC", "OH2BH", "YL2KL", "UA3A", "SP9X"};
    std::vector<HostQso> sent;
    std::vector<std::string> numbers;
    numbers.reserve(30000);
    HostRun run;
    unsigned seed = 12345;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    double checkSeconds = 0;
    int checks = 0;
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    for (int i = 0; i < 20000; ++i) {
        const unsigned roll = next(100);
        const char* call = kCalls[next(8)];
        if (roll < 50) {
            numbers.push_back(std::to_string(i));
            HostQso q = fx::Qso(call, 20 + static_cast<int>(next(3)), static_cast<int>(next(60)));
            q.mode = next(2) ? "CW" : "SSB";
            q.nrRcvd = numbers.back().c_str();
            run.answers.push_back(s.host.AddData(q));
            sent.push_back(q);
        } else if (roll < 60 && !sent.empty()) {
            run.answers.push_back(s.host.RemoveData(sent[next(static_cast<unsigned>(sent.size()))]));
        } else if (roll < 99) {
            char nr[64] = "";
            HostCheck c;
            c.call = call;
            c.mode = next(2) ? "CW" : "SSB";
            c.nrOut = nr;
            if (s.app)
                s.app->SetFieldText(call);
            QueryPerformanceCounter(&t0);
            run.answers.push_back(s.host.CheckCall(c));
            QueryPerformanceCounter(&t1);
            checkSeconds += static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
            ++checks;
            run.answers.push_back(std::atoi(nr));
        } else {
            int status = 0;
            s.host.GetResult(&status);
        }
        if (answerTheWindows)
            FakeHostApp::PumpFor(0); // the Setup thread's calls to the host
    }
    if (answerTheWindows)
        FakeHostApp::PumpFor(Scaled(500));
    int status = 0;
    run.report = s.host.GetResult(&status);
    run.badFile = support::ReadBytes("BadQSO_RirezIzeruz_04_05_2019.txt");
    run.checkUs = checkSeconds / checks * 1e6;
    return run;
}

} // namespace

TEST_CASE("Previous QSO window: the host's thread under load while the window refreshes")
{
    HostRun busy, alone;
    int refreshes = 0;
    {
        Station s("prev_qso_load");
        WritePrivateProfileStringA("Settings", "setup_view_prev_qso", "1", fx::kIniFile);
        REQUIRE(s.Open(nullptr));
        const int before = s.app->FieldTextCalls();
        busy = RunHostSide(s, true);
        refreshes = s.app->FieldTextCalls() - before;
        CHECK(FindPrevQsoWindow() != nullptr);
    }
    {
        Station s("prev_qso_alone", false);
        fx::Reset(s.host); // no Setup window
        alone = RunHostSide(s, false);
    }
    MESSAGE(refreshes, " refreshes; CheckCall0 ", busy.checkUs, " us with the window open, ", alone.checkUs,
            " us without");
    CHECK(refreshes > 100);
    CHECK(busy.answers == alone.answers);
    CHECK(busy.report == alone.report);
    CHECK(busy.badFile == alone.badFile);
}
