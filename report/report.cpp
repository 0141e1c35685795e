#include "report/report.h"
#include "framework/stdiofile.h"

#include <utility>

#include "engine/bad_qso_file.h"
#include "engine/contest.h"
#include "engine/settings.h"
#include "engine/stores.h"
#include "report/score.h"
#include "report/templates.h"

CString HtmlEscape(const CString& text)
{
    CString out;
    for (int i = 0; i < text.GetLength(); ++i) {
        char c = text[i];
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c; break;
        }
    }
    return out;
}

namespace {

// A copy of what the report reads. The Setup thread may read the store
// meanwhile, and no lock is held while the report is formatted or a box
// is open after it.
ReportSnapshot TakeSnapshot()
{
    ReportSnapshot s;
    {
        CSingleLock lock(g_storeLock);
        s.log = g_qsoLog;
        SortBands(g_bandsWorked);
        s.bands = g_bandsWorked;
    }
    s.balticStation = g_balticStation;
    s.myContinent = g_myContinent;
    return s;
}

} // namespace

CString FormatTextReport(const ReportTally& t, const CString& call, const CString& contestDate, int badQsos)
{
    CString out;
    out.AppendFormat("     BALTIC CONTEST CW/SSB %s " BALTIC_CRLF "       Contestant: %s" BALTIC_CRLF
                     "\tQSOs\tPoints\tCW\tSSB" BALTIC_CRLF,
                     contestDate.GetString(), call.GetString());
    for (const BandTally& b : t.bands)
        out.AppendFormat("%s\t %i\t %i\t %i\t %i" BALTIC_CRLF, b.name.GetString(), b.qsos, b.points, b.cw, b.ssb);
    const BandTally& total = t.total;
    out.AppendFormat("Total\t %i\t %i\t %i\t %i" BALTIC_CRLF "Dupe\t %i" BALTIC_CRLF "Bad QSO\t %i" BALTIC_CRLF
                     BALTIC_CRLF "Last QSO: %i points" BALTIC_CRLF,
                     total.qsos, total.points, total.cw, total.ssb, total.dupes, badQsos, t.lastQsoPoints);
    out.AppendFormat(BALTIC_CRLF "\t\t\tRate" BALTIC_CRLF "Hourly (10min) QSO rate: %5i (%i) QSOs/hour" BALTIC_CRLF
                     "Hourly (10min) pts rate: %5i (%i) points/hour" BALTIC_CRLF BALTIC_CRLF,
                     t.hourQsos, 6 * t.tenMinuteQsos, t.hourPoints, 6 * t.tenMinutePoints);
    out += BALTIC_CRLF;
    out += kReportCredit;
    return out;
}

CString FormatHtmlReport(const ReportTally& t, const CString& call, const CString& contestDate, int badQsos)
{
    CString title;
    title.Format("   BALTIC CONTEST CW/SSB %s", HtmlEscape(contestDate).GetString());
    CString out = g_htmlHead;
    out.AppendFormat(g_htmlTitle, title.GetString(), HtmlEscape(call).GetString());
    out.AppendFormat(g_htmlColumnHeads, "Band", "QSOs", "Points", "CW", "SSB");
    for (const BandTally& b : t.bands)
        out.AppendFormat(g_htmlBandRow, HtmlEscape(b.name).GetString(), b.qsos, b.points, b.cw, b.ssb);
    const BandTally& total = t.total;
    out.AppendFormat(g_htmlTotalRow, "Total", total.qsos, total.points, total.cw, total.ssb);
    out.AppendFormat(g_htmlDupeRow, "Dupe", total.dupes);
    out.AppendFormat(g_htmlBadRow, "Bad QSO", badQsos);
    out.AppendFormat(g_htmlValueRow, "Last QSO points:", t.lastQsoPoints);
    out.AppendFormat(g_htmlSectionRow, "Rate");
    out.AppendFormat(g_htmlRateRow, "Hourly (1 hour/10min) QSO rate:", t.hourQsos, 6 * t.tenMinuteQsos);
    out.AppendFormat(g_htmlRateRow, "Hourly (1 hour/10min) pts rate:", t.hourPoints, 6 * t.tenMinutePoints);
    out += g_htmlTail;
    return out;
}

const char* RunReport(CArray<CInfo>* logUsed)
{
    g_resultText.Empty();
    ReportSnapshot snapshot = TakeSnapshot();
    g_badQsoCount = CountBadQsos();
    // An export run reports no rates.
    const ReportTally tally = TallyLog(snapshot, !g_cabrilloRun);
    g_resultText = g_htmlReport ? FormatHtmlReport(tally, g_myCall, g_contestDate, g_badQsoCount)
                                : FormatTextReport(tally, g_myCall, g_contestDate, g_badQsoCount);

    g_claimedScore = tally.total.points;
    settings::WriteInt(settings::kClaimed, tally.total.points);
    if (logUsed)
        *logUsed = std::move(snapshot.log);
    return g_resultText.GetString();
}
