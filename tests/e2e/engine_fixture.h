// Shared set-up for the engine's end-to-end tests: the plug-in's file names,
// the bad-QSO file as it must read, a reset and a QSO as the tests make
// them, and the few host calls the host stand-in does not offer (null
// pointers). Scratch folders and file bytes come from tests/support.
#pragma once
#include <windows.h>

#include <doctest.h>

#include <cstring>
#include <string>

#include "host/host.h"
#include "support/files.h"
#include "support/message_boxes.h"

namespace fx {

const char* const kHeader = "BALTIC CW/SSB TEST UBN file ";
const char* const kBadFile = "BadQSO_RirezIzeruz_04_05_2019.txt";
const char* const kIniFile = "Plugins\\BALTIC.ini";

inline std::string DllPath()
{
    return support::ExeDir() + "BALTIC.dll";
}

// The bad-QSO file as it must read: the header, then the lines, CR LF each.
inline std::string BadFile(std::initializer_list<std::string> lines)
{
    std::string out = std::string(kHeader) + "\r\n";
    for (const std::string& l : lines)
        out += l + "\r\n";
    return out;
}

inline void SetStart(const char* value)
{
    WritePrivateProfileStringA("Settings", "Start", value, kIniFile);
}

// The host's version file in the current folder.
inline void WriteHostVersion(const std::string& version)
{
    support::WriteBytes("Qorv2.ini", "[Main]\r\nQorv=" + version + "\r\n");
}

inline HostDate ContestDay()
{
    return MakeHostDate(2019, 5, 4);
}

inline HostReset ContestReset()
{
    HostReset r;
    r.first = MakeHostDate(2019, 5, 4, 12, 0);
    r.second = ContestDay();
    return r;
}

// A reset that leaves the Setup window shut: "Start" is 1 beforehand, so
// the reset only clears it.
inline int Reset(PluginHost& host, HostReset r = ContestReset())
{
    SetStart("1");
    return host.ResetStats(r);
}

// One QSO of LY1BB on 3525 kHz, CW, 80m, numbers 001/001, at the given time
// on the contest day.
inline HostQso Qso(const char* call = "LY1BB", int hour = 21, int minute = 30, double second = 0.0)
{
    HostQso q;
    q.call = call;
    q.time = MakeHostDate(2019, 5, 4, hour, minute, second);
    return q;
}

// The totals of the text report: "Total ..." through "Bad QSO ..." lines.
inline std::string Totals(PluginHost& host)
{
    int status = 0;
    std::string text = host.GetResult(&status);
    size_t from = text.find("Total\t");
    size_t to = text.find("\r\n\r\nLast QSO", from);
    if (from == std::string::npos || to == std::string::npos)
        return "<no totals in: " + text + ">";
    return text.substr(from, to - from);
}

// Whether the report lists a row for the band.
inline bool ReportHasBand(PluginHost& host, const std::string& band)
{
    int status = 0;
    std::string text = host.GetResult(&status);
    return text.find("\r\n" + band + "\t ") != std::string::npos;
}

// CheckCall0 with an output buffer pre-filled with '#'; out receives the
// buffer's text ("########..." cut to 60 when untouched).
struct CheckOutcome {
    int result;
    std::string text;
    bool operator==(const CheckOutcome& o) const { return result == o.result && text == o.text; }
};

inline doctest::String toString(const CheckOutcome& c)
{
    return (std::to_string(c.result) + " \"" + c.text + "\"").c_str();
}

const char* const kUntouched = "<untouched>";

inline CheckOutcome Check(PluginHost& host, const char* call, const char* mode = "CW", const char* band = "80m",
                          const char* compareBand = "80m")
{
    char buf[60];
    std::memset(buf, '#', sizeof buf);
    HostCheck c;
    c.call = call;
    c.mode = mode;
    c.band = band;
    c.compareBand = compareBand;
    c.nrOut = buf;
    int r = host.CheckCall(c);
    std::string text = buf[0] == '#' ? std::string(kUntouched) : std::string(buf, strnlen(buf, sizeof buf));
    return CheckOutcome{r, text};
}

// ResetStats0 with any of its pointers null, which the host stand-in does
// not offer.
typedef int(__cdecl* RawResetFn)(const char*, int, const char*, HostDate*, HostDate*, const char*, const char*,
                                 const char*, const char*, const char*, const char*, const char*, const char*,
                                 const char*, const char*, int, int, int, double, double, const char*, const char*,
                                 const char*);

inline int RawReset(PluginHost& host, const char* folder, const char* call, HostDate* first, HostDate* second,
                    const char* country, const char* continent)
{
    FARPROC p = GetProcAddress(host.Module(), "ResetStats0");
    bool found = p != nullptr;
    REQUIRE(found);
    RawResetFn fn;
    std::memcpy(&fn, &p, sizeof fn);
    SetStart("1");
    return fn(folder, 0, call, first, second, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
              nullptr, country, 0, 0, 0, 0.0, 0.0, nullptr, continent, nullptr);
}

} // namespace fx
