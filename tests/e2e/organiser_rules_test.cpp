// An evening exported through the real DLL under the organiser's rules of
// today: QSOs with Russia and Belarus, a plausible short serial, the report
// typed as the number, and an assisted header.
#include <doctest.h>

#include <string>

#include "host/replay.h"
#include "support/files.h"

using support::ReadBytes;

// Own station SM5XYZ (Europe, outside the Baltic states): 10 points per
// Baltic QSO, 1 per other. UA3AB, EW1AA and UA9AA are in Russia, Belarus
// and Asiatic Russia (the country file gives UA, EU, UA9). DL1AA sent 59
// after a report of 579: its 59th QSO. ES1BB's 59 after 59 is the report.
TEST_CASE("organiser's rules: an assisted evening with Russia and Belarus, exported and read back")
{
    support::Scratch scratch("organiser_rules");
    auto qso = [](const char* call, const char* time, const char* mhz, const char* mode, const char* sent,
                  const char* rst, const char* rcvd) {
        auto f = [](const char* tag, const std::string& v) {
            return "<" + std::string(tag) + ":" + std::to_string(v.size()) + ">" + v + " ";
        };
        return f("CALL", call) + f("QSO_DATE", "20240518") + f("TIME_ON", time) + f("FREQ", mhz) + f("MODE", mode) +
               f("RST_SENT", *mode == 'C' ? "599" : "59") + f("STX_STRING", sent) + f("RST_RCVD", rst) +
               f("SRX_STRING", rcvd) + f("STATION_CALLSIGN", "SM5XYZ") + "<EOR>\n";
    };
    support::WriteBytes("evening.adi", "Evening <EOH>\n" + qso("LY2AB", "2105", "3.525", "CW", "001", "599", "012") +
                                           qso("UA3AB", "2110", "3.530", "CW", "002", "599", "045") +
                                           qso("EW1AA", "2115", "3.700", "SSB", "003", "59", "030") +
                                           qso("DL1AA", "2120", "3.526", "CW", "004", "579", "59") +
                                           qso("ES1BB", "2125", "3.705", "SSB", "005", "59", "59") +
                                           qso("UA9AA", "2130", "3.527", "CW", "006", "599", "017"));
    ReplayOptions options;
    options.dll = support::ExeDir() + "BALTIC.dll";
    options.cabrillo = true;
    options.header = {{"CATEGORY-MODE", "MIXED"}, {"CATEGORY-TIME", ""}, {"CATEGORY-ASSISTED", "ASSISTED"}};
    const ReplayResult r = ReplayFile("evening.adi", options);
    REQUIRE_MESSAGE(r.ok, r.error);
    CHECK(r.stored == 6);
    // Claimed 10 + 1 + 1 + 1 + 10 + 1 = 24; the organiser's count leaves out
    // the three QSOs with Russia and Belarus: 21.
    REQUIRE(r.exportMessages.size() == 1);
    CHECK(r.exportMessages[0] == "File produced: SM5XYZ.cbr\n"
                                 "Log check: 3 not counted by the organiser, 1 received number; the organiser's "
                                 "count: 21 of the 24 points claimed; see SM5XYZ-check.txt");
    const char* const kNotCounted =
        ": the organiser has not counted QSOs with Russia and Belarus since 2023; the plug-in's score counts its "
        "1 point\r\n";
    CHECK(ReadBytes("SM5XYZ-check.txt") ==
          "4 findings\r\n"
          "Log check of SM5XYZ: 6 QSOs in the log, 0 refused\r\n"
          "Contest period: 2024-05-18 2100 to 2024-05-19 0200 UTC (the night with the most QSOs)\r\n"
          "Points: 24 claimed by the plug-in, 21 as the organiser counts\r\n"
          "\r\nNot counted by the organiser (Russia and Belarus) (3)\r\n"
          "  2024-05-18 2110 UA3AB: a station in Russia (UA)" + std::string(kNotCounted) +
          "  2024-05-18 2115 EW1AA: a station in Belarus (EU)" + kNotCounted +
          "  2024-05-18 2130 UA9AA: a station in Russia (UA9)" + kNotCounted +
          "\r\nReceived numbers (1)\r\n"
          "  2024-05-18 2125 ES1BB: received number \"59\" is the report received, not the serial number; enter the "
          "number the station sent in the host\r\n"
          "\r\nBest two hours\r\n"
          "  2024-05-18 2105 to 2024-05-18 2305: 6 QSOs, 24 points\r\n");
    const std::string page = ReadBytes("SM5XYZ-summary.html");
    CHECK(page.find("<td>D: single operator assisted</td>") != std::string::npos);
    CHECK(page.find("<b style=\"font-size:18px\">24</b> points") != std::string::npos);
    CHECK(page.find("The organiser's count</th><td><b>21</b> points") != std::string::npos);
    const std::string cbr = ReadBytes("SM5XYZ.cbr");
    CHECK(cbr.find("CATEGORY-MODE: MIXED\r\nCATEGORY-ASSISTED: ASSISTED\r\nCLAIMED-SCORE: 24\r\n") !=
          std::string::npos);
    CHECK(cbr.find("QSO:  3700 PH 2024-05-18 2115 SM5XYZ        59  003    EW1AA") != std::string::npos);
}
