// The report's figures: one pass over a snapshot of the log gives every
// number the two layouts print, so the points and rates can be checked
// without reading a whole report.
#pragma once
#include <vector>

#include "engine/info.h"
#include "framework/arrays.h"

// What the report reads, copied at one moment: the log in store order, the
// worked bands in report order, and the operator's side of the points rule.
struct ReportSnapshot {
    CArray<CInfo> log;
    CStringArray bands;
    int balticStation = 0;
    CString myContinent;
};

struct BandTally {
    CString name;
    int qsos = 0, points = 0, cw = 0, ssb = 0, dupes = 0;
};

struct ReportTally {
    std::vector<BandTally> bands; // one row a worked band, in the snapshot's order
    BandTally total;              // its name stays empty
    int lastQsoPoints = 0;
    // Counted QSOs on the last QSO's band, and their points, less than 60
    // and less than 10 minutes before the last QSO.
    int hourQsos = 0, hourPoints = 0, tenMinuteQsos = 0, tenMinutePoints = 0;
};

// Rates stay zero when countRates is false (the last reset asked for an
// export).
ReportTally TallyLog(const ReportSnapshot& snapshot, bool countRates);
