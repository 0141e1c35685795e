// The contest rules: which bands and modes can count, and the organiser's
// rules of today in one table (mode classes, the band's CW and SSB parts,
// the period and date, the Baltic countries, the countries whose QSOs and
// logs are not counted, the sections). A rule change is an edit here.
#pragma once
#include "framework/arrays.h"

class CContestRules : public CStringArray {
public:
    CContestRules(const char* const* table, int count);
    ~CContestRules() override;
    // 1 when text equals an entry, ignoring case (ANSI code page), else 0.
    int Contains(const char* text) const;
};

extern CContestRules& g_modeRules; // "CW", "SSB"
extern CContestRules& g_bandRules; // "80m"

namespace rules {

// A stored mode text as the report counts it: exactly "CW" or "SSB"; any
// other text (in another case too) is neither. The tally, the check, the
// page, the export and the Previous QSO lookup all class modes here.
enum ModeClass { kCw, kSsb, kOtherMode };
ModeClass ClassOfMode(const CString& mode);
// The Cabrillo mode code: "CW", "PH", or "??" for another mode.
const char* CabrilloModeCode(ModeClass mode);

// The mode's part of 80 m in kHz, both edges inside; false for another mode.
bool ModePart(ModeClass mode, unsigned& lowKHz, unsigned& highKHz);

// The period, Saturday 21:00 to Sunday 02:00 UTC, of the third full
// weekend of May.
const int kPeriodStartHour = 21;
const int kPeriodHours = 5;
// The day of May of the contest's Saturday in that year (Gregorian).
int ContestSaturday(int year);

// Country prefixes as the host hands them (exact, case-sensitive).
bool IsBalticCountry(const CString& prefix);
// Russia or Belarus, whose QSOs and logs the organiser has not counted
// since 2023: the host's prefixes (UA, UA2, UA9, EU) and the ITU blocks a
// call's own prefix may be given in (R, UA-UI; EU-EW). Its name, or null.
const char* NotCountedCountry(const CString& prefix);

// A section of the contest: the header values it takes (compared without
// regard to case; a null mode takes CW, SSB and MIXED) and its letter and
// name. No section has a CATEGORY-TIME.
struct CSection {
    const char* letter;
    const char* name;
    const char* categoryOperator;
    const char* categoryMode;
    int assisted; // 1: CATEGORY-ASSISTED is ASSISTED; 0: empty or NON-ASSISTED; -1: either
};
// The section a header names, or null when it names none.
const CSection* SectionOf(const CString& categoryOperator, const CString& categoryMode,
                          const CString& categoryAssisted, const CString& categoryTime);

// The header dialog's lists, null-terminated. 2-HOURS, no longer a section,
// stays on the list for the logs of earlier years.
extern const char* const kOperatorList[];
extern const char* const kBandList[];
extern const char* const kModeList[];
extern const char* const kTimeList[];
extern const char* const kAssistedList[];

} // namespace rules
