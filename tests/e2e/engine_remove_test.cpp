// RemoveData0 through the real DLL: which record leaves the store, and which
// lines leave the bad-QSO file.
#include <cmath>

#include "e2e/engine_fixture.h"

using fx::BadFile;
using fx::Check;
using fx::CheckOutcome;
using fx::Qso;

namespace {

HostQso Refused(const char* call, const char* mode = "CW", int day = 4, int hour = 21, int minute = 30,
                double second = 0.0)
{
    HostQso q = Qso(call, hour, minute, second);
    q.time = MakeHostDate(2019, 5, day, hour, minute, second);
    q.mode = mode;
    q.band = "40m";
    return q;
}

} // namespace

TEST_CASE("RemoveData0 drops only the lines whose worked-call field, date, minute and mode are the QSO's")
{
    support::Scratch dir("remove_filter");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    REQUIRE(fx::Reset(host) == 1);

    HostQso kept = Qso();
    kept.nrRcvd = "012";
    HostQso dupe = Qso();
    dupe.nrSent = "002";
    dupe.nrRcvd = "013";
    CHECK(host.AddData(kept) == 1);
    CHECK(host.AddData(dupe) == 1);

    CHECK(host.AddData(Refused("LY1BB")) == 0);               // same QSO, other band: goes
    HostQso noNumber = Qso("LY1BB", 21, 30, 40.0);             // same minute, other second: goes
    noNumber.nrRcvd = "";
    CHECK(host.AddData(noNumber) == 0);
    CHECK(host.AddData(Refused("LY1BBB")) == 0);              // the call inside a longer one: stays
    CHECK(host.AddData(Refused("LY1BB/P")) == 0);             // stays
    HostQso ownField = Refused("OK1AA");                       // the call as own call: stays
    ownField.ownCall = "LY1BB";
    CHECK(host.AddData(ownField) == 0);
    HostQso nrField = Refused("OK1AA");                        // the call as received number: stays
    nrField.nrRcvd = "LY1BB";
    CHECK(host.AddData(nrField) == 0);
    CHECK(host.AddData(Refused("LY1BB", "CW", 5)) == 0);      // same minute, next day: stays
    CHECK(host.AddData(Refused("LY1BB", "SSB")) == 0);        // other mode: stays
    CHECK(host.AddData(Refused("LY1BB", "cw")) == 0);         // mode in other case: stays
    CHECK(host.AddData(Refused("LY1BB", "CW", 4, 21, 31)) == 0); // next minute: stays

    CHECK(host.RemoveData(Qso()) == 1);
    CHECK(support::ReadBytes(fx::kBadFile) ==
          BadFile({"QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BBB  599  001   WRONG BAND !!!",
                   "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB/P  599  001   WRONG BAND !!!",
                   "QSO:  3525  CW  2019-05-04 2130  LY1BB  599  001  OK1AA  599  001   WRONG BAND !!!",
                   "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  OK1AA  599  LY1BB   WRONG BAND !!!",
                   "QSO:  3525  CW  2019-05-05 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!",
                   "QSO:  3525  SSB  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!",
                   "QSO:  3525  cw  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!",
                   "QSO:  3525  CW  2019-05-04 2131  YL2AA  599  001  LY1BB  599  001   WRONG BAND !!!"}));

    // The first of the two identical QSOs went; the one left keeps its dupe flag.
    CHECK(Check(host, "LY1BB") == CheckOutcome{0, "013"});
    CHECK(fx::Totals(host) == "Total\t 0\t 0\t 0\t 0\r\nDupe\t 1\r\nBad QSO\t 8");

    CHECK(host.RemoveData(Qso()) == 1);
    CHECK(Check(host, "LY1BB") == CheckOutcome{1, ""});
    CHECK(fx::Totals(host) == "Total\t 0\t 0\t 0\t 0\r\nDupe\t 0\r\nBad QSO\t 8");
}

TEST_CASE("RemoveData0 matches the stored time to the fraction of a second; the file only to the minute")
{
    support::Scratch dir("remove_time");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());

    auto date = [](double dt, int status) {
        HostDate d;
        d.dt = dt;
        d.status = status;
        return d;
    };
    const HostDate at2130 = MakeHostDate(2019, 5, 4, 21, 30);
    const struct {
        const char* what;
        HostDate stored;
        HostDate passed;
        bool nullPointer; // the removal passes no date-time at all
        bool removed;
    } rows[] = {
        {"the same time", at2130, at2130, false, true},
        {"one second later", at2130, MakeHostDate(2019, 5, 4, 21, 30, 1.0), false, false},
        {"a tenth of a second later", at2130, MakeHostDate(2019, 5, 4, 21, 30, 0.1), false, false},
        {"same day count, stored valid, passed invalid", at2130, date(at2130.dt, 1), false, false},
        // The host removes with the very date it added: even an invalid one.
        {"both invalid", date(at2130.dt, 1), date(at2130.dt, 1), false, true},
        {"both invalid, other day counts", date(at2130.dt, 1), date(5.0, 1), false, false},
        {"both not a number", date(std::nan(""), 0), date(std::nan(""), 0), false, true},
        {"both null, other day counts", date(0.0, 2), date(at2130.dt, 2), false, true},
        {"stored null, passed as a null pointer", date(5.0, 2), at2130, true, true},
        {"both valid day 0", date(0.0, 0), date(0.0, 0), false, true},
    };
    for (const auto& row : rows) {
        INFO(row.what);
        REQUIRE(fx::Reset(host) == 1);
        HostQso q = Qso();
        q.time = row.stored;
        CHECK(host.AddData(q) == 1);
        HostQso r = Qso();
        r.time = row.passed;
        r.nullTime = row.nullPointer;
        CHECK(host.RemoveData(r) == 1);
        CHECK(Check(host, "LY1BB") == (row.removed ? CheckOutcome{1, ""} : CheckOutcome{0, "001"}));
    }

    SUBCASE("a dupe one second off stays in the store, but its line goes")
    {
        REQUIRE(fx::Reset(host) == 1);
        CHECK(host.AddData(Qso()) == 1);
        CHECK(host.AddData(Qso()) == 1);
        CHECK(support::ReadBytes(fx::kBadFile) ==
              BadFile({"QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   DUPE !!!"}));
        CHECK(host.RemoveData(Qso("LY1BB", 21, 30, 1.0)) == 1);
        CHECK(support::ReadBytes(fx::kBadFile) == BadFile({}));
        CHECK(fx::Totals(host) == "Total\t 1\t 1\t 1\t 0\r\nDupe\t 1\r\nBad QSO\t 0");
    }
    SUBCASE("an invalid time is written and removed as 'Invalid DateTime'")
    {
        REQUIRE(fx::Reset(host) == 1);
        HostQso q = Refused("LY1BB");
        q.time = date(at2130.dt, 1);
        CHECK(host.AddData(q) == 0);
        HostQso other = Refused("OK1AA");
        other.time = date(at2130.dt, 1);
        CHECK(host.AddData(other) == 0);
        CHECK(host.RemoveData(q) == 1);
        CHECK(support::ReadBytes(fx::kBadFile) ==
              BadFile({"QSO:  3525  CW  Invalid DateTime  YL2AA  599  001  OK1AA  599  001   WRONG BAND !!!"}));
    }
}

TEST_CASE("RemoveData0 takes out the line of a refused QSO and leaves the store alone")
{
    support::Scratch dir("remove_refused");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    REQUIRE(fx::Reset(host) == 1);

    CHECK(host.AddData(Qso("LY1BB", 20, 0)) == 1);
    HostQso wrongBand = Qso("ES1AA", 20, 10);
    wrongBand.band = "40m";
    HostQso wrongMode = Qso("ES2BB", 20, 20);
    wrongMode.mode = "FM";
    HostQso noNumber = Qso("ES3CC", 20, 30);
    noNumber.nrSent = "";
    CHECK(host.AddData(wrongBand) == 0);
    CHECK(host.AddData(wrongMode) == 0);
    CHECK(host.AddData(noNumber) == 0);
    const std::string bandLine = "QSO:  3525  CW  2019-05-04 2010  YL2AA  599  001  ES1AA  599  001   WRONG BAND !!!";
    const std::string modeLine = "QSO:  3525  FM  2019-05-04 2020  YL2AA  599  001  ES2BB  599  001   WRONG MODE !!!";
    const std::string numberLine = "QSO:  3525  CW  2019-05-04 2030  YL2AA  599    ES3CC  599  001   NO NUMBER !!!";
    REQUIRE(support::ReadBytes(fx::kBadFile) == BadFile({bandLine, modeLine, numberLine}));
    const std::string totals = "Total\t 1\t 1\t 1\t 0\r\nDupe\t 0\r\nBad QSO\t ";

    CHECK(host.RemoveData(wrongMode) == 1);
    CHECK(support::ReadBytes(fx::kBadFile) == BadFile({bandLine, numberLine}));
    CHECK(fx::Totals(host) == totals + "2");
    CHECK(host.RemoveData(wrongBand) == 1);
    CHECK(support::ReadBytes(fx::kBadFile) == BadFile({numberLine}));
    CHECK(host.RemoveData(noNumber) == 1);
    CHECK(support::ReadBytes(fx::kBadFile) == BadFile({}));
    CHECK(fx::Totals(host) == totals + "0");
    CHECK(Check(host, "LY1BB") == CheckOutcome{0, "001"});
}

TEST_CASE("RemoveData0 empties the band list only when the store is empty")
{
    support::Scratch dir("remove_bands");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    REQUIRE(fx::Reset(host) == 1);

    HostQso upper = Qso("ES1AA", 20, 0);
    upper.band = "80M";
    CHECK(host.AddData(Qso()) == 1);
    CHECK(host.AddData(upper) == 1);

    // Not stored: nothing changes.
    CHECK(host.RemoveData(Qso("SP1XYZ")) == 1);
    CHECK(fx::ReportHasBand(host, "80m"));
    CHECK(fx::ReportHasBand(host, "80M"));

    // The last QSO of "80M" goes, but its band stays while another QSO is left.
    CHECK(host.RemoveData(upper) == 1);
    CHECK(fx::ReportHasBand(host, "80M"));
    CHECK(fx::ReportHasBand(host, "80m"));

    CHECK(host.RemoveData(Qso()) == 1);
    CHECK_FALSE(fx::ReportHasBand(host, "80M"));
    CHECK_FALSE(fx::ReportHasBand(host, "80m"));
    CHECK(fx::Totals(host) == "Total\t 0\t 0\t 0\t 0\r\nDupe\t 0\r\nBad QSO\t 0");

    // A band added afterwards is the only one.
    CHECK(host.AddData(upper) == 1);
    CHECK(fx::ReportHasBand(host, "80M"));
    CHECK_FALSE(fx::ReportHasBand(host, "80m"));
}

TEST_CASE("RemoveData0 always leaves the header as the file's first line")
{
    support::Scratch dir("remove_header");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());

    const std::string line = "QSO:  3525  CW  2019-05-04 2010  YL2AA  599  001  ES1AA  599  001   WRONG BAND !!!";
    const struct {
        const char* what;
        const char* before; // nullptr: no file
        std::string after;
    } rows[] = {
        {"a file with its header", "BALTIC CW/SSB TEST UBN file \r\n", BadFile({})},
        {"no file", nullptr, BadFile({})},
        {"an empty file", "", BadFile({})},
        {"a file that lost its header", "QSO:  3525  CW  2019-05-04 2010  YL2AA  599  001  ES1AA  599  001   WRONG BAND !!!\r\n",
         BadFile({line})},
        {"lines ending in LF only", "BALTIC CW/SSB TEST UBN file \nQSO:  3525  CW  2019-05-04 2010  YL2AA  599  001  ES1AA  599  001   WRONG BAND !!!\n",
         BadFile({line})},
    };
    for (const auto& row : rows) {
        INFO(row.what);
        REQUIRE(fx::Reset(host) == 1);
        CHECK(host.AddData(Qso()) == 1);
        if (row.before)
            support::WriteBytes(fx::kBadFile, row.before);
        else
            DeleteFileA(fx::kBadFile);
        CHECK(host.RemoveData(Qso("SP1XYZ")) == 1);
        CHECK(support::ReadBytes(fx::kBadFile) == row.after);
        CHECK(host.RemoveData(Qso()) == 1);
        CHECK(support::ReadBytes(fx::kBadFile) == row.after);
    }
}

TEST_CASE("RemoveData0 compares call, mode and band case by case")
{
    support::Scratch dir("remove_case");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());

    const std::string dupeLine = "QSO:  3525  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  001   DUPE !!!";
    const struct {
        const char* call;
        const char* mode;
        const char* band;
        bool lineGoes; // the file filter does not look at the band
    } rows[] = {
        {"LY1BB", "CW", "80M", true},
        {"LY1BB", "cw", "80m", false},
        {"ly1bb", "CW", "80m", false},
    };
    for (const auto& row : rows) {
        INFO(row.call);
        INFO(row.mode);
        INFO(row.band);
        REQUIRE(fx::Reset(host) == 1);
        CHECK(host.AddData(Qso()) == 1);
        CHECK(host.AddData(Qso()) == 1);
        HostQso r = Qso(row.call);
        r.mode = row.mode;
        r.band = row.band;
        CHECK(host.RemoveData(r) == 1);
        CHECK(fx::Totals(host) == "Total\t 1\t 1\t 1\t 0\r\nDupe\t 1\r\nBad QSO\t 0");
        CHECK(support::ReadBytes(fx::kBadFile) == (row.lineGoes ? BadFile({}) : BadFile({dupeLine})));
    }
}
