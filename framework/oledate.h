// COleDateTime: an OLE Automation date (days since 1899-12-30, the fraction
// being the time of day) and a status, laid out as the host passes it.
#pragma once
#include "framework/str.h"

struct OleDateParts {
    int year, month, day, hour, minute, second;
};

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default;
    explicit COleDateTime(double days, DateTimeStatus status = valid) : m_dt(days), m_status(status) {}

    DateTimeStatus GetStatus() const { return static_cast<DateTimeStatus>(m_status); }
    double GetDays() const { return m_dt; }

    // Equal when the statuses are equal and the day counts are equal.
    bool operator==(const COleDateTime& other) const { return m_status == other.m_status && m_dt == other.m_dt; }
    bool operator!=(const COleDateTime& other) const { return !(*this == other); }

    // Difference in days, on a linear time scale (dates before 1899-12-30
    // count their fraction forward). A null or invalid side gives 0.
    double DaysSince(const COleDateTime& earlier) const;

    // strftime-style formatting for %Y %m %d %H %M (and %%). A null value gives
    // empty text; an invalid one, or one outside the convertible range,
    // "Invalid DateTime".
    CString Format(const char* pattern) const;

    // Calendar date and time of a day count, rounded to the second as the
    // platform's OLE conversion does. False outside its range.
    static bool ToParts(double days, OleDateParts& parts);

    double m_dt = 0.0;
    int m_status = valid;
};

static_assert(sizeof(double) == 8, "OLE date is an 8-byte double");
