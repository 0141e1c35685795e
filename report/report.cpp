#include "report/report.h"

#include <cmath>

#include "cabrillo/header.h"
#include "engine/bad_qso_file.h"
#include "engine/contest.h"
#include "engine/host_modal.h"
#include "engine/stores.h"
#include "framework/platform.h"
#include "report/score.h"
#include "report/templates.h"
#include "engine/settings.h"

namespace {

struct BandTally {
    int qsos = 0, cw = 0, ssb = 0, dupes = 0;
    int onePointers = 0, twoPointers = 0, tenPointers = 0, twentyPointers = 0;
    int Points() const { return onePointers + 2 * twoPointers + 10 * tenPointers + 20 * twentyPointers; }
};

struct Rates {
    int hourQsos = 0, hourPoints = 0, tenQsos = 0, tenPoints = 0;
};

// Whole minutes between the reference and a QSO, the difference first
// rounded to the nearest half second. False when either date is not a
// valid finite date or the two lie more than a year apart: such a QSO
// counts in neither rate window (and no conversion to int can overflow).
bool MinutesBefore(const COleDateTime& reference, const COleDateTime& t, int& minutes)
{
    const double kYear = 366.0;
    if (reference.GetStatus() != COleDateTime::valid || t.GetStatus() != COleDateTime::valid)
        return false;
    const double d = reference.DaysSince(t);
    if (!(std::fabs(d) <= kYear)) // NaN and infinities fail this too
        return false;
    const double halfSecond = 1.0 / 172800.0;
    minutes = static_cast<int>((d + (d >= 0.0 ? halfSecond : -halfSecond)) * 1440.0);
    return true;
}

// HTML-escapes text inserted into the page (the templates are not escaped).
CString Html(const CString& text)
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

const char* ModeCode(const CString& mode)
{
    if (mode == "CW")
        return "CW";
    if (mode == "SSB")
        return "PH";
    return "??";
}

void ExportCabrillo(const CArray<CInfo>& log)
{
    g_cabrilloHeader.m_qsoLines.RemoveAll();
    for (int i = 0; i < log.GetSize(); ++i) {
        const CInfo& r = log[i];
        g_cabrilloHeader.AddQso(r.m_call, static_cast<int>(r.m_freqKHz), ModeCode(r.m_mode), &r.m_time,
                                r.m_rstSent, r.m_nrSent, r.m_rstRcvd, r.m_nrRcvd);
    }
    CString message = g_cabrilloHeader.WriteLog();
    // The box pumps the host's messages while it is open: a report asked
    // for meanwhile answers the one just built and runs no second export.
    CHostModalScope modal;
    ShowMessageBox(message, "Output", 0x40 /* MB_OK | MB_ICONINFORMATION */);
}

} // namespace

const char* RunReport()
{
    const bool html = g_htmlReport != 0;
    CString& out = g_resultText;
    out.Empty();

    // Work on a snapshot: the Setup thread may read the store meanwhile,
    // and no lock is held across the message box below.
    CArray<CInfo> log;
    CStringArray bands;
    {
        CSingleLock lock(g_storeLock);
        log = g_qsoLog;
        SortBands(g_bandsWorked);
        bands = g_bandsWorked;
    }
    const int n = log.GetSize();
    const bool haveLast = n > 0;
    const COleDateTime reference = haveLast ? log[n - 1].m_time : COleDateTime();
    const CString lastBand = haveLast ? log[n - 1].m_band : CString();

    if (html) {
        CString title;
        title.Format("   BALTIC CONTEST CW/SSB %s", Html(g_contestDate).GetString());
        out += g_htmlHead;
        out.AppendFormat(g_htmlTitle, title.GetString(), Html(g_myCall).GetString());
        out.AppendFormat(g_htmlColumnHeads, "Band", "QSOs", "Points", "CW", "SSB");
    } else {
        out.AppendFormat("     BALTIC CONTEST CW/SSB %s \r\n       Contestant: %s\r\n\tQSOs\tPoints\tCW\tSSB\r\n",
                         g_contestDate.GetString(), g_myCall.GetString());
    }

    g_badQsoCount = CountBadQsos();

    BandTally total;
    int totalPoints = 0;
    int lastQsoPoints = 0;
    Rates rates;
    for (int b = 0; b < bands.GetSize(); ++b) {
        const CString& band = bands[b];
        BandTally t;
        for (int i = 0; i < n; ++i) {
            const CInfo& r = log[i];
            if (r.m_band != band || r.m_call.IsEmpty())
                continue;
            t.dupes += r.m_dupe;
            if (r.m_notCounted)
                continue;
            ++t.qsos;
            if (r.m_mode == "CW")
                ++t.cw;
            if (r.m_mode == "SSB")
                ++t.ssb;
            int points = QsoPoints(r);
            switch (points) {
            case 1: ++t.onePointers; break;
            case 2: ++t.twoPointers; break;
            case 10: ++t.tenPointers; break;
            default: ++t.twentyPointers; break;
            }
            if (r.m_band == lastBand) {
                lastQsoPoints = points;
                int m = 0;
                if (!g_cabrilloRun && MinutesBefore(reference, r.m_time, m)) {
                    if (m < 60) {
                        ++rates.hourQsos;
                        rates.hourPoints += points;
                    }
                    if (m < 10) {
                        ++rates.tenQsos;
                        rates.tenPoints += points;
                    }
                }
            }
        }
        const CString name = html ? Html(band) : band;
        out.AppendFormat(html ? g_htmlBandRow : "%s\t %i\t %i\t %i\t %i\r\n", name.GetString(), t.qsos,
                         t.Points(), t.cw, t.ssb);
        total.qsos += t.qsos;
        totalPoints += t.Points();
        total.cw += t.cw;
        total.ssb += t.ssb;
        total.dupes += t.dupes;
    }

    if (html) {
        out.AppendFormat(g_htmlTotalRow, "Total", total.qsos, totalPoints, total.cw, total.ssb);
        out.AppendFormat(g_htmlDupeRow, "Dupe", total.dupes);
        out.AppendFormat(g_htmlBadRow, "Bad QSO", g_badQsoCount);
        out.AppendFormat(g_htmlValueRow, "Last QSO points:", lastQsoPoints);
        out.AppendFormat(g_htmlSectionRow, "Rate");
        out.AppendFormat(g_htmlRateRow, "Hourly (10min/1 hour) QSO rate:", rates.hourQsos, 6 * rates.tenQsos);
        out.AppendFormat(g_htmlRateRow, "Hourly (10min/1 hour) pts rate:", rates.hourPoints, 6 * rates.tenPoints);
        out += g_htmlTail;
    } else {
        out.AppendFormat("Total\t %i\t %i\t %i\t %i\r\nDupe\t %i\r\nBad QSO\t %i\r\n\r\nLast QSO: %i points\r\n",
                         total.qsos, totalPoints, total.cw, total.ssb, total.dupes, g_badQsoCount, lastQsoPoints);
        out.AppendFormat("\r\n\t\t\tRate\r\nHourly (10min) QSO rate: %5i (%i) QSOs/hour\r\nHourly (10min) pts rate: "
                         "%5i (%i) points/hour\r\n\r\n",
                         rates.hourQsos, 6 * rates.tenQsos, rates.hourPoints, 6 * rates.tenPoints);
        out += "\r\n";
        out += kReportCredit;
    }

    g_claimedScore = totalPoints;
    settings::WriteInt(settings::kClaimed, totalPoints);

    if (g_cabrilloRun)
        ExportCabrillo(log);
    return g_resultText.GetString();
}
