#include <doctest.h>

#include <future>

#include "e2e/window_support.h"
#include "host/host.h"

TEST_CASE("SetupSet0 shows its one message and returns when it is dismissed")
{
    for (int decorated = 0; decorated < 2; ++decorated) {
        PluginHost host("BALTIC.dll", decorated != 0);
        REQUIRE_MESSAGE(host.Loaded(), host.Error());
        std::future<SeenBox> answer = std::async(std::launch::async, [] { return AnswerNextMessageBox(); });
        host.SetupSet();
        SeenBox seen = answer.get();
        REQUIRE(seen.found);
        CHECK(seen.text == "No additional setup for this contest");
        CHECK(seen.owner == nullptr);
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
