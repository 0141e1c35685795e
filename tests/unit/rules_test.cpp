#include <doctest.h>

#include "engine/rules.h"

TEST_CASE("band and mode rules ignore case and refuse everything else")
{
    struct Case {
        const CContestRules& rules;
        const char* text;
        int expected;
    } cases[] = {
        {g_bandRules, "80m", 1}, {g_bandRules, "80M", 1}, {g_bandRules, "40m", 0}, {g_bandRules, "", 0},
        {g_bandRules, nullptr, 0}, {g_bandRules, "80m ", 0}, {g_modeRules, "cw", 1}, {g_modeRules, "SSB", 1},
        {g_modeRules, "ssb", 1}, {g_modeRules, "RTTY", 0}, {g_modeRules, "C", 0}, {g_modeRules, "", 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text ? c.text : "(null)");
        CHECK(c.rules.Contains(c.text) == c.expected);
    }
}
