// The plug-in's two threads against each other, built with ThreadSanitizer:
// the host's thread calls the exports (resets alternating an invalid and a
// valid first date and a Russian and an English country, adds, removals,
// call checks, reports) while the Setup thread's refresh looks the call up
// and builds the window titles, taking the locks the window layer takes.
// Run with TSAN_OPTIONS=halt_on_error=1: any race ends it as a failure.
// Prints rounds, calls and reads made, and the time taken.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "engine/prev_qso.h"
#include "engine/stores.h"
#include "engine/window_texts.h"
#include "framework/oledate.h"
#include "plugin/exports.h"

namespace {

const double kMay4 = 43589.0; // 2019-05-04

void Reset(int round)
{
    // An invalid first date formats as "Invalid DateTime", longer than a
    // short string's inline buffer, so each reset frees the year's text.
    COleDateTime first(kMay4, round % 2 ? COleDateTime::invalid : COleDateTime::valid);
    COleDateTime second(kMay4);
    ResetStats0("", 0, "SM5XYZ", &first, &second, "", "", "", "", "", "", "", "", "", round % 3 ? "SM" : "UA", 0, 0,
                0, 0, 0, "", "EU", "");
}

void Qso(bool add, const char* call, double minute, const char* mode)
{
    COleDateTime t(kMay4 + minute / 1440.0);
    auto fn = add ? AddData0 : RemoveData0;
    fn("SM5XYZ", call, &t, &t, &t, &t, 0, mode[0] == 'C' ? 3525000u : 3700000u, mode, "599", "599", "001", "012", "",
       "", "", "", "", "", "", "", "", "DL", 0, 0, 0, 0, 0, "", "EU", "", "80m", "");
}

void CheckCall(const char* call)
{
    char nr[50] = {};
    CheckCall0(call, 0, 0, "CW", "", "", "", "", "", "", "", "", "", "DL", 0, 0, 0, 0, 0, "", "EU", "", "", "", "80m",
               nullptr, nr, nullptr);
}

// What the Setup window's refresh and paint call, as they call it: the
// lookup of the typed call, the row the table paints, and the title made
// from the contest year in the language of the last reset.
CString RefreshOnce(const char* call)
{
    RefreshPrevQsoRow(call);
    const PrevQsoShown shown = CurrentPrevQsoShown();
    const char* format = CurrentWindowTextInputs().russian ? "BALTIC-CW/SSB-%s \xF0\xE0\xE1\xEE\xF2\xE0\xEB\xE8 \xF1 %s"
                                                           : "BALTIC-CW/SSB-%s worked with %s";
    return WithYear(format, shown.call) + shown.row[1];
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 300;
    // The plug-in writes its files into the current folder.
    const std::filesystem::path scratch = std::filesystem::current_path() / "scratch" / "stress";
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(scratch / "Plugins");
    std::filesystem::current_path(scratch);

    static const char* const kCalls[] = {"DL1A", "LY2XX", "OH1AA", "UA1ABC"};
    std::atomic<bool> done{false};
    long reads = 0;
    const auto start = std::chrono::steady_clock::now();
    std::thread setup([&] {
        SetPrevQsoBand("80m"); // as the Setup window does when it opens
        size_t length = 0;
        for (int i = 0; !done; ++i, ++reads)
            length += RefreshOnce(kCalls[i % 4]).GetLength();
        std::printf("stress: %zu title characters read\n", length);
    });
    long calls = 0;
    for (int r = 0; r < rounds; ++r) {
        Reset(r);
        for (int i = 0; i < 8; ++i) {
            Qso(true, kCalls[i % 4], i, i % 2 ? "CW" : "SSB");
            CheckCall(kCalls[(i + 1) % 4]);
            calls += 2;
        }
        Qso(false, kCalls[r % 4], 0, "SSB");
        int status = 0;
        GetResult0(&status);
        calls += 3;
    }
    done = true;
    setup.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("stress: %d rounds, %ld host calls against %ld refreshes in %.1f s; no race reported\n", rounds, calls,
                reads, seconds);
    return 0;
}
