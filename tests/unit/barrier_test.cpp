// No exception reaches the host: an entry point whose body fails part-way
// answers its fallback, leaves undone what came after the failure, and the
// module goes on working. Each case makes one body fail through a step it
// really passes (a window step that throws, an allocation that fails), checks
// what only a failed body gives, then makes the same call without the fault.
#include <doctest.h>

#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>

#include "engine/bad_qso_file.h"
#include "engine/hooks.h"
#include "engine/prev_qso.h"
#include "engine/settings.h"
#include "engine/stores.h"
#include "framework/platform.h"
#include "framework/profile.h"
#include "framework/scope_exit.h"
#include "plugin/exports.h"
#include "report/report.h"
#include "support/files.h"

namespace {

// Out of memory in the middle of a body: while armed, the allocation on
// this thread after t_allocationsLeft more fails, once.
thread_local bool t_armed = false;
thread_local int t_allocationsLeft = 0;
thread_local int t_failedAllocations = 0;

} // namespace

void* operator new(std::size_t size)
{
    if (t_armed && t_allocationsLeft-- == 0) {
        t_armed = false;
        ++t_failedAllocations;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

// The library's nothrow allocations (std::stable_sort's buffer) pair with
// the frees above: the same allocator, never the runtime's own.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

// The answer of call with its allocation after `skip` more failing;
// reached tells whether the call came to that allocation.
template <class Call>
auto OutOfMemoryIn(Call call, bool& reached, int skip = 0) -> decltype(call())
{
    const int before = t_failedAllocations;
    t_allocationsLeft = skip;
    t_armed = true;
    auto lower = MakeScopeExit([] { t_armed = false; });
    auto answer = call();
    reached = t_failedAllocations > before;
    return answer;
}

int g_windowCalls = 0;

bool ThrowingWindowStep()
{
    ++g_windowCalls;
    throw std::runtime_error("window layer failed");
}

int ThrowingHeaderEdit(const CString&, const COleDateTime*, const COleDateTime*)
{
    ++g_windowCalls;
    throw std::runtime_error("header dialog failed");
}

COleDateTime g_time(43589.5); // 2019-05-04 12:00

#define QSO_ARGS(call, mode, nr)                                                                                  \
    "YL2AA", call, &g_time, nullptr, nullptr, nullptr, 0, 3525000, mode, "599", "599", "001", nr, nullptr, nullptr, \
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "LY", 0, 0, 0, 0.0, 0.0, nullptr, "EU",      \
        nullptr, "80m", nullptr

int Add(const char* call, const char* mode, const char* nr)
{
    return AddData0(QSO_ARGS(call, mode, nr));
}

int Remove(const char* call, const char* mode, const char* nr)
{
    return RemoveData0(QSO_ARGS(call, mode, nr));
}

int Reset(int cabrillo)
{
    return ResetStats0(".\\", cabrillo, "YL2AA", &g_time, &g_time, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr, "YL", 0, 0, 0, 0.0, 0.0, nullptr, "EU", nullptr);
}

int Check(const char* call, const char* mode, char* nrOut)
{
    return CheckCall0(call, 0, 0, mode, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      nullptr, "LY", 0, 0, 0, 0.0, 0.0, nullptr, "EU", nullptr, nullptr, nullptr, "80m", "80m", nrOut,
                      nullptr);
}

std::string BadQsoFile()
{
    return support::ReadBytes(g_badQsoPath.GetString());
}

const std::string kHeaderOnly = "BALTIC CW/SSB TEST UBN file \r\n";

} // namespace

TEST_CASE("an export whose body fails answers its fallback and leaves the rest undone")
{
    support::Scratch dir("unit_barrier");
    auto restore = MakeScopeExit([saved = g_windowHooks] { g_windowHooks = saved; });
    g_windowHooks = kNoWindows;
    g_windowCalls = 0;
    REQUIRE(Reset(0) == 1);
    REQUIRE(g_qsoLog.GetSize() == 0);
    bool reached = false;

    SUBCASE("AddData0: out of memory logs nothing and answers 0")
    {
        CHECK(OutOfMemoryIn([] { return Add("LY1BB", "CW", "005"); }, reached) == 0);
        CHECK(reached);
        CHECK(g_qsoLog.GetSize() == 0);
        CHECK(Add("LY1BB", "CW", "005") == 1);
        CHECK(g_qsoLog.GetSize() == 1);
    }

    SUBCASE("AddData0: out of memory at any step leaves a store that still finds the call")
    {
        REQUIRE(Add("LY1BB", "CW", "005") == 1);
        for (int skip = 0; reached || skip == 0; ++skip) {
            CAPTURE(skip);
            OutOfMemoryIn([] { return Add("LY1BB", "CW", "006"); }, reached, skip);
            char nr[50] = "";
            CHECK(Check("LY1BB", "CW", nr) == 0);
            CHECK(std::string(nr) == "005");
            nr[0] = '\0';
            CHECK(Check("LY1BB", "SSB", nr) == 1); // the number of its last QSO
            CHECK((std::string(nr) == "005" || std::string(nr) == "006"));
            REQUIRE(Add("OH2BH", "CW", "999") == 1); // the store grows: the next round fails elsewhere
        }
    }

    SUBCASE("RemoveData0: out of memory leaves the bad-QSO file as it was")
    {
        REQUIRE(Add("LY1BB", "CW", "005") == 1);
        REQUIRE(Add("LY1BB", "CW", "006") == 1); // a dupe: its line goes to the file
        const std::string withDupe = BadQsoFile();
        REQUIRE(withDupe != kHeaderOnly);
        CHECK(OutOfMemoryIn([] { return Remove("LY1BB", "CW", "006"); }, reached) == 1);
        CHECK(reached);
        CHECK(BadQsoFile() == withDupe);
        CHECK(Remove("LY1BB", "CW", "006") == 1);
        CHECK(BadQsoFile() == kHeaderOnly);
    }

    SUBCASE("ResetStats0: a failing header dialog leaves the start flag as it was")
    {
        settings::WriteText(settings::kStart, "7");
        g_windowHooks.editCabrilloHeader = ThrowingHeaderEdit;
        CHECK(Reset(1) == 1);
        CHECK(g_windowCalls == 1);
        CHECK(std::string(settings::ReadText(settings::kStart)) == "7");
        CHECK(g_cabrilloRun == 0);
        // Without the fault the export reset writes "1", reads it and writes "0".
        g_windowHooks = kNoWindows;
        CHECK(Reset(1) == 1);
        CHECK(std::string(settings::ReadText(settings::kStart)) == "0");
    }

    SUBCASE("CheckCall0: a failing window step answers 1 and writes no number")
    {
        REQUIRE(Add("LY1BB", "SSB", "007") == 1);
        g_windowHooks.isSetupWindowOpen = ThrowingWindowStep;
        char nr[50] = "unchanged";
        CHECK(Check("LY1BB", "CW", nr) == 1);
        CHECK(g_windowCalls == 1);
        CHECK(std::string(nr) == "unchanged");
        CHECK(Check("LY1BB", "SSB", nr) == 1); // a dupe would answer 0
        CHECK(std::string(nr) == "unchanged");
        g_windowHooks = kNoWindows;
        CHECK(Check("LY1BB", "CW", nr) == 1);
        CHECK(std::string(nr) == "007");
        CHECK(Check("LY1BB", "SSB", nr) == 0);
    }

    SUBCASE("GetResult0: out of memory answers the module's text and claims no score")
    {
        REQUIRE(Add("LY1BB", "CW", "005") == 1);
        int status = 0;
        const std::string failed = OutOfMemoryIn([&] { return GetResult0(&status); }, reached);
        CHECK(reached);
        CHECK(status == -1);
        CHECK(failed == g_resultText.GetString());
        CHECK(failed.find("Total") == std::string::npos);
        CHECK(ProfileRead("Settings", "Claimed", "<none>", "Plugins\\BALTIC.ini") == CString("<none>"));
        CHECK(std::string(GetResult0(&status)).find("Total") != std::string::npos);
        CHECK(ProfileRead("Settings", "Claimed", "<none>", "Plugins\\BALTIC.ini") != CString("<none>"));
    }
}
