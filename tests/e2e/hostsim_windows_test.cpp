#include <doctest.h>

#include <windows.h>

#include <string>

#include "e2e/setup_window.h"
#include "support/files.h"

// The Setup window's title carries the contest year, from the reset's dates:
// hostsim windows takes them from --date, else from today.
TEST_CASE("hostsim windows: the titles carry the year of --date, else this year")
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    struct Row {
        std::string arguments, title;
    };
    const Row rows[] = {
        {" --date 2031-05-17", "Setup BALTIC-2031"},
        {"", "Setup BALTIC-" + std::to_string(now.wYear)},
    };
    for (const Row& row : rows) {
        CAPTURE(row.arguments);
        support::Scratch dir("hostsim_windows");
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        // It ends by itself after the seconds given, as the host closes.
        std::string command = "\"" + support::ExeDir() + "hostsim.exe\" windows --seconds " +
                              std::to_string(Scaled(5000) / 1000) + row.arguments;
        REQUIRE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        HWND window = nullptr;
        for (DWORD start = GetTickCount(); !window && GetTickCount() - start < Scaled(20000);)
            if (!(window = FindWindowA(nullptr, row.title.c_str())))
                WaitForSingleObject(pi.hProcess, 50);
        CHECK(window != nullptr);
        // The reset alone reads the host's version file: gone once the window is up.
        CHECK_FALSE(support::FileExists("Qorv2.ini"));
        const bool ended = WaitForSingleObject(pi.hProcess, Scaled(20000)) == WAIT_OBJECT_0;
        CHECK(ended);
        if (!ended)
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}
