// The calls back to the host: made from a thread of their own, answered by
// a host object that lives on this thread, as the Setup thread and the
// host logger do.
#ifdef _WIN32
#include <doctest.h>

#include <atomic>
#include <string>
#include <vector>

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

TEST_CASE("the Setup thread's message filter: a busy host is asked again for 5 s, a refusal is final")
{
    const struct {
        DWORD elapsedMs, rejectType, retryAfter;
    } rows[] = {{0, SERVERCALL_RETRYLATER, 100},
                {4999, SERVERCALL_RETRYLATER, 100},
                {5000, SERVERCALL_RETRYLATER, DWORD(-1)},
                {0, SERVERCALL_REJECTED, DWORD(-1)}};
    DWORD incoming = 0, pending = 0;
    std::vector<DWORD> answers;
    bool revoked = false;
    OnSetupThread([&] {
        {
            const CHostCallFilter filter;
            IMessageFilter* registered = nullptr; // taken out to be asked, then put back
            CoRegisterMessageFilter(nullptr, &registered);
            if (!registered)
                return;
            for (const auto& row : rows)
                answers.push_back(registered->RetryRejectedCall(nullptr, row.elapsedMs, row.rejectType));
            incoming = registered->HandleInComingCall(CALLTYPE_TOPLEVEL, nullptr, 0, nullptr);
            pending = registered->MessagePending(nullptr, 0, PENDINGTYPE_TOPLEVEL);
            CoRegisterMessageFilter(registered, nullptr);
            registered->Release();
        }
        IMessageFilter* left = nullptr;
        revoked = SUCCEEDED(CoRegisterMessageFilter(nullptr, &left)) && !left;
    });
    REQUIRE(answers.size() == 4);
    for (size_t i = 0; i < 4; ++i)
        CHECK(answers[i] == rows[i].retryAfter);
    CHECK(incoming == SERVERCALL_ISHANDLED);
    CHECK(pending == PENDINGMSG_WAITDEFPROCESS);
    CHECK(revoked);
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
