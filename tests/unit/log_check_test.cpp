// The log check: each kind of finding with a log that has it and one that
// has not, bad input of every sort, and a whole check file.
#include <doctest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "report/log_check.h"

namespace {

// 2019-05-18 00:00, the contest's Saturday, as an OLE day; hours from 24 on are the next day.
double At(int hour, int minute)
{
    return 43603.0 + (hour * 60 + minute) / 1440.0;
}

CInfo Q(const char* call, double time, const char* mode, unsigned kHz, const char* sent, const char* rcvd,
        const char* country = "DL")
{
    CInfo r;
    r.m_call = call;
    r.m_country = country;
    r.m_continent = "EU";
    r.m_band = "80m";
    r.m_mode = mode;
    r.m_rstSent = r.m_rstRcvd = mode[0] == 'S' ? "59" : "599";
    r.m_nrSent = sent;
    r.m_nrRcvd = rcvd;
    r.m_freqKHz = kHz;
    r.m_time = COleDateTime(time);
    return r;
}

CBadQso R(BadQsoKind kind, const char* call, double time, const char* sent, const char* rcvd,
          const char* band = "80m", const char* mode = "CW")
{
    CBadQso b;
    b.kind = kind;
    b.qso.call = call;
    b.qso.time = COleDateTime(time);
    b.qso.band = band;
    b.qso.mode = mode;
    b.qso.nrSent = sent;
    b.qso.nrRcvd = rcvd;
    return b;
}

CCheckHeader Header(const char* mode = "CW", const char* time = "", const char* assisted = "",
                    const char* callsign = "SM5XYZ")
{
    CCheckHeader h;
    h.callsign = callsign;
    h.categoryOperator = "SINGLE-OP";
    h.categoryBand = "80M";
    h.categoryMode = mode;
    h.categoryAssisted = assisted;
    h.categoryTime = time;
    return h;
}

CCheckStation Station()
{
    CCheckStation s;
    s.ownCall = "SM5XYZ";
    s.myContinent = "EU";
    return s;
}

// A record's date made null, or the record made a dupe.
CInfo Undated(CInfo r)
{
    r.m_time.m_status = COleDateTime::null;
    return r;
}

CInfo Dupe(CInfo r)
{
    r.m_dupe = r.m_notCounted = 1;
    return r;
}

template <class T>
CArray<T> ArrayOf(const std::vector<T>& items)
{
    CArray<T> a;
    for (const T& t : items)
        a.Add(t);
    return a;
}

// The findings of one kind as the check file prints them.
std::vector<std::string> Lines(const CLogCheck& c, FindingKind kind)
{
    std::vector<std::string> out;
    for (const CFinding& f : c.findings)
        if (f.kind == kind)
            out.push_back(kind == kFindHeader || kind == kFindContestDate ? f.text.str() : f.when.str() + " " + f.call.str() + ": " + f.text.str());
    return out;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST_CASE("each kind of finding, with a log that has it and one that has not")
{
    const char* const kGone = "; your partner loses this QSO too unless you ";
    const char* const kShow = "; make the host's log show the number you really sent";
    struct Case {
        const char* name;
        FindingKind kind;
        std::vector<CInfo> log;
        std::vector<CBadQso> bad;
        CCheckHeader header;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"refused QSOs", kFindRefused, {},
         {R(kWrongBand, "LY2AB", At(21, 10), "001", "005", "40m"), R(kDupe, "DL1AA", At(21, 12), "002", "007"),
          R(kWrongMode, "ES1Q", At(21, 14), "003", "009", "80m", "RTTY"), R(kNoNumber, "OH2B", At(21, 5), "004", "")},
         Header(),
         {"2019-05-18 2105 OH2B: refused: no received number" + std::string(kGone) + "enter the number in the host",
          "2019-05-18 2110 LY2AB: refused for the band \"40m\" (the contest is on 80 m only)" + std::string(kGone) +
              "correct the band in the host",
          "2019-05-18 2114 ES1Q: refused for the mode \"RTTY\" (only CW and SSB count)" + std::string(kGone) +
              "correct the mode in the host"}},
        {"a dupe is in the log", kFindRefused, {}, {R(kDupe, "DL1AA", At(21, 12), "002", "007")}, Header(), {}},
        {"gap, repeat, restart, not digits", kFindSentNumber,
         {Q("DL1AA", At(21, 0), "CW", 3520, "002", "1"), Q("", At(21, 1), "CW", 3520, "004", "1"),
          Q("DL3CC", At(21, 2), "CW", 3520, "004", "1"), Q("DL4DD", At(21, 3), "CW", 3520, "001", "1"),
          Q("DL5EE", At(21, 4), "CW", 3520, "12a", "1")},
         {}, Header(),
         {"2019-05-18 2100 DL1AA: the first number sent is 002: 001 was never sent; if QSOs are missing from the "
          "log, add them in the host",
          "2019-05-18 2101 : sent 004 after 002: 003 was never sent; if QSOs are missing from the log, add "
          "them in the host",
          "2019-05-18 2102 DL3CC: sent 004 again, as to (no call) at 2019-05-18 2101" + std::string(kShow),
          "2019-05-18 2103 DL4DD: sent 001 after 004 (to DL3CC at 2019-05-18 2102): the numbers start again; make "
          "the host's log show the numbers you really sent",
          "2019-05-18 2104 DL5EE: sent number \"12a\" is not digits" + std::string(kShow)}},
        // Stored out of time order, and a refused QSO holds 002; the same minute twice.
        {"numbers in time order over refused QSOs", kFindSentNumber,
         {Q("DL2BB", At(21, 9), "CW", 3520, "003", "1"), Q("DL1AA", At(21, 5), "CW", 3520, "001", "1"),
          Q("DL4DD", At(21, 9), "CW", 3520, "004", "1")},
         {R(kWrongBand, "LY2AB", At(21, 7), "002", "5", "40m"), R(kNoNumber, "OH2B", At(21, 8), "", "")},
         Header(), {}},
        {"received numbers", kFindReceivedNumber,
         {Q("DL1AA", At(21, 0), "CW", 3520, "001", "5NN"), Q("DL2BB", At(21, 1), "CW", 3520, "002", "1TT"),
          Q("DL3CC", At(21, 2), "SSB", 3700, "003", "59"), Q("DL4DD", At(21, 3), "CW", 3520, "004", "12x"),
          Q("DL5EE", At(21, 4), "CW", 3520, "005", "012"), Q("DL6FF", At(21, 5), "CW", 3520, "006", "0599"),
          Q("DL7GG", At(21, 6), "CW", 3520, "007", "59")},
         {}, Header(),
         {"2019-05-18 2100 DL1AA: received number \"5NN\" is the report (599 in cut numbers), not the serial "
          "number; enter the number the station sent in the host",
          "2019-05-18 2101 DL2BB: received number \"1TT\" is not digits; in cut numbers it reads 100: enter 100 in "
          "the host if that is what was sent",
          "2019-05-18 2102 DL3CC: received number \"59\" is the report received, not the serial number; enter the "
          "number the station sent in the host",
          "2019-05-18 2103 DL4DD: received number \"12x\" is not digits; correct it in the host"}},
        {"numbers going down across the modes", kFindSameStation,
         {Q("LY2AB", At(22, 0), "SSB", 3700, "002", "012"), Q("LY2AB", At(21, 10), "CW", 3520, "001", "045"),
          Q("ES1Q", At(21, 20), "CW", 3520, "003", "020"), Q("ES1Q", At(22, 20), "SSB", 3700, "004", "020")},
         {}, Header(),
         {"2019-05-18 2200 LY2AB: received 012 in SSB after 045 in CW at 2019-05-18 2110; a station's numbers go "
          "up, so one of the two is wrong: check both in the host",
          "2019-05-18 2220 ES1Q: received 020 in SSB, the same number as 020 in CW at 2019-05-18 2120; a station's "
          "numbers go up, so one of the two is wrong: check both in the host"}},
        {"numbers going up across the modes; a later dupe plays no part", kFindSameStation,
         {Q("LY2AB", At(21, 10), "CW", 3520, "001", "045"), Q("LY2AB", At(22, 0), "SSB", 3700, "002", "050"),
          Dupe(Q("LY2AB", At(22, 30), "CW", 3520, "003", "001"))},
         {}, Header(), {}},
        {"outside the period, no valid date", kFindOutsidePeriod,
         {Q("DL1AA", At(21, 0), "CW", 3520, "001", "1"), Q("DL2BB", At(25, 59), "CW", 3520, "002", "1"),
          Q("DL3CC", At(26, 0), "CW", 3520, "003", "1"), Q("DL4DD", At(20, 59), "CW", 3520, "004", "1"),
          Q("DL5EE", At(-3, 0), "CW", 3520, "005", "1"), Q("DL6FF", kNaN, "CW", 3520, "006", "1"),
          Undated(Q("DL7GG", At(21, 7), "CW", 3520, "007", "1"))},
         {}, Header(),
         {"2019-05-17 2100 DL5EE: outside the contest period 2019-05-18 2100 to 2019-05-19 0200 UTC, so it does "
          "not count; if the time is wrong, correct it in the host",
          "2019-05-18 2059 DL4DD: outside the contest period 2019-05-18 2100 to 2019-05-19 0200 UTC, so it does "
          "not count; if the time is wrong, correct it in the host",
          "2019-05-19 0200 DL3CC: outside the contest period 2019-05-18 2100 to 2019-05-19 0200 UTC, so it does "
          "not count; if the time is wrong, correct it in the host",
          "Invalid DateTime DL6FF: no valid date; enter the date and time in the host",
          " DL7GG: no valid date; enter the date and time in the host"}},
        {"mode and frequency", kFindModeFrequency,
         {Q("DL1AA", At(21, 0), "CW", 3605, "001", "1"), Q("DL2BB", At(21, 1), "SSB", 3599, "002", "1"),
          Q("DL3CC", At(21, 2), "CW", 3600, "003", "1"), Q("DL4DD", At(21, 3), "SSB", 3600, "004", "1"),
          Q("DL5EE", At(21, 4), "CW", 0, "005", "1"), Q("DL6FF", At(21, 5), "SSB", 3751, "006", "1"),
          Q("DL7GG", At(21, 6), "cw", 3520, "007", "1")},
         {}, Header(),
         {"2019-05-18 2100 DL1AA: CW on 3605 kHz, outside the CW part 3510-3600 kHz; correct the frequency or the "
          "mode in the host",
          "2019-05-18 2101 DL2BB: SSB on 3599 kHz, outside the SSB part 3600-3750 kHz; correct the frequency or the "
          "mode in the host",
          "2019-05-18 2105 DL6FF: SSB on 3751 kHz, outside the SSB part 3600-3750 kHz; correct the frequency or the "
          "mode in the host",
          "2019-05-18 2106 DL7GG: mode \"cw\" is written as \"??\" in the Cabrillo log; set the mode to CW or SSB in "
          "the host"}},
        {"calls", kFindCall,
         {Q("LY", At(21, 0), "CW", 3520, "001", "1"), Q("1234", At(21, 1), "CW", 3520, "002", "1"),
          Q("LY2AB-1", At(21, 2), "CW", 3520, "003", "1"), Q("", At(21, 3), "CW", 3520, "004", "1"),
          Q("LY2AB/P", At(21, 4), "CW", 3520, "005", "1"), Q("k1a", At(21, 5), "CW", 3520, "006", "1")},
         {}, Header(),
         {"2019-05-18 2100 LY: call \"LY\" is not shaped like a call sign (no digit, under 3 characters); correct "
          "it in the host",
          "2019-05-18 2101 1234: call \"1234\" is not shaped like a call sign (no letter); correct it in the host",
          "2019-05-18 2102 LY2AB-1: call \"LY2AB-1\" is not shaped like a call sign (characters other than "
          "letters, digits and /); correct it in the host",
          "2019-05-18 2103 : no call; enter it in the host"}},
        {"header against the log and the lists", kFindHeader,
         {Q("DL1AA", At(21, 0), "CW", 3520, "001", "1"), Q("DL2BB", At(21, 1), "SSB", 3700, "002", "1")}, {},
         Header("CW", "6-HOURS", "MEDIUM", "SM5XYA"),
         {"CALLSIGN \"SM5XYA\" differs from your call SM5XYZ; correct it in the header",
          "CATEGORY-MODE is CW, but the log holds 1 CW and 1 SSB QSOs; choose MIXED",
          "CATEGORY-ASSISTED \"MEDIUM\" is not a Cabrillo value; choose ASSISTED or leave it empty",
          "CATEGORY-TIME is 6-HOURS, but this contest has no time sections; leave CATEGORY-TIME empty"}},
        // A dupe counts in no mode, as in the report.
        {"MIXED with CW only", kFindHeader,
         {Q("DL1AA", At(21, 0), "CW", 3520, "001", "1"), Dupe(Q("DL2BB", At(21, 2), "SSB", 3700, "002", "1"))}, {},
         Header("MIXED"), {"CATEGORY-MODE is MIXED, but the log holds CW QSOs only; choose CW"}},
        // The old two-hour section: the advice leads to a section, never to none.
        {"2-HOURS with CW only", kFindHeader, {Q("DL1AA", At(21, 0), "CW", 3520, "001", "1")}, {},
         Header("MIXED", "2-HOURS"),
         {"CATEGORY-MODE is MIXED, but the log holds CW QSOs only; choose CW",
          "CATEGORY-TIME is 2-HOURS, which is no longer a section of this contest: the single operator assisted "
          "section (D) replaced it; leave CATEGORY-TIME empty"}},
        // Section D, values in another case, blanks around the call.
        {"a sound header", kFindHeader, {Q("DL1AA", At(21, 0), "CW", 3520, "001", "1")}, {},
         Header("cw", "", "assisted", " sm5xyz "), {}},
        {"a mode no section has", kFindHeader, {}, {}, Header("RTTY"),
         {"CATEGORY-OPERATOR SINGLE-OP with CATEGORY-MODE RTTY names no section of this contest; see the sections "
          "in the guide"}},
        // A dupe counts not, so it is not named.
        {"Belarus", kFindNotCounted,
         {Q("EW1AA", At(21, 1), "CW", 3520, "002", "1", "EW1"),
          Dupe(Q("EW1AA", At(21, 4), "CW", 3520, "005", "1", "EW1"))},
         {}, Header(),
         {"2019-05-18 2101 EW1AA: a station in Belarus (EW1): the organiser has not counted QSOs with Russia and "
          "Belarus since 2023; the plug-in's score counts its 1 point"}},
        // A week early as a whole: one finding naming the date, none per QSO.
        {"the contest's date", kFindContestDate,
         {Q("DL1AA", At(21 - 7 * 24, 0), "CW", 3520, "001", "1"),
          Q("DL2BB", At(22 - 7 * 24, 0), "CW", 3520, "002", "1")},
         {}, Header(),
         {"the log's night begins on 2019-05-11, but the contest of 2019 was on the third full weekend of May, "
          "2019-05-18 2100 to 2019-05-19 0200 UTC; if the host's dates are wrong, correct them"}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        const CLogCheck check = CheckLog(ArrayOf(c.log), ArrayOf(c.bad), c.header, Station());
        CHECK(Lines(check, c.kind) == c.expected);
        CHECK(check.counts[c.kind] == static_cast<int>(c.expected.size()));
    }
}

TEST_CASE("the best two hours, and bad input of every sort")
{
    // 2130 to 2330 holds four counted QSOs (one of them worth 10 points); a dupe counts not.
    std::vector<CInfo> log = {Q("DL1AA", At(21, 0), "CW", 3520, "001", "1"),
                              Q("LY2AB", At(21, 30), "CW", 3520, "002", "1", "LY"),
                              Q("DL2BB", At(22, 50), "CW", 3520, "003", "1"),
                              Q("DL3CC", At(23, 0), "SSB", 3700, "004", "1"),
                              Q("DL4DD", At(23, 29), "SSB", 3700, "005", "1"),
                              Dupe(Q("DL4DD", At(23, 29), "SSB", 3700, "006", "1"))};
    CLogCheck check = CheckLog(ArrayOf(log), {}, Header("MIXED"), Station());
    CHECK(check.twoHours.qsos == 4);
    CHECK(check.twoHours.points == 13);
    CHECK(check.twoHours.start == "2019-05-18 2130");
    CHECK(check.twoHours.end == "2019-05-18 2330");
    CHECK(check.Total() == 0);

    // Only QSOs inside the period count, and the two hours end by 0200: four
    // QSOs before 2100 and the last 20 minutes of the night hold the most.
    std::vector<CInfo> edges;
    for (int minute : {20 * 60, 20 * 60 + 10, 20 * 60 + 20, 20 * 60 + 30, 21 * 60 + 30, 25 * 60 + 1, 25 * 60 + 40,
                       25 * 60 + 50, 25 * 60 + 59})
        edges.push_back(Q("DL1AA", At(0, minute), "CW", 3520, "001", "1"));
    check = CheckLog(ArrayOf(edges), {}, Header(), Station());
    CHECK(check.twoHours.qsos == 4);
    CHECK(check.twoHours.start == "2019-05-19 0000");
    CHECK(check.twoHours.end == "2019-05-19 0200");

    // Nothing at all; only refused QSOs; dates and texts of every kind.
    check = CheckLog({}, {}, CCheckHeader(), CCheckStation());
    CHECK(check.twoHours.qsos == 0);
    CHECK(check.period.IsEmpty());
    CHECK(Lines(check, kFindHeader) ==
          std::vector<std::string>{"CALLSIGN is empty; enter your call",
                                   "CATEGORY-OPERATOR is empty; choose SINGLE-OP, MULTI-OP or CHECKLOG",
                                   "CATEGORY-BAND is empty; choose 80M", "CATEGORY-MODE is empty; choose CW, SSB or MIXED"});
    check = CheckLog({}, ArrayOf(std::vector<CBadQso>{R(kNoNumber, "", kNaN, "", "")}), Header(), Station());
    CHECK(Lines(check, kFindRefused) ==
          std::vector<std::string>{"Invalid DateTime : refused: no sent and no received number; your partner loses "
                                   "this QSO too unless you enter the number in the host"});
    std::vector<CInfo> bad = {Q("", kNaN, "", 0, "99999999999999999999", "\r\n"),
                              Q("DL1AA", std::numeric_limits<double>::infinity(), "SSB", 1u << 31, "x", ""),
                              Q("DL2BB", 1e300, "CW", 3520, "", "5NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"),
                              Q("DL3CC", -657434.875, "CW", 3520, "1", "1")}; // 0100-01-01 2100
    bad[0].m_time.m_status = COleDateTime::invalid;
    bad[1].m_time.m_status = COleDateTime::null;
    CCheckHeader h = Header(std::string(100000, 'M').c_str());
    check = CheckLog(ArrayOf(bad), {}, h, Station());
    CHECK(check.counts[kFindOutsidePeriod] == 3);
    CHECK(Lines(check, kFindHeader) ==
          std::vector<std::string>{"CATEGORY-MODE \"" + std::string(40, 'M') +
                                   "...\" is not a Cabrillo value; choose CW, SSB or MIXED"});
    const std::string file = FormatCheckFile(check, "SM5XYZ").str();
    CHECK(file.find("received number \"  \" is not digits") != std::string::npos);
    for (size_t i = 0; i < file.size(); ++i)
        if (file[i] == '\r' || file[i] == '\n')
            REQUIRE(file.substr(file[i] == '\r' ? i : i - 1, 2) == "\r\n");
}

TEST_CASE("the check file and the box line of a small log")
{
    const std::vector<CInfo> log = {Q("DL1AA", At(21, 0), "CW", 3520, "001", "003"),
                                    Q("LY2AB", At(21, 5), "CW", 3620, "003", "5NN", "LY"),
                                    Q("ES1Q", At(21, 40), "SSB", 3700, "004", "017", "ES"),
                                    Q("UA3AB", At(21, 50), "SSB", 3700, "005", "059", "UA")};
    const std::vector<CBadQso> bad = {R(kNoNumber, "OH2B", At(21, 2), "002", "")};
    CCheckHeader header = Header("MIXED");
    header.categoryOperator = "MULTI-OP";
    const CLogCheck check = CheckLog(ArrayOf(log), ArrayOf(bad), header, Station());
    CHECK(FormatCheckFile(check, "SM5XYZ") ==
          "4 findings\r\n"
          "Log check of SM5XYZ: 4 QSOs in the log, 1 refused\r\n"
          "Contest period: 2019-05-18 2100 to 2019-05-19 0200 UTC (the night with the most QSOs)\r\n"
          "Points: 22 claimed by the plug-in, 21 as the organiser counts\r\n"
          "\r\n"
          "Refused by the plug-in (your partner loses these QSOs too) (1)\r\n"
          "  2019-05-18 2102 OH2B: refused: no received number; your partner loses this QSO too unless you enter "
          "the number in the host\r\n"
          "\r\n"
          "Not counted by the organiser (Russia and Belarus) (1)\r\n"
          "  2019-05-18 2150 UA3AB: a station in Russia (UA): the organiser has not counted QSOs with Russia and "
          "Belarus since 2023; the plug-in's score counts its 1 point\r\n"
          "\r\n"
          "Received numbers (1)\r\n"
          "  2019-05-18 2105 LY2AB: received number \"5NN\" is the report (599 in cut numbers), not the serial "
          "number; enter the number the station sent in the host\r\n"
          "\r\n"
          "Mode and frequency (1)\r\n"
          "  2019-05-18 2105 LY2AB: CW on 3620 kHz, outside the CW part 3510-3600 kHz; correct the frequency or the "
          "mode in the host\r\n"
          "\r\n"
          "Best two hours\r\n"
          "  2019-05-18 2100 to 2019-05-18 2300: 4 QSOs, 22 points\r\n");
    CHECK(CheckBoxLine(check, "SM5XYZ-check.txt") ==
          "Log check: 1 refused, 1 not counted by the organiser, 1 received number, 1 mode and frequency; the "
          "organiser's count: 21 of the 22 points claimed; see SM5XYZ-check.txt");
    CHECK(FormatCheckFile(CheckLog(ArrayOf(std::vector<CInfo>{log[0]}), {}, Header(), Station()), "SM5XYZ").Left(13) ==
          "No findings\r\n");
    // An own station in Kaliningrad: told once, and the organiser counts nothing.
    CCheckStation kaliningrad = Station();
    kaliningrad.ownCountry = "UA2";
    const CLogCheck own = CheckLog(ArrayOf(log), {}, header, kaliningrad);
    const std::string file = FormatCheckFile(own, "SM5XYZ").str();
    CHECK(file.find("Points: 22 claimed by the plug-in, 0 as the organiser counts\r\n"
                    "Your station is in Russia: since 2023 the organiser does not evaluate logs from Russia and "
                    "Belarus\r\n") != std::string::npos);
    CHECK(file.find("Your station") == file.rfind("Your station"));
}
