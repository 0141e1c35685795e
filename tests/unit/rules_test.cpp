// The organiser's rules table, with values written from the 2024 rules and
// the 2023 decision, and the log that once made the check and the report
// disagree on the modes.
#include <doctest.h>

#include "engine/rules.h"
#include "report/log_check.h"
#include "report/tally.h"

TEST_CASE("band and mode rules ignore case and refuse everything else")
{
    struct Case {
        const CContestRules& rules;
        const char* text;
        int expected;
    } cases[] = {
        {g_bandRules, "80m", 1}, {g_bandRules, "80M", 1}, {g_bandRules, "40m", 0}, {g_bandRules, "", 0},
        {g_bandRules, nullptr, 0}, {g_bandRules, "80m ", 0}, {g_modeRules, "cw", 1}, {g_modeRules, "SSB", 1},
        {g_modeRules, "ssb", 1}, {g_modeRules, "RTTY", 0}, {g_modeRules, "C", 0}, {g_modeRules, "", 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text ? c.text : "(null)");
        CHECK(c.rules.Contains(c.text) == c.expected);
    }
}

TEST_CASE("rules table: modes, band parts, the contest's date, countries, sections")
{
    using namespace rules;
    struct Mode {
        const char* text;
        ModeClass mode;
        const char* code;
    } modes[] = {{"CW", kCw, "CW"}, {"SSB", kSsb, "PH"}, {"cw", kOtherMode, "??"}, {"Ssb", kOtherMode, "??"},
                 {"", kOtherMode, "??"}, {"RTTY", kOtherMode, "??"}, {"CW ", kOtherMode, "??"}};
    for (const Mode& m : modes) {
        CAPTURE(m.text);
        CHECK(ClassOfMode(m.text) == m.mode);
        CHECK(CString(CabrilloModeCode(ClassOfMode(m.text))) == m.code);
    }
    unsigned low = 0, high = 0;
    CHECK((ModePart(kCw, low, high) && low == 3510 && high == 3600));
    CHECK((ModePart(kSsb, low, high) && low == 3600 && high == 3750));
    CHECK(!ModePart(kOtherMode, low, high));

    // The Saturday of the third full weekend of May, read off calendars.
    const int saturdays[][2] = {{2019, 18}, {2020, 16}, {2021, 15}, {2022, 21}, {2023, 20},
                                {2024, 18}, {2025, 17}, {2026, 16}, {2000, 20}, {2100, 15}};
    for (const auto& y : saturdays) {
        CAPTURE(y[0]);
        CHECK(ContestSaturday(y[0]) == y[1]);
    }

    // The host's prefixes and the ITU blocks (R, UA-UI; EU-EW); "" for the rest.
    const char* const countries[][2] = {{"UA", "Russia"}, {"UA2", "Russia"}, {"UA2/f", "Russia"}, {"UA9", "Russia"},
                                        {"R9", "Russia"},  {"UI8", "Russia"}, {"EU", "Belarus"},  {"EW1", "Belarus"},
                                        {"UR", ""},        {"UN", ""},        {"UJ", ""},         {"ES", ""},
                                        {"ua", ""},        {"E7", ""},        {"", ""}};
    for (const auto& c : countries) {
        CAPTURE(c[0]);
        const char* found = NotCountedCountry(c[0]);
        CHECK(CString(found ? found : "") == c[1]);
    }

    // operator, mode, assisted, time: letter, or "" for no section.
    const char* const sections[][5] = {
        {"SINGLE-OP", "MIXED", "", "", "A"},          {"SINGLE-OP", "CW", "NON-ASSISTED", "", "B"},
        {"single-op", " ssb ", "", "", "C"},          {"SINGLE-OP", "MIXED", "ASSISTED", "", "D"},
        {"SINGLE-OP", "CW", "assisted", "", "D"},     {"MULTI-OP", "SSB", "", "", "E"},
        {"MULTI-OP", "MIXED", "ASSISTED", "", "E"},   {"SINGLE-OP", "MIXED", "", "2-HOURS", ""},
        {"SINGLE-OP", "RTTY", "", "", ""},            {"CHECKLOG", "CW", "", "", ""},
        {"SINGLE-OP", "CW", "YES", "", ""},           {"", "", "", "", ""}};
    for (const auto& s : sections) {
        CAPTURE(s[0]);
        CAPTURE(s[1]);
        CAPTURE(s[2]);
        const CSection* found = SectionOf(s[0], s[1], s[2], s[3]);
        CHECK(CString(found ? found->letter : "") == s[4]);
    }
}

TEST_CASE("a log of \"CW\", \"cw\" and a call-less \"SSB\" QSO: the check counts the modes as the report does")
{
    CArray<CInfo> log;
    for (const char* mode : {"CW", "cw", "SSB"}) {
        CInfo r;
        r.m_call = *mode == 'S' ? "" : "DL1AA";
        r.m_country = "DL";
        r.m_continent = "EU";
        r.m_band = "80m";
        r.m_mode = mode;
        r.m_nrSent = r.m_nrRcvd = r.m_rstRcvd = "001";
        r.m_freqKHz = 3520;
        r.m_time = COleDateTime(43603.0 + 21.5 / 24); // 2019-05-18 2130
        log.Add(r);
    }
    ReportSnapshot snapshot;
    snapshot.log = log;
    snapshot.bands.Add("80m");
    snapshot.myContinent = "EU";
    const ReportTally tally = TallyLog(snapshot, false);
    CHECK(tally.total.qsos == 2);
    CHECK(tally.total.cw == 1);
    CHECK(tally.total.ssb == 0);

    CCheckHeader header;
    header.callsign = "SM5XYZ";
    header.categoryOperator = "SINGLE-OP";
    header.categoryBand = "80M";
    header.categoryMode = "CW";
    CCheckStation station;
    station.ownCall = "SM5XYZ";
    station.myContinent = "EU";
    const CLogCheck check = CheckLog(log, CArray<CBadQso>(), header, station);
    CHECK(check.counts[kFindHeader] == 0);
    CHECK(check.claimedPoints == tally.total.points);
}
