// The log check: what an operator should look at before sending the log.
// It reads the stored QSOs and the refused ones and names each QSO that may
// cost points (by its time, as the logs print it, and its call) with what
// to do about it, checks the header values against the log and the Cabrillo
// lists, and finds the best two hours. It is a pure function of what it is
// given: it changes no log, score or file.
#pragma once
#include <vector>

#include "engine/bad_qso_file.h"
#include "engine/info.h"
#include "framework/arrays.h"

// Most costly first: the order of the check file and of the box line.
enum FindingKind {
    kFindNotInLog,        // refused: the partner loses the QSO too
    kFindSentNumber,      // gap, repeat, restart or not digits
    kFindReceivedNumber,  // not digits, or the report typed as the number
    kFindSameStation,     // worked in both modes, numbers going down
    kFindOutsidePeriod,   // outside 21:00-02:00 UTC, or no valid date
    kFindModeFrequency,   // outside the mode's part of the band
    kFindCall,            // not shaped like a call sign
    kFindHeader,          // header values
    kFindingKinds
};

struct CFinding {
    FindingKind kind = kFindHeader;
    CString when; // "%Y-%m-%d %H%M"; empty for a null date and for the header
    CString call; // as the host gave it; empty for the header
    CString text; // what is wrong and what to do
};

// The 120 minutes, from a QSO's minute, with the most counted QSOs.
struct CTwoHours {
    int qsos = 0, points = 0;
    CString start, end;   // "%Y-%m-%d %H%M"; empty when no counted QSO has a valid date
    bool scoring = false; // CATEGORY-TIME is 2-HOURS: only these two hours count
};

struct CLogCheck {
    std::vector<CFinding> findings; // grouped by kind, in the order of FindingKind
    int counts[kFindingKinds] = {};
    CTwoHours twoHours;
    CString period; // the contest period found, e.g. "2019-05-04 2100 to 2019-05-05 0200"
    long long periodStart = 0; // its 21:00 on CheckSeconds' scale; meaningful when period is not empty
    int storedQsos = 0, refusedQsos = 0;
    int Total() const { return static_cast<int>(findings.size()); }
};

// The header values as they will be written, plain texts.
struct CCheckHeader {
    CString callsign, categoryOperator, categoryBand, categoryMode, categoryPower, categoryTime;
};

// The operator's side: the own call of the reset and the points rule.
struct CCheckStation {
    CString ownCall;
    int balticStation = 0;
    CString myContinent;
};

// log: the stored QSOs in store order; bad: the refused and duplicate QSOs
// in their order (dupes are stored too and are read from the log).
CLogCheck CheckLog(const CArray<CInfo>& log, const CArray<CBadQso>& bad, const CCheckHeader& header,
                   const CCheckStation& station);

// A QSO's time in whole seconds on the linear scale the check measures the
// period with, rounded as the logs print it; false for a null or invalid
// status and for a day count that no date has.
bool CheckSeconds(const COleDateTime& t, long long& seconds);

// The text of CALL-check.txt: the verdict, every finding under its kind's
// heading, and the best two hours; CR LF line ends.
CString FormatCheckFile(const CLogCheck& check, const CString& call);

// One line for the export's box: the findings per kind and the file's name.
CString CheckBoxLine(const CLogCheck& check, const CString& fileName);
