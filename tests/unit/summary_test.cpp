// The summary page: its figures on a small log worked out by hand from the
// points rule, the section in words, bad input, and the page of a bigger
// generated log saved as summary_sample.html for the tidy and browser check.
#include <doctest.h>

#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "report/summary.h"
#include "report/tally.h"
#include "support/files.h"

namespace {

// 2019-05-04 00:00 as an OLE day; hours from 24 on are the next day.
double At(int hour, int minute)
{
    return 43589.0 + (hour * 60 + minute) / 1440.0;
}

CInfo Q(const char* call, const char* country, const char* continent, const char* mode, double time,
        int status = COleDateTime::valid)
{
    CInfo r;
    r.m_call = call;
    r.m_country = country;
    r.m_continent = continent;
    r.m_band = "80m";
    r.m_mode = mode;
    r.m_nrSent = r.m_nrRcvd = "001";
    r.m_time = COleDateTime(time, static_cast<COleDateTime::DateTimeStatus>(status));
    return r;
}

CSummaryStation Station(const char* op = "SINGLE-OP", const char* mode = "MIXED", const char* time = "")
{
    CSummaryStation s;
    s.call = "SM5XYZ";
    s.contestDate = "04.05.2019";
    s.categoryOperator = op;
    s.categoryMode = mode;
    s.categoryTime = time;
    s.myContinent = "EU";
    return s;
}

CLogCheck Check(const CArray<CInfo>& log, const CSummaryStation& st)
{
    CCheckHeader h;
    h.callsign = st.call;
    h.categoryOperator = st.categoryOperator;
    h.categoryBand = "80M";
    h.categoryMode = st.categoryMode;
    h.categoryTime = st.categoryTime;
    CCheckStation cs;
    cs.ownCall = st.call;
    cs.balticStation = st.balticStation;
    cs.myContinent = st.myContinent;
    return CheckLog(log, CArray<CBadQso>(), h, cs);
}

int ReportScore(const CArray<CInfo>& log, const CSummaryStation& st)
{
    ReportSnapshot snap;
    snap.log = log;
    snap.bands.Add("80m");
    snap.balticStation = st.balticStation;
    snap.myContinent = st.myContinent;
    return TallyLog(snap, false).total.points;
}

} // namespace

TEST_CASE("summary figures: by mode and kind, hour by hour, per ten minutes, equal to the report's score")
{
    // A non-Baltic operator in EU: a Baltic station is 10 points, any other 1.
    CArray<CInfo> log;
    log.Add(Q("LY2AB", "LY", "EU", "CW", At(21, 5)));   // Baltic CW 10, 21h, bar 0
    log.Add(Q("DL1AA", "DL", "EU", "CW", At(21, 7)));   // Europe CW 1, 21h, bar 0
    log.Add(Q("ES1Q", "ES", "EU", "SSB", At(21, 15)));  // Baltic SSB 10, 21h, bar 1
    log.Add(Q("W1AW", "K", "NA", "CW", At(22, 31)));    // other CW 1, 22h
    CInfo dupe = Q("DL1AA", "DL", "EU", "CW", At(22, 40));
    dupe.m_dupe = dupe.m_notCounted = 1;
    log.Add(dupe);                                      // counts nowhere
    log.Add(Q("YL2KA", "YL", "EU", "SSB", At(23, 2)));  // Baltic SSB 10, 23h
    log.Add(Q("JA1ABC", "JA", "AS", "SSB", At(24, 15))); // other SSB 1, 00h
    log.Add(Q("OH2BH", "OH", "EU", "SSB", At(25, 59))); // Europe SSB 1, 01h, bar 29
    log.Add(Q("DL2ZZ", "DL", "EU", "CW", At(26, 0)));   // Europe CW 1, outside (02:00)
    log.Add(Q("SP1XX", "SP", "EU", "SSB", At(21, 30), COleDateTime::invalid)); // Europe SSB 1, no date
    log.Add(Q("", "LY", "EU", "CW", At(21, 40)));       // no call: counts nowhere
    CSummaryStation st = Station();
    st.claimedScore = ReportScore(log, st);
    const CLogCheck check = Check(log, st);
    const CSummary s = SummarizeLog(log, check, st);

    struct Row {
        const char* name;
        CSummaryCount got;
        int qsos, points;
    };
    const Row rows[] = {
        {"CW", s.byMode[kSumCw], 4, 13},          {"SSB", s.byMode[kSumSsb], 5, 23},
        {"other mode", s.byMode[kSumOtherMode], 0, 0},
        {"Baltic", s.byKind[kSumBaltic], 3, 30},  {"Europe", s.byKind[kSumEurope], 4, 4},
        {"other", s.byKind[kSumOtherContinent], 2, 2},
        {"Baltic SSB", s.cells[kSumBaltic][kSumSsb], 2, 20}, {"Europe CW", s.cells[kSumEurope][kSumCw], 2, 2},
        {"total", s.total, 9, 36}};
    for (const Row& r : rows) {
        INFO(r.name);
        CHECK(r.got.qsos == r.qsos);
        CHECK(r.got.points == r.points);
    }
    CHECK(s.dupes == 1);
    CHECK(st.claimedScore == 36);
    CHECK(s.total.points == st.claimedScore);

    // Hours: QSOs, points, CW, SSB, score so far.
    REQUIRE(s.night);
    auto hour = [](const CSummaryHour& h) {
        return std::to_string(h.qsos) + " " + std::to_string(h.points) + " " + std::to_string(h.cw) + " " +
               std::to_string(h.ssb) + " " + std::to_string(h.running);
    };
    CHECK(hour(s.hours[0]) == "3 21 2 1 21");
    CHECK(hour(s.hours[2]) == "1 10 0 1 32");
    CHECK(hour(s.hours[4]) == "1 1 0 1 34");
    CHECK(hour(s.outside) == "2 2 1 1 36");
    CHECK(s.barCw[0] == 2);
    CHECK(s.barSsb[0] == 0);
    CHECK(s.barSsb[1] == 1);
    CHECK(s.barSsb[29] == 1);

    const std::string page = FormatSummaryPage(log, check, st).str();
    CHECK(page.find("<tr><th align=\"left\">21:00-22:00</th><td align=\"right\">3</td><td align=\"right\">21</td>"
                    "<td align=\"right\">2</td><td align=\"right\">1</td><td align=\"right\"><b>21</b></td></tr>"
                    "\r\n") != std::string::npos);
    CHECK(page.find("<b style=\"font-size:18px\">36</b> points") != std::string::npos);
    CHECK(page.find("title=\"21:00: 2 CW, 0 SSB\"") != std::string::npos);
}

TEST_CASE("summary: the section in words, and a whole page of any log and any texts")
{
    const char* const cases[][5] = {
        {" single-op ", "cw", "", "", "B: single operator CW"},
        {"SINGLE-OP", "MIXED", "ASSISTED", "", "D: single operator assisted"},
        {"CHECKLOG", "CW", "", "", "Check log (not scored)"},
        {"SINGLE-OP", "MIXED", "", "2-HOURS",
         "CATEGORY-OPERATOR SINGLE-OP, CATEGORY-MODE MIXED, CATEGORY-TIME 2-HOURS (not a section of this contest)"},
        {"MULTI-OP", "RTTY", "ASSISTED", "",
         "CATEGORY-OPERATOR MULTI-OP, CATEGORY-MODE RTTY, CATEGORY-ASSISTED ASSISTED, CATEGORY-TIME (empty) (not a "
         "section of this contest)"}};
    for (const auto& c : cases) {
        CSummaryStation st = Station(c[0], c[1], c[3]);
        st.categoryAssisted = c[2];
        CHECK(SectionInWords(st) == c[4]);
    }

    // An empty log; one of dupes, null and NaN dates, no calls and hostile texts.
    CArray<CInfo> weird;
    CInfo d = Q("DL1AA", "DL", "EU", "CW", At(21, 0), COleDateTime::null);
    d.m_dupe = d.m_notCounted = 1;
    weird.Add(d);
    weird.Add(Q("<b>&", "LY", "EU", "cw", std::numeric_limits<double>::quiet_NaN()));
    weird.Add(Q("", "", "", "", At(22, 0)));
    CSummaryStation hostile = Station("<script>", "\"x\"\r\n", "'&'");
    hostile.call = "A<B>\nC";
    hostile.contestDate = "</pre>";
    const CArray<CInfo> none;
    for (const CArray<CInfo>* log : {static_cast<const CArray<CInfo>*>(&weird), &none}) {
        const std::string page = FormatSummaryPage(*log, Check(*log, hostile), hostile).str();
        CHECK(page.rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"", 0) == 0);
        CHECK(page.substr(page.size() - 9) == "</html>\r\n");
        for (size_t i = 0; i < page.size(); ++i)
            if (page[i] == '\n' && (i == 0 || page[i - 1] != '\r')) {
                FAIL("a line ends without CR at " << i);
                break;
            }
        for (const char* raw : {"<script", "<B>", "<b>&", "'&'"})
            CHECK(page.find(raw) == std::string::npos);
        CHECK(page.find("</pre>") == page.rfind("</pre>"));
        CHECK(page.find("A&lt;B&gt; C") != std::string::npos);
        CHECK(page.find(log == &none ? "No QSO has a valid date" : "The night of 2019-05-04 2100") !=
              std::string::npos);
    }
}

TEST_CASE("summary page of a generated evening is saved as summary_sample.html for the browser check")
{
    // About 300 QSOs over the five hours, busiest at the start, both modes,
    // Baltic, European and DX stations, a few dupes.
    static const char* const kPrefixes[][3] = {{"LY", "LY", "EU"}, {"ES", "ES", "EU"}, {"YL", "YL", "EU"},
                                               {"DL", "DL", "EU"}, {"SP", "SP", "EU"}, {"OH", "OH", "EU"},
                                               {"UA", "UA", "EU"}, {"G", "G", "EU"},   {"W", "K", "NA"},
                                               {"JA", "JA", "AS"}};
    std::mt19937 rng(20190504u);
    CArray<CInfo> log;
    double t = At(21, 0);
    for (int i = 0; t < At(26, 0); ++i) {
        const int p = static_cast<int>(rng() % 10);
        std::string call = std::string(kPrefixes[p][0]) + char('0' + rng() % 10) + char('A' + rng() % 26) +
                           char('A' + rng() % 26);
        CInfo r = Q("", kPrefixes[p][1], kPrefixes[p][2], (t < At(23, 0)) == (rng() % 4 != 0) ? "CW" : "SSB", t);
        if (i > 10 && rng() % 25 == 0) {
            r = log[static_cast<int>(rng() % static_cast<unsigned>(log.GetSize()))];
            r.m_dupe = r.m_notCounted = 1;
            r.m_time = COleDateTime(t);
        } else {
            r.m_call = call.c_str();
        }
        char nr[16];
        std::snprintf(nr, sizeof nr, "%03d", i + 1);
        r.m_nrSent = nr;
        r.m_freqKHz = r.m_mode == "CW" ? 3520 : 3700;
        log.Add(r);
        t += (0.1 + (t - At(21, 0)) * 24 * 0.2 + static_cast<double>(rng() % 100) / 100.0) / 1440.0;
    }
    // One QSO after the contest, one without a valid date, one SSB QSO on a CW frequency.
    for (CInfo r : {Q("DL9LATE", "DL", "EU", "CW", At(26, 10)),
                    Q("OH1NODATE", "OH", "EU", "SSB", 0.0, COleDateTime::invalid)}) {
        r.m_nrSent.Format("%03d", log.GetSize() + 1);
        log.Add(r);
    }
    log[40].m_mode = "SSB";
    log[40].m_freqKHz = 3530;
    CSummaryStation st = Station();
    st.claimedScore = ReportScore(log, st);
    const CLogCheck check = Check(log, st);
    const CString page = FormatSummaryPage(log, check, st);
    CHECK(SummarizeLog(log, check, st).total.points == st.claimedScore);
    support::WriteBytes(support::ExeDir() + "summary_sample.html", page.str());
}
