// The calls back to the host: made from a thread of their own, answered by
// a host object that lives on this thread, as the Setup thread and the
// host logger do.
#ifdef _WIN32
#include <doctest.h>

#include <atomic>
#include <string>

#include "host/fake_host_app.h"
#include "host/thread.h"
#include "ui/host_link.h"

namespace {

// Runs body on a thread with COM of its own while this thread answers the
// host object's calls (bounded).
template <class Body>
void OnSetupThread(Body body)
{
    std::atomic<bool> done{false};
    HostThread setup([&] {
        HRESULT hr = CoInitialize(nullptr);
        body();
        g_hostApp.ReleaseDispatch(); // on the thread that holds the reference
        if (SUCCEEDED(hr))
            CoUninitialize();
        done = true;
    });
    for (int i = 0; i < 500 && !done; ++i)
        FakeHostApp::PumpFor(20);
    setup.join();
}

} // namespace

TEST_CASE("the host link reads and drives the running host object across threads")
{
    FakeHostApp host;
    REQUIRE_MESSAGE(host.Running(), host.Error());
    host.SetFrequency(3525500.0);
    host.SetFieldText("LY1BB");

    bool connected = false;
    double hz = 0.0;
    std::string call, failure;
    OnSetupThread([&] {
        connected = ConnectToHost();
        RunMacro("<MODE:CW>");
        RunMacro("<BAUDRATE:27>");
        hz = GetFrequency();
        call = GetFieldText(5).GetString();
        host.SetFailing(true);
        try {
            RunMacro("<MODE:SSB>");
        } catch (const COleDispatchException& e) {
            failure = e.what();
        }
    });
    CHECK(connected);
    CHECK(host.Macros() == std::vector<std::string>{"<MODE:CW>", "<BAUDRATE:27>"});
    CHECK(hz == 3525500.0);
    CHECK(call == "LY1BB");
    CHECK(failure == "The host's automation call 16 failed: The host refused the call");
}

TEST_CASE("without a host object the link finds nothing and every call does nothing")
{
    bool connected = true, threw = false;
    double hz = -1.0;
    std::string call = "unchanged";
    OnSetupThread([&] {
        try {
            connected = ConnectToHost();
            RunMacro("<MODE:CW>");
            hz = GetFrequency();
            call = GetFieldText(5).GetString();
        } catch (...) {
            threw = true;
        }
    });
    CHECK_FALSE(connected);
    CHECK_FALSE(threw);
    CHECK(hz == 0.0);
    CHECK(call.empty());
}
#endif
