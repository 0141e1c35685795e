// AddData0 through the real DLL: what is refused and why, what is stored,
// and the exact lines of the bad-QSO file.
#include "e2e/engine_fixture.h"

#include <cmath>
#include <limits>

using fx::BadFile;
using fx::Check;
using fx::CheckOutcome;
using fx::Qso;

TEST_CASE("AddData0 refuses a QSO for its band first, then its mode, then its numbers, one line each")
{
    support::Scratch dir("add_refused");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());

    struct Row {
        const char* band;
        const char* mode;
        const char* nrSent;
        const char* nrRcvd;
        const char* line;
    };
    const Row rows[] = {
        {"40m", "RTTY", "001", "001", "QSO:  3525  RTTY  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!"},
        {"40m", "CW", "", "", "QSO:  3525  CW  2019-05-04 2130  YL2AA  599    LY1BB  599     WRONG BAND !!!"},
        {"", "CW", "001", "001", "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!"},
        {"80 m", "CW", "001", "001", "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!"},
        {"80m", "RTTY", "", "", "QSO:  3525  RTTY  2019-05-04 2130  YL2AA  599    LY1BB  599     WRONG MODE !!!"},
        {"80m", "", "001", "001", "QSO:  3525    2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG MODE !!!"},
        {"80m", "CW", "001", "", "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599     NO NUMBER !!!"},
        {"80m", "SSB", "", "001", "QSO:  3525  SSB  2019-05-04 2130  YL2AA  599    LY1BB  599  001   NO NUMBER !!!"},
        {"80m", "CW", "", "", "QSO:  3525  CW  2019-05-04 2130  YL2AA  599    LY1BB  599     NO NUMBER !!!"},
    };
    for (const Row& row : rows) {
        INFO(row.line);
        REQUIRE(fx::Reset(host) == 1);
        HostQso q = Qso();
        q.band = row.band;
        q.mode = row.mode;
        q.nrSent = row.nrSent;
        q.nrRcvd = row.nrRcvd;
        CHECK(host.AddData(q) == 0);
        CHECK(support::ReadBytes(fx::kBadFile) == BadFile({row.line}));
        // Nothing was kept: the call is unknown on the band in either mode.
        CHECK(Check(host, "LY1BB", "CW") == CheckOutcome{1, ""});
        CHECK(Check(host, "LY1BB", "SSB") == CheckOutcome{1, ""});
        CHECK(fx::Totals(host) == "Total\t 0\t 0\t 0\t 0\r\nDupe\t 0\r\nBad QSO\t 1");
    }
}

TEST_CASE("AddData0 accepts 80M and cw in any case and keeps the texts as passed")
{
    support::Scratch dir("add_case");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    REQUIRE(fx::Reset(host) == 1);

    HostQso q = Qso();
    q.band = "80M";
    q.mode = "cw";
    q.nrRcvd = "012";
    CHECK(host.AddData(q) == 1);
    // Stored exactly as "80M"/"cw": only those texts find it again.
    CHECK(Check(host, "LY1BB", "cw", "80M", "80M") == CheckOutcome{0, "012"});
    CHECK(Check(host, "LY1BB", "CW", "80m", "80m") == CheckOutcome{1, ""});
    CHECK(Check(host, "LY1BB", "CW", "80M", "80M") == CheckOutcome{1, "012"});

    // The same call on "80m" in "CW" is another QSO, not a dupe.
    CHECK(host.AddData(Qso()) == 1);
    CHECK(support::ReadBytes(fx::kBadFile) == BadFile({}));
    CHECK(Check(host, "LY1BB", "CW", "80m", "80m") == CheckOutcome{0, "001"});
    CHECK(fx::ReportHasBand(host, "80M"));
    CHECK(fx::ReportHasBand(host, "80m"));
}

TEST_CASE("AddData0 flags every repeat of call, band and mode as a dupe with exactly one line")
{
    support::Scratch dir("add_dupe");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    REQUIRE(fx::Reset(host) == 1);

    HostQso first = Qso("LY1BB", 21, 30);
    first.nrRcvd = "012";
    HostQso second = Qso("LY1BB", 21, 40);
    second.nrSent = "002";
    second.nrRcvd = "013";
    HostQso third = Qso("LY1BB", 21, 50);
    third.nrSent = "003";
    third.nrRcvd = "014";
    CHECK(host.AddData(first) == 1);
    CHECK(support::ReadBytes(fx::kBadFile) == BadFile({}));
    CHECK(host.AddData(second) == 1);
    CHECK(host.AddData(third) == 1);
    CHECK(support::ReadBytes(fx::kBadFile) ==
          BadFile({"QSO:  3525  CW  2019-05-04 2140  YL2AA  599  002  LY1BB  599  013   DUPE !!!",
                   "QSO:  3525  CW  2019-05-04 2150  YL2AA  599  003  LY1BB  599  014   DUPE !!!"}));
    // One counted QSO (1 point: both stations in Europe, own station Baltic), two dupes.
    CHECK(fx::Totals(host) == "Total\t 1\t 1\t 1\t 0\r\nDupe\t 2\r\nBad QSO\t 0");
    // The number of the first QSO is the one remembered.
    CHECK(Check(host, "LY1BB") == CheckOutcome{0, "012"});

    SUBCASE("the same call in SSB after CW is a new QSO")
    {
        HostQso ssb = Qso("LY1BB", 22, 0);
        ssb.mode = "SSB";
        ssb.rstSent = "59";
        ssb.rstRcvd = "59";
        CHECK(host.AddData(ssb) == 1);
        CHECK(fx::Totals(host) == "Total\t 2\t 2\t 1\t 1\r\nDupe\t 2\r\nBad QSO\t 0");
        CHECK(support::ReadBytes(fx::kBadFile).find("2200") == std::string::npos);
    }
    SUBCASE("time, frequency and numbers play no part in a dupe")
    {
        HostQso same = first;
        same.freqHz = 3599000;
        same.nrSent = "777";
        same.nrRcvd = "888";
        CHECK(host.AddData(same) == 1);
        CHECK(fx::Totals(host) == "Total\t 1\t 1\t 1\t 0\r\nDupe\t 3\r\nBad QSO\t 0");
    }
}

TEST_CASE("AddData0 writes the frequency in kHz with the remainder dropped")
{
    support::Scratch dir("add_freq");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    REQUIRE(fx::Reset(host) == 1);

    const struct {
        unsigned int hz;
        const char* line;
    } rows[] = {
        {3510999, "QSO:  3510  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!"},
        {999, "QSO:  0  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!"},
        {4294967295u, "QSO:  4294967  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!"},
    };
    std::string expected = BadFile({});
    for (const auto& row : rows) {
        HostQso q = Qso();
        q.freqHz = row.hz;
        q.band = "40m";
        CHECK(host.AddData(q) == 0);
        expected += std::string(row.line) + "\r\n";
    }
    CHECK(support::ReadBytes(fx::kBadFile) == expected);

    // A stored QSO on 3510999 Hz shows 3510 in its dupe line too.
    HostQso q = Qso();
    q.freqHz = 3510999;
    CHECK(host.AddData(q) == 1);
    CHECK(host.AddData(q) == 1);
    expected += "QSO:  3510  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   DUPE !!!\r\n";
    CHECK(support::ReadBytes(fx::kBadFile) == expected);
}

TEST_CASE("AddData0 leaves the separators of an empty field side by side")
{
    support::Scratch dir("add_empty_fields");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    REQUIRE(fx::Reset(host) == 1);

    HostQso own = Qso();
    own.ownCall = "";
    own.nrSent = "";
    CHECK(host.AddData(own) == 0);

    HostQso bare = Qso("");
    bare.ownCall = bare.mode = bare.rstSent = bare.rstRcvd = bare.nrSent = bare.nrRcvd = "";
    bare.band = "";
    CHECK(host.AddData(bare) == 0);

    CHECK(support::ReadBytes(fx::kBadFile) ==
          BadFile({"QSO:  3525  CW  2019-05-04 2130    599    LY1BB  599  001   NO NUMBER !!!",
                   "QSO:  3525    2019-05-04 2130               WRONG BAND !!!"}));
}

TEST_CASE("AddData0 before any reset stores QSOs and writes no file")
{
    support::Scratch dir("add_before_reset");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());

    HostQso wrong = Qso("OK1AA");
    wrong.band = "40m";
    CHECK(host.AddData(wrong) == 0);
    CHECK(host.AddData(Qso()) == 1);
    CHECK(host.AddData(Qso()) == 1);
    CHECK(host.RemoveData(Qso("SP1AA")) == 1);

    // Version text still empty: not applicable is 4.
    CHECK(Check(host, "LY1BB") == CheckOutcome{0, "001"});
    CHECK(Check(host, "LY1BB", "CW", "40m", "40m") == CheckOutcome{4, fx::kUntouched});
    // No own station yet: a Baltic station is worth 20 points; the refused
    // QSO counts though no file could take its line.
    CHECK(fx::Totals(host) == "Total\t 1\t 20\t 1\t 0\r\nDupe\t 1\r\nBad QSO\t 1");

    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA("BadQSO*", &d);
    CHECK(h == INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
}

TEST_CASE("AddData0 takes every null text as empty and a null date-time as an empty date")
{
    support::Scratch dir("add_nulls");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());

    SUBCASE("all null at once")
    {
        REQUIRE(fx::Reset(host) == 1);
        HostQso q;
        q.ownCall = q.call = q.mode = q.rstSent = q.rstRcvd = q.nrSent = q.nrRcvd = nullptr;
        q.country = q.continent = q.band = nullptr;
        q.nullTime = true;
        CHECK(host.AddData(q) == 0);
        CHECK(host.RemoveData(q) == 1);
        q.band = "80m";
        CHECK(host.AddData(q) == 0);
        CHECK(support::ReadBytes(fx::kBadFile) ==
              BadFile({"QSO:  3525                   WRONG MODE !!!"}));
    }

    SUBCASE("one null at a time")
    {
        const struct {
            const char* HostQso::*field;
            int result;
            const char* line; // the dupe line of a second add, or the refusal
        } rows[] = {
            {&HostQso::ownCall, 1, "QSO:  3525  CW  2019-05-04 2130    599  001  LY1BB  599  001   DUPE !!!"},
            {&HostQso::call, 1, "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001    599  001   DUPE !!!"},
            {&HostQso::mode, 0, "QSO:  3525    2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG MODE !!!"},
            {&HostQso::rstSent, 1, "QSO:  3525  CW  2019-05-04 2130  YL2AA    001  LY1BB  599  001   DUPE !!!"},
            {&HostQso::rstRcvd, 1, "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB    001   DUPE !!!"},
            {&HostQso::nrSent, 0, "QSO:  3525  CW  2019-05-04 2130  YL2AA  599    LY1BB  599  001   NO NUMBER !!!"},
            {&HostQso::nrRcvd, 0, "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599     NO NUMBER !!!"},
            {&HostQso::country, 1, "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   DUPE !!!"},
            {&HostQso::continent, 1, "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   DUPE !!!"},
            {&HostQso::band, 0, "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!"},
        };
        for (const auto& row : rows) {
            INFO(row.line);
            REQUIRE(fx::Reset(host) == 1);
            HostQso q = Qso();
            q.*row.field = nullptr;
            CHECK(host.AddData(q) == row.result);
            if (row.result == 1)
                CHECK(host.AddData(q) == 1);
            CHECK(support::ReadBytes(fx::kBadFile) == BadFile({row.line}));
        }
        // A null call is stored as the empty call, and only an empty call finds it.
        REQUIRE(fx::Reset(host) == 1);
        HostQso q = Qso();
        q.call = nullptr;
        CHECK(host.AddData(q) == 1);
        CHECK(Check(host, nullptr) == CheckOutcome{0, "001"});
        CHECK(Check(host, "") == CheckOutcome{0, "001"});
        CHECK(Check(host, "LY1BB") == CheckOutcome{1, ""});
    }

    SUBCASE("null date-time pointer")
    {
        REQUIRE(fx::Reset(host) == 1);
        HostQso q = Qso();
        q.nullTime = true;
        CHECK(host.AddData(q) == 1);
        CHECK(host.AddData(q) == 1);
        CHECK(support::ReadBytes(fx::kBadFile) ==
              BadFile({"QSO:  3525  CW    YL2AA  599  001  LY1BB  599  001   DUPE !!!"}));
        CHECK(fx::Totals(host) == "Total\t 1\t 1\t 1\t 0\r\nDupe\t 1\r\nBad QSO\t 0");
    }
}

TEST_CASE("AddData0 copes with texts of 100,000 characters")
{
    support::Scratch dir("add_long");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    REQUIRE(fx::Reset(host) == 1);

    const std::string call(100000, 'C');
    const std::string own(100000, 'O');
    const std::string nr(100000, '7');
    HostQso q = Qso(call.c_str());
    q.ownCall = own.c_str();
    q.nrRcvd = nr.c_str();
    CHECK(host.AddData(q) == 1);
    CHECK(host.AddData(q) == 1);
    std::string line = "QSO:  3525  CW  2019-05-04 2130  " + own + "  599  001  " + call + "  599  " + nr + "   DUPE !!!";
    CHECK(support::ReadBytes(fx::kBadFile) == BadFile({line}));
    // The number comes back cut to 49 characters.
    CHECK(Check(host, call.c_str()) == CheckOutcome{0, std::string(49, '7')});

    // Removing it takes its record and its line.
    CHECK(host.RemoveData(q) == 1);
    CHECK(support::ReadBytes(fx::kBadFile) == BadFile({}));
    CHECK(Check(host, call.c_str()) == CheckOutcome{0, std::string(49, '7')});
    CHECK(host.RemoveData(q) == 1);
    CHECK(Check(host, call.c_str()) == CheckOutcome{1, ""});
}

TEST_CASE("AddData0 writes any date-time the host passes, 'Invalid DateTime' when it cannot be shown")
{
    support::Scratch dir("add_dates");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    REQUIRE(fx::Reset(host) == 1);

    auto date = [](double dt, int status) {
        HostDate d;
        d.dt = dt;
        d.status = status;
        return d;
    };
    const struct {
        HostDate time;
        const char* when;
    } rows[] = {
        {MakeHostDate(2019, 5, 4, 21, 29, 59.5), "2019-05-04 2130"}, // rounded to the second
        {MakeHostDate(2019, 5, 4, 23, 59, 59.6), "2019-05-05 0000"},
        {date(43589.0, 1), "Invalid DateTime"},                      // status invalid
        {date(43589.0, 2), ""},                                      // status null
        {date(-1.25, 0), "1899-12-29 0600"},                         // fraction counts forward before day 0
        {date(-0.25, 0), "1899-12-30 0600"},
        {date(0.0, 0), "1899-12-30 0000"},
        {date(2958465.5, 0), "9999-12-31 1200"},                     // last day there is
        {date(2958466.0, 0), "Invalid DateTime"},                    // beyond it
        {date(1e300, 0), "Invalid DateTime"},
        {date(-1e300, 0), "Invalid DateTime"},
        {date(std::numeric_limits<double>::quiet_NaN(), 0), "Invalid DateTime"},
        {date(std::numeric_limits<double>::infinity(), 0), "Invalid DateTime"},
    };
    std::string expected = BadFile({});
    for (const auto& row : rows) {
        HostQso q = Qso();
        q.time = row.time;
        q.band = "40m";
        CHECK(host.AddData(q) == 0);
        expected += std::string("QSO:  3525  CW  ") + row.when + "  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!\r\n";
    }
    CHECK(support::ReadBytes(fx::kBadFile) == expected);

    // Such dates do not stop a QSO from being stored.
    HostQso invalid = Qso("ES1AA");
    invalid.time = date(43589.0, 1);
    CHECK(host.AddData(invalid) == 1);
    CHECK(Check(host, "ES1AA") == CheckOutcome{0, "001"});
}
