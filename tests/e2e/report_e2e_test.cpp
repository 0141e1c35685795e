// The result report through the real DLL, called as the host calls it:
// ResetStats0, AddData0 for each QSO, GetResult0.
#include <doctest.h>

#include <string>
#include <vector>

#include "host/host.h"
#include "support/expected_html.h"
#include "support/files.h"

namespace {

// 2019-05-04 as an OLE day (days since 1899-12-30).
const double kMay4 = 43589.0;

HostDate At(int hour, int minute, double second = 0.0)
{
    HostDate d;
    d.dt = kMay4 + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    return d;
}

// A freshly loaded DLL working in its own scratch folder. The host's version
// file names a version that never opens the Setup window.
struct DllScene {
    explicit DllScene(const char* folder) : m_dir(folder), host(support::ExeDir() + "BALTIC.dll")
    {
        support::WriteBytes("Qorv2.ini", "[Version]\r\nQorv=2.18\r\n");
    }
    ~DllScene() { host.Unload(); }
    void Reset(const char* call, const char* country, const char* continent)
    {
        HostReset r;
        r.myCall = call;
        r.myCountry = country;
        r.myContinent = continent;
        r.first = At(12, 0);
        r.second = At(12, 0);
        CHECK(host.ResetStats(r) == 1);
    }
    int Add(const char* call, const char* country, const char* continent, HostDate time, const char* mode = "CW",
            const char* band = "80m")
    {
        HostQso q;
        q.ownCall = "SM5XYZ";
        q.call = call;
        q.country = country;
        q.continent = continent;
        q.time = time;
        q.mode = mode;
        q.band = band;
        return host.AddData(q);
    }
    std::string Result()
    {
        int status = 7;
        const char* text = host.GetResult(&status);
        CHECK(status == -1);
        REQUIRE(text);
        return text;
    }
    support::Scratch m_dir;
    PluginHost host;
};

std::string TextHead(const char* call)
{
    return std::string("     BALTIC CONTEST CW/SSB 04.05.2019 \r\n       Contestant: ") + call +
           "\r\n\tQSOs\tPoints\tCW\tSSB\r\n";
}

// The credit line ends the text layout; it is whatever follows the last rate line.
std::string Credit(const std::string& report)
{
    const std::string tail = " points/hour\r\n\r\n\r\n";
    size_t at = report.rfind(tail);
    return at == std::string::npos ? std::string() : report.substr(at + tail.size());
}

} // namespace

TEST_CASE("text report through the DLL: empty, then three QSOs, a dupe and two rejected ones")
{
    DllScene dll("report_e2e_text");
    REQUIRE_MESSAGE(dll.host.Loaded(), dll.host.Error());
    dll.Reset("SM5XYZ", "SM", "EU");

    const std::string empty = dll.Result();
    const std::string credit = Credit(empty);
    CHECK(!credit.empty());
    CHECK(credit.find('\n') == std::string::npos);
    CHECK(empty == TextHead("SM5XYZ") +
                       "Total\t 0\t 0\t 0\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 0 points\r\n"
                       "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     0 (0) QSOs/hour\r\n"
                       "Hourly (10min) pts rate:     0 (0) points/hour\r\n\r\n\r\n" +
                       credit);

    CHECK(dll.Add("LY1A", "LY", "EU", At(12, 0)) == 1);
    CHECK(dll.Add("DL1A", "DL", "EU", At(12, 1)) == 1);
    CHECK(dll.Add("ES1A", "ES", "EU", At(12, 2)) == 1);
    CHECK(dll.Add("OH1A", "OH", "EU", At(12, 2, 30), "CW", "40m") == 0);  // counted as bad
    CHECK(dll.Add("R1UBN", "UA", "EU", At(12, 2, 40), "CW", "40m") == 0); // "UBN" in its call: counted too
    CHECK(dll.Add("DL1A", "DL", "EU", At(12, 3)) == 1);                   // dupe, the last record

    const std::string expected = TextHead("SM5XYZ") +
                                 "80m\t 3\t 21\t 3\t 0\r\n"
                                 "Total\t 3\t 21\t 3\t 0\r\nDupe\t 1\r\nBad QSO\t 2\r\n\r\nLast QSO: 10 points\r\n"
                                 "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     3 (18) QSOs/hour\r\n"
                                 "Hourly (10min) pts rate:    21 (126) points/hour\r\n\r\n\r\n" +
                                 credit;
    CHECK(dll.Result() == expected);
    CHECK(dll.Result() == expected);

    // A host that passes no status pointer still gets the report.
    const char* text = dll.host.GetResult(nullptr);
    REQUIRE(text);
    CHECK(std::string(text) == expected);

    char claimed[32] = "";
    GetPrivateProfileStringA("Settings", "Claimed", "missing", claimed, sizeof claimed, "Plugins\\BALTIC.ini");
    CHECK(std::string(claimed) == "21");
}

TEST_CASE("an operator outside EU scores 20 per Baltic QSO; so does one whose continent is \"eu\"")
{
    for (const char* continent : {"NA", "eu"}) {
        CAPTURE(continent);
        DllScene dll("report_e2e_continent");
        REQUIRE_MESSAGE(dll.host.Loaded(), dll.host.Error());
        dll.Reset("W1XYZ", "K", continent);
        dll.Add("LY1A", "LY", "EU", At(12, 0));
        dll.Add("DL1A", "DL", "EU", At(12, 1));
        dll.Add("ES1A", "ES", "EU", At(12, 2));
        const std::string report = dll.Result();
        CHECK(report == TextHead("W1XYZ") +
                            "80m\t 3\t 41\t 3\t 0\r\n"
                            "Total\t 3\t 41\t 3\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 20 points\r\n"
                            "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     3 (18) QSOs/hour\r\n"
                            "Hourly (10min) pts rate:    41 (246) points/hour\r\n\r\n\r\n" +
                            Credit(report));
    }
}

TEST_CASE("each reset scores with its own prefix: a Baltic reset before leaves no trace")
{
    DllScene dll("report_e2e_baltic");
    REQUIRE_MESSAGE(dll.host.Loaded(), dll.host.Error());
    dll.Reset("YL2AA", "YL", "EU");
    dll.Reset("SM5XYZ", "SM", "EU");
    dll.Add("DL1A", "DL", "EU", At(12, 0));
    dll.Add("LY1A", "LY", "EU", At(12, 1));
    dll.Add("UA9A", "UA9", "AS", At(12, 2), "SSB");
    // Not Baltic: 1 for DL, 10 for the Baltic LY, 1 for UA9.
    const std::string report = dll.Result();
    CHECK(report == TextHead("SM5XYZ") +
                        "80m\t 3\t 12\t 2\t 1\r\n"
                        "Total\t 3\t 12\t 2\t 1\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 1 points\r\n"
                        "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     3 (18) QSOs/hour\r\n"
                        "Hourly (10min) pts rate:    12 (72) points/hour\r\n\r\n\r\n" +
                        Credit(report));
}

TEST_CASE("\"80m\" and \"80M\" are two bands; rates and last-QSO points follow the last QSO's band")
{
    DllScene dll("report_e2e_bands");
    REQUIRE_MESSAGE(dll.host.Loaded(), dll.host.Error());
    dll.Reset("SM5XYZ", "SM", "EU");
    dll.Add("LY1A", "LY", "EU", At(12, 0), "CW", "80M");
    dll.Add("DL1A", "DL", "EU", At(12, 1), "CW", "80m");
    const std::string report = dll.Result();
    CHECK(report == TextHead("SM5XYZ") +
                        "80m\t 1\t 1\t 1\t 0\r\n80M\t 1\t 10\t 1\t 0\r\n"
                        "Total\t 2\t 11\t 2\t 0\r\nDupe\t 0\r\nBad QSO\t 0\r\n\r\nLast QSO: 1 points\r\n"
                        "\r\n\t\t\tRate\r\nHourly (10min) QSO rate:     1 (6) QSOs/hour\r\n"
                        "Hourly (10min) pts rate:     1 (6) points/hour\r\n\r\n\r\n" +
                        Credit(report));
}

TEST_CASE("HTML report through the DLL is saved as report_sample.html for the browser check")
{
    const std::string sample = support::ExeDir() + "report_sample.html";
    support::RemoveFile(sample);
    std::string html;
    {
        DllScene dll("report_e2e_html");
        REQUIRE_MESSAGE(dll.host.Loaded(), dll.host.Error());
        CHECK(dll.host.SetVersion("2.20") == 0);
        dll.Reset("SM5XYZ", "SM", "EU");
        // One QSO two hours back, nine in the hour (11:05 to 11:45), a dupe,
        // a rejected one and three in the last ten minutes: 13 QSOs, 31 points.
        dll.Add("DL0A", "DL", "EU", At(10, 0));
        const char* const calls[] = {"DL1A", "DL2A", "DL3A", "DL4A", "DL5A", "DL6A", "DL7A", "DL8A", "DL9A"};
        for (int i = 0; i < 9; ++i)
            dll.Add(calls[i], "DL", "EU", At(11, 5 + 5 * i));
        dll.Add("LY1A", "LY", "EU", At(11, 52), "SSB");
        CHECK(dll.Add("DL1A", "DL", "EU", At(11, 54)) == 1);
        dll.Add("ES1A", "ES", "EU", At(11, 55), "SSB");
        CHECK(dll.Add("OH1A", "OH", "EU", At(11, 56), "CW", "40m") == 0);
        dll.Add("DL1B", "DL", "EU", At(12, 0));
        html = dll.Result();
    }
    const std::string head = kRatesHtmlBeforeCredit;
    const std::string end = kRatesHtmlAfterCredit;
    REQUIRE(html.size() > head.size() + end.size());
    const std::string credit = html.substr(head.size(), html.size() - head.size() - end.size());
    CHECK(credit.find('<') == std::string::npos);
    CHECK(html == head + credit + end);
    support::WriteBytes(sample, html);
}

TEST_CASE("the own call and band names are HTML-escaped in the HTML report")
{
    DllScene dll("report_e2e_escape");
    REQUIRE_MESSAGE(dll.host.Loaded(), dll.host.Error());
    dll.host.SetVersion(nullptr);
    dll.Reset("SM5<&>", "SM", "EU");
    dll.Add("DL1A", "DL", "EU", At(12, 0), "CW", "80M");
    const std::string html = dll.Result();
    CHECK(html.find("<center>Contestant:  <b>SM5&lt;&amp;&gt;</center></b><table>") != std::string::npos);
    CHECK(html.find("<tr><th> <center>80M</center></th><td><center>1</center></td>") != std::string::npos);
    CHECK(html.find("SM5<") == std::string::npos);
}
