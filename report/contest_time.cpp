#include "report/contest_time.h"

long long FloorDiv(long long a, long long b)
{
    long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool SecondsOf(const COleDateTime& t, long long& seconds)
{
    OleDateParts parts;
    if (t.GetStatus() != COleDateTime::valid || !COleDateTime::ToParts(t.GetDays(), parts))
        return false;
    const double linear = t.DaysSince(COleDateTime(0.0)) * static_cast<double>(kDaySeconds);
    seconds = static_cast<long long>(linear >= 0.0 ? linear + 0.5 : linear - 0.5);
    return true;
}

bool DateOfDay(long long day, OleDateParts& parts)
{
    return COleDateTime::ToParts(static_cast<double>(day), parts);
}

CString FormatSeconds(long long seconds)
{
    const long long day = FloorDiv(seconds, kDaySeconds);
    const long long rest = seconds - day * kDaySeconds;
    OleDateParts p;
    if (!DateOfDay(day, p))
        return CString("Invalid DateTime");
    CString s;
    s.Format("%d-%02d-%02d %02d%02d", p.year, p.month, p.day, static_cast<int>(rest / 3600),
             static_cast<int>(rest % 3600 / 60));
    return s;
}
