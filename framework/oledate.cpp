#include "framework/oledate.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const double kDateMin = -657434.0; // 0100-01-01
const double kDateMax = 2958465.0; // 9999-12-31

// Julian day number of a day count (truncated toward zero, as the platform does).
int JulianFromDays(double days)
{
    int whole = static_cast<int>(days);
    return whole - static_cast<int>(kDateMin) + 1757585;
}

void DmyFromJulian(int jd, int& year, int& month, int& day)
{
    int l = jd + 68569;
    int n = l * 4 / 146097;
    l -= (n * 146097 + 3) / 4;
    int i = (4000 * (l + 1)) / 1461001;
    l += 31 - (i * 1461) / 4;
    int j = (l * 80) / 2447;
    day = l - (j * 2447) / 80;
    l = j / 11;
    month = (j + 2) - (12 * l);
    year = 100 * (n - 49) + i + l;
}

int JulianFromDmy(int year, int month, int day)
{
    int a = (14 - month) / 12;
    int y = year + 4800 - a;
    int m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

double LinearDays(double dt)
{
    if (dt >= 0.0)
        return dt;
    double whole = std::ceil(dt);
    return whole - (dt - whole);
}

} // namespace

bool COleDateTime::ToParts(double days, OleDateParts& p)
{
    if (!(days > kDateMin - 1.0 && days < kDateMax + 1.0))
        return false;
    double datePart = days < 0.0 ? std::ceil(days) : std::floor(days);
    // The small bias compensates for truncation of values a hair below a
    // whole second, as the platform conversion does.
    double timePart = std::fabs(days - datePart) + 0.00000000001;
    if (timePart >= 1.0)
        timePart -= 0.00000000001;

    DmyFromJulian(JulianFromDays(days), p.year, p.month, p.day);

    timePart *= 24.0;
    p.hour = static_cast<int>(timePart);
    timePart -= p.hour;
    timePart *= 60.0;
    p.minute = static_cast<int>(timePart);
    timePart -= p.minute;
    timePart *= 60.0;
    p.second = static_cast<int>(timePart);
    timePart -= p.second;

    if (timePart > 0.5) {
        // Round to the nearest second, carrying into minutes, hours and days.
        if (++p.second == 60) {
            p.second = 0;
            if (++p.minute == 60) {
                p.minute = 0;
                if (++p.hour == 24) {
                    p.hour = 0;
                    DmyFromJulian(JulianFromDmy(p.year, p.month, p.day) + 1, p.year, p.month, p.day);
                }
            }
        }
    }
    return true;
}

double COleDateTime::DaysSince(const COleDateTime& earlier) const
{
    if (m_status != valid || earlier.m_status != valid)
        return 0.0;
    return LinearDays(m_dt) - LinearDays(earlier.m_dt);
}

const char* const kLogDateTime = "%Y-%m-%d %H%M";

CString COleDateTime::Format(const char* pattern) const
{
    if (m_status == null)
        return CString();
    OleDateParts p;
    if (m_status != valid || !ToParts(m_dt, p))
        return CString("Invalid DateTime");
    CString out;
    for (const char* s = pattern ? pattern : ""; *s; ++s) {
        if (*s != '%' || !s[1]) {
            out += *s;
            continue;
        }
        ++s;
        switch (*s) {
        case 'Y': out.AppendFormat("%d", p.year); break;
        case 'm': out.AppendFormat("%02d", p.month); break;
        case 'd': out.AppendFormat("%02d", p.day); break;
        case 'H': out.AppendFormat("%02d", p.hour); break;
        case 'M': out.AppendFormat("%02d", p.minute); break;
        case 'S': out.AppendFormat("%02d", p.second); break;
        case '%': out += '%'; break;
        default: out += '%'; out += *s; break;
        }
    }
    return out;
}
