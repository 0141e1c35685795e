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

    // Equal when both are valid with the same day count (to any fraction of
    // a second) or both are null; an invalid value equals nothing.
    bool operator==(const COleDateTime& other) const
    {
        if (m_status != other.m_status)
            return false;
        return m_status == valid ? m_dt == other.m_dt : m_status == null;
    }
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

// The date-time of a QSO as the module's files print it.
extern const char* const kLogDateTime; // "%Y-%m-%d %H%M"

static_assert(sizeof(double) == 8, "OLE date is an 8-byte double");
