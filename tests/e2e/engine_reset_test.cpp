// ResetStats0 through the real DLL: the host version it discovers, the
// "Start" key it keeps, and the bad-QSO file it starts; then the file
// taken away or held by another program while the contest runs.
#include "e2e/engine_fixture.h"

using fx::BadFile;
using fx::Check;
using fx::CheckOutcome;
using fx::Qso;

namespace {

// The host's version as CheckCall0 shows it: 1 for "2.19" and "2.20", 4 otherwise.
int NotApplicable(PluginHost& host)
{
    return Check(host, "LY1BB", "CW", "40m", "40m").result;
}

HostReset FromFolder(const char* folder)
{
    HostReset r = fx::ContestReset();
    r.hostFolder = folder;
    return r;
}

// Opens the file as another program would, with the given sharing.
struct OtherProgram {
    OtherProgram(const char* name, DWORD share, DWORD access = GENERIC_READ | GENERIC_WRITE)
        : h(CreateFileA(name, access, share, nullptr, OPEN_EXISTING, 0, nullptr))
    {
        REQUIRE(h != INVALID_HANDLE_VALUE);
    }
    ~OtherProgram() { Release(); }
    void Release()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    }
    HANDLE h;
};

} // namespace

TEST_CASE("ResetStats0 reads the host version from Qorv2.ini in the current folder once the host folder holds one")
{
    support::Scratch dir("reset_version");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    support::WriteBytes("Qorv2.ini", "[Main]\r\nQorv=2.19\r\n");

    const struct {
        const char* folder;
        const char* file; // made in the folder; nullptr: the folder stays missing
        int notApplicable;
    } rows[] = {
        {"a\\", "Qorv2.ini", 1},   // the folder's own copy (holding 2.18 here) is not the one read
        {"b\\", "MyQorv2.ini", 1}, // any name holding "Qorv2.ini"
        {"c\\", "qorv2.ini", 4},   // names compared case by case: none found, "Qorv"
        {"d\\", "Other.ini", 4},
        {"e\\", nullptr, 4},
        {".\\", nullptr, 1},       // the current folder itself
    };
    for (const auto& row : rows) {
        INFO(row.folder);
        if (row.file) {
            CreateDirectoryA(row.folder, nullptr);
            support::WriteBytes(std::string(row.folder) + row.file, "[Main]\r\nQorv=2.18\r\n");
        }
        REQUIRE(fx::Reset(host, FromFolder(row.folder)) == 1);
        CHECK(NotApplicable(host) == row.notApplicable);
    }

    SUBCASE("the first line holding 'Qorv=' gives the text from its sixth character on")
    {
        const struct {
            const char* content;
            int notApplicable;
        } lines[] = {
            {"Qorv=2.20\r\n", 1},
            {"[Main]\r\nPath=C:\\Qorv\r\nQorv=2.20\r\nQorv=2.18\r\n", 1},
            {"Qorv=2.20", 1},        // no line end at all
            {"Qorv=2.20\n", 1},
            {"xQorv=2.20\r\n", 4},   // "=2.20"
            {"Qorv=2.20 \r\n", 4},
            {"Qorv=2.19\r\nQorv=2.18\r\n", 1},
            {"Qorv=2.18\r\nQorv=2.19\r\n", 4},
        };
        for (const auto& l : lines) {
            INFO(l.content);
            support::WriteBytes("Qorv2.ini", l.content);
            REQUIRE(fx::Reset(host, FromFolder(".\\")) == 1);
            CHECK(NotApplicable(host) == l.notApplicable);
        }
    }
    SUBCASE("without a 'Qorv=' line, or without the file, the last version stays")
    {
        support::WriteBytes("Qorv2.ini", "Qorv=2.20\r\n");
        REQUIRE(fx::Reset(host, FromFolder("a\\")) == 1);
        CHECK(NotApplicable(host) == 1);
        support::WriteBytes("Qorv2.ini", "[Main]\r\nVersion=2.18\r\n");
        REQUIRE(fx::Reset(host, FromFolder("a\\")) == 1);
        CHECK(NotApplicable(host) == 1);
        DeleteFileA("Qorv2.ini");
        REQUIRE(fx::Reset(host, FromFolder("a\\")) == 1);
        CHECK(NotApplicable(host) == 1);
        // No matching name at all: "Qorv".
        REQUIRE(fx::Reset(host, FromFolder("d\\")) == 1);
        CHECK(NotApplicable(host) == 4);
    }
    SUBCASE("a null folder searches the current folder")
    {
        REQUIRE(fx::Reset(host, FromFolder("d\\")) == 1);
        REQUIRE(NotApplicable(host) == 4);
        HostDate second = fx::ContestDay();
        CHECK(fx::RawReset(host, nullptr, "YL2AA", nullptr, &second, "YL", "EU") == 1);
        CHECK(NotApplicable(host) == 1);
    }
}

// Before any case that opens the header dialog: from then on the module
// stays in this program, and the flag with it.
TEST_CASE("ResetStats0 sets the own station for the points: a Baltic prefix, case by case")
{
    support::Scratch dir("reset_station");
    const struct {
        const char* country;
        const char* continent;
        int points; // for a QSO with LY in Europe
    } rows[] = {
        {"YL", "EU", 1}, {"LY", "EU", 1}, {"ES", "NA", 2}, {"SP", "EU", 10}, {"SP", "NA", 20},
        {"yl", "EU", 10}, {"UA2/f", "EU", 10}, {nullptr, "EU", 10}, {nullptr, nullptr, 20},
    };
    for (const auto& row : rows) {
        INFO((row.country ? row.country : "<null>"));
        INFO((row.continent ? row.continent : "<null>"));
        PluginHost host(fx::DllPath()); // the Baltic flag only ever turns on: a fresh load each time
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
        HostDate first = MakeHostDate(2019, 5, 4, 12, 0), second = fx::ContestDay();
        CHECK(fx::RawReset(host, ".\\", "YL2AA", &first, &second, row.country, row.continent) == 1);
        CHECK(host.AddData(Qso()) == 1);
        CHECK(fx::Totals(host) == "Total\t 1\t " + std::to_string(row.points) + "\t 1\t 0\r\nDupe\t 0\r\nBad QSO\t 0");
    }
}

TEST_CASE("ResetStats0 keeps the 'Start' key: 0 becomes 1, 1 becomes 0, an export leaves 0")
{
    support::Scratch dir("reset_start");
    // Host 2.18 never opens the Setup window, so the sequence runs headless.
    fx::WriteHostVersion("2.18");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    const std::string start0 = "[Settings]\r\nStart=0\r\n";
    const std::string start1 = "[Settings]\r\nStart=1\r\n";

    CHECK(host.ResetStats(fx::ContestReset()) == 1);
    CHECK(support::ReadBytes(fx::kIniFile) == start1);
    CHECK(host.ResetStats(fx::ContestReset()) == 1);
    CHECK(support::ReadBytes(fx::kIniFile) == start0);
    CHECK(host.ResetStats(fx::ContestReset()) == 1);
    CHECK(support::ReadBytes(fx::kIniFile) == start1);

    HostReset exportReset = fx::ContestReset();
    exportReset.cabrillo = 1;
    for (const std::string& before : {start1, start0, std::string("[Settings]\r\nStart=7\r\n")}) {
        CAPTURE(before);
        support::WriteBytes(fx::kIniFile, before);
        support::BoxAnswerer canceller(support::BoxAnswerer::kCancel); // the header dialog, if one opens
        CHECK(host.ResetStats(exportReset) == 1);
        CHECK(support::ReadBytes(fx::kIniFile) == start0);
        CHECK(support::ReadBytes(fx::kBadFile) == BadFile({}));
    }

    // Values read as C atoi reads them.
    const struct {
        const char* value;
        const std::string after;
    } rows[] = {{"  2", start0}, {"-1", start0}, {"1abc", start0}, {"abc", start1}, {"0x1", start1}, {"", start1}};
    for (const auto& row : rows) {
        INFO(row.value);
        support::WriteBytes(fx::kIniFile, std::string("[Settings]\r\nStart=") + row.value + "\r\n");
        CHECK(host.ResetStats(fx::ContestReset()) == 1);
        CHECK(support::ReadBytes(fx::kIniFile) == row.after);
    }
}

TEST_CASE("ResetStats0 names the bad-QSO file by its second date and starts it with the header only")
{
    support::Scratch dir("reset_file");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());

    REQUIRE(fx::Reset(host) == 1);
    HostQso wrong = Qso();
    wrong.band = "40m";
    CHECK(host.AddData(wrong) == 0);
    CHECK(host.AddData(Qso("ES1AA")) == 1);
    REQUIRE(support::ReadBytes(fx::kBadFile) != BadFile({}));

    // The next reset starts the file over and empties the store.
    REQUIRE(fx::Reset(host) == 1);
    CHECK(support::ReadBytes(fx::kBadFile) == BadFile({}));
    CHECK(Check(host, "ES1AA") == CheckOutcome{1, ""});
    CHECK(fx::Totals(host) == "Total\t 0\t 0\t 0\t 0\r\nDupe\t 0\r\nBad QSO\t 0");
    int status = 0;
    CHECK(std::string(host.GetResult(&status)).find("BALTIC CONTEST CW/SSB 04.05.2019 \r\n") != std::string::npos);

    auto date = [](double dt, int st) {
        HostDate d;
        d.dt = dt;
        d.status = st;
        return d;
    };
    const struct {
        HostDate second;
        const char* name;
        const char* title;
    } rows[] = {
        {MakeHostDate(2019, 12, 31, 23, 59), "BadQSO_RirezIzeruz_31_12_2019.txt", "CW/SSB 31.12.2019 \r\n"},
        {MakeHostDate(2001, 2, 3), "BadQSO_RirezIzeruz_03_02_2001.txt", "CW/SSB 03.02.2001 \r\n"},
        {date(1.0, 1), "BadQSO_RirezIzeruz_Invalid DateTime.txt", "CW/SSB Invalid DateTime \r\n"},
        {date(1.0, 2), "BadQSO_RirezIzeruz_.txt", "CW/SSB  \r\n"},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        HostReset r = fx::ContestReset();
        r.second = row.second;
        REQUIRE(fx::Reset(host, r) == 1);
        CHECK(support::ReadBytes(row.name) == BadFile({}));
        CHECK(std::string(host.GetResult(&status)).find(row.title) != std::string::npos);
        // Lines go to the new file; the earlier one is left as it was.
        CHECK(host.AddData(wrong) == 0);
        CHECK(support::ReadBytes(row.name) ==
              BadFile({"QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!"}));
        CHECK(support::ReadBytes(fx::kBadFile) == BadFile({}));
    }

    SUBCASE("null pointers for every text and both date-times")
    {
        DeleteFileA("BadQSO_RirezIzeruz_.txt");
        CHECK(fx::RawReset(host, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) == 1);
        CHECK(support::ReadBytes("BadQSO_RirezIzeruz_.txt") == BadFile({}));
        CHECK(host.AddData(Qso()) == 1);
        CHECK(Check(host, "LY1BB") == CheckOutcome{0, "001"});
    }
}

TEST_CASE("ResetStats0 goes on without a Plugins folder and with a read-only settings file")
{
    SUBCASE("no Plugins folder: nothing is created there, the contest runs")
    {
        support::Scratch dir("reset_no_plugins", false);
        fx::WriteHostVersion("2.18"); // "Start" reads 0 every time: keep the Setup window shut
        PluginHost host(fx::DllPath());
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
        for (int i = 0; i < 2; ++i) {
            CHECK(host.ResetStats(fx::ContestReset()) == 1);
            CHECK_FALSE(support::FileExists("Plugins"));
            CHECK(support::ReadBytes(fx::kBadFile) == BadFile({}));
        }
        CHECK(host.AddData(Qso()) == 1);
        CHECK(host.AddData(Qso()) == 1);
        CHECK(support::ReadBytes(fx::kBadFile) ==
              BadFile({"QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   DUPE !!!"}));
        CHECK(Check(host, "LY1BB") == CheckOutcome{0, "001"});
    }
    SUBCASE("read-only settings file: left as it is")
    {
        support::Scratch dir("reset_readonly");
        fx::WriteHostVersion("2.18"); // the window it opens is the Setup window tests' part
        const std::string ini = "[Settings]\r\nStart=1\r\n";
        support::WriteBytes(fx::kIniFile, ini);
        REQUIRE(SetFileAttributesA(fx::kIniFile, FILE_ATTRIBUTE_READONLY));
        // Wine lets a root user write a read-only file; another program
        // that holds it open for reading only stops every writer anywhere.
        OtherProgram reader(fx::kIniFile, FILE_SHARE_READ, GENERIC_READ);
        PluginHost host(fx::DllPath());
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
        for (int i = 0; i < 2; ++i) {
            CHECK(host.ResetStats(fx::ContestReset()) == 1);
            CHECK(support::ReadBytes(fx::kIniFile) == ini);
            CHECK(support::ReadBytes(fx::kBadFile) == BadFile({}));
        }
        CHECK(host.AddData(Qso()) == 1);
        CHECK(Check(host, "LY1BB") == CheckOutcome{0, "001"});
        reader.Release();
        SetFileAttributesA(fx::kIniFile, FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_CASE("A bad-QSO file deleted or held by another program during the contest loses no QSO")
{
    support::Scratch dir("reset_file_taken");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    REQUIRE(fx::Reset(host) == 1);
    const std::string lineA = "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   DUPE !!!";
    const std::string lineB = "QSO:  3525  CW  2019-05-04 2140  YL2AA  599  001  ES1AA  599  001   DUPE !!!";
    const std::string lineC = "QSO:  3525  CW  2019-05-04 2150  YL2AA  599  001  SM1AA  599  001   DUPE !!!";
    const HostQso a = Qso("LY1BB", 21, 30), b = Qso("ES1AA", 21, 40), c = Qso("SM1AA", 21, 50);

    SUBCASE("deleted")
    {
        CHECK(host.AddData(a) == 1);
        CHECK(host.AddData(a) == 1);
        REQUIRE(DeleteFileA(fx::kBadFile));
        CHECK(host.AddData(b) == 1);
        CHECK(host.AddData(b) == 1);
        // The file comes back with the new line (the header was deleted with it).
        CHECK(support::ReadBytes(fx::kBadFile) == lineB + "\r\n");
        // A removal rewrites it with its header and keeps that line.
        CHECK(host.RemoveData(c) == 1);
        CHECK(support::ReadBytes(fx::kBadFile) == BadFile({lineB}));
        CHECK(fx::Totals(host) == "Total\t 2\t 2\t 2\t 0\r\nDupe\t 2\r\nBad QSO\t 0");
    }
    SUBCASE("held with no sharing at all")
    {
        CHECK(host.AddData(a) == 1);
        CHECK(host.AddData(a) == 1);
        const std::string before = BadFile({lineA});
        {
            OtherProgram other(fx::kBadFile, 0);
            CHECK(host.AddData(b) == 1);
            CHECK(host.AddData(b) == 1); // its line cannot be written
            CHECK(host.RemoveData(a) == 1);
            CHECK(Check(host, "ES1AA") == CheckOutcome{0, "001"});
            CHECK(Check(host, "LY1BB") == CheckOutcome{0, "001"}); // the dupe of a is left
            CHECK(fx::Totals(host) == "Total\t 1\t 1\t 1\t 0\r\nDupe\t 2\r\nBad QSO\t 0");
            // A reset cannot start a new file, but still starts over.
            CHECK(fx::Reset(host) == 1);
            CHECK(Check(host, "ES1AA") == CheckOutcome{1, ""});
        }
        CHECK(support::ReadBytes(fx::kBadFile) == before);
        CHECK(host.AddData(c) == 1);
        CHECK(host.AddData(c) == 1);
        CHECK(support::ReadBytes(fx::kBadFile) == before + lineC + "\r\n");
    }
    SUBCASE("held against reading: a removal does not wipe the file")
    {
        CHECK(host.AddData(a) == 1);
        CHECK(host.AddData(a) == 1);
        {
            OtherProgram other(fx::kBadFile, FILE_SHARE_WRITE);
            CHECK(host.AddData(b) == 1);
            CHECK(host.AddData(b) == 1);
            CHECK(host.RemoveData(c) == 1);
            CHECK(host.RemoveData(b) == 1);
        }
        CHECK(support::ReadBytes(fx::kBadFile) == BadFile({lineA, lineB}));
        CHECK(Check(host, "ES1AA") == CheckOutcome{0, "001"});
        // Once free again, the removal works as usual.
        CHECK(host.RemoveData(b) == 1);
        CHECK(support::ReadBytes(fx::kBadFile) == BadFile({lineA}));
        CHECK(Check(host, "ES1AA") == CheckOutcome{1, ""});
    }
}
