// A stand-in for the host logger's automation object "Qorv2.Application":
// registered (ProgID to class id) in the current Wine prefix or Windows
// user, and published as the running instance on the thread that makes it,
// so that calls from the plug-in's Setup thread cross apartments as with the
// real host. That thread must pump messages while it waits (PumpFor). It
// answers the frequency (id 2), the entry-field text (id 8) and macros
// (id 16), and records every macro it receives. While it is busy, its
// message filter on that thread answers every incoming call "retry later",
// as a host does while it is inside a modal loop of its own.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "host/thread.h"

class FakeHostApp {
public:
    FakeHostApp();
    ~FakeHostApp();
    FakeHostApp(const FakeHostApp&) = delete;
    FakeHostApp& operator=(const FakeHostApp&) = delete;

    // False (with Error()) when the object could not be registered.
    bool Running() const { return m_registration != 0; }
    const std::string& Error() const { return m_error; }

    void SetFrequency(double hz);
    void SetFieldText(const std::string& text);
    // Every call waits this long before it answers (a busy host).
    void SetDelay(DWORD ms);
    // Every call fails, as a host that raises an error does.
    void SetFailing(bool failing);
    // Busy for the next ms milliseconds: incoming calls are rejected with
    // SERVERCALL_RETRYLATER. Called on the object's thread.
    void SetBusy(DWORD ms);
    // Calls rejected so far while busy.
    int Rejected() const;

    std::vector<std::string> Macros() const;
    int Calls() const;
    // Calls of the entry-field text (id 8): one per refresh that reads it.
    int FieldTextCalls() const;

    // Handles the calls that arrive while it waits.
    static void PumpFor(DWORD ms);

    struct State {
        mutable HostMutex mutex;
        double frequency = 3525000.0;
        std::string fieldText;
        DWORD delay = 0;
        bool failing = false;
        std::vector<std::string> macros;
        int calls = 0;
        int fieldTextCalls = 0;
        DWORD busySince = 0, busyMs = 0;
        int rejected = 0;
    };

private:
    State m_state;
    IDispatch* m_object = nullptr;
    IMessageFilter* m_filter = nullptr;
    DWORD m_registration = 0;
    std::string m_error;
};
