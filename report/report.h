// report/ owns the result report and the reset that starts the statistics
// over (here), the tally (tally.h), the points rule (score.h), the HTML
// templates (templates.h), and the state the report and the reset keep
// between the host's calls (below). All of it belongs to the
// host's thread; the definitions are in plugin/globals.cpp.
#pragma once
#include "engine/info.h"
#include "framework/oledate.h"
#include "report/tally.h"

extern CString& g_resultText; // the last report built, as GetResult0 hands it out
extern int g_htmlReport;       // the report is HTML (setVersion)
extern int g_cabrilloRun;      // the last reset asked for a Cabrillo export
extern int g_startFlag;        // "Start" as the last reset read it
extern int g_badQsoCount;      // lines of the bad-QSO file, as the last report counted them
extern int g_claimedScore;     // the total points of the last report

struct ResetArgs {
    CString hostFolder;
    int cabrillo = 0;
    CString myCall;
    COleDateTime first, second;
    CString myCountry, myContinent;
};

// Builds the report into g_resultText, writes the claimed score and returns
// the text. logUsed, when given, receives the copy of the log the report
// was built from (the Cabrillo export writes the same QSOs).
const char* RunReport(CArray<CInfo>* logUsed = nullptr);
// The two layouts of the report.
CString FormatTextReport(const ReportTally& t, const CString& call, const CString& contestDate, int badQsos);
CString FormatHtmlReport(const ReportTally& t, const CString& call, const CString& contestDate, int badQsos);

int ResetStats(const ResetArgs& a);

// text with & < > " and ' as HTML entities: what a page gets of a text
// that comes from the host or the operator (templates are not escaped).
CString HtmlEscape(const CString& text);
