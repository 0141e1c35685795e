#include <doctest.h>

#include <limits>

#include "framework/oledate.h"

// Our conversion against the platform's own, which only Windows (Wine) has.
#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstring>

namespace {

// What the platform's own conversion says, in our "%Y-%m-%d %H:%M:%S" form.
bool PlatformText(double days, char* out, size_t size)
{
    UDATE ud;
    if (VarUdateFromDate(days, 0, &ud) != S_OK)
        return false;
    std::snprintf(out, size, "%d-%02d-%02d %02d:%02d:%02d", ud.st.wYear, ud.st.wMonth, ud.st.wDay, ud.st.wHour,
                  ud.st.wMinute, ud.st.wSecond);
    return true;
}

bool OurText(double days, char* out, size_t size)
{
    OleDateParts p;
    if (!COleDateTime::ToParts(days, p))
        return false;
    std::snprintf(out, size, "%d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
    return true;
}

int Disagreements(double days)
{
    char ours[64] = "", theirs[64] = "";
    bool a = OurText(days, ours, sizeof ours);
    bool b = PlatformText(days, theirs, sizeof theirs);
    if (a != b || (a && std::strcmp(ours, theirs) != 0)) {
        MESSAGE("day count " << days << ": ours " << (a ? ours : "(refused)") << ", platform "
                             << (b ? theirs : "(refused)"));
        return 1;
    }
    return 0;
}

} // namespace

TEST_CASE("calendar conversion agrees with the platform over a sweep")
{
    int bad = 0;
    // Whole days and quarter days across the whole range, both signs.
    for (double d = -657434.0; d <= 2958465.0; d += 97.25)
        bad += Disagreements(d);
    // Every second of a contest evening, plus the half-second points.
    const double second = 1.0 / 86400.0;
    for (int s = 0; s < 6 * 3600; s += 7) {
        double base = 43589.0 + 21.0 / 24.0 + s * second;
        bad += Disagreements(base);
        bad += Disagreements(base + 0.5 * second);
        bad += Disagreements(base + 0.4999 * second);
        bad += Disagreements(base + 0.5001 * second);
    }
    // Fractions just below and above each minute's edge, before and after day 0.
    for (int m = 0; m < 1440; m += 13) {
        for (double base : {43589.0, 2.0, -2.0, -700.0}) {
            double edge = base + (base < 0 ? -1.0 : 1.0) * m / 1440.0;
            for (double eps : {-1e-6, -5.787e-6, -5.7871e-6, -1e-9, 0.0, 1e-9, 5.787e-6, 1e-6})
                bad += Disagreements(edge + eps);
        }
    }
    // The last second of a month, a year and the range carries over.
    for (double d : {43585.99999, 43830.999995, 43830.9999999, -0.9999999, -1.9999999, 2958465.9999999, 2958465.99999999,
                     2958466.0, -657434.5, -657434.99999999, -657435.0, 0.0, -0.25, 0.25, 60.0, 61.0})
        bad += Disagreements(d);
    CHECK(bad == 0);
}
#endif

TEST_CASE("date-time formatting patterns, null and invalid values")
{
    const COleDateTime evening(43605.0 + (21 * 60 + 30) / 1440.0); // 2019-05-20 21:30
    CHECK(evening.Format("%Y-%m-%d %H%M") == "2019-05-20 2130");
    CHECK(evening.Format("%H%M") == "2130");
    CHECK(evening.Format("%H:%M") == "21:30");
    CHECK(evening.Format("%Y") == "2019");
    CHECK(evening.Format("%d.%m.%Y") == "20.05.2019");
    CHECK(evening.Format("%d_%m_%Y") == "20_05_2019");
    CHECK(evening.Format("%H %s") == "21 %s"); // other conversions are kept as written
    CHECK(COleDateTime(43589.0).Format("%d.%m.%Y") == "04.05.2019");

    // Half a second before a minute rounds up into it.
    const COleDateTime halfSecondShort(43605.0 + (21 * 3600 + 29 * 60 + 59.5) / 86400.0);
    CHECK(halfSecondShort.Format("%H:%M") == "21:30");
    // Before day 0 the fraction counts forward from midnight.
    CHECK(COleDateTime(-0.25).Format("%Y-%m-%d %H:%M") == "1899-12-30 06:00");
    CHECK(COleDateTime(-1.25).Format("%Y-%m-%d %H:%M") == "1899-12-29 06:00");

    CHECK(COleDateTime(43605.0, COleDateTime::null).Format("%H%M") == "");
    CHECK(COleDateTime(43605.0, COleDateTime::invalid).Format("%H%M") == "Invalid DateTime");
    CHECK(COleDateTime(1e12).Format("%H%M") == "Invalid DateTime");
    CHECK(COleDateTime(-1e7).Format("%Y") == "Invalid DateTime");
    // No day count, however odd, reaches a conversion to int.
    for (double odd : {1e9, -1e9, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()})
        CHECK(COleDateTime(odd).Format("%Y-%m-%d %H%M") == "Invalid DateTime");
}

TEST_CASE("differences are taken in days on a linear scale")
{
    const double minute = 1.0 / 1440.0;
    CHECK(COleDateTime(43605.5).DaysSince(COleDateTime(43605.5 - 10 * minute)) == doctest::Approx(10 * minute));
    CHECK(COleDateTime(43605.0).DaysSince(COleDateTime(43606.0)) == doctest::Approx(-1.0));
    // -1.25 is 1899-12-29 06:00, which is 18 hours before day 0.
    CHECK(COleDateTime(0.0).DaysSince(COleDateTime(-1.25)) == doctest::Approx(0.75));
    CHECK(COleDateTime(0.0).DaysSince(COleDateTime(-1.25, COleDateTime::invalid)) == 0.0);
    CHECK(COleDateTime(0.0, COleDateTime::null).DaysSince(COleDateTime(-1.25)) == 0.0);
}

TEST_CASE("equality: same valid day count, or both null; invalid equals nothing")
{
    CHECK(COleDateTime(43605.5) == COleDateTime(43605.5));
    CHECK(COleDateTime(43605.5) != COleDateTime(43605.5 + 1e-9));
    CHECK(COleDateTime(1.0, COleDateTime::null) == COleDateTime(2.0, COleDateTime::null));
    CHECK(COleDateTime(1.0, COleDateTime::invalid) != COleDateTime(1.0, COleDateTime::invalid));
    CHECK(COleDateTime(1.0) != COleDateTime(1.0, COleDateTime::null));
}
