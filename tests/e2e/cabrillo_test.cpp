// The Cabrillo export through the real DLL: an export reset opens the header
// dialog, which another thread reads, fills in and answers as the operator
// would; the next report writes the .cbr file and names it in a box.
#include <doctest.h>

#include <atomic>
#include <string>
#include <vector>

#include "e2e/engine_fixture.h"
#include "host/answer.h"
#include "host/own_windows.h"

namespace {

// The header lines that never change here: written out once.
const char* const kStart = "START-OF-LOG: 3.0\r\nCONTEST: BALTIC\r\n";
const char* const kEmptyAddress =
    "NAME: \r\nADDRESS: \r\nADDRESS-CITY: \r\nADDRESS-POSTALCODE: \r\nADDRESS-COUNTRY: \r\nEMAIL: \r\n";

std::string Screenshot(const std::string& name)
{
    std::string dir = support::ExeDir() + "screenshots";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\cabrillo_" + name + ".bmp";
}

// The box's first line, the log's; the log check adds its own below it.
std::string LogLine(const std::string& box)
{
    return box.substr(0, box.find('\n'));
}

// The operator's answer with a picture of the dialog as it opened.
HeaderAnswer Pictured(const std::string& name)
{
    HeaderAnswer answer;
    answer.screenshot = Screenshot(name);
    return answer;
}

HostReset ExportReset(const char* call = "YL2AA")
{
    HostReset r = fx::ContestReset();
    r.cabrillo = 1;
    r.myCall = call;
    return r;
}

std::string Report(PluginHost& host)
{
    int status = 0;
    return host.GetResult(&status);
}

} // namespace

TEST_CASE("Cabrillo: a fresh settings file opens the defaults; OK stores them and the report writes the log")
{
    support::Scratch dir("cabrillo_fresh");
    fx::WriteHostVersion("2.18");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    HeaderAnswer answer;
    answer.screenshot = Screenshot("fresh");
    answer.listScreenshot = Screenshot("fresh_list");
    ExportAnswerer operatorAnswers(answer);

    REQUIRE(host.ResetStats(ExportReset()) == 1);
    REQUIRE(host.AddData(fx::Qso("LY1BB", 21, 30)) == 1);
    REQUIRE(host.AddData(fx::Qso("ES1AA", 21, 35)) == 1);
    Report(host);

    REQUIRE(operatorAnswers.Headers().size() == 1);
    const HeaderSeen shown = operatorAnswers.Headers()[0];
    CHECK(shown.caption == "Baltic Contest");
    const std::map<std::string, std::string> expected = {
        {"CONTEST", "BALTIC Contest"}, {"CALLSIGN", "YL2AA"}, {"CLAIMED", ""},
        {"CATEGORY-OPERATOR", "SINGLE-OP"}, {"CATEGORY-BAND", "80M"}, {"CATEGORY-MODE", "CW"},
        {"CATEGORY-TIME", ""}, {"CATEGORY-ASSISTED", ""}, {"NAME", ""}, {"ADDRESS", ""}, {"ADDRESS-CITY", ""}, {"ADDRESS-POSTALCODE", ""},
        {"ADDRESS-COUNTRY", ""}, {"OPERATORS", "YL2AA"}, {"CLUB", ""}, {"SOAPBOX", ""}, {"E-MAIL", ""}};
    CHECK(shown.texts == expected);
    const std::map<std::string, std::string> lists = {{"CATEGORY-OPERATOR", "SINGLE-OP|MULTI-OP|CHECKLOG"},
                                                      {"CATEGORY-BAND", "80M"},
                                                      {"CATEGORY-MODE", "MIXED|CW|SSB"},
                                                      {"CATEGORY-TIME", "2-HOURS"},
                                                      {"CATEGORY-ASSISTED", "ASSISTED|NON-ASSISTED"}};
    CHECK(shown.lists == lists);
    // Only the soapbox and the combo boxes are tab stops; the address boxes
    // take no more than they show.
    const std::map<std::string, std::string> styles = {
        {"CONTEST", "H"}, {"CALLSIGN", "H"}, {"CLAIMED", "H"}, {"CATEGORY-OPERATOR", "THD"},
        {"CATEGORY-BAND", "THD"}, {"CATEGORY-MODE", "THD"}, {"CATEGORY-TIME", "THD"}, {"CATEGORY-ASSISTED", "THD"}, {"NAME", "H"},
        {"ADDRESS", ""}, {"ADDRESS-CITY", ""}, {"ADDRESS-POSTALCODE", ""}, {"ADDRESS-COUNTRY", ""},
        {"OPERATORS", "H"}, {"CLUB", "H"}, {"SOAPBOX", "TM"}, {"E-MAIL", "H"}};
    CHECK(shown.styles == styles);

    CHECK(support::ReadBytes(fx::kIniFile) ==
          "[Settings]\r\nOperators=YL2AA\r\nName=\r\nAddress=\r\nAddress-City=\r\nAddress-PostalCode=\r\n"
          "Address-Country=\r\nCategory=SINGLE-OP\r\nLocation=\r\nPower=CW\r\nContest=BALTIC Contest\r\nEmail=\r\n"
          "Club=\r\nSoapBox=\r\nAssisted=\r\nStart=0\r\nClaimed=2\r\n");
    // No CATEGORY-TIME line for the empty time; empty values keep their tag.
    CHECK(support::ReadBytes("YL2AA.cbr") ==
          std::string(kStart) +
              "CALLSIGN: YL2AA\r\nCATEGORY-OPERATOR: SINGLE-OP\r\nCATEGORY-BAND: 80M\r\nCATEGORY-MODE: CW\r\n"
              "CLAIMED-SCORE: 2\r\nCLUB: \r\nCREATED-BY: Qorv 2.18\r\n" +
              kEmptyAddress +
              "OPERATORS: YL2AA\r\nSOAPBOX: \r\n"
              "QSO:  3525 CW 2019-05-04 2130 YL2AA         599 001    LY1BB         599 001\r\n"
              "QSO:  3525 CW 2019-05-04 2135 YL2AA         599 001    ES1AA         599 001\r\n"
              "END-OF-LOG:\r\n");
    REQUIRE(operatorAnswers.Outputs().size() == 1);
    CHECK(LogLine(operatorAnswers.Outputs()[0].text) == "File produced: YL2AA.cbr");
}

TEST_CASE("Cabrillo: stored values open, MULTI-OP and a three-line soapbox reach the settings and the log")
{
    support::Scratch dir("cabrillo_stored");
    support::WriteBytes(fx::kIniFile, "[Settings]\r\nOperators=YL2AA YL2BB\r\nLocation=KO26\r\nName=Janis Berzins\r\n"
                                 "Address=Brivibas iela 1\r\nAddress-City=Riga\r\nAddress-PostalCode=LV-1010\r\n"
                                 "Address-Country=Latvia\r\nClaimed=77\r\nEmail=yl2aa@example.lv\r\nClub=LRAL\r\n"
                                 "SoapBox=Good night<CR><LF>73\r\nCategory=CHECKLOG\r\nPower=SSB\r\n");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    HeaderAnswer answer;
    answer.screenshot = Screenshot("stored");
    answer.values = {{"CATEGORY-OPERATOR", "MULTI-OP"}, {"CLAIMED", "999"}, {"CATEGORY-TIME", "6-HOURS"},
                     {"SOAPBOX", "First line\r\nsecond line\r\nthird"}};
    ExportAnswerer operatorAnswers(answer);

    REQUIRE(host.ResetStats(ExportReset()) == 1);
    REQUIRE(host.AddData(fx::Qso("LY1BB", 21, 30)) == 1);
    Report(host);

    REQUIRE(operatorAnswers.Headers().size() == 1);
    std::map<std::string, std::string> shown = operatorAnswers.Headers()[0].texts;
    // Category and mode open as stored.
    CHECK(shown["CATEGORY-OPERATOR"] == "CHECKLOG");
    CHECK(shown["CATEGORY-MODE"] == "SSB");
    CHECK(shown["OPERATORS"] == "YL2AA YL2BB");
    CHECK(shown["CLAIMED"] == "77");
    CHECK(shown["ADDRESS-POSTALCODE"] == "LV-1010");
    CHECK(shown["SOAPBOX"] == "Good night\r\n73");

    CHECK(support::ReadBytes(fx::kIniFile) ==
          "[Settings]\r\nOperators=YL2AA YL2BB\r\nLocation=KO26\r\nName=Janis Berzins\r\n"
          "Address=Brivibas iela 1\r\nAddress-City=Riga\r\nAddress-PostalCode=LV-1010\r\n"
          "Address-Country=Latvia\r\nClaimed=1\r\nEmail=yl2aa@example.lv\r\nClub=LRAL\r\n"
          "SoapBox=First line<CR><LF>second line<CR><LF>third\r\nCategory=MULTI-OP\r\nPower=SSB\r\n"
          "Contest=BALTIC Contest\r\nAssisted=\r\nStart=0\r\n");
    // MULTI-OP: the transmitter line, then band and mode; no time.
    CHECK(support::ReadBytes("YL2AA.cbr") ==
          std::string(kStart) +
              "CALLSIGN: YL2AA\r\nCATEGORY-OPERATOR: MULTI-OP\r\nCATEGORY-TRANSMITTER: ONE \r\n"
              "CATEGORY-BAND: 80M\r\nCATEGORY-MODE: SSB\r\n"
              "CLAIMED-SCORE: 1\r\nCLUB: LRAL\r\nCREATED-BY: Qorv Qorv\r\nNAME: Janis Berzins\r\n"
              "ADDRESS: Brivibas iela 1\r\nADDRESS-CITY: Riga\r\nADDRESS-POSTALCODE: LV-1010\r\n"
              "ADDRESS-COUNTRY: Latvia\r\nEMAIL: yl2aa@example.lv\r\nOPERATORS: YL2AA YL2BB\r\n"
              "SOAPBOX: First line\r\nSOAPBOX: second line\r\nSOAPBOX: third\r\n"
              "QSO:  3525 CW 2019-05-04 2130 YL2AA         599 001    LY1BB         599 001\r\n"
              "END-OF-LOG:\r\n");
}

TEST_CASE("Cabrillo: the next export opens with the categories and time chosen at the last")
{
    support::Scratch dir("cabrillo_again");
    fx::WriteHostVersion("2.18");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    {
        HeaderAnswer first;
        first.values = {{"CATEGORY-MODE", "MIXED"}, {"CATEGORY-TIME", "6-HOURS"}};
        ExportAnswerer operatorAnswers(first);
        REQUIRE(host.ResetStats(ExportReset()) == 1);
    }
    HeaderAnswer second;
    second.screenshot = Screenshot("again");
    second.values = {{"CATEGORY-OPERATOR", "SINGLE-OP-ASSISTED"}, {"CALLSIGN", "YL2AA/P"}};
    ExportAnswerer operatorAnswers(second);
    REQUIRE(host.ResetStats(ExportReset()) == 1);
    REQUIRE(host.AddData(fx::Qso("LY1BB", 21, 30)) == 1);
    Report(host);

    REQUIRE(operatorAnswers.Headers().size() == 1);
    std::map<std::string, std::string> shown = operatorAnswers.Headers()[0].texts;
    CHECK(shown["CATEGORY-MODE"] == "MIXED");
    CHECK(shown["CATEGORY-TIME"] == "6-HOURS");
    CHECK(support::ReadBytes(fx::kIniFile).find("\r\nPower=MIXED\r\n") != std::string::npos);
    // The file keeps the name from the reset's call; the lines take the edited one.
    CHECK(support::ReadBytes("YL2AA.cbr") ==
          std::string(kStart) +
              "CALLSIGN: YL2AA/P\r\nCATEGORY-OPERATOR: SINGLE-OP-ASSISTED\r\nCATEGORY-BAND: 80M\r\n"
              "CATEGORY-MODE: MIXED\r\nCATEGORY-TIME: 6-HOURS\r\nCLAIMED-SCORE: 1\r\nCLUB: \r\nCREATED-BY: Qorv 2.18\r\n" +
              kEmptyAddress +
              "OPERATORS: YL2AA\r\nSOAPBOX: \r\n"
              "QSO:  3525 CW 2019-05-04 2130 YL2AA/P       599 001    LY1BB         599 001\r\n"
              "END-OF-LOG:\r\n");
}

TEST_CASE("Cabrillo: the file base from the reset's call")
{
    support::Scratch dir("cabrillo_names");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    ExportAnswerer operatorAnswers(Pictured("names"));
    // The whole rule is a table of the unit tests: each export here costs
    // two windows closing under Wine.
    const struct {
        const char* call;
        const char* file;
    } rows[] = {{"YL2AA/P", "YL2AA_P.cbr"}, {"   ", "TOVAK.cbr"}, {"C:", "C_.cbr"}};
    for (const auto& row : rows) {
        CAPTURE(row.call);
        REQUIRE(host.ResetStats(ExportReset(row.call)) == 1);
        Report(host);
        CHECK(support::FileExists(row.file));
        REQUIRE(!operatorAnswers.Outputs().empty());
        CHECK(LogLine(operatorAnswers.Outputs().back().text) == std::string("File produced: ") + row.file);
    }
}

TEST_CASE("Cabrillo: QSO lines keep their columns, and long values push the rest to the right")
{
    support::Scratch dir("cabrillo_columns");
    fx::WriteHostVersion("2.18");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    HeaderAnswer answer;
    answer.screenshot = Screenshot("columns");
    answer.values = {{"CALLSIGN", "YL2AA/LONGER12"}};
    ExportAnswerer operatorAnswers(answer);
    REQUIRE(host.ResetStats(ExportReset()) == 1);

    HostQso longCall = fx::Qso("LY1BB/MM/LONG", 21, 0);
    longCall.nrSent = "1234567";
    longCall.freqHz = 144050000;
    HostQso lowerCw = fx::Qso("ES1AA", 21, 1);
    lowerCw.mode = "cw";
    HostQso lowerSsb = fx::Qso("ES2BB", 21, 2);
    lowerSsb.mode = "ssb";
    lowerSsb.freqHz = 3700999;
    HostQso nullTime = fx::Qso("OH1AA");
    nullTime.nullTime = true;
    HostQso invalidTime = fx::Qso("SM1AA");
    invalidTime.time.status = 1;
    HostQso ssb = fx::Qso("LY2CC", 23, 59);
    ssb.mode = "SSB";
    ssb.rstSent = ssb.rstRcvd = "59";
    for (const HostQso* q : {&longCall, &lowerCw, &lowerSsb, &nullTime, &invalidTime, &ssb})
        REQUIRE(host.AddData(*q) == 1);
    Report(host);

    const std::string file = support::ReadBytes("YL2AA.cbr");
    const std::string own = "YL2AA/LONGER12";
    const std::string expected =
        "QSO: 144050 CW 2019-05-04 2100 " + own + " 599 1234567 LY1BB/MM/LONG   599 001\r\n" +
        "QSO:  3525 ?? 2019-05-04 2101 " + own + " 599 001    ES1AA         599 001\r\n" +
        "QSO:  3700 ?? 2019-05-04 2102 " + own + " 599 001    ES2BB         599 001\r\n" +
        "QSO:  3525 CW  " + own + " 599 001    OH1AA         599 001\r\n" +
        "QSO:  3525 CW Invalid DateTime " + own + " 599 001    SM1AA         599 001\r\n" +
        "QSO:  3525 PH 2019-05-04 2359 " + own + " 59  001    LY2CC         59  001\r\nEND-OF-LOG:\r\n";
    CHECK(file.substr(file.find("QSO:")) == expected);
}

TEST_CASE("Cabrillo: every report rewrites the log, with a QSO added in between only in the second")
{
    support::Scratch dir("cabrillo_twice");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    ExportAnswerer operatorAnswers(Pictured("twice"));
    REQUIRE(host.ResetStats(ExportReset()) == 1);
    REQUIRE(host.AddData(fx::Qso("LY1BB", 21, 30)) == 1);
    const std::string first = "QSO:  3525 CW 2019-05-04 2130 YL2AA         599 001    LY1BB         599 001\r\n";
    const std::string second = "QSO:  3525 CW 2019-05-04 2140 YL2AA         599 001    ES1AA         599 001\r\n";

    Report(host);
    std::string file = support::ReadBytes("YL2AA.cbr");
    CHECK(file.find("CLAIMED-SCORE: 1\r\n") != std::string::npos);
    CHECK(file.substr(file.find("QSO:")) == first + "END-OF-LOG:\r\n");

    REQUIRE(host.AddData(fx::Qso("ES1AA", 21, 40)) == 1);
    Report(host);
    file = support::ReadBytes("YL2AA.cbr");
    CHECK(file.find("CLAIMED-SCORE: 2\r\n") != std::string::npos);
    CHECK(file.substr(file.find("QSO:")) == first + second + "END-OF-LOG:\r\n");
    CHECK(operatorAnswers.Outputs().size() == 2);
}

TEST_CASE("Cabrillo: a log or check file that cannot be written is named in the box, and the previous log stays")
{
    support::Scratch dir("cabrillo_unwritable");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    ExportAnswerer operatorAnswers(Pictured("unwritable"));
    REQUIRE(host.ResetStats(ExportReset()) == 1);
    REQUIRE(host.AddData(fx::Qso()) == 1);
    // A folder holds the name of the new log written beside the old one,
    // then the log's own name, then the check file's.
    const std::string previous = "START-OF-LOG: 3.0\r\nthe last good log\r\nEND-OF-LOG:\r\n";
    support::WriteBytes("YL2AA.cbr", previous);
    const struct {
        const char* folder;
        bool previousStays;
        const char* logLine;
        const char* missing; // the box's last line, or none
    } rows[] = {{"YL2AA.cbr.tmp", true, "File could not be written: YL2AA.cbr", nullptr},
                {"YL2AA.cbr", false, "File could not be written: YL2AA.cbr", nullptr},
                {"YL2AA-check.txt", false, "File produced: YL2AA.cbr", "Could not be written: YL2AA-check.txt"}};
    for (const auto& row : rows) {
        CAPTURE(row.folder);
        support::RemoveFile(row.folder);
        REQUIRE(CreateDirectoryA(row.folder, nullptr));
        Report(host);
        REQUIRE(!operatorAnswers.Outputs().empty());
        const std::string box = operatorAnswers.Outputs().back().text;
        CHECK(LogLine(box) == row.logLine);
        const std::string last = box.substr(box.rfind('\n') + 1);
        if (row.missing)
            CHECK(last == row.missing);
        else
            CHECK(last.rfind("Log check: ", 0) == 0);
        CHECK((GetFileAttributesA(row.folder) & FILE_ATTRIBUTE_DIRECTORY) != 0);
        if (row.previousStays)
            CHECK(support::ReadBytes("YL2AA.cbr") == previous);
        RemoveDirectoryA(row.folder);
    }
    CHECK(support::ReadBytes("YL2AA.cbr").find("CLAIMED-SCORE: 1\r\n") != std::string::npos);
    CHECK(operatorAnswers.Outputs().size() == 3);
}

namespace {

// The settings file cannot be written until the operator's second OK: the
// Plugins folder is a file, or another program holds the (read-only) file.
struct Blocked {
    bool folderIsFile;
    HANDLE holder = INVALID_HANDLE_VALUE;
    int headers = 0;
    void Block()
    {
        if (folderIsFile) {
            support::WriteBytes("Plugins", "");
            return;
        }
        SetFileAttributesA(fx::kIniFile, FILE_ATTRIBUTE_READONLY);
        // Wine lets root write a read-only file: the holder stops every writer.
        holder = CreateFileA(fx::kIniFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(holder != INVALID_HANDLE_VALUE);
    }
    void Unblock()
    {
        if (folderIsFile) {
            DeleteFileA("Plugins");
            CreateDirectoryA("Plugins", nullptr);
            return;
        }
        CloseHandle(holder);
        SetFileAttributesA(fx::kIniFile, FILE_ATTRIBUTE_NORMAL);
    }
};

void UnblockAtSecondHeader(HWND, void* context)
{
    Blocked& b = *static_cast<Blocked*>(context);
    if (++b.headers == 2)
        b.Unblock();
}

} // namespace

TEST_CASE("Cabrillo: a header the settings file cannot take is refused in a box naming the file, the dialog stays open")
{
    for (bool folderIsFile : {true, false}) {
        CAPTURE(folderIsFile);
        support::Scratch dir("cabrillo_ini_blocked", !folderIsFile);
        if (!folderIsFile)
            support::WriteBytes(fx::kIniFile, "[Settings]\r\nName=Janis\r\nStart=1\r\n");
        Blocked blocked{folderIsFile};
        blocked.Block();
        PluginHost host(fx::DllPath());
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
        HeaderAnswer answer;
        answer.values = {{"NAME", "Janis Berzins"}, {"SOAPBOX", "Long night\r\n73"}};
        ExportAnswerer operatorAnswers(answer);
        operatorAnswers.OnHeader(UnblockAtSecondHeader, &blocked);
        REQUIRE(host.ResetStats(ExportReset()) == 1);
        REQUIRE(host.AddData(fx::Qso("LY1BB", 21, 30)) == 1);
        Report(host);

        char full[MAX_PATH] = "";
        GetFullPathNameA(fx::kIniFile, MAX_PATH, full, nullptr);
        REQUIRE(operatorAnswers.Others().size() == 1);
        CHECK(operatorAnswers.Others()[0] == std::string("The Cabrillo header could not be saved: the settings file\n") +
                                                 full +
                                                 "\ncannot be written. Check that the folder exists, that the file "
                                                 "is not read-only and that no other program holds it, then press "
                                                 "OK again, or press CANCEL.");
        // The same dialog again, the typing in it; the second OK stores it
        // and the export goes ahead.
        const std::vector<HeaderSeen> seen = operatorAnswers.Headers();
        REQUIRE(seen.size() == 2);
        CHECK(seen[1].texts.at("NAME") == "Janis Berzins");
        CHECK(support::ReadBytes(fx::kIniFile).find("\r\nName=Janis Berzins\r\n") != std::string::npos);
        CHECK(support::ReadBytes(fx::kIniFile).find("\r\nSoapBox=Long night<CR><LF>73\r\n") != std::string::npos);
        REQUIRE(operatorAnswers.Outputs().size() == 1);
        CHECK(LogLine(operatorAnswers.Outputs()[0].text) == "File produced: YL2AA.cbr");
    }
}

TEST_CASE("Cabrillo: CANCEL stores nothing and cancels the export")
{
    support::Scratch dir("cabrillo_cancel");
    const std::string before = "[Settings]\r\nName=Janis\r\nSoapBox=a<CR><LF>b\r\nStart=1\r\n";
    support::WriteBytes(fx::kIniFile, before);
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    HeaderAnswer answer;
    answer.screenshot = Screenshot("cancel");
    answer.cancel = true;
    answer.values = {{"NAME", "Someone Else"}};
    ExportAnswerer operatorAnswers(answer);
    REQUIRE(host.ResetStats(ExportReset()) == 1);
    REQUIRE(host.AddData(fx::Qso("LY1BB", 21, 30)) == 1);
    const std::string report = Report(host);

    REQUIRE(operatorAnswers.Headers().size() == 1);
    CHECK(operatorAnswers.Headers()[0].texts["NAME"] == "Janis");
    CHECK(support::ReadBytes(fx::kIniFile) == "[Settings]\r\nName=Janis\r\nSoapBox=a<CR><LF>b\r\nStart=0\r\nClaimed=1\r\n");
    CHECK_FALSE(support::FileExists("YL2AA.cbr"));
    CHECK(operatorAnswers.Outputs().empty());
    // Not an export run: the rates are on.
    CHECK(report.find("Hourly (10min) QSO rate:     1 (6) QSOs/hour") != std::string::npos);
}

namespace {

const UINT kAskReport = WM_APP + 1, kExportAgain = WM_APP + 2;
PluginHost* g_nestedHost = nullptr;
std::string g_nestedReport;
int g_nestedAdded = -1;
std::atomic<bool> g_exportAsked{false};

// The host's log, as it hands it over after every reset.
void ReplayHostLog(PluginHost& host)
{
    CHECK(host.AddData(fx::Qso("LY1BB", 21, 30)) == 1);
    CHECK(host.AddData(fx::Qso("ES1AA", 21, 35)) == 1);
}

LRESULT CALLBACK HostWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kAskReport) {
        g_nestedAdded = g_nestedHost->AddData(fx::Qso("ES1AA", 21, 35));
        g_nestedReport = Report(*g_nestedHost);
        return 0;
    }
    if (msg == kExportAgain) {
        g_nestedHost->ResetStats(ExportReset());
        ReplayHostLog(*g_nestedHost);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

// The host's own messages, dispatched by the box's message loop.
void AskReportFromBox(HWND, void* hostWindow)
{
    SendMessageTimeoutA(static_cast<HWND>(hostWindow), kAskReport, 0, 0, SMTO_NORMAL, 5000, nullptr);
}

void ExportFromBox(HWND, void* hostWindow)
{
    if (!g_exportAsked.exchange(true))
        SendMessageTimeoutA(static_cast<HWND>(hostWindow), kExportAgain, 0, 0, SMTO_NORMAL, 20000, nullptr);
}

// The host's main window, active, for the boxes to belong to.
struct HostWindow {
    HWND hwnd = nullptr;
    explicit HostWindow(PluginHost& host)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CabrilloTestHost";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("CabrilloTestHost", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                             nullptr, wc.hInstance, nullptr);
        REQUIRE(hwnd);
        SetActiveWindow(hwnd);
        g_nestedHost = &host;
    }
    ~HostWindow() { DestroyWindow(hwnd); }
};

} // namespace

TEST_CASE("Cabrillo: the Output box belongs to the host's window; a QSO and a report meanwhile count, exporting nothing")
{
    support::Scratch dir("cabrillo_nested");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    HostWindow window(host);
    const HWND hostWindow = window.hwnd;
    g_nestedReport = "<not asked>";

    std::string report;
    std::vector<OutputSeen> outputs;
    {
        ExportAnswerer operatorAnswers(Pictured("nested"));
        operatorAnswers.OnOutput(AskReportFromBox, hostWindow);
        REQUIRE(host.ResetStats(ExportReset()) == 1);
        REQUIRE(host.AddData(fx::Qso()) == 1);
        SetActiveWindow(hostWindow);
        report = Report(host);
        outputs = operatorAnswers.Outputs();
    }
    REQUIRE(outputs.size() == 1);
    CHECK(outputs[0].owner == hostWindow);
    // The QSO added from inside the box counts at once: the report asked
    // for meanwhile and the one handed out after the box both have it.
    CHECK(g_nestedAdded == 1);
    CHECK(g_nestedReport == report);
    CHECK(report.find("Total\t 2\t 2\t 2\t 0\r\n") != std::string::npos);
    const std::string es1aa = "QSO:  3525 CW 2019-05-04 2135 YL2AA         599 001    ES1AA         599 001\r\n";
    CHECK(support::ReadBytes("YL2AA.cbr").find(es1aa) == std::string::npos);
    // The next report exports it, with one box.
    {
        ExportAnswerer operatorAnswers;
        SetActiveWindow(hostWindow);
        Report(host);
        CHECK(operatorAnswers.Outputs().size() == 1);
    }
    CHECK(support::ReadBytes("YL2AA.cbr").find(es1aa + "END-OF-LOG:\r\n") != std::string::npos);
}

TEST_CASE("Cabrillo: an export asked for while the Output box is up starts over without exporting, and says so once")
{
    support::Scratch dir("cabrillo_export_in_box");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    HostWindow window(host);
    g_exportAsked = false;
    // Each QSO once, from the first line on.
    const std::string lines = "QSO:  3525 CW 2019-05-04 2130 YL2AA         599 001    LY1BB         599 001\r\n"
                              "QSO:  3525 CW 2019-05-04 2135 YL2AA         599 001    ES1AA         599 001\r\n"
                              "END-OF-LOG:\r\n";
    for (const bool again : {false, true}) {
        ExportAnswerer operatorAnswers;
        operatorAnswers.OnOutput(ExportFromBox, window.hwnd);
        REQUIRE(host.ResetStats(ExportReset()) == 1);
        ReplayHostLog(host);
        SetActiveWindow(window.hwnd);
        Report(host);
        const std::string next = Report(host);
        const std::string log = support::ReadBytes("YL2AA.cbr");
        CHECK(log.substr(log.find("QSO: ")) == lines);
        // After the export asked for from the box and the host's log, each
        // QSO is stored once.
        CHECK(next.find("Total\t 2\t 2\t 2\t 0\r\nDupe\t 0\r\n") != std::string::npos);
        // Refused from the box, the export says so; asked for again, it runs.
        const std::vector<OutputSeen> outputs = operatorAnswers.Outputs();
        REQUIRE(outputs.size() == 2);
        CHECK(LogLine(outputs[0].text) == "File produced: YL2AA.cbr");
        CHECK(LogLine(outputs[1].text) == (again ? "File produced: YL2AA.cbr"
                                                 : "File not produced: the Cabrillo export was asked for while a "
                                                   "dialog or box of the plug-in was open."));
    }
}

namespace {

// The host's own calls, made once from a timer of its thread while the
// header dialog is open, and the files as they stood right after them.
struct TimerCalls {
    PluginHost* host = nullptr;
    std::atomic<bool> due{false}, started{false}, done{false};
    std::string report, logDuring, badDuring;
    int added = -1, addedBad = -1, reset = -1;
};
TimerCalls* g_timerCalls = nullptr;

HostQso WrongBand(const char* call, int minute)
{
    HostQso q = fx::Qso(call, 21, minute);
    q.band = "40m";
    return q;
}

void CALLBACK HostTimer(HWND, UINT, UINT_PTR, DWORD)
{
    TimerCalls* t = g_timerCalls;
    // Once: a dialog opened by these calls would run this timer again.
    if (!t || !t->due || t->started.exchange(true))
        return;
    // An export reset and the host's log after it, then two QSOs more.
    t->reset = t->host->ResetStats(ExportReset());
    t->host->AddData(fx::Qso("LY1BB", 21, 30));
    t->host->AddData(WrongBand("ES2CC", 20));
    t->added = t->host->AddData(fx::Qso("ES1AA", 21, 35));
    t->addedBad = t->host->AddData(WrongBand("LY2BB", 50));
    t->report = Report(*t->host);
    t->done = true;
}

// On the answering thread, the dialog still open: lets the timer call in.
void LetTimerCall(HWND, void* context)
{
    TimerCalls& t = *static_cast<TimerCalls*>(context);
    t.due = true;
    WaitUntil([&t] { return t.done.load(); }, 20000);
    t.logDuring = support::ReadBytes("YL2AA.cbr");
    t.badDuring = support::ReadBytes(fx::kBadFile);
}

} // namespace

TEST_CASE("Cabrillo: host timer calls while the header dialog is open count as at any time; no second dialog")
{
    support::Scratch dir("cabrillo_reentry");
    fx::WriteHostVersion("2.18");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    const std::string ly1bb = "QSO:  3525 CW 2019-05-04 2130 YL2AA         599 001    LY1BB         599 001\r\n";
    const std::string es1aa = "QSO:  3525 CW 2019-05-04 2135 YL2AA         599 001    ES1AA         599 001\r\n";
    {
        ExportAnswerer firstExport;
        REQUIRE(host.ResetStats(ExportReset()) == 1);
        REQUIRE(host.AddData(fx::Qso("LY1BB", 21, 30)) == 1);
        REQUIRE(host.AddData(WrongBand("ES2CC", 20)) == 0);
        Report(host);
    }
    const std::string log = support::ReadBytes("YL2AA.cbr");
    REQUIRE(log.find(ly1bb + "END-OF-LOG:\r\n") != std::string::npos);

    struct Timer {
        UINT_PTR id = SetTimer(nullptr, 0, 50, HostTimer);
        ~Timer()
        {
            KillTimer(nullptr, id);
            g_timerCalls = nullptr;
        }
    } timer;
    for (const bool cancel : {true, false}) {
        CAPTURE(cancel);
        TimerCalls calls;
        calls.host = &host;
        g_timerCalls = &calls;
        HeaderAnswer answer = Pictured(cancel ? "reentry_cancel" : "reentry_ok");
        answer.cancel = cancel;
        // The module stays loaded after the first export of this program:
        // the category time typed by an earlier case is cleared here.
        answer.values = {{"CATEGORY-TIME", ""}};
        ExportAnswerer operatorAnswers(answer);
        operatorAnswers.OnHeader(LetTimerCall, &calls);
        REQUIRE(host.ResetStats(ExportReset()) == 1);
        REQUIRE(calls.done);
        // The QSOs count at once; the second export reset starts over
        // without a dialog; the last log stays, the new bad-QSO file has
        // the refused QSOs.
        CHECK(calls.added == 1);
        CHECK(calls.addedBad == 0);
        CHECK(calls.reset == 1);
        CHECK(calls.report.find("Total\t 2\t 2\t 2\t 0\r\nDupe\t 0\r\nBad QSO\t 2\r\n") != std::string::npos);
        CHECK(calls.logDuring == log);
        CHECK(calls.badDuring == "BALTIC CW/SSB TEST UBN file \r\n"
                                 "QSO:  3525  CW  2019-05-04 2120  YL2AA  599  001  ES2CC  599  001   WRONG BAND !!!\r\n"
                                 "QSO:  3525  CW  2019-05-04 2150  YL2AA  599  001  LY2BB  599  001   WRONG BAND !!!\r\n");

        // The host hands its whole log over after the reset, then asks for
        // the report: each QSO once.
        REQUIRE(host.AddData(fx::Qso("LY1BB", 21, 30)) == 1);
        REQUIRE(host.AddData(WrongBand("ES2CC", 20)) == 0);
        REQUIRE(host.AddData(fx::Qso("ES1AA", 21, 35)) == 1);
        REQUIRE(host.AddData(WrongBand("LY2BB", 50)) == 0);
        const std::string report = Report(host);
        CHECK(operatorAnswers.Headers().size() == 1);
        CHECK(report.find("Total\t 2\t 2\t 2\t 0\r\nDupe\t 0\r\nBad QSO\t 2\r\n") != std::string::npos);
        if (cancel) {
            CHECK(support::ReadBytes("YL2AA.cbr") == log);
            // Only the box that says the export asked for meanwhile did not run.
            REQUIRE(operatorAnswers.Outputs().size() == 1);
            CHECK(LogLine(operatorAnswers.Outputs()[0].text).rfind("File not produced: ", 0) == 0);
            CHECK(report.find("Hourly (10min) QSO rate:     2 (12) QSOs/hour") != std::string::npos);
        } else {
            CHECK(support::ReadBytes("YL2AA.cbr") ==
                  std::string(kStart) +
                      "CALLSIGN: YL2AA\r\nCATEGORY-OPERATOR: SINGLE-OP\r\nCATEGORY-BAND: 80M\r\nCATEGORY-MODE: CW\r\n"
                      "CLAIMED-SCORE: 2\r\nCLUB: \r\nCREATED-BY: Qorv 2.18\r\n" +
                      kEmptyAddress + "OPERATORS: YL2AA\r\nSOAPBOX: \r\n" + ly1bb + es1aa + "END-OF-LOG:\r\n");
            REQUIRE(operatorAnswers.Outputs().size() == 1);
            CHECK(LogLine(operatorAnswers.Outputs()[0].text) == "File produced: YL2AA.cbr");
        }
    }
}

TEST_CASE("Cabrillo: cabrillo_sample.cbr, the log the independent reader checks")
{
    const std::string sample = support::ExeDir() + "cabrillo_sample.cbr";
    support::RemoveFile(sample);
    support::RemoveFile(support::ExeDir() + "cabrillo_sample_multi.cbr");
    support::Scratch dir("cabrillo_sample");
    fx::WriteHostVersion("2.18");
    support::WriteBytes(fx::kIniFile, "[Settings]\r\nOperators=YL2AA YL2BB\r\nName=Janis Berzins\r\n"
                                      "Address=Brivibas iela 1\r\nAddress-City=Riga\r\nAddress-PostalCode=LV-1010\r\n"
                                      "Address-Country=Latvia\r\nEmail=yl2aa@example.lv\r\nClub=LRAL\r\n"
                                      "SoapBox=Good night<CR><LF>73\r\n");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    // A MIXED export, then one where only MULTI-OP is chosen: the reader
    // reads both, the second with the mode kept from the first.
    std::vector<HeaderAnswer> rounds(2);
    rounds[0].screenshot = Screenshot("sample");
    rounds[0].values = {{"CATEGORY-MODE", "MIXED"}, {"CATEGORY-TIME", "6-HOURS"}};
    rounds[1].values = {{"CATEGORY-OPERATOR", "MULTI-OP"}};
    ExportAnswerer operatorAnswers(rounds);
    HostQso ssb = fx::Qso("ES1AA", 21, 31);
    ssb.mode = "SSB";
    ssb.freqHz = 3700000;
    ssb.rstSent = ssb.rstRcvd = "59";
    HostQso longCall = fx::Qso("LY1BB/MM/LONG", 21, 45);
    longCall.freqHz = 3528000;
    longCall.nrSent = "1234567";
    std::string files[2];
    for (std::string& exported : files) {
        REQUIRE(host.ResetStats(ExportReset()) == 1);
        for (const HostQso& q : {fx::Qso("LY1BB", 21, 30), ssb, longCall})
            REQUIRE(host.AddData(q) == 1);
        Report(host);
        exported = support::ReadBytes("YL2AA.cbr");
    }
    support::WriteBytes(support::ExeDir() + "cabrillo_sample_multi.cbr", files[1]);

    const std::string& file = files[0];
    CHECK(file == std::string(kStart) +
                      "CALLSIGN: YL2AA\r\nCATEGORY-OPERATOR: SINGLE-OP\r\nCATEGORY-BAND: 80M\r\nCATEGORY-MODE: MIXED\r\n"
                      "CATEGORY-TIME: 6-HOURS\r\nCLAIMED-SCORE: 3\r\nCLUB: LRAL\r\nCREATED-BY: Qorv 2.18\r\n"
                      "NAME: Janis Berzins\r\nADDRESS: Brivibas iela 1\r\nADDRESS-CITY: Riga\r\n"
                      "ADDRESS-POSTALCODE: LV-1010\r\nADDRESS-COUNTRY: Latvia\r\nEMAIL: yl2aa@example.lv\r\n"
                      "OPERATORS: YL2AA YL2BB\r\nSOAPBOX: Good night\r\nSOAPBOX: 73\r\n"
                      "QSO:  3525 CW 2019-05-04 2130 YL2AA         599 001    LY1BB         599 001\r\n"
                      "QSO:  3700 PH 2019-05-04 2131 YL2AA         59  001    ES1AA         59  001\r\n"
                      "QSO:  3528 CW 2019-05-04 2145 YL2AA         599 1234567 LY1BB/MM/LONG   599 001\r\n"
                      "END-OF-LOG:\r\n");
    support::WriteBytes(sample, file);
}

TEST_CASE("Cabrillo code page: texts the system's code page holds are stored as its bytes, others refused by box")
{
    support::Scratch dir("cabrillo_codepage");
    support::WriteBytes(fx::kIniFile, "[Settings]\r\nName=Janis\r\nAddress-City=Riga\r\n");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    const std::wstring name = L"\u0160ar\u016Bnas Petra\u0161ka"; // Lithuanian: Windows-1257
    const std::wstring city = L"\u041C\u043E\u0441\u043A\u0432\u0430"; // Russian: Windows-1251
    // The operator types both, then retypes the city in ASCII, then gives up.
    std::vector<HeaderAnswer> rounds(3);
    rounds[0].wideValues = {{"NAME", name}, {"ADDRESS-CITY", city}};
    rounds[1].values = {{"ADDRESS-CITY", "Vilnius"}};
    rounds[2].cancel = true;
    ExportAnswerer operatorAnswers(rounds);
    REQUIRE(host.ResetStats(ExportReset()) == 1);
    REQUIRE(host.AddData(fx::Qso("LY1BB", 21, 30)) == 1);
    Report(host);

    // The boxes each code page refuses, after the first OK and after the second.
    struct Page {
        UINT codePage;
        std::vector<std::string> refused;
    };
    const Page pages[] = {{1257, {"ADDRESS-CITY"}}, {1251, {"NAME", "NAME"}}, {1252, {"NAME, ADDRESS-CITY", "NAME"}}};
    const Page* page = nullptr;
    for (const Page& p : pages)
        if (p.codePage == GetACP())
            page = &p;
    REQUIRE_MESSAGE(page, "no expectation for code page ", GetACP());
    const std::vector<std::string> boxes = operatorAnswers.Others();
    REQUIRE(boxes.size() == page->refused.size());
    for (size_t i = 0; i < boxes.size(); ++i)
        CHECK(boxes[i] == "These fields hold characters that this Windows code page cannot store: " +
                              page->refused[i] + ".\nPlease retype them.");
    // The refused dialog stays open with the typing in it.
    const std::vector<HeaderSeen> seen = operatorAnswers.Headers();
    REQUIRE(seen.size() == boxes.size() + 1);
    CHECK(seen[1].wide.at("NAME") == name);
    CHECK(seen[1].wide.at("ADDRESS-CITY") == city);

    const std::string ini = support::ReadBytes(fx::kIniFile);
    if (page->codePage == 1257) {
        CHECK(ini.find("Name=\xD0" "ar\xFBnas Petra\xF0ka\r\nAddress-City=Vilnius\r\n") != std::string::npos);
        CHECK(support::ReadBytes("YL2AA.cbr").find("NAME: \xD0" "ar\xFBnas Petra\xF0ka\r\n") != std::string::npos);
    } else {
        CHECK(ini.find("Name=Janis\r\nAddress-City=Riga\r\n") != std::string::npos);
        CHECK_FALSE(support::FileExists("YL2AA.cbr"));
    }
}
