// When the reset reaches the Cabrillo header dialog and the Setup thread:
// both replaced by recorders, so the test sees every call and what the
// settings file held at that moment.
#include <doctest.h>

#include <atomic>
#include <memory>
#include <string>

#include "engine/contest.h"
#include "engine/hooks.h"
#include "engine/stores.h"
#include "framework/platform.h"
#include "framework/profile.h"
#include "plugin/exports.h"
#include "report/report.h"
#include "support/files.h"

namespace {

const char* const kIni = "Plugins\\BALTIC.ini";

std::string StartKey()
{
    return ProfileRead("Settings", "Start", "<none>", kIni).str();
}

void SetStartKey(const char* value)
{
    ProfileWrite("Settings", "Start", value, kIni);
}

struct Recorder {
    int editCalls = 0;
    int editResult = 1;
    std::string call;
    COleDateTime first, second;
    bool nullPointer = false;
    std::string startAtEdit;
    int startCalls = 0;
    std::string startAtStart;
};
Recorder g_rec;
bool g_windowOpen = false;

bool RecordedWindowOpen()
{
    return g_windowOpen;
}

int RecordEdit(const CString& callsign, const COleDateTime* first, const COleDateTime* second)
{
    ++g_rec.editCalls;
    g_rec.call = callsign.GetString();
    g_rec.nullPointer = !first || !second;
    if (first)
        g_rec.first = *first;
    if (second)
        g_rec.second = *second;
    g_rec.startAtEdit = StartKey();
    return g_rec.editResult;
}

void RecordStart()
{
    ++g_rec.startCalls;
    g_rec.startAtStart = StartKey();
}

// A scratch folder with a "Plugins" folder, current while the object lives,
// and the recorders in place of the real steps.
class ResetBench {
public:
    ResetBench() : m_dir("unit_reset_actions")
    {
        m_saved = g_windowHooks;
        g_windowHooks.isSetupWindowOpen = RecordedWindowOpen;
        g_windowHooks.startSetupThread = RecordStart;
        g_windowHooks.editCabrilloHeader = RecordEdit;
        g_rec = Recorder();
        g_windowOpen = false;
    }
    ~ResetBench()
    {
        g_windowHooks = m_saved;
        g_windowOpen = false;
    }

    // The host's version file, in the folder the reset searches.
    static void HostVersion(const char* version)
    {
        if (version)
            support::WriteBytes("Qorv2.ini", std::string("Qorv=") + version + "\r\n");
        else
            support::RemoveFile("Qorv2.ini");
    }

    static int Reset(int cabrillo, const char* call = "YL2AA", COleDateTime* first = &s_first,
                     COleDateTime* second = &s_second)
    {
        return ResetStats0(".\\", cabrillo, call, first, second, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, "YL", 0, 0, 0, 0.0, 0.0, nullptr, "EU", nullptr);
    }

    static COleDateTime s_first, s_second;

private:
    support::Scratch m_dir;
    WindowHooks m_saved;
};

COleDateTime ResetBench::s_first(43589.5);  // 2019-05-04 12:00
COleDateTime ResetBench::s_second(43589.0); // 2019-05-04

// An open Setup window, as the window layer would report it.
class FakeSetupWindow {
public:
    FakeSetupWindow() { g_windowOpen = true; }
    ~FakeSetupWindow() { g_windowOpen = false; }
};

} // namespace

TEST_CASE("a reset starts the Setup thread when 'Start' reads 0, no Setup window is open and the host is not 2.14R..2.18")
{
    ResetBench bench;
    const struct {
        const char* version; // nullptr: no version file ("Qorv")
        bool starts;
    } rows[] = {
        {"2.19", true},  {"2.20", true},  {nullptr, true}, {"2.13", true},  {"2.14r", true},
        {"2.18 ", true}, {"=2.18", true}, {"2.1", true},   {"2.18", false}, {"2.17", false},
        {"2.16", false}, {"2.15", false}, {"2.14", false}, {"2.14R", false},
    };
    for (const auto& row : rows) {
        INFO((row.version ? row.version : "<no file>"));
        ResetBench::HostVersion(row.version);
        SetStartKey("0");
        g_rec = Recorder();
        CHECK(ResetBench::Reset(0) == 1);
        CHECK(g_hostVersion == (row.version ? row.version : "Qorv"));
        CHECK(g_rec.startCalls == (row.starts ? 1 : 0));
        if (row.starts)
            CHECK(g_rec.startAtStart == "0"); // started before "Start" becomes 1
        CHECK(StartKey() == "1");
        CHECK(g_rec.editCalls == 0);
    }
}

TEST_CASE("the 'Start' key alternates, and an open Setup window leaves it alone")
{
    ResetBench bench;
    ResetBench::HostVersion("2.19");

    SUBCASE("a missing key reads as 0")
    {
        CHECK(ResetBench::Reset(0) == 1);
        CHECK(g_rec.startCalls == 1);
        CHECK(StartKey() == "1");
    }
    SUBCASE("1, 0, 1: one start every second reset")
    {
        SetStartKey("1");
        const struct {
            int startCalls;
            const char* after;
        } steps[] = {{0, "0"}, {1, "1"}, {1, "0"}, {2, "1"}};
        for (const auto& step : steps) {
            CHECK(ResetBench::Reset(0) == 1);
            CHECK(g_rec.startCalls == step.startCalls);
            CHECK(StartKey() == step.after);
        }
        CHECK(g_startFlag == 0);
    }
    SUBCASE("the whole value is read, as atoi reads it")
    {
        const struct {
            const char* value;
            int flag;
        } rows[] = {{"1", 1}, {"-3", -3}, {"12x", 12}, {"x12", 0}, {"0", 0}};
        for (const auto& row : rows) {
            INFO(row.value);
            SetStartKey(row.value);
            g_rec = Recorder();
            CHECK(ResetBench::Reset(0) == 1);
            CHECK(g_startFlag == row.flag);
            CHECK(g_rec.startCalls == (row.flag == 0 ? 1 : 0));
            CHECK(StartKey() == (row.flag == 0 ? "1" : "0"));
        }
    }
    SUBCASE("a Setup window is open")
    {
        FakeSetupWindow window;
        SetStartKey("0");
        CHECK(ResetBench::Reset(0) == 1);
        CHECK(g_rec.startCalls == 0);
        CHECK(StartKey() == "0");
        SetStartKey("1");
        CHECK(ResetBench::Reset(0) == 1);
        CHECK(g_rec.startCalls == 0);
        CHECK(StartKey() == "0");
    }
}

TEST_CASE("an export reset runs EditHeader with the call and both date-times before 'Start' is written as 1")
{
    ResetBench bench;
    ResetBench::HostVersion("2.19");

    SUBCASE("whatever 'Start' held, with or without a Setup window")
    {
        const struct {
            const char* before;
            bool windowOpen;
        } rows[] = {{"7", false}, {"0", false}, {"1", false}, {"7", true}, {"0", true}};
        for (const auto& row : rows) {
            INFO(row.before);
            CAPTURE(row.windowOpen);
            std::unique_ptr<FakeSetupWindow> window(row.windowOpen ? new FakeSetupWindow : nullptr);
            SetStartKey(row.before);
            g_rec = Recorder();
            CHECK(ResetBench::Reset(1) == 1);
            CHECK(g_rec.editCalls == 1);
            CHECK(g_rec.call == "YL2AA");
            CHECK_FALSE(g_rec.nullPointer);
            CHECK(g_rec.first.GetDays() == 43589.5);
            CHECK(g_rec.first.GetStatus() == COleDateTime::valid);
            CHECK(g_rec.second.GetDays() == 43589.0);
            CHECK(g_rec.second.GetStatus() == COleDateTime::valid);
            CHECK(g_rec.startAtEdit == row.before);
            CHECK(g_rec.startCalls == 0);
            CHECK(StartKey() == "0");
            CHECK(g_cabrilloRun == 1);
        }
    }
    SUBCASE("null call and null date-times reach it as empty text and null dates")
    {
        SetStartKey("0");
        CHECK(ResetBench::Reset(1, nullptr, nullptr, nullptr) == 1);
        CHECK(g_rec.editCalls == 1);
        CHECK(g_rec.call == "");
        CHECK_FALSE(g_rec.nullPointer);
        CHECK(g_rec.first.GetStatus() == COleDateTime::null);
        CHECK(g_rec.second.GetStatus() == COleDateTime::null);
        CHECK(g_rec.startCalls == 0);
    }
    SUBCASE("a cancelled header cancels the export, and 'Start' still ends at 0")
    {
        SetStartKey("0");
        g_rec.editResult = 0;
        CHECK(ResetBench::Reset(1) == 1);
        CHECK(g_rec.editCalls == 1);
        CHECK(g_cabrilloRun == 0);
        CHECK(StartKey() == "0");
        CHECK(g_rec.startCalls == 0);
    }
    SUBCASE("resets without an export never run it")
    {
        for (const char* before : {"0", "1", "0"}) {
            SetStartKey(before);
            CHECK(ResetBench::Reset(0) == 1);
            CHECK(g_cabrilloRun == 0);
        }
        CHECK(g_rec.editCalls == 0);
        CHECK(g_rec.startCalls == 2);
    }
}
