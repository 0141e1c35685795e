#include <doctest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "baltic_version.h"
#include "host/replay.h"
#include "support/files.h"
#include "support/read_only.h"

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
    // LY1AA is one letter from a call of the list: a ninth finding, hostsim's.
    CCallList calls;
    calls.Parse("LY1AB\n");
    options.calls = &calls;
    options.callsSource = "MASTER.SCP";
    ReplayResult r = ReplayFile(BALTIC_SAMPLES "baltic-faults.adi", options);
    REQUIRE_MESSAGE(r.ok, r.error);
    CHECK(r.stored == 7);
    CHECK(r.rejected == 1);
    REQUIRE(r.exportMessages.size() == 1);
    CHECK(r.exportMessages[0] == "File produced: SM5XYZ.cbr\n"
                                 "Log check: 1 refused, 1 sent number, 1 received number, 1 same station "
                                 "twice, 1 outside the period, 1 mode and frequency, 1 call, 1 header; the "
                                 "organiser's count: 43 of the 43 points claimed; see SM5XYZ-check.txt");
    // Most costly first. The best two hours: from LY1AA at 21:05 the six
    // QSOs to DLABC at 21:35, four of them with Baltic stations (10 points).
    CHECK(r.check == ReadBytes("SM5XYZ-check.txt"));
    CHECK(ReadBytes("SM5XYZ-check.txt") ==
          "9 findings\r\n"
          "Log check of SM5XYZ: 7 QSOs in the log, 1 refused\r\n"
          "Contest period: 2024-05-18 2100 to 2024-05-19 0200 UTC (the night with the most QSOs)\r\n"
          "Points: 43 claimed by the plug-in, 43 as the organiser counts\r\n"
          "\r\nRefused by the plug-in (your partner loses these QSOs too) (1)\r\n"
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
          "  2024-05-18 2105 to 2024-05-18 2305: 6 QSOs, 42 points\r\n"
          "\r\nPossibly busted calls (1): not in MASTER.SCP, one character from a call that is\r\n"
          "  2024-05-18 2105 LY1AA: LY1AB? check the call in the host\r\n");
    // The page beside them: the section the header names, the claimed
    // score, the check as written, escaped; a copy for the page's own test.
    const std::string page = ReadBytes("SM5XYZ-summary.html");
    CHECK(page.rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"", 0) == 0);
    CHECK(page.find("<td>B: single operator CW</td>") != std::string::npos);
    CHECK(page.find("<b style=\"font-size:18px\">43</b> points") != std::string::npos);
    CHECK(page.find("received number &quot;5NN&quot; is the report") != std::string::npos);
    WriteBytes(support::ExeDir() + "summary_export.html", page);
    // The log itself is as without the check: every stored QSO, none refused.
    const std::string cbr = ReadBytes("SM5XYZ.cbr");
    CHECK(cbr.find("CLAIMED-SCORE: 43\r\n") != std::string::npos);
    CHECK(cbr.find("OH2DD") == std::string::npos);
}

namespace {

// Every file and folder below the current one, by name, with its bytes.
std::map<std::string, std::string> FolderContents()
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(fs::current_path()))
        files[fs::relative(e.path()).string()] = e.is_directory() ? "<folder>" : ReadBytes(e.path().string());
    return files;
}

std::string CurrentFolder()
{
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, path);
    return std::string(path) + "\\";
}

std::string Utf16(const std::string& ascii)
{
    std::string wide = "\xFF\xFE";
    for (char c : ascii)
        wide += std::string(1, c) + '\0';
    return wide;
}

} // namespace

// The operator's files in the folder hostsim runs in stay as they were:
// whatever hostsim refuses, it refuses before it writes anything.
TEST_CASE("replay: hostsim writes only where it may, never over the host's files, and refuses bad input unwritten")
{
    enum Setup { kNothing, kHostVersionFile, kOwnVersionFile, kReadOnlyFolder, kReadOnlyPlugins, kPluginsIsFile,
                 kReadOnlySettings, kNoPlugins, kNoDll, kOtherDll, kHandEditedLog, kStaleCheck };
    struct Row {
        std::string name;
        Setup setup;
        std::string adif;
        int status;
        std::string error; // "@" stands for the folder's name, "*" for the system's words
    };
    const std::string retry = "; start hostsim in a folder of its own that you can write to";
    const std::string log = kLog;
    const std::string truncated = log.substr(0, log.find("<CALL:5>LY2AB <QSO_DATE:8>20240518 <TIME_ON:4>2110") + 40);
    const Row rows[] = {
        {"the host's version file", kHostVersionFile, log, 2,
         "@Qorv2.ini is there and hostsim did not write it: it is the host's version file, which hostsim leaves "
         "alone (this is the host's own folder)" + retry},
        {"a read-only folder", kReadOnlyFolder, log, 2,
         "cannot write in @ (*): the plug-in writes the bad-QSO file, the Cabrillo log and Plugins\\BALTIC.ini there" +
             retry},
        {"a read-only Plugins folder", kReadOnlyPlugins, log, 2,
         "cannot write in @Plugins\\ (*): the plug-in keeps its settings there, and the Cabrillo header would be lost" +
             retry},
        {"Plugins is a file", kPluginsIsFile, log, 2,
         "@Plugins is a file, not a folder: the plug-in keeps its settings in @Plugins\\BALTIC.ini" + retry},
        {"a read-only settings file", kReadOnlySettings, log, 2,
         "the plug-in's settings file @Plugins\\BALTIC.ini cannot be written (it is read-only), and the Cabrillo "
         "header would be lost; make it writable, or close the program that holds it"},
        {"no plug-in", kNoDll, log, 2, "no plug-in at @no-such\\BALTIC.dll"},
        {"a plug-in of another version", kOtherDll, log, 2,
         "@other\\BALTIC.dll is version *, this hostsim is " BALTIC_VERSION_TEXT
         ": use the BALTIC.dll and hostsim.exe of one release"},
        {"an empty file", kNothing, "", 1, "log.adi: the file is empty"},
        {"a header and no QSO", kNothing, "<ADIF_VER:5>3.1.4 <EOH>\n", 1,
         "log.adi: no QSO in the file can be replayed: nothing replayed"},
        {"a file cut short", kNothing, truncated, 1,
         "log.adi: the file ends inside record 3, so it seems cut short: nothing replayed"},
        {"not ADIF", kNothing, "QSO:  3525 CW 2024-05-18 2100 SM5XYZ 599 001 LY2AB 599 012\r\n", 1,
         "log.adi: not an ADIF log: text without <EOH> and no record"},
        {"UTF-16", kNothing, Utf16("<CALL:5>LY2AB <QSO_DATE:8>20240518 <EOR>"), 1,
         "log.adi: the file is UTF-16 or other 16-bit text (a zero byte at byte 4), not ADIF's 8-bit text: export "
         "or save the log again as ADIF in ANSI or UTF-8"},
        // What hostsim runs with: its own version file, left by a run that
        // ended inside the reset, and no Plugins folder yet.
        {"hostsim's own version file", kOwnVersionFile, log, 0, ""},
        {"no Plugins folder", kNoPlugins, log, 0, ""},
        // Exports: the log edited by hand is kept; a check file that cannot
        // be replaced is never taken for this run's.
        {"a hand-edited log", kHandEditedLog, log, 0, ""},
        {"a check file that cannot be replaced", kStaleCheck, log, 0, ""},
    };
    const std::string stale = "No findings\r\nLog check of SM5XYZ: an earlier run\r\n";
    for (const Row& row : rows) {
        CAPTURE(row.name);
        support::Scratch scratch("replay_safety", row.setup != kNoPlugins);
        const std::string folder = CurrentFolder();
        WriteBytes("log.adi", row.adif);
        WriteBytes("notes.txt", "the operator's own\r\n");
        WriteBytes("SM5XYZ.cbr", "START-OF-LOG: 3.0\r\nan earlier log\r\n");
        if (row.setup != kNoPlugins && row.setup != kPluginsIsFile)
            WriteBytes("Plugins\\BALTIC.ini", "[Settings]\r\nName=Janis Berzins\r\n");
        ReplayOptions options;
        options.dll = support::ExeDir() + "BALTIC.dll";
        std::unique_ptr<support::ReadOnlyFolder> readOnly;
        HANDLE holder = INVALID_HANDLE_VALUE;
        switch (row.setup) {
        case kHostVersionFile: WriteBytes("Qorv2.ini", "[Main]\r\nQorv=2.19\r\n"); break;
        case kOwnVersionFile:
            WriteBytes("Qorv2.ini", "Qorv=2.16\r\n; written by hostsim for the plug-in's reset, and removed after it\r\n");
            break;
        case kPluginsIsFile: RemoveDirectoryA("Plugins"); WriteBytes("Plugins", ""); break;
        case kReadOnlySettings: REQUIRE(SetFileAttributesA("Plugins\\BALTIC.ini", FILE_ATTRIBUTE_READONLY)); break;
        case kStaleCheck:
            support::RemoveFile("SM5XYZ.cbr");
            WriteBytes("SM5XYZ-check.txt", stale);
            // Held open by another program, it cannot be replaced.
            holder = CreateFileA("SM5XYZ-check.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            REQUIRE(holder != INVALID_HANDLE_VALUE);
            options.cabrillo = true;
            break;
        case kHandEditedLog: options.cabrillo = true; break;
        case kNoDll: options.dll = folder + "no-such\\BALTIC.dll"; break;
        case kOtherDll:
            CreateDirectoryA("other", nullptr);
            REQUIRE(CopyFileA("C:\\windows\\system32\\ole32.dll", "other\\BALTIC.dll", FALSE));
            options.dll = folder + "other\\BALTIC.dll";
            break;
        default: break;
        }
        const auto before = FolderContents();
        if (row.setup == kReadOnlyFolder)
            readOnly.reset(new support::ReadOnlyFolder(folder));
        if (row.setup == kReadOnlyPlugins)
            readOnly.reset(new support::ReadOnlyFolder(folder + "Plugins"));

        ReplayResult r = ReplayFile("log.adi", options);
        if (holder != INVALID_HANDLE_VALUE)
            CloseHandle(holder);
        readOnly.reset();
        SetFileAttributesA("Plugins\\BALTIC.ini", FILE_ATTRIBUTE_NORMAL);
        CHECK(r.status == row.status);
        if (row.status != 0) {
            CHECK_FALSE(r.ok);
            std::string expected = row.error;
            for (size_t at; (at = expected.find('@')) != std::string::npos;)
                expected.replace(at, 1, folder);
            const size_t star = std::min(expected.find('*'), expected.size());
            const std::string head = expected.substr(0, star), tail = expected.substr(std::min(star + 1, expected.size()));
            CAPTURE(r.error);
            CHECK(r.error.size() >= head.size() + tail.size());
            CHECK(r.error.compare(0, head.size(), head) == 0);
            CHECK(r.error.compare(r.error.size() - std::min(tail.size(), r.error.size()), std::string::npos, tail) == 0);
            CHECK(FolderContents() == before);
            continue;
        }
        REQUIRE_MESSAGE(r.ok, r.error);
        CHECK(r.folder == folder);
        std::vector<std::string> written = {"BadQSO_RirezIzeruz_18_05_2024.txt", "Plugins\\BALTIC.ini"};
        if (row.setup == kHandEditedLog) {
            written.insert(written.end(), {"SM5XYZ-check.txt", "SM5XYZ-summary.html", "SM5XYZ.cbr", "SM5XYZ.cbr.bak"});
            CHECK(r.backups == std::vector<std::string>{"SM5XYZ.cbr.bak"});
            CHECK(ReadBytes("SM5XYZ.cbr.bak") == "START-OF-LOG: 3.0\r\nan earlier log\r\n");
            CHECK(r.check == ReadBytes("SM5XYZ-check.txt"));
        } else if (row.setup == kStaleCheck) {
            // The plug-in leaves its whole new check beside the held one.
            written.insert(written.end(), {"SM5XYZ-check.txt.tmp", "SM5XYZ-summary.html", "SM5XYZ.cbr"});
            CHECK(r.check.empty());
            CHECK(r.notWritten == std::vector<std::string>{"SM5XYZ-check.txt"});
            CHECK(ReadBytes("SM5XYZ-check.txt") == stale);
        } else {
            CHECK(ReadBytes("SM5XYZ.cbr") == "START-OF-LOG: 3.0\r\nan earlier log\r\n");
        }
        CHECK(r.written == written);
        CHECK_FALSE(support::FileExists("Qorv2.ini"));
        CHECK(ReadBytes("notes.txt") == "the operator's own\r\n");
        char claimed[32] = {};
        GetPrivateProfileStringA("Settings", "Claimed", "", claimed, sizeof claimed, "Plugins\\BALTIC.ini");
        CHECK(std::string(claimed) == "21");
    }
}

// Records without CONT or PFX, as most loggers export them: the country and
// continent come from the built-in country file, and the points follow.
TEST_CASE("replay: country and continent from the call when the record has no PFX or CONT, through to the points")
{
    struct Row {
        const char* call;
        const char* fields; // besides the call, date, time, band, mode, reports and numbers
        std::string country, continent;
    };
    const Row rows[] = {
        {"LY2AB", "", "LY", "EU"},     {"ES1AA", "", "ES", "EU"},    {"SM6ABC", "", "SM", "EU"},
        {"JA1ABC", "", "JA", "AS"},    {"W1AW", "", "K", "NA"},      {"PY2AA", "", "PY", "SA"},
        {"ZS6AA", "", "ZS", "AF"},     {"VK2AA", "", "VK", "OC"},    {"LY/SM5XYZ", "", "LY", "EU"},
        {"SM5XYZ/LY", "", "LY", "EU"}, {"UA9AA/P", "", "UA9", "AS"}, {"KH6/K1ABC", "", "KH6", "OC"},
        {"QQ1ABC", "", "QQ", ""}, // in no country: the call cut, no continent
        {"JA1ZZ", "<CONT:2>EU", "JA", "EU"}, // what the record says is kept
        {"K1ABC", "<PFX:3>ES5", "ES", "NA"},
    };
    std::string adif = "<EOH>\n";
    int minute = 0;
    for (const Row& row : rows) {
        char time[8];
        std::snprintf(time, sizeof time, "21%02d", minute++);
        adif += "<CALL:" + std::to_string(std::strlen(row.call)) + ">" + row.call + "<QSO_DATE:8>20240518<TIME_ON:4>" +
                time + "<FREQ:5>3.525<MODE:2>CW<RST_SENT:3>599<RST_RCVD:3>599<STX:2>10<SRX:2>20" + row.fields +
                "<EOR>\n";
    }
    const AdifLog log = ParseAdif(adif, "log.adi");
    REQUIRE(log.records.size() == 15);
    for (size_t i = 0; i < log.records.size(); ++i) {
        const std::string call = rows[i].call;
        CAPTURE(call);
        ReplayQso q;
        std::string problem;
        REQUIRE(QsoFromAdif(log.records[i], q, problem, &BuiltInCountryFile()));
        CHECK(q.country == rows[i].country);
        CHECK(q.continent == rows[i].continent);
        CHECK(q.countryUnknown == (call == "QQ1ABC"));
    }

    // Baltic station: 1 point on its own continent, 2 elsewhere (and for no
    // continent). Others: 10 for a Baltic country, 20 outside EU, else 1.
    struct Station {
        const char* call;
        const char* prefix;
        const char* continent;
        const char* total;
    };
    const Station stations[] = {
        {"YL2XYZ", "YL", "EU", "Total\t 15\t 24\t 15\t 0\r\n"},  // 6 in EU, 9 not
        {"SM5AAA", "SM", "EU", "Total\t 15\t 60\t 15\t 0\r\n"},  // 5 Baltic x 10, 10 others
        {"JA1XYZ", "JA", "AS", "Total\t 15\t 110\t 15\t 0\r\n"}, // 5 Baltic x 20, 10 others
    };
    CCallList calls;
    calls.Parse("LY2AC\nES1AA\n");
    for (const Station& s : stations) {
        const std::string own = s.call;
        CAPTURE(own);
        support::Scratch scratch("replay_countries");
        ReplayOptions options;
        options.dll = support::ExeDir() + "BALTIC.dll";
        options.call = s.call;
        options.calls = &calls;
        ReplayResult r = Replay(log, "log.adi", options);
        REQUIRE_MESSAGE(r.ok, r.error);
        CHECK(r.ownPrefix == s.prefix);
        CHECK(r.ownContinent == s.continent);
        CHECK(r.lookedUp == 14);
        CHECK(r.countryUnknown == 1);
        CHECK(r.problems == std::vector<std::string>{"log.adi: record 13: QQ1ABC: no country in the country file; "
                                                     "handed over with country \"QQ\" and continent \"\" (give PFX "
                                                     "and CONT in the record)"});
        CHECK(r.report.find(s.total) != std::string::npos);
        REQUIRE(r.busted.size() == 1);
        CHECK(r.busted[0].record == 1);
        CHECK(r.busted[0].when == "2024-05-18 2100");
        CHECK(r.busted[0].call == "LY2AB");
        CHECK(r.busted[0].hints == std::vector<std::string>{"LY2AC"});
    }
}
