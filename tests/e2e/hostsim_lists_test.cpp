#include <doctest.h>

#include <string>
#include <vector>

#include "host/cty.h"
#include "host/scp.h"

namespace {

// A country file in the form of cty.dat, with each kind of entry it holds.
const char* const kCountries =
    "Lithuania:                15:  29:  EU:   55.45:   -23.63:    -2.0:  LY:\n"
    "    LY,=LY2XX/MM(14)[28];\n"
    "Asiatic Testland:         17:  30:  AS:   55.88:   -84.08:    -7.0:  UA9:\n"
    "    UA9,R9<55.0/-80.0>~-6.0~,\n"
    "    =UA9ZZ{EU};\n"
    "European Turkey:          20:  39:  EU:   41.02:   -28.97:    -2.0:  *TA1:\n"
    "    TA1(20){EU},=TA1/DL1AA{AS};\n"
    "Hawaii:                   31:  61:  OC:   21.12:   157.48:    10.0:  KH6:\n"
    "    AH6,KH6,NH6,WH6;\n"
    "United States:            05:  08:  NA:   37.60:    91.87:     5.0:  K:\n"
    "    AA,K,N,W,=VER20240101;\n"
    "Sweden:                   14:  18:  EU:   58.90:   -15.33:    -1.0:  SM:\n"
    "    SM,7S;\n";

} // namespace

TEST_CASE("country file: exact calls, the longest prefix and the portable forms give the entity and continent")
{
    CCountryFile file;
    std::string error;
    REQUIRE_MESSAGE(file.Parse(kCountries, "t.dat", error), error);
    CHECK(file.EntityCount() == 6);
    CHECK(file.Date() == "2024-01-01");
    struct Case {
        const char* call;
        const char* prefix; // "" when not found
        const char* continent;
    };
    const Case cases[] = {
        {"LY2AB", "LY", "EU"},      {"ly2ab", "LY", "EU"},      {"LY2XX/MM", "LY", "EU"},
        {"UA9ABC", "UA9", "AS"},    {"UA9ZZ", "UA9", "EU"},     {"R9ABC", "UA9", "AS"},
        {"TA1AB", "TA1", "EU"},     {"TA1/DL1AA", "TA1", "AS"}, {"KH6/K1ABC", "KH6", "OC"},
        {"K1ABC/KH6", "KH6", "OC"}, {"SM5XYZ/LY", "LY", "EU"},  {"LY/SM5XYZ", "LY", "EU"},
        {"SM5XYZ/P", "SM", "EU"},   {"SM5XYZ/M", "SM", "EU"},   {"SM5XYZ/MM", "SM", "EU"},
        {"SM5XYZ/AM", "SM", "EU"},  {"SM5XYZ/QRP", "SM", "EU"}, {"K1ABC/4", "K", "NA"},
        {"LY/SM5XYZ/P", "LY", "EU"}, {"SM5XYZ/XX", "SM", "EU"}, {"QQ1ABC", "", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const std::string call = c.call;
        CAPTURE(call);
        const CountryMatch m = file.Find(c.call);
        CHECK((m.entity ? m.entity->prefix : std::string()) == c.prefix);
        CHECK(m.continent == c.continent);
    }

    struct Bad {
        const char* text;
        const char* error;
    };
    const Bad bads[] = {
        {"Lithuania: 15: 29: EU: 55.45: -23.63: -2.0:\n  LY;\n", "t.dat: line 1: an entity's line needs eight fields ended by ':'"},
        {"Lithuania: 15: 29: EU: 55.45: -23.63: -2.0: LY:\n  LY,\n", "t.dat: line 1: entity \"Lithuania\": its list of prefixes has no ';'"},
        {"Sweden: 14: 18: EU: 58.9: -15.3: -1.0: SM:\n SM;\nLithuania: 15: 29: XX: 55.45: -23.63: -2.0: LY:\n LY;\n",
         "t.dat: line 3: entity \"Lithuania\": no name, no prefix or no continent (AF, AN, AS, EU, NA, OC or SA): \"XX\""},
        {"Lithuania: 15: 29: EU: 55.45: -23.63: -2.0: LY:\n  LY{EX};\n", "t.dat: line 1: entity \"Lithuania\": \"LY{EX}\" names no continent"},
        {"Lithuania: 15: 29: EU: 55.45: -23.63: -2.0: LY:\n  LY(15;\n", "t.dat: line 1: entity \"Lithuania\": \"LY(15\" has an unclosed override"},
        {"\n\n", "t.dat: line 1: no entity in the file"},
    };
    for (const Bad& b : bads) {
        const std::string text = b.text;
        CAPTURE(text);
        CHECK_FALSE(file.Parse(b.text, "t.dat", error));
        CHECK(error == b.error);
        CHECK(file.EntityCount() == 0);
    }
}

TEST_CASE("country file: the built-in copy knows the Baltic states, the continents and its date")
{
    std::string error;
    const CCountryFile& file = BuiltInCountryFile(&error);
    REQUIRE_MESSAGE(error.empty(), error);
    CHECK(file.Date().size() == 10);
    for (const char* call : {"LY2AB", "ES5Q", "YL2KL"})
        CHECK(file.Find(call).continent == "EU");
    CHECK(file.Find("YL2KL").entity->name == "Latvia");
    CHECK(file.Find("JA1ABC").continent == "AS");
}

TEST_CASE("call list: a worked call not in the list, one character from calls in it, gets them as hints")
{
    CCallList list;
    list.Parse("#\n# Release 2024.01.01.00\n#\nLY2AB\nLY2AD\nSM5XYZ\r\nK1ABC\n  OH2BH \n\n");
    CHECK(list.Size() == 5);
    CHECK(list.Release() == "2024.01.01.00");
    struct Case {
        const char* call;
        std::vector<std::string> hints;
    };
    const Case cases[] = {
        {"LY2AC", {"LY2AB", "LY2AD"}}, // one changed, either way
        {"SM5XY", {"SM5XYZ"}},         // one dropped
        {"K1ABCD", {"K1ABC"}},         // one added
        {"KK1ABC", {"K1ABC"}},
        {"OH2BG", {"OH2BH"}},
        {"oh2bg", {"OH2BH"}},
        {"LY2AC/P", {"LY2AB", "LY2AD"}}, // the call of a portable form
        {"LY2AB", {}},                    // in the list
        {"LY2AB/P", {}},
        {"oh2bh", {}},
        {"JA1ZZZ", {}}, // far from every call
        {"SM5X", {}},   // two dropped
    };
    for (const Case& c : cases) {
        const std::string call = c.call;
        CAPTURE(call);
        CHECK(list.Hints(c.call) == c.hints);
    }
}
