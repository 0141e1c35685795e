// The result report: points, band order, bad-QSO count, rates and the two
// layouts, compared as whole texts written from the layouts by hand.
#include <doctest.h>

#include <limits>
#include <string>
#include <vector>

#include "cabrillo/header.h"
#include "engine/bad_qso_file.h"
#include "engine/qso_ops.h"
#include "engine/contest.h"
#include "engine/rules.h"
#include "engine/stores.h"
#include "plugin/exports.h"
#include "report/report.h"
#include "report/score.h"
#include "report/tally.h"
#include "report/templates.h"
#include "support/expected_html.h"
#include "support/files.h"
#include "support/message_boxes.h"

namespace {

// 2019-05-04 as an OLE day: 119 years of 365 days and 29 leap days from
// 1900-01-01 (day 2) to 2019-01-01 (day 43466), then 123 days into the year.
const double kMay4 = 43589.0;

double At(int hour, int minute, double second = 0.0)
{
    return kMay4 + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

// A scratch folder as the current directory, with its "Plugins" folder,
// and the report's globals as a reset by SM5XYZ (SM, EU) leaves them.
struct Scene {
    explicit Scene(const char* folder) : m_dir(folder) { Clear(); }
    ~Scene() { Clear(); }
    static void Clear()
    {
        g_qsoLog.RemoveAll();
        g_bandsWorked.RemoveAll();
        g_balticStation = 0;
        g_myContinent = "EU";
        g_myCall = "SM5XYZ";
        g_contestDate = "04.05.2019";
        g_badQsoPath = "";
        g_badQsos.RemoveAll();
        g_htmlReport = 0;
        g_cabrilloRun = 0;
    }
    support::Scratch m_dir;
};

struct Qso {
    const char* call;
    const char* country;
    const char* continent;
    double time;
    const char* mode;
    const char* band;
    int dupe;
    COleDateTime::DateTimeStatus status = COleDateTime::valid;
};

// A record as the engine stores it: dupes are not counted.
CInfo MakeInfo(const Qso& q)
{
    CInfo r;
    r.m_call = q.call;
    r.m_country = q.country;
    r.m_continent = q.continent;
    r.m_time = COleDateTime(q.time, q.status);
    r.m_mode = q.mode;
    r.m_band = q.band;
    r.m_dupe = q.dupe;
    r.m_notCounted = q.dupe;
    r.m_rstSent = "599";
    r.m_nrSent = "001";
    r.m_rstRcvd = "579";
    r.m_nrRcvd = "012";
    r.m_freqKHz = q.mode[0] == 'S' || q.mode[0] == 's' ? 3700 : 3525;
    return r;
}

// Stores the QSOs as the engine would have; each band enters the worked
// list at its first QSO.
void Fill(const std::vector<Qso>& qsos)
{
    for (const Qso& q : qsos) {
        g_qsoLog.Add(MakeInfo(q));
        bool known = false;
        for (int i = 0; i < g_bandsWorked.GetSize(); ++i)
            known = known || g_bandsWorked[i] == q.band;
        if (!known)
            g_bandsWorked.Add(q.band);
    }
}

const std::string kTextHead =
    "     BALTIC CONTEST CW/SSB 04.05.2019 \r\n       Contestant: SM5XYZ\r\n\tQSOs\tPoints\tCW\tSSB\r\n";

std::string TextReport(const std::string& rowsAndClosing)
{
    return kTextHead + rowsAndClosing + "\r\n" + kReportCredit;
}

const char* const kNoRates = "\r\n\t\t\tRate\r\n"
                             "Hourly (10min) QSO rate:     0 (0) QSOs/hour\r\n"
                             "Hourly (10min) pts rate:     0 (0) points/hour\r\n\r\n";

} // namespace

TEST_CASE("points, counts and last-QSO points in the text report")
{
    // Every QSO at 12:00, so each counted QSO on the last band is in both rate windows.
    const double t = At(12, 0);
    struct Case {
        const char* name;
        int baltic;
        const char* myContinent;
        std::vector<Qso> log;
        const char* expected; // rows, totals and rates
    } cases[] = {
        {"empty log", 0, "EU", {},
         "Total\t 0\t 0\t 0\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 0 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     0 (0) QSOs/hour\r\n"
         "Hourly (10min) pts rate:     0 (0) points/hour\r\n\r\n"},
        {"European operator works LY, DL and ES: 10 + 1 + 10", 0, "EU",
         {{"LY1A", "LY", "EU", t, "CW", "80m", 0}, {"DL1A", "DL", "EU", t, "CW", "80m", 0},
          {"ES1A", "ES", "EU", t, "CW", "80m", 0}},
         "80m\t 3\t 21\t 3\t 0\r\n"
         "Total\t 3\t 21\t 3\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 10 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     3 (18) QSOs/hour\r\n"
         "Hourly (10min) pts rate:    21 (126) points/hour\r\n\r\n"},
        {"operator in NA: 20 + 1 + 20", 0, "NA",
         {{"LY1A", "LY", "EU", t, "CW", "80m", 0}, {"DL1A", "DL", "EU", t, "CW", "80m", 0},
          {"ES1A", "ES", "EU", t, "CW", "80m", 0}},
         "80m\t 3\t 41\t 3\t 0\r\n"
         "Total\t 3\t 41\t 3\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 20 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     3 (18) QSOs/hour\r\n"
         "Hourly (10min) pts rate:    41 (246) points/hour\r\n\r\n"},
        {"own continent \"eu\" in lower case is not EU", 0, "eu",
         {{"LY1A", "LY", "EU", t, "CW", "80m", 0}, {"DL1A", "DL", "EU", t, "CW", "80m", 0},
          {"ES1A", "ES", "EU", t, "CW", "80m", 0}},
         "80m\t 3\t 41\t 3\t 0\r\n"
         "Total\t 3\t 41\t 3\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 20 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     3 (18) QSOs/hour\r\n"
         "Hourly (10min) pts rate:    41 (246) points/hour\r\n\r\n"},
        {"Baltic operator: same continent 1, other continent 2, whatever the prefix", 1, "EU",
         {{"DL1A", "DL", "EU", t, "CW", "80m", 0}, {"LY1A", "LY", "EU", t, "CW", "80m", 0},
          {"UA9A", "UA9", "AS", t, "SSB", "80m", 0}},
         "80m\t 3\t 4\t 2\t 1\r\n"
         "Total\t 3\t 4\t 2\t 1\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 2 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     3 (18) QSOs/hour\r\n"
         "Hourly (10min) pts rate:     4 (24) points/hour\r\n\r\n"},
        {"Baltic operator: \"eu\" and empty continents differ from EU", 1, "EU",
         {{"LY1A", "LY", "eu", t, "CW", "80m", 0}, {"DL1A", "DL", "", t, "CW", "80m", 0}},
         "80m\t 2\t 4\t 2\t 0\r\n"
         "Total\t 2\t 4\t 2\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 2 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     2 (12) QSOs/hour\r\n"
         "Hourly (10min) pts rate:     4 (24) points/hour\r\n\r\n"},
        {"worked prefix \"ly\" in lower case is worth 1", 0, "EU", {{"LY1A", "ly", "EU", t, "CW", "80m", 0}},
         "80m\t 1\t 1\t 1\t 0\r\n"
         "Total\t 1\t 1\t 1\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 1 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     1 (6) QSOs/hour\r\n"
         "Hourly (10min) pts rate:     1 (6) points/hour\r\n\r\n"},
        {"a dupe as the last record: last-QSO points of the latest earlier counted QSO", 0, "EU",
         {{"LY1A", "LY", "EU", t, "CW", "80m", 0}, {"DL1A", "DL", "EU", t, "CW", "80m", 0},
          {"LY1A", "LY", "EU", t, "CW", "80m", 1}},
         "80m\t 2\t 11\t 2\t 0\r\n"
         "Total\t 2\t 11\t 2\t 0\r\nDupe\t 1\r\nBad QSO\t 0\r\n\r\nLast QSO: 1 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     2 (12) QSOs/hour\r\n"
         "Hourly (10min) pts rate:    11 (66) points/hour\r\n\r\n"},
        {"records with an empty call count nowhere, not even as dupes", 0, "EU",
         {{"LY1A", "LY", "EU", t, "CW", "80m", 0}, {"", "DL", "EU", t, "CW", "80m", 0},
          {"", "LY", "EU", t, "CW", "80m", 1}},
         "80m\t 1\t 10\t 1\t 0\r\n"
         "Total\t 1\t 10\t 1\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 10 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     1 (6) QSOs/hour\r\n"
         "Hourly (10min) pts rate:    10 (60) points/hour\r\n\r\n"},
        {"\"cw\" and \"ssb\" in lower case count in neither mode column", 0, "EU",
         {{"LY1A", "LY", "EU", t, "cw", "80m", 0}, {"DL1A", "DL", "EU", t, "SSB", "80m", 0},
          {"ES1A", "ES", "EU", t, "ssb", "80m", 0}},
         "80m\t 3\t 21\t 0\t 1\r\n"
         "Total\t 3\t 21\t 0\t 1\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 10 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     3 (18) QSOs/hour\r\n"
         "Hourly (10min) pts rate:    21 (126) points/hour\r\n\r\n"},
        {"bands worked 40m, 160m, 80m are reported longest first; rates only on the last band", 0, "EU",
         {{"DL1A", "DL", "EU", t, "CW", "40m", 0}, {"LY1A", "LY", "EU", t, "CW", "160m", 0},
          {"ES1A", "ES", "EU", t, "SSB", "80m", 0}},
         "160m\t 1\t 10\t 1\t 0\r\n80m\t 1\t 10\t 0\t 1\r\n40m\t 1\t 1\t 1\t 0\r\n"
         "Total\t 3\t 21\t 2\t 1\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 10 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     1 (6) QSOs/hour\r\n"
         "Hourly (10min) pts rate:    10 (60) points/hour\r\n\r\n"},
        {"a band of dupes only still has its row", 0, "EU",
         {{"DL1A", "DL", "EU", t, "CW", "160m", 1}, {"LY1A", "LY", "EU", t, "CW", "80m", 0}},
         "160m\t 0\t 0\t 0\t 0\r\n80m\t 1\t 10\t 1\t 0\r\n"
         "Total\t 1\t 10\t 1\t 0\r\nDupe\t 1\r\nBad QSO\t 0\r\n\r\nLast QSO: 10 points\r\n"
         "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     1 (6) QSOs/hour\r\n"
         "Hourly (10min) pts rate:    10 (60) points/hour\r\n\r\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Scene scene("report_points");
        g_balticStation = c.baltic;
        g_myContinent = c.myContinent;
        Fill(c.log);
        CHECK(std::string(RunReport()) == TextReport(c.expected));
        CHECK(std::string(g_resultText.GetString()) == TextReport(c.expected));
    }
}

TEST_CASE("the report leaves the worked bands in its order, and a second run gives the same text")
{
    Scene scene("report_order");
    const double t = At(12, 0);
    Fill({{"DL1A", "DL", "EU", t, "CW", "40m", 0},
          {"LY1A", "LY", "EU", t, "CW", "160m", 0},
          {"ES1A", "ES", "EU", t, "SSB", "80m", 0}});
    REQUIRE(g_bandsWorked.GetSize() == 3);
    CHECK(g_bandsWorked[0] == "40m");
    const std::string first = RunReport();
    REQUIRE(g_bandsWorked.GetSize() == 3);
    CHECK(g_bandsWorked[0] == "160m");
    CHECK(g_bandsWorked[1] == "80m");
    CHECK(g_bandsWorked[2] == "40m");
    CHECK(std::string(RunReport()) == first);
    CHECK(g_claimedScore == 21);
}

TEST_CASE("tally: points, counts, dupes, last-QSO points and rates of small logs")
{
    struct Row {
        const char* name;
        int qsos, points, cw, ssb, dupes;
    };
    struct Case {
        const char* name;
        int baltic;
        const char* myContinent;
        bool countRates;
        std::vector<const char*> bands; // in report order
        std::vector<Qso> log;
        std::vector<Row> rows;
        Row total;
        int last, hourQsos, hourPoints, tenQsos, tenPoints;
    };
    // Rates look back from the last record (12:00 in each log) on its band.
    const std::vector<Qso> evening = {
        {"DL1A", "DL", "EU", At(10, 30), "CW", "80m", 0},  // 1 point, 90 minutes back
        {"LY1A", "LY", "EU", At(11, 15), "CW", "80m", 0},  // 10, 45 minutes back
        {"ES1A", "ES", "EU", At(11, 55), "SSB", "80m", 0}, // 10, 5 minutes back
        {"OH1A", "OH", "EU", At(11, 58), "CW", "40m", 0},  // 1, another band
        {"YL2A", "YL", "EU", At(12, 0), "SSB", "80m", 0},  // 10, the last QSO
    };
    const Case cases[] = {
        {"empty log", 0, "EU", true, {}, {}, {}, {"", 0, 0, 0, 0, 0}, 0, 0, 0, 0, 0},
        {"European operator: Baltic prefixes 10, others 1", 0, "EU", true, {"80m", "40m"}, evening,
         {{"80m", 4, 31, 2, 2, 0}, {"40m", 1, 1, 1, 0, 0}}, {"", 5, 32, 3, 2, 0}, 10, 3, 30, 2, 20},
        {"the same log after a reset that asked for an export: no rates", 0, "EU", false, {"80m", "40m"}, evening,
         {{"80m", 4, 31, 2, 2, 0}, {"40m", 1, 1, 1, 0, 0}}, {"", 5, 32, 3, 2, 0}, 10, 0, 0, 0, 0},
        {"operator outside Europe: Baltic prefixes 20", 0, "NA", true, {"80m"},
         {{"DL1A", "DL", "EU", At(11, 59), "CW", "80m", 0}, {"LY1A", "LY", "EU", At(12, 0), "CW", "80m", 0}},
         {{"80m", 2, 21, 2, 0, 0}}, {"", 2, 21, 2, 0, 0}, 20, 2, 21, 2, 21},
        {"Baltic operator: 1 on the own continent, 2 elsewhere", 1, "EU", true, {"80m"},
         {{"LY1A", "LY", "EU", At(11, 58), "CW", "80m", 0}, {"UA9A", "UA9", "AS", At(12, 0), "SSB", "80m", 0}},
         {{"80m", 2, 3, 1, 1, 0}}, {"", 2, 3, 1, 1, 0}, 2, 2, 3, 2, 3},
        {"dupes count on their band only; empty calls nowhere; last points from the last counted QSO", 0, "EU",
         true, {"80m", "40m"},
         {{"LY1A", "LY", "EU", At(11, 51), "CW", "80m", 0},
          {"DL1A", "DL", "EU", At(11, 55), "CW", "80m", 0},
          {"", "LY", "EU", At(11, 56), "CW", "80m", 0},
          {"", "DL", "EU", At(11, 57), "CW", "80m", 1},
          {"OH1A", "OH", "EU", At(11, 58), "CW", "40m", 1},
          {"LY1A", "LY", "EU", At(12, 0), "CW", "80m", 1}},
         {{"80m", 2, 11, 2, 0, 1}, {"40m", 0, 0, 0, 0, 1}}, {"", 2, 11, 2, 0, 2}, 1, 2, 11, 2, 11},
        {"window edges: 59:59.4 and 10:00 back are in the hour only; an invalid date in neither", 0, "EU", true,
         {"80m"},
         {{"DL1A", "DL", "EU", At(11, 0, 0.6), "CW", "80m", 0},
          {"DL2A", "DL", "EU", At(11, 50), "CW", "80m", 0},
          {"DL3A", "DL", "EU", At(11, 59), "CW", "80m", 0, COleDateTime::invalid},
          {"LY1A", "LY", "EU", At(12, 0), "CW", "80m", 0}},
         {{"80m", 4, 13, 4, 0, 0}}, {"", 4, 13, 4, 0, 0}, 10, 3, 12, 1, 10},
    };
    auto check = [](const BandTally& got, const Row& want) {
        CHECK(std::string(got.name.GetString()) == want.name);
        CHECK(got.qsos == want.qsos);
        CHECK(got.points == want.points);
        CHECK(got.cw == want.cw);
        CHECK(got.ssb == want.ssb);
        CHECK(got.dupes == want.dupes);
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        ReportSnapshot s;
        s.balticStation = c.baltic;
        s.myContinent = c.myContinent;
        for (const char* band : c.bands)
            s.bands.Add(band);
        for (const Qso& q : c.log)
            s.log.Add(MakeInfo(q));
        const ReportTally t = TallyLog(s, c.countRates);
        REQUIRE(t.bands.size() == c.rows.size());
        for (size_t i = 0; i < c.rows.size(); ++i)
            check(t.bands[i], c.rows[i]);
        check(t.total, c.total);
        CHECK(t.lastQsoPoints == c.last);
        CHECK(t.hourQsos == c.hourQsos);
        CHECK(t.hourPoints == c.hourPoints);
        CHECK(t.tenMinuteQsos == c.tenQsos);
        CHECK(t.tenMinutePoints == c.tenPoints);
    }
}

TEST_CASE("band order: names padded with 0 to 20 characters, descending")
{
    struct Case {
        std::vector<const char*> in, out;
    } cases[] = {
        {{"10m", "20m", "15m", "160m", "80m", "40m"}, {"160m", "80m", "40m", "20m", "15m", "10m"}},
        {{"80M", "80m"}, {"80m", "80M"}},
        {{"6m", "10m"}, {"10m", "6m"}},
        // A name of 20 characters or more is its own key and outranks every padded one.
        {{"80m", "ABCDEFGHIJKLMNOPQRSTU", "160m"}, {"ABCDEFGHIJKLMNOPQRSTU", "160m", "80m"}},
        {{"80m"}, {"80m"}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        CStringArray bands;
        for (const char* b : c.in)
            bands.Add(b);
        SortBands(bands);
        REQUIRE(bands.GetSize() == static_cast<int>(c.out.size()));
        for (size_t i = 0; i < c.out.size(); ++i)
            CHECK(bands[static_cast<int>(i)] == c.out[i]);
    }
}

TEST_CASE("country tests compare the whole prefix, exactly")
{
    struct Case {
        const char* prefix;
        int baltic, russian;
    } cases[] = {
        {"LY", 1, 0}, {"ES", 1, 0}, {"YL", 1, 0}, {"ly", 0, 0}, {"LY ", 0, 0}, {"L", 0, 0}, {"", 0, 0},
        {"UA", 0, 1}, {"UA2", 0, 1}, {"UA2/f", 0, 1}, {"UR", 0, 1}, {"UN", 0, 1}, {"EU", 0, 1},
        {"ua", 0, 0}, {"UA2/F", 0, 0}, {"UA9", 0, 0}, {"U", 0, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.prefix);
        CHECK(rules::IsBalticCountry(c.prefix) == (c.baltic != 0));
        CHECK(IsRussianTextCountry(c.prefix) == c.russian);
    }
}

TEST_CASE("bad QSOs: the refused QSOs kept in memory, whether or not their file can be written")
{
    Scene scene("report_bad");
    auto qso = [](const char* call, const char* band, const char* mode, const char* nrRcvd, int minute) {
        QsoArgs q;
        q.ownCall = "SM5XYZ";
        q.call = call;
        q.time = COleDateTime(43589.5 + minute / 1440.0);
        q.freqHz = 3525000;
        q.band = band;
        q.mode = mode;
        q.nrSent = "001";
        q.nrRcvd = nrRcvd;
        return q;
    };
    for (const char* path : {"bad.txt", "no-such-folder\\bad.txt"}) {
        CAPTURE(path);
        StartBadQsoFile(path);
        CHECK(AddQso(qso("DL1A", "40m", "CW", "012", 0)) == 0);    // wrong band
        CHECK(AddQso(qso("LY1A", "80m", "RTTY", "013", 1)) == 0);  // wrong mode
        CHECK(AddQso(qso("R1UBN", "80m", "CW", "", 2)) == 0);      // no number, "UBN" in its call
        CHECK(AddQso(qso("XDUPE", "80m", "CW", "014", 3)) == 1);
        CHECK(AddQso(qso("XDUPE", "80m", "CW", "015", 4)) == 1);   // a dupe: kept, not counted
        CHECK(CountBadQsos() == 3);
        CHECK(g_badQsos.GetSize() == 4);
        // The removal of the refused RTTY QSO takes it back; another minute does not.
        RemoveQso(qso("LY1A", "80m", "RTTY", "013", 2));
        CHECK(CountBadQsos() == 3);
        RemoveQso(qso("LY1A", "80m", "RTTY", "013", 1));
        CHECK(CountBadQsos() == 2);
        CHECK(std::string(g_badQsos[1].qso.call) == "R1UBN");
        CHECK(std::string(RunReport()).find("Dupe\t 1\r\nBad QSO\t 2\r\n") != std::string::npos);
        CHECK(g_badQsoCount == 2);
        g_qsoLog.RemoveAll();
    }
    StartBadQsoFile("bad.txt");
    CHECK(g_badQsos.GetSize() == 0);
}

TEST_CASE("host texts with control characters keep to one line in the bad-QSO file and the Cabrillo log")
{
    Scene scene("report_one_line");
    QsoArgs q;
    q.ownCall = "SM5XYZ";
    q.call = "LY1A\r\nQSO:  3525";
    q.time = COleDateTime(43589.5);
    q.freqHz = 7010000;
    q.band = "40m";
    q.mode = "CW";
    q.rstSent = "5\t9";
    q.nrSent = "001";
    q.nrRcvd = "0\n12";
    StartBadQsoFile("bad.txt");
    CHECK(AddQso(q) == 0);
    CHECK(support::ReadBytes("bad.txt") ==
          "BALTIC CW/SSB TEST UBN file \r\n"
          "QSO:  7010  CW  2019-05-04 1200  SM5XYZ  5 9  001  LY1A  QSO:  3525    0 12   WRONG BAND !!!\r\n");
    // Memory keeps the host's text, and its removal takes the line back.
    CHECK(std::string(g_badQsos[0].qso.call) == "LY1A\r\nQSO:  3525");
    RemoveQso(q);
    CHECK(support::ReadBytes("bad.txt") == "BALTIC CW/SSB TEST UBN file \r\n");

    g_cabrilloHeader.m_callsign = "SM5XYZ";
    g_cabrilloHeader.m_qsoLines.RemoveAll();
    g_cabrilloHeader.AddQso(q.call, 3525, "CW", &q.time, q.rstSent, q.nrSent, "599\x7f", q.nrRcvd);
    REQUIRE(g_cabrilloHeader.m_qsoLines.GetSize() == 1);
    CHECK(std::string(g_cabrilloHeader.m_qsoLines[0]) ==
          "QSO:  3525 CW 2019-05-04 1200 SM5XYZ        5 9 001    LY1A  QSO:  3525   599  0 12\r\n");
    g_cabrilloHeader.m_qsoLines.RemoveAll();
    g_cabrilloHeader.m_callsign = "";
}

TEST_CASE("rates: minutes back from the last QSO, rounded to the half second, on its band only")
{
    // The last QSO: LY1A (10 points) at 12:00:00 on 80m. One probe QSO from DL (1 point) before it.
    const std::string counted = "Total\t 2\t 11\t 2\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 10 points\r\n";
    const std::string both = "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     2 (12) QSOs/hour\r\n"
                             "Hourly (10min) pts rate:    11 (66) points/hour\r\n\r\n";
    const std::string hourOnly = "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     2 (6) QSOs/hour\r\n"
                                 "Hourly (10min) pts rate:    11 (60) points/hour\r\n\r\n";
    const std::string neither = "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     1 (6) QSOs/hour\r\n"
                                "Hourly (10min) pts rate:    10 (60) points/hour\r\n\r\n";
    const std::string row80 = "80m\t 2\t 11\t 2\t 0\r\n";
    struct Case {
        const char* name;
        Qso probe;
        std::string expected;
    } cases[] = {
        {"59 min 59.4 s before", {"DL1A", "DL", "EU", At(11, 0, 0.6), "CW", "80m", 0}, row80 + counted + hourOnly},
        {"59 min 59.6 s before", {"DL1A", "DL", "EU", At(11, 0, 0.4), "CW", "80m", 0}, row80 + counted + neither},
        {"60 min before", {"DL1A", "DL", "EU", At(11, 0), "CW", "80m", 0}, row80 + counted + neither},
        {"9 min 59 s before", {"DL1A", "DL", "EU", At(11, 50, 1), "CW", "80m", 0}, row80 + counted + both},
        {"9 min 59.4 s before", {"DL1A", "DL", "EU", At(11, 50, 0.6), "CW", "80m", 0}, row80 + counted + both},
        {"9 min 59.6 s before", {"DL1A", "DL", "EU", At(11, 50, 0.4), "CW", "80m", 0}, row80 + counted + hourOnly},
        {"10 min before", {"DL1A", "DL", "EU", At(11, 50), "CW", "80m", 0}, row80 + counted + hourOnly},
        {"the same time the day before", {"DL1A", "DL", "EU", At(12, 0) - 1.0, "CW", "80m", 0},
         row80 + counted + neither},
        {"two hours after the last QSO", {"DL1A", "DL", "EU", At(14, 0), "CW", "80m", 0}, row80 + counted + both},
        {"a few seconds after the last QSO", {"DL1A", "DL", "EU", At(12, 0, 3), "CW", "80m", 0},
         row80 + counted + both},
        {"a minute before on another band", {"DL1A", "DL", "EU", At(11, 59), "CW", "40m", 0},
         "80m\t 1\t 10\t 1\t 0\r\n40m\t 1\t 1\t 1\t 0\r\n" + counted + neither},
        {"a dupe a minute before", {"DL1A", "DL", "EU", At(11, 59), "CW", "80m", 1},
         "80m\t 1\t 10\t 1\t 0\r\nTotal\t 1\t 10\t 1\t 0\r\nDupe\t 1\r\nBad QSO\t 0\r\n\r\nLast QSO: 10 points\r\n" +
             neither},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Scene scene("report_rates");
        Fill({c.probe, {"LY1A", "LY", "EU", At(12, 0), "CW", "80m", 0}});
        CHECK(std::string(RunReport()) == TextReport(c.expected));
    }
}

TEST_CASE("rates: a date that is not a finite valid date, or more than a year away, counts in neither window")
{
    // As above: DL1A (1 point) as the probe, then LY1A (10 points) at 12:00 as the last QSO.
    const std::string totals = "80m\t 2\t 11\t 2\t 0\r\nTotal\t 2\t 11\t 2\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\n"
                               "Last QSO: 10 points\r\n";
    const std::string lastOnly = "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     1 (6) QSOs/hour\r\n"
                                 "Hourly (10min) pts rate:    10 (60) points/hour\r\n\r\n";
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        double probe;
        COleDateTime::DateTimeStatus status;
        double last;
        std::string rates;
    } cases[] = {
        {"NaN", nan, COleDateTime::valid, At(12, 0), lastOnly},
        {"-1e9 days", -1e9, COleDateTime::valid, At(12, 0), lastOnly},
        {"+1e9 days", 1e9, COleDateTime::valid, At(12, 0), lastOnly},
        {"+infinity", inf, COleDateTime::valid, At(12, 0), lastOnly},
        {"-infinity", -inf, COleDateTime::valid, At(12, 0), lastOnly},
        {"400 days before", At(12, 0) - 400.0, COleDateTime::valid, At(12, 0), lastOnly},
        {"400 days after", At(12, 0) + 400.0, COleDateTime::valid, At(12, 0), lastOnly},
        {"a minute before, status invalid", At(11, 59), COleDateTime::invalid, At(12, 0), lastOnly},
        {"a minute before, status null", At(11, 59), COleDateTime::null, At(12, 0), lastOnly},
        {"the last QSO's own date NaN", At(11, 59), COleDateTime::valid, nan, kNoRates},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Scene scene("report_odd_dates");
        Fill({{"DL1A", "DL", "EU", c.probe, "CW", "80m", 0, c.status}, {"LY1A", "LY", "EU", c.last, "CW", "80m", 0}});
        CHECK(std::string(RunReport()) == TextReport(totals + c.rates));
    }
}

TEST_CASE("HTML report: every row from its template, rates 12 and 18")
{
    Scene scene("report_html");
    g_htmlReport = 1;
    // A refused QSO and a dupe: one bad QSO.
    CBadQso refused, dupe;
    refused.kind = kWrongBand;
    g_badQsos.Add(refused);
    g_badQsos.Add(dupe);
    // One QSO two hours back, nine in the hour (11:05 to 11:45), a dupe,
    // and three in the last ten minutes: 13 QSOs, 31 points.
    std::vector<Qso> log = {{"DL0A", "DL", "EU", At(10, 0), "CW", "80m", 0}};
    const char* const calls[] = {"DL1A", "DL2A", "DL3A", "DL4A", "DL5A", "DL6A", "DL7A", "DL8A", "DL9A"};
    for (int i = 0; i < 9; ++i)
        log.push_back({calls[i], "DL", "EU", At(11, 5 + 5 * i), "CW", "80m", 0});
    log.push_back({"LY1A", "LY", "EU", At(11, 52), "SSB", "80m", 0});
    log.push_back({"DL1A", "DL", "EU", At(11, 54), "CW", "80m", 1});
    log.push_back({"ES1A", "ES", "EU", At(11, 55), "SSB", "80m", 0});
    log.push_back({"DL1B", "DL", "EU", At(12, 0), "CW", "80m", 0});
    Fill(log);

    const std::string expected = std::string(kRatesHtmlBeforeCredit) + kReportCredit + kRatesHtmlAfterCredit;
    CHECK(std::string(RunReport()) == expected);
    CHECK(std::string(RunReport()) == expected);
}

TEST_CASE("texts put into the report are HTML-escaped in the HTML layout only")
{
    Scene scene("report_escape");
    g_myCall = "R&D<1>";
    g_contestDate = "04.05.2019 <&>";
    Fill({{"DL1A", "DL", "EU", At(12, 0), "CW", "<80m>", 0}});

    g_htmlReport = 1;
    const std::string html = RunReport();
    CHECK(html.find("<center><b>   BALTIC CONTEST CW/SSB 04.05.2019 &lt;&amp;&gt;</b></center>"
                    "<center>Contestant:  <b>R&amp;D&lt;1&gt;</center></b><table>") != std::string::npos);
    CHECK(html.find("<tr><th> <center>&lt;80m&gt;</center></th><td><center>1</center></td>") != std::string::npos);
    CHECK(html.find("R&D") == std::string::npos);
    CHECK(html.find("<80m>") == std::string::npos);

    g_htmlReport = 0;
    CHECK(std::string(RunReport()) ==
          "     BALTIC CONTEST CW/SSB 04.05.2019 <&> \r\n       Contestant: R&D<1>\r\n\tQSOs\tPoints\tCW\tSSB\r\n"
          "<80m>\t 1\t 1\t 1\t 0\r\n"
          "Total\t 1\t 1\t 1\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 1 points\r\n"
          "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     1 (6) QSOs/hour\r\n"
          "Hourly (10min) pts rate:     1 (6) points/hour\r\n\r\n\r\n" +
              std::string(kReportCredit));
}

TEST_CASE("the claimed score goes to g_claimedScore and to Claimed in Plugins\\BALTIC.ini")
{
    Scene scene("report_claimed");
    Fill({{"LY1A", "LY", "EU", At(12, 0), "CW", "80m", 0}, {"DL1A", "DL", "EU", At(12, 1), "CW", "80m", 0}});
    RunReport();
    CHECK(g_claimedScore == 11);
    CHECK(support::ReadBytes("Plugins\\BALTIC.ini") == "[Settings]\r\nClaimed=11\r\n");

    g_qsoLog.RemoveAll();
    RunReport();
    CHECK(g_claimedScore == 0);
    CHECK(support::ReadBytes("Plugins\\BALTIC.ini") == "[Settings]\r\nClaimed=0\r\n");
}

TEST_CASE("export run: no rates, every stored QSO handed to the Cabrillo log, the outcome in a box")
{
    Scene scene("report_export");
    struct HeaderReset {
        ~HeaderReset()
        {
            g_cabrilloHeader.m_qsoLines.RemoveAll();
            g_cabrilloHeader.m_callsign = "";
            g_cabrilloHeader.m_fileBase = "";
            g_cabrilloHeader.m_categoryOperator = "";
        }
    } headerReset;
    g_cabrilloRun = 1;
    g_cabrilloHeader.m_callsign = "SM5XYZ";
    g_cabrilloHeader.m_fileBase = "SM5XYZ";
    g_cabrilloHeader.m_categoryOperator = "SINGLE-OP";
    g_cabrilloHeader.m_qsoLines.Add("left over from an earlier export\r\n");
    Fill({{"DL1A", "DL", "EU", At(11, 50), "CW", "80m", 0},
          {"ES1A", "ES", "EU", At(11, 55), "SSB", "80m", 0},
          {"", "LY", "EU", At(11, 57), "CW", "80m", 0},
          {"LY1A", "LY", "EU", At(11, 58), "cw", "80m", 0},
          {"DL1A", "DL", "EU", At(12, 0), "CW", "80m", 1}});

    const std::string closing = "Total\t 3\t 21\t 1\t 1\r\nDupe\t 1\r\nBad QSO\t 0\r\n\r\nLast QSO: 10 points\r\n";
    std::string text, html;
    std::vector<support::SeenBox> boxes;
    {
        support::BoxAnswerer answerer;
        text = GetResult0(nullptr);
        g_htmlReport = 1;
        html = GetResult0(nullptr);
        boxes = answerer.Seen();
    }
    CHECK(text == TextReport("80m\t 3\t 21\t 1\t 1\r\n" + closing + kNoRates));
    CHECK(html.find("<tr><th> Hourly (1 hour/10min) QSO rate: </th><td colspan=9><center>    0 /0</center></td></tr>"
                    "<tr><th> Hourly (1 hour/10min) pts rate: </th><td colspan=9><center>    0 /0</center></td></tr>") !=
          std::string::npos);
    CHECK(html.find("<tr><th>Last QSO points:</small></th><td colspan=9><center>   10</center></td></tr>") !=
          std::string::npos);
    REQUIRE(boxes.size() == 2);
    for (const support::SeenBox& box : boxes) {
        CHECK(box.caption == "Output");
        CHECK(box.text.substr(0, box.text.find('\n')) == "File produced: SM5XYZ.cbr");
    }

    // Duplicates, uncounted records and empty calls included, in store order,
    // mode codes CW, PH and ?? for anything but exactly CW or SSB.
    const char* const expectedLines[] = {
        "QSO:  3525 CW 2019-05-04 1150 SM5XYZ        599 001    DL1A          579 012\r\n",
        "QSO:  3700 PH 2019-05-04 1155 SM5XYZ        599 001    ES1A          579 012\r\n",
        "QSO:  3525 CW 2019-05-04 1157 SM5XYZ        599 001                  579 012\r\n",
        "QSO:  3525 ?? 2019-05-04 1158 SM5XYZ        599 001    LY1A          579 012\r\n",
        "QSO:  3525 CW 2019-05-04 1200 SM5XYZ        599 001    DL1A          579 012\r\n",
    };
    REQUIRE(g_cabrilloHeader.m_qsoLines.GetSize() == 5);
    std::string all;
    for (int i = 0; i < 5; ++i) {
        CHECK(std::string(g_cabrilloHeader.m_qsoLines[i].GetString()) == expectedLines[i]);
        all += expectedLines[i];
    }
    // The file carries the score of the same run.
    const std::string file = support::ReadBytes("SM5XYZ.cbr");
    CHECK(file.find("\r\nCLAIMED-SCORE: 21\r\n") != std::string::npos);
    CHECK(file.find(all + "END-OF-LOG:\r\n") != std::string::npos);
}
