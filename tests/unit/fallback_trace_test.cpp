// Every fallback leaves a trace: the entry point's name and what was thrown.
#include <doctest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/hooks.h"
#include "framework/barrier.h"
#include "framework/scope_exit.h"
#include "plugin/exports.h"

namespace {

std::vector<std::string> g_traces;

bool ThrowOnAsk()
{
    throw std::runtime_error("window layer failed");
}

} // namespace

TEST_CASE("a fallback sends the entry point's name and the exception's text to the trace")
{
    const auto restore = MakeScopeExit([sink = g_fallbackTrace, hooks = g_windowHooks] {
        g_fallbackTrace = sink;
        g_windowHooks = hooks;
    });
    g_traces.clear();
    g_fallbackTrace = [](const char* text) { g_traces.push_back(text); };
    g_windowHooks.isSetupWindowOpen = ThrowOnAsk;

    CHECK(RunGuarded("Answer", 7, []() -> int { throw std::length_error("log too long"); }) == 7);
    RunGuarded("Quiet", [] { throw 42; });
    CHECK(RunGuarded("Fine", 3, [] { return 4; }) == 4); // no fallback, no trace
    char nr[50] = "";
    CheckCall0("LY1BB", 0, 0, "CW", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
               "LY", 0, 0, 0, 0.0, 0.0, nullptr, "EU", nullptr, nullptr, nullptr, "80m", "80m", nr, nullptr);

    CHECK(g_traces == std::vector<std::string>{"BALTIC: Answer fell back: log too long",
                                               "BALTIC: Quiet fell back: unknown exception",
                                               "BALTIC: CheckCall0 fell back: window layer failed"});
}
