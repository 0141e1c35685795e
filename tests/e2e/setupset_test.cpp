#include <doctest.h>

#include "host/host.h"
#include "support/message_boxes.h"

TEST_CASE("SetupSet0 shows its one message and returns when it is dismissed")
{
    for (int decorated = 0; decorated < 2; ++decorated) {
        PluginHost host("BALTIC.dll", decorated != 0);
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
        support::BoxAnswerer answerer;
        host.SetupSet();
        const std::vector<support::SeenBox> seen = answerer.Seen();
        REQUIRE(seen.size() == 1);
        CHECK(seen[0].text == "No additional setup for this contest");
        CHECK_FALSE(seen[0].owned);
    }
}

TEST_CASE("the module loads and unloads repeatedly without a window open")
{
    for (int i = 0; i < 3; ++i) {
        PluginHost host("BALTIC.dll");
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
        DWORD start = GetTickCount();
        host.Unload();
        // Unloading waits only for its short pause when no window is open.
        CHECK(GetTickCount() - start < 5000);
    }
}
