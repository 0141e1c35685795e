// hostbench: how long the host waits on the plug-in, and how much memory it
// takes, as the log grows. For each size it loads a synthetic log the way
// the host does after a reset, then times the calls made while operating,
// and prints the figures (it judges nothing). Absolute times hold only where
// Wine runs natively; the line "wine:" says which.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "host/cty.h"
#include "host/host.h"
#include "host/scp.h"

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

// One QSO's texts, kept alive for the pointers handed to the plug-in.
struct Entry {
    std::string call, country, nrRcvd, nrSent, band, mode;
    HostDate time;
};

// A contest evening of n QSOs: calls of real-looking shape over the usual
// prefixes; about 5 % repeat an earlier QSO (dupes) and about 3 % are
// refused (another band or mode, or no number received).
std::vector<Entry> MakeLog(int n)
{
    static const char* const kPrefixes[] = {"LY", "ES", "YL", "SM", "OH", "SP", "DL", "UA", "OK", "G", "PA", "UR"};
    std::mt19937 rng(20190504u + static_cast<unsigned>(n));
    std::uniform_int_distribution<int> pct(0, 99), letter(0, 25), digit(0, 9), prefix(0, 11), suffixLength(2, 3);
    std::unordered_set<std::string> used; // a new call is one not worked yet
    std::vector<Entry> log;
    log.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        Entry e;
        int roll = pct(rng);
        if (roll < 5 && !log.empty()) {
            e = log[static_cast<size_t>(std::uniform_int_distribution<int>(0, i - 1)(rng))];
        } else {
            const char* p;
            do {
                p = kPrefixes[prefix(rng)];
                e.call = std::string(p) + char('0' + digit(rng));
                for (int k = suffixLength(rng); k > 0; --k)
                    e.call += char('A' + letter(rng));
            } while (!used.insert(e.call).second);
            e.country = std::strlen(p) == 1 ? "G" : std::string(p);
            e.band = "80m";
            e.mode = pct(rng) < 60 ? "CW" : "SSB";
        }
        char nr[16];
        std::snprintf(nr, sizeof nr, "%03d", i + 1);
        e.nrSent = nr;
        e.nrRcvd = nr;
        if (roll >= 5 && roll < 6)
            e.band = "40m";
        else if (roll >= 6 && roll < 7)
            e.mode = "RTTY";
        else if (roll >= 7 && roll < 8)
            e.nrRcvd.clear();
        e.time = MakeHostDate(2019, 5, 4, 21, 0, i * 0.25);
        log.push_back(e);
    }
    return log;
}

HostQso QsoOf(const Entry& e)
{
    HostQso q;
    q.call = e.call.c_str();
    q.country = e.country.c_str();
    q.band = e.band.c_str();
    q.mode = e.mode.c_str();
    q.nrSent = e.nrSent.c_str();
    q.nrRcvd = e.nrRcvd.c_str();
    q.time = e.time;
    return q;
}

// Committed private memory of the process, summed over its address space
// (the process counters are not kept up to date under Wine).
size_t PrivateBytes()
{
    size_t total = 0;
    MEMORY_BASIC_INFORMATION m;
    for (char* p = nullptr; VirtualQuery(p, &m, sizeof m) == sizeof m; p = static_cast<char*>(m.BaseAddress) + m.RegionSize) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE)
            total += m.RegionSize;
        if (static_cast<char*>(m.BaseAddress) + m.RegionSize < p)
            break;
    }
    return total;
}

struct Figures {
    int n = 0;
    double loadMs = 0, addUs = 0, checkUs = 0, textMs = 0, htmlMs = 0, removeMs = 0, heapMiB = 0;
};

Figures Measure(const std::string& dll, int n)
{
    Figures f;
    f.n = n;
    std::vector<Entry> log = MakeLog(n);
    WritePrivateProfileStringA("Settings", "Start", "1", "Plugins\\BALTIC.ini"); // no Setup window
    size_t before = PrivateBytes();
    PluginHost host(dll);
    if (!host.Loaded()) {
        std::fprintf(stderr, "hostbench: %s\n", host.Error().c_str());
        return f;
    }
    HostReset r;
    r.first = r.second = MakeHostDate(2019, 5, 4);
    r.myCountry = "SM";

    double t0 = Now();
    host.ResetStats(r);
    for (const Entry& e : log)
        host.AddData(QsoOf(e));
    double load = Now() - t0;
    f.loadMs = load * 1e3;
    f.addUs = load / n * 1e6;
    f.heapMiB = static_cast<double>(PrivateBytes() - before) / (1024.0 * 1024.0);

    // The operator types calls one character at a time.
    char nr[64];
    HostCheck c;
    c.nrOut = nr;
    int checks = 0;
    t0 = Now();
    for (int i = 0; i < 500; ++i) {
        const std::string& call = log[static_cast<size_t>(i) * static_cast<size_t>(n) / 500].call;
        for (size_t len = 1; len <= call.size(); ++len) {
            std::string typed = call.substr(0, len);
            c.call = typed.c_str();
            host.CheckCall(c);
            ++checks;
        }
    }
    f.checkUs = (Now() - t0) / checks * 1e6;

    int status = 0;
    const int results = n >= 100000 ? 5 : 20;
    t0 = Now();
    for (int i = 0; i < results; ++i)
        host.GetResult(&status);
    f.textMs = (Now() - t0) / results * 1e3;
    host.SetVersion("2.19");
    t0 = Now();
    for (int i = 0; i < results; ++i)
        host.GetResult(&status);
    f.htmlMs = (Now() - t0) / results * 1e3;

    const int removals = 20;
    t0 = Now();
    for (int i = 0; i < removals; ++i)
        host.RemoveData(QsoOf(log[static_cast<size_t>(n - 1 - i * 7)]));
    f.removeMs = (Now() - t0) / removals * 1e3;
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    std::string dll = argc > 1 ? argv[1] : "BALTIC.dll";
    if (dll.find_first_of("\\/") == std::string::npos)
        dll = "..\\" + dll;
    CreateDirectoryA("bench_run", nullptr);
    SetCurrentDirectoryA("bench_run");
    CreateDirectoryA("Plugins", nullptr);

    const std::string emulator = WineEmulator();
    std::printf("wine: %s\n", emulator.empty() ? "native" : ("emulated (binfmt_misc entry " + emulator + ")").c_str());
    std::printf("%8s %10s %12s %13s %11s %11s %11s %9s\n", "QSOs", "load ms", "us/AddData0", "us/CheckCall0",
                "ms/text", "ms/HTML", "ms/Remove", "heap MiB");
    std::vector<Figures> all;
    for (int n : {1000, 10000, 100000}) {
        Figures f = Measure(dll, n);
        std::printf("%8d %10.1f %12.2f %13.2f %11.2f %11.2f %11.2f %9.1f\n", f.n, f.loadMs, f.addUs, f.checkUs,
                    f.textMs, f.htmlMs, f.removeMs, f.heapMiB);
        std::fflush(stdout);
        all.push_back(f);
    }
    const Figures& a = all.front();
    const Figures& b = all.back();
    std::printf("%8s %10s %12.2f %13.2f %11.2f %11.2f %11.2f\n", "ratio", "", b.addUs / a.addUs, b.checkUs / a.checkUs,
                b.textMs / a.textMs, b.htmlMs / a.htmlMs, b.removeMs / a.removeMs);
    std::printf("(ratio: per-call time at %d QSOs over that at %d)\n", b.n, a.n);

    // hostsim's own look-ups after the contest, over the calls of 10,000 QSOs.
    std::vector<std::string> calls;
    for (const Entry& e : MakeLog(10000))
        calls.push_back(e.call);
    double t = Now();
    const CCountryFile& countries = BuiltInCountryFile();
    std::printf("country file: %zu entities read in %.1f ms", countries.EntityCount(), (Now() - t) * 1e3);
    t = Now();
    size_t found = 0;
    for (const std::string& c : calls)
        found += countries.Find(c).entity ? 1 : 0;
    std::printf("; %.2f us a call (%zu of %zu found)\n", (Now() - t) * 1e6 / calls.size(), found, calls.size());
    const char* const kScp = "Z:\\usr\\share\\hamradio-files\\MASTER.SCP";
    CCallList list;
    std::string error;
    t = Now();
    if (!list.ReadFile(argc > 2 ? argv[2] : kScp, error)) {
        std::printf("call list: %s (give it as the second argument)\n", error.c_str());
        return 0;
    }
    std::printf("call list: %zu calls read in %.1f ms", list.Size(), (Now() - t) * 1e3);
    t = Now();
    size_t hinted = 0;
    for (const std::string& c : calls)
        hinted += list.Hints(c).empty() ? 0 : 1;
    std::printf("; hints %.1f us a call (%zu of %zu calls have some)\n", (Now() - t) * 1e6 / calls.size(), hinted,
                calls.size());
    return 0;
}
