// The check file and the export box's line on a log check.
#include "framework/stdiofile.h"
#include "report/log_check.h"

namespace {

const char* const kHeadings[kFindingKinds] = {
    "Refused by the plug-in (your partner loses these QSOs too)",
    "Not counted by the organiser (Russia and Belarus)",
    "Sent numbers",
    "Received numbers",
    "Same station in both modes",
    "Contest date",
    "Outside the contest period",
    "Mode and frequency",
    "Calls",
    "Header"};
const char* const kBoxLabels[kFindingKinds] = {
    "refused", "not counted by the organiser", "sent number", "received number", "same station twice",
    "contest date", "outside the period", "mode and frequency", "call", "header"};

const char* Plural(int n)
{
    return n == 1 ? "" : "s";
}

} // namespace

CString FormatCheckFile(const CLogCheck& check, const CString& call)
{
    CString out;
    if (check.Total() == 0)
        out = "No findings" BALTIC_CRLF;
    else
        out.Format("%d finding%s" BALTIC_CRLF, check.Total(), Plural(check.Total()));
    out.AppendFormat("Log check of %s: %d QSO%s in the log, %d refused" BALTIC_CRLF, Shown(call).GetString(),
                     check.storedQsos, Plural(check.storedQsos), check.refusedQsos);
    if (!check.period.IsEmpty())
        out += "Contest period: " + check.period + " UTC (the night with the most QSOs)" BALTIC_CRLF;
    out.AppendFormat("Points: %d claimed by the plug-in, %d as the organiser counts" BALTIC_CRLF,
                     check.claimedPoints, check.organiserPoints);
    if (!check.ownCountryNotEvaluated.IsEmpty())
        out += "Your station is in " + check.ownCountryNotEvaluated +
               ": since 2023 the organiser does not evaluate logs from Russia and Belarus" BALTIC_CRLF;
    size_t next = 0;
    for (int k = 0; k < kFindingKinds; ++k) {
        if (check.counts[k] == 0)
            continue;
        out.AppendFormat(BALTIC_CRLF "%s (%d)" BALTIC_CRLF, kHeadings[k], check.counts[k]);
        for (int i = 0; i < check.counts[k] && next < check.findings.size(); ++i) {
            const CFinding& f = check.findings[next++];
            if (k == kFindHeader || k == kFindContestDate)
                out += "  " + f.text + BALTIC_CRLF;
            else
                out += "  " + (f.when.IsEmpty() ? CString("(no date)") : f.when) + " " +
                       (f.call.IsEmpty() ? CString("(no call)") : Shown(f.call)) + ": " + f.text + BALTIC_CRLF;
        }
    }
    out += BALTIC_CRLF "Best two hours" BALTIC_CRLF;
    const CTwoHours& t = check.twoHours;
    if (t.qsos == 0)
        out += "  no counted QSO with a valid date in the contest period" BALTIC_CRLF;
    else
        out.AppendFormat("  %s to %s: %d QSO%s, %d point%s" BALTIC_CRLF, t.start.GetString(), t.end.GetString(),
                         t.qsos, Plural(t.qsos), t.points, Plural(t.points));
    return out;
}

CString CheckBoxLine(const CLogCheck& check, const CString& fileName)
{
    CString kinds;
    for (int k = 0; k < kFindingKinds; ++k)
        if (check.counts[k] > 0)
            kinds.AppendFormat("%s%d %s", kinds.IsEmpty() ? "" : ", ", check.counts[k], kBoxLabels[k]);
    CString points;
    points.Format("; the organiser's count: %d of the %d points claimed", check.organiserPoints,
                  check.claimedPoints);
    return "Log check: " + (kinds.IsEmpty() ? CString("no findings") : kinds) + points + "; see " +
           BlankControls(fileName);
}
