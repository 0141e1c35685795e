// The contest-evening summary page, CALL-summary.html: the station and its
// section, QSOs and points by mode and by kind of station, the night hour by
// hour, a chart of QSOs per ten minutes, the best two hours and the log
// check. Plain HTML 4.01 with tables and inline attributes only, so that it
// shows in every browser an operator may still have. A pure function of
// what it is given.
#pragma once
#include "engine/info.h"
#include "framework/arrays.h"
#include "report/log_check.h"

// What the page says of the station, besides the log.
struct CSummaryStation {
    CString call;          // the own call
    CString contestDate;   // as the report prints it
    // The header's values as the writer writes them.
    CString categoryOperator, categoryMode, categoryAssisted, categoryTime;
    int claimedScore = 0;  // the report's total points
    int balticStation = 0; // the points rule's side (as QsoPoints takes it)
    CString myContinent;
};

enum SummaryKind { kSumBaltic, kSumEurope, kSumOtherContinent, kSumKinds };
enum SummaryMode { kSumCw, kSumSsb, kSumOtherMode, kSumModes };

struct CSummaryCount {
    int qsos = 0, points = 0;
};

struct CSummaryHour {
    int qsos = 0, points = 0, cw = 0, ssb = 0;
    int running = 0; // the points of this row and every row above it
};

const int kSummaryHours = 5;        // 21, 22, 23, 00 and 01 UTC
const int kSummaryBars = 6 * kSummaryHours; // ten minutes each

// The page's figures. Only counted QSOs (a call, not a dupe) are in them,
// with the points the score gives them, so every sum is the claimed score.
struct CSummary {
    CSummaryCount cells[kSumKinds][kSumModes];
    CSummaryCount byKind[kSumKinds], byMode[kSumModes], total;
    int dupes = 0;
    bool night = false; // the check found the contest night; else every QSO is outside the hours
    CSummaryHour hours[kSummaryHours];
    CSummaryHour outside; // outside the five hours, or without a valid date; running = the total
    int barCw[kSummaryBars] = {}, barSsb[kSummaryBars] = {};
};

CSummary SummarizeLog(const CArray<CInfo>& log, const CLogCheck& check, const CSummaryStation& station);

// The section the categories name, its letter and name from the rules
// table; other values are shown as the categories themselves.
CString SectionInWords(const CSummaryStation& station);

// The whole page, HTML 4.01 Transitional, CR LF line ends: the station with
// the claimed score and the organiser's count, the figures, the check.
CString FormatSummaryPage(const CArray<CInfo>& log, const CLogCheck& check, const CSummaryStation& station);
