// CheckCall0 and IsValidExchg0 through the real DLL.
#include "e2e/engine_fixture.h"

using fx::Check;
using fx::CheckOutcome;
using fx::Qso;

namespace {

// A reset whose host version is the given text (from "Qorv2.ini" in the
// current folder, which also serves as the host's folder).
void ResetWithVersion(PluginHost& host, const char* version)
{
    if (version)
        fx::WriteHostVersion(version);
    else
        DeleteFileA("Qorv2.ini");
    REQUIRE(fx::Reset(host) == 1);
}

} // namespace

TEST_CASE("CheckCall0 answers 'not applicable' with 1 for hosts 2.19 and 2.20, with 4 for any other")
{
    support::Scratch dir("check_versions");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());

    // Before any reset the version text is empty.
    CHECK(Check(host, "LY1BB", "CW", "40m", "40m") == CheckOutcome{4, fx::kUntouched});

    const struct {
        const char* version; // nullptr: no version file ("Qorv")
        int notApplicable;
    } rows[] = {
        {"2.19", 1}, {"2.20", 1}, {"2.18", 4}, {"2.21", 4}, {"2.190", 4}, {" 2.19", 4}, {"2.19 x", 4}, {"", 4}, {nullptr, 4},
    };
    for (const auto& row : rows) {
        INFO((row.version ? row.version : "<no file>"));
        ResetWithVersion(host, row.version);
        CHECK(host.AddData(Qso()) == 1);
        // Each way the QSO cannot count leaves the buffer as it was.
        CHECK(Check(host, "LY1BB", "CW", "40m", "40m") == CheckOutcome{row.notApplicable, fx::kUntouched});
        CHECK(Check(host, "LY1BB", "RTTY") == CheckOutcome{row.notApplicable, fx::kUntouched});
        CHECK(Check(host, "LY1BB", "CW", "80m", "40m") == CheckOutcome{row.notApplicable, fx::kUntouched});
        CHECK(Check(host, "LY1BB", nullptr) == CheckOutcome{row.notApplicable, fx::kUntouched});
        // The check itself does not depend on the version.
        CHECK(Check(host, "LY1BB") == CheckOutcome{0, "001"});
        CHECK(Check(host, "OK1AA") == CheckOutcome{1, ""});
    }
}

TEST_CASE("CheckCall0 compares the band with the comparison band without regard to case; null means none")
{
    support::Scratch dir("check_compare_band");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    ResetWithVersion(host, "2.18");
    HostQso q = Qso();
    q.nrRcvd = "012";
    CHECK(host.AddData(q) == 1);

    const struct {
        const char* band;
        const char* compareBand;
        CheckOutcome expected;
    } rows[] = {
        {"80m", "80m", {0, "012"}},
        {"80m", "80M", {0, "012"}},
        {"80m", nullptr, {0, "012"}},
        {"80m", "", {4, fx::kUntouched}},
        {"80m", "40m", {4, fx::kUntouched}},
        {"80m", "80m ", {4, fx::kUntouched}},
        {"80M", "80m", {1, ""}}, // applicable, but stored as "80m"
        {"80M", nullptr, {1, ""}},
        {"40m", nullptr, {4, fx::kUntouched}},
        {nullptr, "80m", {4, fx::kUntouched}},
        {nullptr, nullptr, {4, fx::kUntouched}},
        {"", "", {4, fx::kUntouched}},
    };
    for (const auto& row : rows) {
        INFO((row.band ? row.band : "<null>"));
        INFO((row.compareBand ? row.compareBand : "<null>"));
        CHECK(Check(host, "LY1BB", "CW", row.band, row.compareBand) == row.expected);
    }
}

TEST_CASE("CheckCall0 hands back the number of the first QSO in the mode, else of the last one in another mode")
{
    support::Scratch dir("check_number");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    ResetWithVersion(host, "2.19");

    auto add = [&host](const char* call, const char* mode, const char* band, const char* nr) {
        HostQso q = Qso(call);
        q.mode = mode;
        q.band = band;
        q.nrRcvd = nr;
        CHECK(host.AddData(q) == 1);
    };
    add("LY1BB", "SSB", "80m", "100");
    add("LY1BB", "CW", "80m", "012");
    add("LY1BB", "CW", "80m", "013"); // dupe
    add("LY1BB", "SSB", "80m", "101"); // dupe
    add("ES1AA", "SSB", "80m", "200");
    add("ES1AA", "SSB", "80m", "201"); // dupe
    add("ES1AA", "SSB", "80M", "300");

    const struct {
        const char* call;
        const char* mode;
        const char* band;
        CheckOutcome expected;
    } rows[] = {
        {"LY1BB", "CW", "80m", {0, "012"}},
        {"LY1BB", "SSB", "80m", {0, "100"}},
        {"ES1AA", "SSB", "80m", {0, "200"}},
        {"ES1AA", "CW", "80m", {1, "201"}},  // last of the other mode
        {"ES1AA", "cw", "80m", {1, "201"}},  // an allowed mode, but stored as "CW" nowhere
        {"LY1BB", "cw", "80m", {1, "101"}},
        {"ES1AA", "CW", "80M", {1, "300"}},  // bands apart, case by case
        {"LY1BB", "CW", "80M", {1, ""}},
        {"ly1bb", "CW", "80m", {1, ""}},
        {"LY1B", "CW", "80m", {1, ""}},
        {"OK1AA", "CW", "80m", {1, ""}},
        {"", "CW", "80m", {1, ""}},
        {nullptr, "CW", "80m", {1, ""}},
    };
    for (const auto& row : rows) {
        INFO((row.call ? row.call : "<null>"));
        INFO(row.mode);
        INFO(row.band);
        CHECK(Check(host, row.call, row.mode, row.band, row.band) == row.expected);
    }

    // The store is not touched by checking.
    CHECK(fx::Totals(host) == "Total\t 4\t 4\t 1\t 3\r\nDupe\t 3\r\nBad QSO\t 0");
}

TEST_CASE("CheckCall0 writes at most 49 characters and a NUL, and skips a null buffer")
{
    support::Scratch dir("check_buffer");
    PluginHost host(fx::DllPath());
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    ResetWithVersion(host, "2.20");

    const std::string nr48(48, '4'), nr49(49, '9'), nr50 = std::string(49, '5') + "X", nr80(80, '8');
    const struct {
        const char* call;
        const std::string* nr;
    } rows[] = {{"ES1AA", &nr48}, {"ES2AA", &nr49}, {"ES3AA", &nr50}, {"ES4AA", &nr80}};
    for (const auto& row : rows) {
        HostQso q = Qso(row.call);
        q.nrRcvd = row.nr->c_str();
        CHECK(host.AddData(q) == 1);
    }
    const struct {
        const char* call;
        std::string text;
    } expected[] = {{"ES1AA", nr48}, {"ES2AA", nr49}, {"ES3AA", std::string(49, '5')}, {"ES4AA", std::string(49, '8')}};
    for (const auto& row : expected) {
        INFO(row.call);
        char buf[64];
        std::memset(buf, '#', sizeof buf);
        HostCheck c;
        c.call = row.call;
        c.nrOut = buf;
        CHECK(host.CheckCall(c) == 0);
        CHECK(std::string(buf) == row.text);
        // Nothing past the 50 bytes the host owns.
        CHECK(buf[50] == '#');
        CHECK(buf[63] == '#');
    }

    HostCheck noBuffer;
    noBuffer.call = "ES4AA";
    noBuffer.nrOut = nullptr;
    CHECK(host.CheckCall(noBuffer) == 0);
    noBuffer.call = "OK1AA";
    CHECK(host.CheckCall(noBuffer) == 1);

    // Every text of the block null, and no buffer.
    HostCheck nulls;
    nulls.call = nulls.mode = nulls.country = nulls.continent = nulls.band = nulls.compareBand = nullptr;
    CHECK(host.CheckCall(nulls) == 1);
}

TEST_CASE("CheckCall0 answers the same through its decorated name CheckCallFunc0")
{
    support::Scratch dir("check_decorated");
    PluginHost host(fx::DllPath(), true);
    REQUIRE_MESSAGE(host.Loaded(), host.Error());
    ResetWithVersion(host, "2.19");
    HostQso q = Qso();
    q.nrRcvd = "042";
    CHECK(host.AddData(q) == 1);
    CHECK(Check(host, "LY1BB") == CheckOutcome{0, "042"});
    CHECK(Check(host, "LY1BB", "SSB") == CheckOutcome{1, "042"});
    CHECK(Check(host, "LY1BB", "CW", "40m", "40m") == CheckOutcome{1, fx::kUntouched});
}

TEST_CASE("IsValidExchg0 accepts three or four ASCII digits, never 599")
{
    const struct {
        const char* exchange;
        int valid;
    } rows[] = {
        {"123", 1}, {"001", 1}, {"000", 1}, {"0001", 1}, {"5999", 1}, {"9999", 1}, {"0599", 1},
        {"599", 0}, {"1", 0},   {"12", 0},  {"12345", 0}, {"12a", 0}, {"a123", 0}, {"", 0},
        {nullptr, 0}, {" 12", 0}, {"12 ", 0}, {"-12", 0}, {"+123", 0}, {"1.5", 0},
        {"\xd9\xa1\xd9", 0}, // three bytes, not digits
        {"12\xb2", 0},        // superscript two in the ANSI code page
    };
    for (int decorated = 0; decorated < 2; ++decorated) {
        PluginHost host(fx::DllPath(), decorated != 0);
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
        for (const auto& row : rows) {
            CAPTURE(decorated);
            INFO((row.exchange ? row.exchange : "<null>"));
            CHECK(host.IsValidExchg(row.exchange) == row.valid);
        }
    }
}
