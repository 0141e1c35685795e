// The log check: what an operator should look at before sending the log.
// It reads the stored QSOs and the refused ones and names each QSO that may
// cost points (by its time, as the logs print it, and its call) with what
// to do about it, checks the header values against the log, the Cabrillo
// lists and the sections (engine/header_check.h), finds the best two hours
// and gives the organiser's count of points beside the plug-in's. It is a
// pure function of what it is given: it changes no log, score or file. The
// check file and the box line are written by report/check_file.cpp.
#pragma once
#include <vector>

#include "engine/bad_qso_file.h"
#include "engine/header_check.h"
#include "engine/info.h"
#include "framework/arrays.h"

// Most costly first: the order of the check file and of the box line.
enum FindingKind {
    kFindRefused,         // refused by the plug-in: the partner loses the QSO too
    kFindNotCounted,      // with a station in Russia or Belarus
    kFindSentNumber,      // gap, repeat, restart or not digits
    kFindReceivedNumber,  // not digits, or the report typed as the number
    kFindSameStation,     // worked in both modes, numbers going down
    kFindContestDate,     // the log's night is not the contest's date
    kFindOutsidePeriod,   // outside 21:00-02:00 UTC, or no valid date
    kFindModeFrequency,   // outside the mode's part of the band
    kFindCall,            // not shaped like a call sign
    kFindHeader,          // header values
    kFindingKinds
};

struct CFinding {
    FindingKind kind = kFindHeader;
    CString when; // kLogDateTime; empty for a null date and for a finding on the whole log
    CString call; // as the host gave it; empty for a finding on the whole log
    CString text; // what is wrong and what to do
};

// The 120 minutes inside the contest period with the most counted QSOs.
struct CTwoHours {
    int qsos = 0, points = 0;
    CString start, end; // kLogDateTime; empty when no counted QSO lies in the period
};

struct CLogCheck {
    std::vector<CFinding> findings; // grouped by kind, in the order of FindingKind
    int counts[kFindingKinds] = {};
    CTwoHours twoHours;
    CString period; // the contest period found, e.g. "2019-05-04 2100 to 2019-05-05 0200"
    long long periodStart = 0; // its 21:00 on the contest-time scale; meaningful when period is not empty
    int storedQsos = 0, refusedQsos = 0;
    int claimedPoints = 0;   // the points rule's total: the report's score
    int organiserPoints = 0; // less the QSOs the organiser does not count; 0 for a log not evaluated
    CString ownCountryNotEvaluated; // the own station's country when the organiser evaluates no log from it
    int Total() const { return static_cast<int>(findings.size()); }
};

// The operator's side: the own call of the reset and the points rule.
struct CCheckStation {
    CString ownCall;
    CString ownCountry; // the own country prefix of the reset
    int balticStation = 0;
    CString myContinent;
};

// log: the stored QSOs in store order; bad: the refused and duplicate QSOs
// in their order (dupes are stored too and are read from the log).
CLogCheck CheckLog(const CArray<CInfo>& log, const CArray<CBadQso>& bad, const CCheckHeader& header,
                   const CCheckStation& station);

// The text of CALL-check.txt: the verdict, the points, every finding under
// its kind's heading, and the best two hours.
CString FormatCheckFile(const CLogCheck& check, const CString& call);

// One line for the export's box: the findings per kind, the organiser's
// count and the file's name.
CString CheckBoxLine(const CLogCheck& check, const CString& fileName);
