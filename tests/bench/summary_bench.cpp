// summarybench: how long the end of an export takes over the log check and
// the summary page as the log grows. For generated logs of 1,000 and
// 100,000 QSOs it times CheckLog, FormatCheckFile and FormatSummaryPage,
// and prints the milliseconds and the time per QSO (it judges nothing).
// Absolute times hold only where Wine runs natively; the line "wine:" says
// which.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <unordered_set>

#include "host/host.h"
#include "report/log_check.h"
#include "report/summary.h"

namespace {

double NowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// An evening of n QSOs spread over the five hours: unique calls over the
// usual prefixes, about 5 % dupes as the store flags them, and about 3 %
// refused QSOs beside the log.
void MakeLog(int n, CArray<CInfo>& log, CArray<CBadQso>& bad)
{
    static const char* const kPrefixes[][2] = {{"LY", "EU"}, {"ES", "EU"}, {"YL", "EU"}, {"SM", "EU"},
                                               {"OH", "EU"}, {"SP", "EU"}, {"DL", "EU"}, {"UA", "EU"},
                                               {"OK", "EU"}, {"K", "NA"},  {"JA", "AS"}, {"UR", "EU"}};
    std::mt19937 rng(20190504u + static_cast<unsigned>(n));
    std::unordered_set<std::string> used;
    const double start = 43589.0 + 21.0 / 24.0, span = 5.0 / 24.0;
    for (int i = 0; i < n; ++i) {
        const double t = start + span * i / n;
        char nr[16];
        std::snprintf(nr, sizeof nr, "%03d", i + 1);
        const unsigned roll = rng() % 100;
        if (roll < 3) {
            CBadQso b;
            b.kind = roll == 0 ? kWrongBand : roll == 1 ? kWrongMode : kNoNumber;
            b.qso.call = "DL1REF";
            b.qso.time = COleDateTime(t);
            b.qso.band = roll == 0 ? "40m" : "80m";
            b.qso.mode = roll == 1 ? "RTTY" : "CW";
            b.qso.nrSent = nr;
            bad.Add(b);
            continue;
        }
        CInfo r;
        if (roll < 8 && log.GetSize() > 0) {
            r = log[static_cast<int>(rng() % static_cast<unsigned>(log.GetSize()))];
            r.m_dupe = r.m_notCounted = 1;
        } else {
            const unsigned p = rng() % 12;
            std::string call;
            do {
                call = std::string(kPrefixes[p][0]) + char('0' + rng() % 10);
                for (unsigned k = 2 + rng() % 2; k > 0; --k)
                    call += char('A' + rng() % 26);
            } while (!used.insert(call).second);
            r.m_call = call.c_str();
            r.m_country = kPrefixes[p][0];
            r.m_continent = kPrefixes[p][1];
            r.m_band = "80m";
            r.m_mode = rng() % 100 < 60 ? "CW" : "SSB";
            r.m_rstRcvd = r.m_rstSent = r.m_mode == "CW" ? "599" : "59";
            r.m_nrRcvd.Format("%03u", 1 + rng() % 900);
            r.m_freqKHz = r.m_mode == "CW" ? 3520 : 3700;
        }
        r.m_nrSent = nr;
        r.m_time = COleDateTime(t);
        log.Add(r);
    }
}

struct Figures {
    int n = 0;
    double checkMs = 0, fileMs = 0, pageMs = 0;
    size_t fileBytes = 0, pageBytes = 0;
    double Total() const { return checkMs + fileMs + pageMs; }
};

// The best of several rounds, each step timed on its own.
Figures Measure(int n, int rounds)
{
    CArray<CInfo> log;
    CArray<CBadQso> bad;
    MakeLog(n, log, bad);
    CCheckHeader header;
    header.callsign = "SM5XYZ";
    header.categoryOperator = "SINGLE-OP";
    header.categoryBand = "80M";
    header.categoryMode = "MIXED";
    CCheckStation station;
    station.ownCall = "SM5XYZ";
    station.myContinent = "EU";
    CSummaryStation summary;
    summary.call = "SM5XYZ";
    summary.contestDate = "04.05.2019";
    summary.categoryOperator = "SINGLE-OP";
    summary.categoryMode = "MIXED";
    summary.myContinent = "EU";

    Figures best;
    best.n = n;
    best.checkMs = best.fileMs = best.pageMs = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const double t0 = NowMs();
        const CLogCheck check = CheckLog(log, bad, header, station);
        const double t1 = NowMs();
        const CString file = FormatCheckFile(check, summary.call);
        const double t2 = NowMs();
        const CString page = FormatSummaryPage(log, check, summary);
        const double t3 = NowMs();
        best.checkMs = std::min(best.checkMs, t1 - t0);
        best.fileMs = std::min(best.fileMs, t2 - t1);
        best.pageMs = std::min(best.pageMs, t3 - t2);
        best.fileBytes = static_cast<size_t>(file.GetLength());
        best.pageBytes = static_cast<size_t>(page.GetLength());
    }
    return best;
}

} // namespace

int main()
{
    const std::string emulator = WineEmulator();
    std::printf("wine: %s\n", emulator.empty() ? "native" : ("emulated (binfmt_misc entry " + emulator + ")").c_str());
    std::printf("%8s %10s %10s %10s %10s %10s %10s %10s\n", "QSOs", "check ms", "file ms", "page ms", "all ms",
                "us/QSO", "file KiB", "page KiB");
    const Figures a = Measure(1000, 20);
    const Figures b = Measure(100000, 3);
    for (const Figures& f : {a, b})
        std::printf("%8d %10.2f %10.2f %10.2f %10.2f %10.3f %10.1f %10.1f\n", f.n, f.checkMs, f.fileMs, f.pageMs,
                    f.Total(), 1000.0 * f.Total() / f.n, static_cast<double>(f.fileBytes) / 1024.0,
                    static_cast<double>(f.pageBytes) / 1024.0);
    const double scale = static_cast<double>(a.n) / b.n;
    std::printf("%8s %10.2f %10.2f %10.2f %10.2f\n", "ratio", b.checkMs * scale / a.checkMs,
                b.fileMs * scale / a.fileMs, b.pageMs * scale / a.pageMs, b.Total() * scale / a.Total());
    std::printf("(ratio: time per QSO at %d QSOs over that at %d; 1 is linear)\n", b.n, a.n);
    return 0;
}
