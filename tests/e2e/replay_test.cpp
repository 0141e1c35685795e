#include <doctest.h>

#include <windows.h>

#include <string>

#include "host/replay.h"
#include "support/files.h"

using support::ReadBytes;
using support::WriteBytes;

namespace {

// Own station SM5XYZ. LY2AB and YL3AA (band written "80M", mode "cw") count,
// UA9XX in USB counts as SSB; LY2AB again is a dupe; ES5QX on 7.012 MHz is on
// 40 m; YL2KL gave no number; OH1XX is logged and then deleted; the last two
// records cannot be replayed.
const char* const kLog =
    "Hand-made log <EOH>\n"
    "<CALL:5>LY2AB <QSO_DATE:8>20240518 <TIME_ON:4>2100 <FREQ:5>3.525 <MODE:2>CW <RST_SENT:3>599 <RST_RCVD:3>579 "
    "<STX_STRING:3>001 <SRX:2>12 <CONT:2>EU <STATION_CALLSIGN:6>SM5XYZ <EOR>\n"
    "<CALL:5>UA9XX <QSO_DATE:8>20240518 <TIME_ON:6>210500 <FREQ:5>3.610 <MODE:3>USB <RST_SENT:2>59 <RST_RCVD:2>58 "
    "<STX_STRING:3>002 <SRX:1>7 <CONT:2>AS <STATION_CALLSIGN:6>SM5XYZ <EOR>\n"
    "<CALL:5>LY2AB <QSO_DATE:8>20240518 <TIME_ON:4>2110 <FREQ:6>3.5269 <MODE:2>CW <RST_SENT:3>599 <RST_RCVD:3>599 "
    "<STX_STRING:3>003 <SRX:2>15 <CONT:2>EU <STATION_CALLSIGN:6>SM5XYZ <EOR>\n"
    "<CALL:5>ES5QX <QSO_DATE:8>20240518 <TIME_ON:4>2120 <FREQ:5>7.012 <MODE:2>CW <RST_SENT:3>599 <RST_RCVD:3>599 "
    "<STX_STRING:3>004 <SRX:2>20 <CONT:2>EU <STATION_CALLSIGN:6>SM5XYZ <EOR>\n"
    "<CALL:5>YL2KL <QSO_DATE:8>20240518 <TIME_ON:4>2130 <FREQ:5>3.620 <MODE:3>SSB <RST_SENT:2>59 <RST_RCVD:2>59 "
    "<STX_STRING:3>005 <CONT:2>EU <STATION_CALLSIGN:6>SM5XYZ <EOR>\n"
    "<CALL:5>YL3AA <QSO_DATE:8>20240518 <TIME_ON:4>2155 <BAND:3>80M <FREQ:8>3.534999 <MODE:2>cw <RST_SENT:3>599 "
    "<RST_RCVD:3>599 <STX_STRING:3>006 <SRX:2>33 <CONT:2>EU <STATION_CALLSIGN:6>SM5XYZ <EOR>\n"
    "<CALL:5>OH1XX <QSO_DATE:8>20240518 <TIME_ON:4>2200 <FREQ:5>3.540 <MODE:2>CW <RST_SENT:3>599 <RST_RCVD:3>599 "
    "<STX_STRING:3>007 <SRX:1>9 <CONT:2>EU <STATION_CALLSIGN:6>SM5XYZ <EOR>\n"
    "<CALL:5>OH1XX <QSO_DATE:8>20240518 <TIME_ON:4>2200 <FREQ:5>3.540 <MODE:2>CW <RST_SENT:3>599 <RST_RCVD:3>599 "
    "<STX_STRING:3>007 <SRX:1>9 <CONT:2>EU <STATION_CALLSIGN:6>SM5XYZ <APP_HOSTSIM_DELETE:1>Y <EOR>\n"
    "<QSO_DATE:8>20240518 <TIME_ON:4>2210 <FREQ:5>3.540 <MODE:2>CW <EOR>\n"
    "<CALL:x>SP1AA <QSO_DATE:8>20240518 <TIME_ON:4>2215 <EOR>\n";

const char* const kBadQsoFile =
    "BALTIC CW/SSB TEST UBN file \r\n"
    "QSO:  3526  CW  2024-05-18 2110  SM5XYZ  599  003  LY2AB  599  15   DUPE !!!\r\n"
    "QSO:  7012  CW  2024-05-18 2120  SM5XYZ  599  004  ES5QX  599  20   WRONG BAND !!!\r\n"
    "QSO:  3620  SSB  2024-05-18 2130  SM5XYZ  59  005  YL2KL  59     NO NUMBER !!!\r\n";

} // namespace

TEST_CASE("replay: a hand-made log through the real DLL gives the report worked out by hand")
{
    support::Scratch scratch("replay");
    WriteBytes("log.adi", kLog);
    struct Case {
        const char* name;
        const char* call;
        const char* date;
        const char* badQsoFile;
        const char* report; // up to the credit line
        const char* claimed;
    };
    const Case cases[] = {
        // Outside the Baltic states in EU: LY 10 + UA9 1 + YL 10. The rates are
        // measured back from YL3AA at 21:55: all three in the hour, YL3AA alone
        // in the last ten minutes (x6).
        {"own call from the log", "", "", "BadQSO_RirezIzeruz_18_05_2024.txt",
         "     BALTIC CONTEST CW/SSB 18.05.2024 \r\n"
         "       Contestant: SM5XYZ\r\n"
         "\tQSOs\tPoints\tCW\tSSB\r\n"
         "80m\t 3\t 21\t 2\t 1\r\n"
         "Total\t 3\t 21\t 2\t 1\r\nDupe\t 1\r\nBad QSO\t 2\r\n\r\nLast QSO: 10 points\r\n"
         "\r\n\t\t\tRate\r\n"
         "Hourly (10min) QSO rate:     3 (6) QSOs/hour\r\n"
         "Hourly (10min) pts rate:    21 (60) points/hour\r\n\r\n\r\n",
         "21"},
        // A Baltic own station (prefix YL from the call): same continent 1, AS 2.
        {"Baltic own call and another date", "YL2XYZ", "2024-05-19", "BadQSO_RirezIzeruz_19_05_2024.txt",
         "     BALTIC CONTEST CW/SSB 19.05.2024 \r\n"
         "       Contestant: YL2XYZ\r\n"
         "\tQSOs\tPoints\tCW\tSSB\r\n"
         "80m\t 3\t 4\t 2\t 1\r\n"
         "Total\t 3\t 4\t 2\t 1\r\nDupe\t 1\r\nBad QSO\t 2\r\n\r\nLast QSO: 1 points\r\n"
         "\r\n\t\t\tRate\r\n"
         "Hourly (10min) QSO rate:     3 (6) QSOs/hour\r\n"
         "Hourly (10min) pts rate:     4 (6) points/hour\r\n\r\n\r\n",
         "4"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        ReplayOptions options;
        options.dll = support::ExeDir() + "BALTIC.dll";
        options.call = c.call;
        options.date = c.date;
        ReplayResult r = ReplayFile("log.adi", options);
        REQUIRE_MESSAGE(r.ok, r.error);
        CHECK(r.stored == 5);
        CHECK(r.rejected == 2);
        CHECK(r.removed == 1);
        REQUIRE(r.problems.size() == 2);
        CHECK(r.problems[0] == "log.adi: record 10: malformed tag \"<CALL:x>\" (the length is not a number)");
        CHECK(r.problems[1] == "log.adi: record 9: no CALL, record left out");

        const std::string head = c.report;
        REQUIRE(r.report.size() > head.size());
        CHECK(r.report.substr(0, head.size()) == head);
        std::string credit = r.report.substr(head.size());
        CHECK(credit.find_first_of("\r\n") == std::string::npos); // one line, no line end
        CHECK(ReadBytes(c.badQsoFile) == kBadQsoFile);
        char claimed[32] = {};
        GetPrivateProfileStringA("Settings", "Claimed", "", claimed, sizeof claimed, "Plugins\\BALTIC.ini");
        CHECK(std::string(claimed) == c.claimed);
    }
}

TEST_CASE("replay: --html asks for the HTML report before the reset")
{
    support::Scratch scratch("replay");
    WriteBytes("log.adi", kLog);
    ReplayOptions options;
    options.dll = support::ExeDir() + "BALTIC.dll";
    options.html = true;
    ReplayResult r = ReplayFile("log.adi", options);
    REQUIRE_MESSAGE(r.ok, r.error);
    CHECK(r.report.compare(0, 20, "<html><head><style>t") == 0);
    CHECK(r.report.find("<tr><th> <center>Total</center></th><td><center>3</center></td><td><center>21</center></td>"
                        "<td><center>2</center></td><td><center>1</center></td></tr>") != std::string::npos);
}

TEST_CASE("replay: what cannot be replayed at all is an error")
{
    support::Scratch scratch("replay");
    ReplayOptions options;
    options.dll = support::ExeDir() + "BALTIC.dll";
    ReplayResult missing = ReplayFile("no-such-log.adi", options);
    CHECK_FALSE(missing.ok);
    CHECK(missing.error == "no-such-log.adi: cannot open the file");

    WriteBytes("empty.adi", "<ADIF_VER:5>3.1.4 <EOH>\n");
    ReplayResult empty = ReplayFile("empty.adi", options);
    CHECK_FALSE(empty.ok);
    CHECK(empty.error == "empty.adi: no QSO to take the contest date from (give --date)");

    WriteBytes("log.adi", kLog);
    options.date = "2024-02-30";
    ReplayResult badDate = ReplayFile("log.adi", options);
    CHECK_FALSE(badDate.ok);
    CHECK(badDate.error == "the contest date \"2024-02-30\" is not a date (YYYY-MM-DD)");

    options.date = "";
    options.dll = "no-such-plugin.dll";
    CHECK_FALSE(ReplayFile("log.adi", options).ok);
}

TEST_CASE("replay: ADIF fields become the host's QSO texts")
{
    struct Case {
        std::string adif; // fields besides CALL LY2AB, QSO_DATE 20240518, TIME_ON 2105
        std::string mode, band;
        unsigned int freqHz;
        std::string nrSent, nrRcvd, country;
        bool remove;
    };
    const Case cases[] = {
        {"<MODE:2>cw<FREQ:5>3.525", "CW", "80m", 3525000, "", "", "LY", false},
        {"<MODE:3>USB<FREQ:6>3.6105", "SSB", "80m", 3610500, "", "", "LY", false},
        {"<MODE:3>lsb<FREQ:1>7", "SSB", "40m", 7000000, "", "", "LY", false},
        {"<MODE:5>PHONE<FREQ:9>3.5255559", "SSB", "80m", 3525555, "", "", "LY", false},
        {"<MODE:4>RTTY<BAND:3>80M<FREQ:5>3.585", "RTTY", "80m", 3585000, "", "", "LY", false},
        {"<MODE:2>FM<BAND:3>40m<FREQ:5>3.525", "FM", "40m", 3525000, "", "", "LY", false},
        {"<MODE:2>CW<FREQ:6>12.000", "CW", "", 12000000, "", "", "LY", false},
        {"<STX:1>5<STX_STRING:3>005<SRX:2>12", "", "", 0, "005", "12", "LY", false},
        {"<STX:1>7<SRX_STRING:3>012<PFX:3>ES5", "", "", 0, "7", "012", "ES", false},
        {"<PFX:2>YL<APP_HOSTSIM_DELETE:1>y", "", "", 0, "", "", "YL", true},
        {"<APP_HOSTSIM_DELETE:1>N", "", "", 0, "", "", "LY", false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.adif);
        AdifLog log = ParseAdif("<CALL:5>LY2AB<QSO_DATE:8>20240518<TIME_ON:4>2105" + c.adif + "<EOR>", "t.adi");
        REQUIRE(log.records.size() == 1);
        ReplayQso q;
        std::string problem;
        REQUIRE(QsoFromAdif(log.records[0], q, problem));
        CHECK(q.call == "LY2AB");
        CHECK(q.mode == c.mode);
        CHECK(q.band == c.band);
        CHECK(q.freqHz == c.freqHz);
        CHECK(q.nrSent == c.nrSent);
        CHECK(q.nrRcvd == c.nrRcvd);
        CHECK(q.country == c.country);
        CHECK(q.remove == c.remove);
    }

    struct Prefix {
        const char* call;
        const char* prefix;
    };
    const Prefix prefixes[] = {{"LY2AB", "LY"}, {"UA2FZ", "UA"}, {"9A1A", "9A"}, {"SM5XYZ", "SM"}, {"OH0X", "OH"}};
    for (const Prefix& p : prefixes)
        CHECK(PrefixOfCall(p.call) == p.prefix);
}

TEST_CASE("replay: the QSO time and the records that cannot become a QSO")
{
    ReplayQso q;
    std::string problem;
    AdifLog ok = ParseAdif("<CALL:5>LY2AB<QSO_DATE:8>20240229<TIME_ON:6>235959<STATION_CALLSIGN:6>SM5XYZ<EOR>"
                           "<CALL:5>LY2AB<QSO_DATE:8>20240519<TIME_ON:4>0105<OPERATOR:5>SM5AA<EOR>",
                           "t.adi");
    REQUIRE(ok.records.size() == 2);
    REQUIRE(QsoFromAdif(ok.records[0], q, problem));
    CHECK(q.time.dt == MakeHostDate(2024, 2, 29, 23, 59, 59).dt);
    CHECK(q.ownCall == "SM5XYZ");
    REQUIRE(QsoFromAdif(ok.records[1], q, problem));
    CHECK(q.time.dt == MakeHostDate(2024, 5, 19, 1, 5, 0).dt);
    CHECK(q.ownCall == "SM5AA");

    struct Bad {
        const char* adif;
        const char* problem;
    };
    const Bad bads[] = {
        {"<QSO_DATE:8>20240518<TIME_ON:4>2105", "no CALL"},
        {"<CALL:5>LY2AB<TIME_ON:4>2105", "no QSO_DATE"},
        {"<CALL:5>LY2AB<QSO_DATE:8>20230229<TIME_ON:4>2105", "QSO_DATE \"20230229\" is not a date (YYYYMMDD)"},
        {"<CALL:5>LY2AB<QSO_DATE:7>2024051<TIME_ON:4>2105", "QSO_DATE \"2024051\" is not a date (YYYYMMDD)"},
        {"<CALL:5>LY2AB<QSO_DATE:8>20240518", "no TIME_ON"},
        {"<CALL:5>LY2AB<QSO_DATE:8>20240518<TIME_ON:4>2460", "TIME_ON \"2460\" is not a time (HHMM or HHMMSS)"},
        {"<CALL:5>LY2AB<QSO_DATE:8>20240518<TIME_ON:5>21:05", "TIME_ON \"21:05\" is not a time (HHMM or HHMMSS)"},
        {"<CALL:5>LY2AB<QSO_DATE:8>20240518<TIME_ON:4>2105<FREQ:5>3,525",
         "FREQ \"3,525\" is not a frequency in MHz"},
    };
    for (const Bad& b : bads) {
        CAPTURE(b.adif);
        AdifLog log = ParseAdif(std::string(b.adif) + "<EOR>", "t.adi");
        REQUIRE(log.records.size() == 1);
        CHECK_FALSE(QsoFromAdif(log.records[0], q, problem));
        CHECK(problem == b.problem);
    }
}

// samples/baltic-faults.adi (make_sample.py --faults): one QSO of each kind
// the log check names, exported with the header as it opens (CATEGORY-MODE
// CW, though two QSOs are SSB). Own station SM5XYZ, outside the Baltic states.
TEST_CASE("replay: an export writes the log check beside the log and names it in the box")
{
    support::Scratch scratch("replay_check");
    ReplayOptions options;
    options.dll = support::ExeDir() + "BALTIC.dll";
    options.cabrillo = true;
    ReplayResult r = ReplayFile(BALTIC_SAMPLES "baltic-faults.adi", options);
    REQUIRE_MESSAGE(r.ok, r.error);
    CHECK(r.stored == 7);
    CHECK(r.rejected == 1);
    REQUIRE(r.exportMessages.size() == 1);
    CHECK(r.exportMessages[0] == "File produced: SM5XYZ.cbr\n"
                                 "Log check: 1 not in the log, 1 sent number, 1 received number, 1 same station "
                                 "twice, 1 outside the period, 1 mode and frequency, 1 call, 1 header; see "
                                 "SM5XYZ-check.txt");
    // Most costly first. The best two hours: from LY1AA at 21:05 the six
    // QSOs to DLABC at 21:35, four of them with Baltic stations (10 points).
    CHECK(ReadBytes("SM5XYZ-check.txt") ==
          "8 findings\r\n"
          "Log check of SM5XYZ: 7 QSOs in the log, 1 refused\r\n"
          "Contest period: 2024-05-18 2100 to 2024-05-19 0200 UTC (the night with the most QSOs)\r\n"
          "\r\nNot in the log (1)\r\n"
          "  2024-05-18 2125 OH2DD: refused: no received number; your partner loses this QSO too unless you "
          "enter the number in the host\r\n"
          "\r\nSent numbers (1)\r\n"
          "  2024-05-18 2115 YL2CC: sent 004 after 002: 003 was never sent; if QSOs are missing from the log, "
          "add them in the host\r\n"
          "\r\nReceived numbers (1)\r\n"
          "  2024-05-18 2110 ES1BB: received number \"5NN\" is the report (599 in cut numbers), not the serial "
          "number; enter the number the station sent in the host\r\n"
          "\r\nSame station in both modes (1)\r\n"
          "  2024-05-18 2120 LY1AA: received 003 in SSB after 005 in CW at 2024-05-18 2105; a station's numbers "
          "go up, so one of the two is wrong: check both in the host\r\n"
          "\r\nOutside the contest period (1)\r\n"
          "  2024-05-19 0215 OH2FF: outside the contest period 2024-05-18 2100 to 2024-05-19 0200 UTC, so it "
          "does not count; if the time is wrong, correct it in the host\r\n"
          "\r\nMode and frequency (1)\r\n"
          "  2024-05-18 2130 SM6EE: SSB on 3550 kHz, outside the SSB part 3600-3750 kHz; correct the frequency "
          "or the mode in the host\r\n"
          "\r\nCalls (1)\r\n"
          "  2024-05-18 2135 DLABC: call \"DLABC\" is not shaped like a call sign (no digit); correct it in the "
          "host\r\n"
          "\r\nHeader (1)\r\n"
          "  CATEGORY-MODE is CW, but the log holds 5 CW and 2 SSB QSOs; choose MIXED\r\n"
          "\r\nBest two hours\r\n"
          "  2024-05-18 2105 to 2024-05-18 2305: 6 QSOs, 42 points\r\n");
    // The page beside them: the section the header names, the claimed
    // score, the check as written, escaped; a copy for the page's own test.
    const std::string page = ReadBytes("SM5XYZ-summary.html");
    CHECK(page.rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"", 0) == 0);
    CHECK(page.find("<td>Single operator CW</td>") != std::string::npos);
    CHECK(page.find("<b style=\"font-size:18px\">43</b> points") != std::string::npos);
    CHECK(page.find("received number &quot;5NN&quot; is the report") != std::string::npos);
    WriteBytes(support::ExeDir() + "summary_export.html", page);
    // The log itself is as without the check: every stored QSO, none refused.
    const std::string cbr = ReadBytes("SM5XYZ.cbr");
    CHECK(cbr.find("CLAIMED-SCORE: 43\r\n") != std::string::npos);
    CHECK(cbr.find("OH2DD") == std::string::npos);
}
