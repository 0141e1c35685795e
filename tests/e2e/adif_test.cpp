#include <doctest.h>

#include <string>
#include <vector>

#include "host/adif.h"

TEST_CASE("ADIF: header text and fields, names in any case, values measured in bytes")
{
    const std::string text =
        "Made by hand <not a tag\r\n"
        "<ADIF_VER:5>3.1.4 <programid:4>test <EOH>\r\n"
        "<call:5>LY2AB<QSO_DATE:8:D>20240518 <Time_On:4>2105 <COMMENT:7>a<b>c<d <EOR>\r\n"
        "junk between records <CALL:4>YL2A<NAME:7>Z\xC3\xBCrich<eor>\r\n"
        "<EOR>\r\n";
    AdifLog log = ParseAdif(text, "t.adi");
    CHECK(log.problems.empty());
    CHECK(log.header["ADIF_VER"] == "3.1.4");
    CHECK(log.header["PROGRAMID"] == "test");
    REQUIRE(log.records.size() == 2);
    const AdifRecord& a = log.records[0];
    CHECK(a.number == 1);
    CHECK(a.Get("CALL") == "LY2AB");
    CHECK(a.Get("call") == "LY2AB");
    CHECK(a.Get("QSO_DATE") == "20240518");
    CHECK(a.Get("TIME_ON") == "2105");
    CHECK(a.Get("COMMENT") == "a<b>c<d");
    CHECK(a.Has("comment"));
    CHECK_FALSE(a.Has("FREQ"));
    CHECK(a.Get("FREQ").empty());
    const AdifRecord& b = log.records[1];
    CHECK(b.number == 2);
    CHECK(b.Get("NAME") == "Z\xC3\xBCrich");
    CHECK(b.fields.size() == 2);
}

TEST_CASE("ADIF: a header of fields alone, and no header at all")
{
    AdifLog withHeader = ParseAdif("<ADIF_VER:5>3.1.4<eoh><CALL:4>ES5Q<eor>", "t.adi");
    CHECK(withHeader.problems.empty());
    CHECK(withHeader.header["ADIF_VER"] == "3.1.4");
    REQUIRE(withHeader.records.size() == 1);
    CHECK(withHeader.records[0].Get("CALL") == "ES5Q");
    CHECK_FALSE(withHeader.records[0].Has("ADIF_VER"));

    AdifLog bare = ParseAdif("\xEF\xBB\xBF\n<CALL:4>ES5Q<EOR><CALL:0><EOR>", "t.adi");
    CHECK(bare.problems.empty());
    CHECK(bare.header.empty());
    REQUIRE(bare.records.size() == 2);
    CHECK(bare.records[1].Has("CALL"));
    CHECK(bare.records[1].Get("CALL").empty());
}

TEST_CASE("ADIF: a malformed record is reported with its number and the others still read")
{
    struct Case {
        const char* text;
        std::vector<std::string> calls; // of the records read
        std::vector<int> numbers;
        std::string problem;
    };
    const Case cases[] = {
        {"<CALL:x>LY2AB<EOR><CALL:4>ES5Q<EOR>", {"ES5Q"}, {2},
         "t.adi: record 1: malformed tag \"<CALL:x>\" (the length is not a number)"},
        {"<CALL:4>ES5Q<EOR><CALL:5 LY2AB<EOR><CALL:4>YL2A<EOR>", {"ES5Q", "YL2A"}, {1, 3},
         "t.adi: record 2: malformed tag \"<CALL:5 LY2AB\" (no closing '>')"},
        {"<CALL:4>ES5Q<EOR><CALL:9>LY2AB<EOR><CALL:4>YL2A<EOR>", {"ES5Q", "YL2A"}, {1, 3},
         "t.adi: record 2: the value of CALL (9 bytes) runs past the end of its record"},
        {"<CALL:4>ES5Q<EOR><CALL:6>LY2AB<EOR><CALL:4>YL2A<EOR><CALL:4>OH1A<EOR>", {"ES5Q", "OH1A"}, {1, 3},
         "t.adi: record 2: CALL appears twice in the record"},
        {"<CALL:4>ES5Q<EOR><CALL:20>LY2AB", {"ES5Q"}, {1},
         "t.adi: record 2: the value of CALL (20 bytes) runs past the end of the file"},
        {"<CALL:4>ES5Q<EOR><CALL:5>LY2AB", {"ES5Q"}, {1},
         "t.adi: record 2: no <EOR> before the end of the file, record left out"},
        {"<CALL:4>ES5Q<EOR><FOO>x<CALL:5>LY2AB<EOR><CALL:4>YL2A<EOR>", {"ES5Q", "YL2A"}, {1, 3},
         "t.adi: record 2: malformed tag \"<FOO>\" (no length)"},
        {"<CALL:4>ES5Q<EOR><:4>LY2A<EOR>", {"ES5Q"}, {1}, "t.adi: record 2: malformed tag \"<:4>\""},
        {"Header text that never ends <CALL:4>ES5Q<EOR>", {}, {}, "t.adi: the header text has no <EOH>, no record read"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text);
        AdifLog log = ParseAdif(c.text, "t.adi");
        REQUIRE(log.problems.size() == 1);
        CHECK(log.problems[0] == c.problem);
        REQUIRE(log.records.size() == c.calls.size());
        for (size_t i = 0; i < c.calls.size(); ++i) {
            CHECK(log.records[i].Get("CALL") == c.calls[i]);
            CHECK(log.records[i].number == c.numbers[i]);
        }
    }
}

TEST_CASE("ADIF: a file that does not exist gives one problem naming it")
{
    AdifLog log = ReadAdifFile("no-such-folder\\no-such-log.adi");
    CHECK(log.records.empty());
    REQUIRE(log.problems.size() == 1);
    CHECK(log.problems[0] == "no-such-folder\\no-such-log.adi: cannot open the file");
}
