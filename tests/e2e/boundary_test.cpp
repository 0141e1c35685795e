#include <doctest.h>

#include <cstring>

#include "host/host.h"

TEST_CASE("the small entry points answer through plain and decorated names")
{
    for (int decorated = 0; decorated < 2; ++decorated) {
        PluginHost host("BALTIC.dll", decorated != 0);
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
        CHECK(host.GetNumberOfSets() == 1);
        CHECK(host.GetExchgCount() == 1);
        CHECK(host.StatsGetExchgCount("a", nullptr, "c") == 1);
        CHECK(std::strcmp(host.GetSetName(0), "Baltic Contest") == 0);
        CHECK(std::strcmp(host.GetSetName(1), "") == 0);
        CHECK(std::strcmp(host.GetSetName(-1), "") == 0);
        CHECK(host.SetVersion(nullptr) == 0);
        CHECK(host.SetVersion("2.20") == 0);
    }
}
