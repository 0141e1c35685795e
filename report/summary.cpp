#include "report/summary.h"

#include <algorithm>

#include "engine/rules.h"
#include "framework/stdiofile.h"
#include "report/contest_time.h"
#include "report/report.h"
#include "report/score.h"

namespace {

const long long kHourSeconds = 3600, kBarSeconds = 600;
const char* const kCwColour = "#3366cc";
const char* const kSsbColour = "#dd7722";
const char* const kHeadColour = "#e4e9f2";
const char* const kTotalColour = "#f3f3f3";
const int kChartHeight = 120; // pixels of the highest bar
const char* const kHourNames[kSummaryHours] = {"21:00-22:00", "22:00-23:00", "23:00-00:00", "00:00-01:00",
                                               "01:00-02:00"};
const char* const kKindNames[kSumKinds] = {"Baltic stations (LY, ES, YL)", "Rest of Europe", "Other continents"};
const char* const kModeNames[kSumModes] = {"CW", "SSB", "Other mode"};

SummaryKind KindOf(const CInfo& r)
{
    if (rules::IsBalticCountry(r.m_country))
        return kSumBaltic;
    return r.m_continent == "EU" ? kSumEurope : kSumOtherContinent;
}

// The report's columns, as the rules table classes modes.
SummaryMode ModeOf(const CInfo& r)
{
    const rules::ModeClass mode = rules::ClassOfMode(r.m_mode);
    return mode == rules::kCw ? kSumCw : mode == rules::kSsb ? kSumSsb : kSumOtherMode;
}

void Count(CSummaryCount& c, int points)
{
    ++c.qsos;
    c.points += points;
}

void CountHour(CSummaryHour& h, SummaryMode mode, int points)
{
    ++h.qsos;
    h.points += points;
    h.cw += mode == kSumCw ? 1 : 0;
    h.ssb += mode == kSumSsb ? 1 : 0;
}

// A text from the host or the operator, as the page shows it: on one line,
// with HTML's own characters escaped.
CString Text(const CString& text)
{
    return HtmlEscape(BlankControls(text));
}

// --- Page pieces -----------------------------------------------------------

// The page's tables: thin borders, the head row shaded.
void OpenTable(CString& out, const char* summary)
{
    out.AppendFormat("<table summary=\"%s\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
                     "style=\"border-collapse:collapse\">" BALTIC_CRLF,
                     summary);
}

void HeadCells(CString& out, const char* const* names, int count)
{
    out.AppendFormat("<tr bgcolor=\"%s\">", kHeadColour);
    for (int i = 0; i < count; ++i)
        out.AppendFormat("<th>%s</th>", names[i]);
    out += "</tr>" BALTIC_CRLF;
}

void NumberCell(CString& out, int value, bool bold = false)
{
    out.AppendFormat(bold ? "<td align=\"right\"><b>%d</b></td>" : "<td align=\"right\">%d</td>", value);
}

void Heading(CString& out, const char* text)
{
    out.AppendFormat("<h2 style=\"font-size:17px;margin:22px 0 8px 0;color:#1f3d7a\">%s</h2>" BALTIC_CRLF, text);
}

// One row of the station block: the label shaded, the cell's HTML beside it.
void StationRow(CString& out, const char* label, const CString& cell)
{
    out.AppendFormat("<tr><th align=\"left\" bgcolor=\"%s\">%s</th><td>%s</td></tr>" BALTIC_CRLF, kHeadColour, label,
                     cell.GetString());
}

void StationBlock(CString& out, const CSummaryStation& station, const CLogCheck& check)
{
    OpenTable(out, "Station");
    StationRow(out, "Station", "<b>" + (station.call.IsEmpty() ? CString("(no call)") : Text(station.call)) + "</b>");
    StationRow(out, "Contest date", Text(station.contestDate));
    StationRow(out, "Section", Text(SectionInWords(station)));
    CString cell;
    cell.Format("<b style=\"font-size:18px\">%d</b> point%s", station.claimedScore,
                station.claimedScore == 1 ? "" : "s");
    StationRow(out, "Claimed score", cell);
    cell.Format("<b>%d</b> point%s (QSOs with Russia and Belarus not counted since 2023)", check.organiserPoints,
                check.organiserPoints == 1 ? "" : "s");
    StationRow(out, "The organiser's count", cell);
    if (!check.ownCountryNotEvaluated.IsEmpty())
        StationRow(out, "Note",
                   "<b>Your station is in " + Text(check.ownCountryNotEvaluated) +
                       ": since 2023 the organiser does not evaluate logs from Russia and Belarus.</b>");
    out += "</table>" BALTIC_CRLF;
}

void PointsTable(CString& out, const CSummary& s)
{
    // The column of other modes only when a QSO has one.
    const int modes = s.byMode[kSumOtherMode].qsos > 0 ? kSumModes : kSumOtherMode;
    OpenTable(out, "QSOs and points by mode and by kind of station");
    out.AppendFormat("<tr bgcolor=\"%s\"><th rowspan=\"2\" align=\"left\">Worked</th>", kHeadColour);
    for (int m = 0; m < modes; ++m)
        out.AppendFormat("<th colspan=\"2\">%s</th>", kModeNames[m]);
    out += "<th colspan=\"2\">All modes</th></tr>" BALTIC_CRLF;
    out.AppendFormat("<tr bgcolor=\"%s\">", kHeadColour);
    for (int m = 0; m <= modes; ++m)
        out += "<th>QSOs</th><th>Points</th>";
    out += "</tr>" BALTIC_CRLF;
    for (int k = 0; k < kSumKinds; ++k) {
        out.AppendFormat("<tr><th align=\"left\">%s</th>", kKindNames[k]);
        for (int m = 0; m < modes; ++m) {
            NumberCell(out, s.cells[k][m].qsos);
            NumberCell(out, s.cells[k][m].points);
        }
        NumberCell(out, s.byKind[k].qsos, true);
        NumberCell(out, s.byKind[k].points, true);
        out += "</tr>" BALTIC_CRLF;
    }
    out.AppendFormat("<tr bgcolor=\"%s\"><th align=\"left\">Total</th>", kTotalColour);
    for (int m = 0; m < modes; ++m) {
        NumberCell(out, s.byMode[m].qsos, true);
        NumberCell(out, s.byMode[m].points, true);
    }
    NumberCell(out, s.total.qsos, true);
    NumberCell(out, s.total.points, true);
    out += "</tr>" BALTIC_CRLF "</table>" BALTIC_CRLF;
    out.AppendFormat("<p style=\"margin:6px 0\">Dupes, not counted: %d.", s.dupes);
    if (modes == kSumModes)
        out += " Other modes count in the score but in neither the CW nor the SSB column.";
    out += "</p>" BALTIC_CRLF;
}

void HourRow(CString& out, const char* label, const CSummaryHour& h, const char* colour)
{
    if (colour)
        out.AppendFormat("<tr bgcolor=\"%s\">", colour);
    else
        out += "<tr>";
    out.AppendFormat("<th align=\"left\">%s</th>", label);
    NumberCell(out, h.qsos);
    NumberCell(out, h.points);
    NumberCell(out, h.cw);
    NumberCell(out, h.ssb);
    NumberCell(out, h.running, true);
    out += "</tr>" BALTIC_CRLF;
}

void HourTable(CString& out, const CSummary& s, const CLogCheck& check)
{
    if (s.night)
        out.AppendFormat("<p style=\"margin:6px 0\">The night of %s UTC, where the log has most of its QSOs.</p>"
                         BALTIC_CRLF, Text(check.period).GetString());
    else
        out += "<p style=\"margin:6px 0\">No QSO has a valid date, so no contest night was found.</p>" BALTIC_CRLF;
    static const char* const kHeads[] = {"Hour (UTC)", "QSOs", "Points", "CW", "SSB", "Score so far"};
    OpenTable(out, "QSOs and points hour by hour");
    HeadCells(out, kHeads, 6);
    for (int i = 0; i < kSummaryHours; ++i)
        HourRow(out, kHourNames[i], s.hours[i], nullptr);
    HourRow(out, "Outside these hours or no valid date", s.outside, nullptr);
    CSummaryHour total;
    total.qsos = s.total.qsos;
    total.points = total.running = s.total.points;
    total.cw = s.byMode[kSumCw].qsos;
    total.ssb = s.byMode[kSumSsb].qsos;
    HourRow(out, "Total", total, kTotalColour);
    out += "</table>" BALTIC_CRLF;
}

// A block of colour of the given height in pixels, as a table cell: what
// the oldest browsers draw reliably without images or CSS boxes.
void ColourRow(CString& out, const char* colour, int height, int colspan = 1)
{
    if (colspan > 1)
        out.AppendFormat("<tr><td colspan=\"%d\"", colspan);
    else
        out += "<tr><td";
    out.AppendFormat(" bgcolor=\"%s\" height=\"%d\" style=\"height:%dpx;font-size:1px;line-height:1px\"></td></tr>",
                     colour, height, height);
}

int Scaled(int count, int most)
{
    return (count * kChartHeight + most / 2) / most;
}

void BarChart(CString& out, const CSummary& s)
{
    int most = 0;
    for (int i = 0; i < kSummaryBars; ++i)
        most = std::max(most, s.barCw[i] + s.barSsb[i]);
    out += "<table summary=\"QSOs per ten minutes, CW and SSB\" cellspacing=\"0\" cellpadding=\"0\" "
           "border=\"0\">" BALTIC_CRLF "<tr>";
    for (int i = 0; i < kSummaryBars; ++i) {
        const int cw = s.barCw[i], ssb = s.barSsb[i];
        const int hour = (21 + i / 6) % 24, minute = i % 6 * 10;
        out.AppendFormat("<td valign=\"bottom\" align=\"center\" width=\"22\" height=\"%d\" "
                         "title=\"%02d:%02d: %d CW, %d SSB\">",
                         kChartHeight + 16, hour, minute, cw, ssb);
        if (cw + ssb > 0) {
            const int cwHeight = cw > 0 ? std::max(1, Scaled(cw, most)) : 0;
            const int ssbHeight = ssb > 0 ? std::max(1, Scaled(cw + ssb, most) - cwHeight) : 0;
            out.AppendFormat("<span style=\"font-size:10px;color:#444\">%d</span>" BALTIC_CRLF
                             "<table summary=\"\" width=\"16\" cellspacing=\"0\" cellpadding=\"0\" border=\"0\">",
                             cw + ssb);
            if (ssbHeight > 0)
                ColourRow(out, kSsbColour, ssbHeight);
            if (cwHeight > 0)
                ColourRow(out, kCwColour, cwHeight);
            out += "</table>";
        }
        out += "</td>" BALTIC_CRLF;
    }
    out += "</tr>" BALTIC_CRLF;
    ColourRow(out, "#888888", 1, kSummaryBars);
    out += BALTIC_CRLF "<tr>";
    for (int h = 0; h < kSummaryHours; ++h)
        out.AppendFormat("<td colspan=\"6\" valign=\"top\" style=\"border-left:1px solid #888888;padding:2px 0 0 "
                         "3px;font-size:11px;color:#444\">%.5s</td>",
                         kHourNames[h]);
    out += "</tr>" BALTIC_CRLF "</table>" BALTIC_CRLF;
    out.AppendFormat("<table summary=\"Legend\" cellspacing=\"4\" cellpadding=\"0\" border=\"0\"><tr>"
                     "<td bgcolor=\"%s\" width=\"12\" height=\"12\"></td><td>CW</td><td width=\"12\"></td>"
                     "<td bgcolor=\"%s\" width=\"12\" height=\"12\"></td><td>SSB</td>"
                     "<td style=\"padding-left:16px;color:#444\">each bar is ten minutes (UTC); the figure above "
                     "it is its QSOs</td></tr></table>" BALTIC_CRLF,
                     kCwColour, kSsbColour);
}

void TwoHours(CString& out, const CTwoHours& t)
{
    if (t.qsos == 0) {
        out += "<p style=\"margin:6px 0\">No counted QSO with a valid date lies in the contest period.</p>" BALTIC_CRLF;
        return;
    }
    static const char* const kHeads[] = {"From (UTC)", "To (UTC)", "QSOs", "Points"};
    OpenTable(out, "The best two hours");
    HeadCells(out, kHeads, 4);
    out.AppendFormat("<tr><td>%s</td><td>%s</td>", Text(t.start).GetString(), Text(t.end).GetString());
    NumberCell(out, t.qsos);
    NumberCell(out, t.points);
    out += "</tr>" BALTIC_CRLF "</table>" BALTIC_CRLF;
}

} // namespace

CSummary SummarizeLog(const CArray<CInfo>& log, const CLogCheck& check, const CSummaryStation& station)
{
    CSummary s;
    s.night = !check.period.IsEmpty();
    for (int i = 0; i < log.GetSize(); ++i) {
        const CInfo& r = log[i];
        // Counted as the score counts them: no call counts nowhere, not even as a dupe.
        if (r.m_call.IsEmpty())
            continue;
        s.dupes += r.m_dupe ? 1 : 0;
        if (r.m_notCounted)
            continue;
        const int points = QsoPoints(r, station.balticStation, station.myContinent);
        const SummaryKind kind = KindOf(r);
        const SummaryMode mode = ModeOf(r);
        Count(s.cells[kind][mode], points);
        Count(s.byKind[kind], points);
        Count(s.byMode[mode], points);
        Count(s.total, points);

        long long seconds = 0;
        const long long offset = s.night && SecondsOf(r.m_time, seconds) ? seconds - check.periodStart : -1;
        if (offset < 0 || offset >= kSummaryHours * kHourSeconds) {
            CountHour(s.outside, mode, points);
            continue;
        }
        CountHour(s.hours[offset / kHourSeconds], mode, points);
        const int bar = static_cast<int>(offset / kBarSeconds);
        s.barCw[bar] += mode == kSumCw ? 1 : 0;
        s.barSsb[bar] += mode == kSumSsb ? 1 : 0;
    }
    int running = 0;
    for (CSummaryHour& h : s.hours) {
        running += h.points;
        h.running = running;
    }
    s.outside.running = running + s.outside.points;
    return s;
}

CString SectionInWords(const CSummaryStation& station)
{
    const CString op = Trimmed(station.categoryOperator), mode = Trimmed(station.categoryMode),
                  assisted = Trimmed(station.categoryAssisted), time = Trimmed(station.categoryTime);
    if (SameNoCase(op, "CHECKLOG"))
        return "Check log (not scored)";
    if (const rules::CSection* section = rules::SectionOf(op, mode, assisted, time))
        return CString(section->letter) + ": " + section->name;
    auto shown = [](const CString& v) { return v.IsEmpty() ? CString("(empty)") : v; };
    return "CATEGORY-OPERATOR " + shown(op) + ", CATEGORY-MODE " + shown(mode) +
           (assisted.IsEmpty() ? CString() : ", CATEGORY-ASSISTED " + assisted) + ", CATEGORY-TIME " +
           shown(time) + " (not a section of this contest)";
}

CString FormatSummaryPage(const CArray<CInfo>& log, const CLogCheck& check, const CSummaryStation& station)
{
    const CSummary s = SummarizeLog(log, check, station);
    const CString call = Text(station.call);
    // No character set is declared: the texts are in the ANSI code page of
    // the machine that wrote the page, which is what its browser assumes.
    CString out = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                  "\"http://www.w3.org/TR/html4/loose.dtd\">" BALTIC_CRLF "<html>" BALTIC_CRLF "<head>" BALTIC_CRLF;
    out.AppendFormat("<title>%s%sBALTIC contest summary</title>" BALTIC_CRLF "</head>" BALTIC_CRLF, call.GetString(),
                     call.IsEmpty() ? "" : " - ");
    out += "<body bgcolor=\"#ffffff\" text=\"#000000\" "
           "style=\"font-family:Verdana,Arial,Helvetica,sans-serif;font-size:13px;margin:16px 24px\">" BALTIC_CRLF;
    out.AppendFormat("<h1 style=\"font-size:22px;margin:0 0 12px 0;color:#1f3d7a\">BALTIC contest CW/SSB%s%s</h1>"
                     BALTIC_CRLF, call.IsEmpty() ? "" : ": ", call.GetString());
    StationBlock(out, station, check);
    Heading(out, "QSOs and points");
    PointsTable(out, s);
    Heading(out, "Hour by hour");
    HourTable(out, s, check);
    Heading(out, "QSOs per ten minutes");
    BarChart(out, s);
    Heading(out, "Best two hours");
    TwoHours(out, check.twoHours);
    Heading(out, "Log check");
    out += "<pre style=\"font-size:12px;white-space:pre-wrap;word-wrap:break-word;background-color:#f6f6f6;border:1px solid #cccccc;padding:8px\">";
    out += HtmlEscape(FormatCheckFile(check, station.call));
    out += "</pre>" BALTIC_CRLF "</body>" BALTIC_CRLF "</html>" BALTIC_CRLF;
    return out;
}
