// The contest-time scale the log check and the summary page share: whole
// seconds on a linear scale from 1899-12-30 00:00, as the logs print them.
#pragma once
#include "framework/oledate.h"

const long long kDaySeconds = 86400;

// a / b rounded towards minus infinity.
long long FloorDiv(long long a, long long b);

// A QSO's time on the scale, rounded as the logs print it; false for a
// null or invalid status and for a day count that no date has (NaN and
// infinities among them).
bool SecondsOf(const COleDateTime& t, long long& seconds);

// kLogDateTime of a second on the scale.
CString FormatSeconds(long long seconds);

// The calendar date of a day on the scale; false outside the dates there are.
bool DateOfDay(long long day, OleDateParts& parts);
