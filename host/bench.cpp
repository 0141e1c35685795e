// hostbench: how long the host waits on the plug-in. Replays synthetic logs
// of growing size the way the host does after a reset, then times the calls
// made while operating, and prints the figures (it judges nothing).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/host.h"

namespace {

double Now()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

struct Log {
    std::vector<std::string> calls, numbers;
};

// Mostly distinct calls; every 25th QSO repeats an earlier call (a dupe) and
// every 40th has no received number (a rejected QSO with a file line).
Log MakeLog(int n)
{
    Log log;
    for (int i = 0; i < n; ++i) {
        char call[32], nr[16];
        std::snprintf(call, sizeof call, "%s%d%c%c%c", i % 3 ? "SM" : "LY", i % 10, 'A' + i % 26, 'A' + (i / 26) % 26,
                      'A' + (i / 676) % 26);
        log.calls.push_back(i % 25 == 24 ? log.calls[static_cast<size_t>(i) / 2] : std::string(call));
        std::snprintf(nr, sizeof nr, "%03d", i + 1);
        log.numbers.push_back(i % 40 == 39 ? std::string() : std::string(nr));
    }
    return log;
}

HostQso QsoOf(const Log& log, int i)
{
    HostQso q;
    q.call = log.calls[static_cast<size_t>(i)].c_str();
    q.nrSent = log.numbers[static_cast<size_t>(i)].empty() ? "" : q.nrSent;
    q.nrRcvd = log.numbers[static_cast<size_t>(i)].c_str();
    q.time = MakeHostDate(2019, 5, 4, 21, 0, i * 10.0);
    q.country = log.calls[static_cast<size_t>(i)].compare(0, 2, "LY") == 0 ? "LY" : "SM";
    return q;
}

size_t WorkingSetKiB()
{
    PROCESS_MEMORY_COUNTERS pmc;
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.WorkingSetSize / 1024;
}

} // namespace

int main(int argc, char** argv)
{
    std::string dll = argc > 1 ? argv[1] : "BALTIC.dll";
    CreateDirectoryA("bench_run", nullptr);
    SetCurrentDirectoryA("bench_run");
    CreateDirectoryA("Plugins", nullptr);
    WritePrivateProfileStringA("Settings", "Start", "1", "Plugins\\BALTIC.ini");
    PluginHost host(dll.find('\\') == std::string::npos && dll.find('/') == std::string::npos ? "..\\" + dll : dll);
    if (!host.Loaded()) {
        std::fprintf(stderr, "hostbench: %s\n", host.Error().c_str());
        return 1;
    }
    std::printf("%8s %12s %12s %12s %12s %12s %10s\n", "QSOs", "replay ms", "us/AddData0", "us/CheckCall", "ms/Result",
                "ms/Remove", "WS KiB");
    for (int n : {500, 2000, 5000}) {
        Log log = MakeLog(n);
        HostReset r;
        r.first = r.second = MakeHostDate(2019, 5, 4);
        r.myCountry = "SM";
        WritePrivateProfileStringA("Settings", "Start", "1", "Plugins\\BALTIC.ini");

        double t0 = Now();
        host.ResetStats(r);
        for (int i = 0; i < n; ++i)
            host.AddData(QsoOf(log, i));
        double replay = Now() - t0;

        char nr[64];
        HostCheck c;
        c.nrOut = nr;
        const int checks = 2000;
        t0 = Now();
        for (int i = 0; i < checks; ++i) {
            c.call = log.calls[static_cast<size_t>(i % n)].c_str();
            host.CheckCall(c);
        }
        double check = (Now() - t0) / checks;

        int status = 0;
        const int results = 20;
        t0 = Now();
        for (int i = 0; i < results; ++i)
            host.GetResult(&status);
        double result = (Now() - t0) / results;

        const int removals = 20;
        t0 = Now();
        for (int i = 0; i < removals; ++i)
            host.RemoveData(QsoOf(log, n - 1 - i));
        double remove = (Now() - t0) / removals;

        std::printf("%8d %12.1f %12.1f %12.2f %12.2f %12.2f %10zu\n", n, replay * 1e3, replay / n * 1e6, check * 1e6,
                    result * 1e3, remove * 1e3, WorkingSetKiB());
    }
    return 0;
}
