// The plug-in against a reference model of its rules, kept as plain as the
// rules read (every search a scan of the whole log). Seeded random runs of
// resets, adds, removals, call checks and reports in both layouts; after
// every step the results, the number handed back, the report and the
// bad-QSO file must be the model's. Under Wine the real DLL is driven as
// the host drives it; the native build drives the core's entry points.
// BALTIC_MODEL_STEPS and BALTIC_MODEL_SEED set the length and the seed.
#include <doctest.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/files.h"
#ifdef _WIN32
#include "host/host.h"
#else
#include "framework/oledate.h"
#include "plugin/exports.h"
#endif

namespace {

struct Date {
    double dt = 0.0;
    int status = 0; // 0 valid, 1 invalid, 2 null
    std::string text; // as "%Y-%m-%d %H%M" shows it
    long seconds = 0; // since the contest day's midnight
};

struct Qso {
    const char *own = "YL2AA", *call, *mode, *band, *rstS = "599", *rstR = "599", *nrS, *nrR, *country, *continent;
    Date time;
    unsigned freqHz = 3525000;
};

std::string S(const char* t)
{
    return t ? t : "";
}

// The plug-in as the host reaches it.
class Plugin {
public:
#ifdef _WIN32
    Plugin() : m_host(support::ExeDir() + "BALTIC.dll") { REQUIRE_MESSAGE(m_host.Loaded(), m_host.Error()); }
    int Add(const Qso& q) { return m_host.AddData(Host(q)); }
    int Remove(const Qso& q) { return m_host.RemoveData(Host(q)); }
    int Reset(const char* country, const char* continent)
    {
        HostReset r;
        r.first = r.second = MakeHostDate(2019, 5, 4);
        r.myCountry = country;
        r.myContinent = continent;
        return m_host.ResetStats(r);
    }
    int Check(const char* call, const char* mode, const char* band, const char* compare, char* nr)
    {
        HostCheck c;
        c.call = call, c.mode = mode, c.band = band, c.compareBand = compare, c.nrOut = nr;
        return m_host.CheckCall(c);
    }
    std::string Result()
    {
        int status = 0;
        return m_host.GetResult(&status);
    }
    void Html() { m_host.SetVersion("2.19"); }

private:
    static HostQso Host(const Qso& q)
    {
        HostQso h;
        h.ownCall = q.own, h.call = q.call, h.mode = q.mode, h.band = q.band, h.rstSent = q.rstS, h.rstRcvd = q.rstR;
        h.nrSent = q.nrS, h.nrRcvd = q.nrR, h.country = q.country, h.continent = q.continent, h.freqHz = q.freqHz;
        h.time.dt = q.time.dt, h.time.status = q.time.status;
        return h;
    }
    PluginHost m_host;
#else
    int Add(const Qso& q) { return Call(AddData0, q); }
    int Remove(const Qso& q) { return Call(RemoveData0, q); }
    int Reset(const char* country, const char* continent)
    {
        COleDateTime day(43589.0);
        const char* f = "";
        return ResetStats0(".\\", 0, "YL2AA", &day, &day, f, f, f, f, f, f, f, f, f, country, 0, 0, 0, 0, 0, f,
                           continent, f);
    }
    int Check(const char* call, const char* mode, const char* band, const char* compare, char* nr)
    {
        const char* f = "";
        return CheckCall0(call, 0, 0, mode, f, f, f, f, f, f, f, f, f, "LY", 0, 0, 0, 0, 0, f, "EU", f, f, f, band,
                          compare, nr, nullptr);
    }
    std::string Result()
    {
        int status = 0;
        return GetResult0(&status);
    }
    void Html() { setVersion("2.19"); }

private:
    template <class Fn>
    static int Call(Fn fn, const Qso& q)
    {
        COleDateTime t(q.time.dt, static_cast<COleDateTime::DateTimeStatus>(q.time.status));
        const char* f = "";
        return fn(q.own, q.call, &t, &t, &t, &t, 0, q.freqHz, q.mode, q.rstS, q.rstR, q.nrS, q.nrR, f, f, f, f, f, f,
                  f, f, f, q.country, 0, 0, 0, 0, 0, f, q.continent, f, q.band, f);
    }
#endif
};

// The rules, plainly.
struct Record {
    std::string call, band, mode, country, continent, nr;
    Date time;
    bool dupe;
};
struct Line {
    std::string text, call, when, mode;
    bool dupe;
};

// The removal passes the date the QSO was added with: equal day counts, or
// the same bytes (an invalid or not-a-number date), or both null.
bool SameDate(const Date& a, const Date& b)
{
    return a.status == b.status &&
           (a.status == 2 || (a.status == 0 && a.dt == b.dt) || std::memcmp(&a.dt, &b.dt, sizeof a.dt) == 0);
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

class Model {
public:
    std::vector<Record> log;
    std::vector<std::string> bands;
    std::vector<Line> lines;
    bool baltic = false; // the last reset's own prefix is Baltic
    std::string myContinent;
    bool html = false;

    void Reset(const std::string& country, const std::string& continent)
    {
        log.clear();
        bands.clear();
        lines.clear();
        baltic = country == "LY" || country == "ES" || country == "YL";
        myContinent = continent;
    }
    int Add(const Qso& q)
    {
        const char* refused = Lower(S(q.band)) != "80m"                              ? "   WRONG BAND !!!"
                              : Lower(S(q.mode)) != "cw" && Lower(S(q.mode)) != "ssb" ? "   WRONG MODE !!!"
                              : S(q.nrR).empty() || S(q.nrS).empty()               ? "   NO NUMBER !!!"
                                                                                    : nullptr;
        if (refused) {
            Write(q, refused, false);
            return 0;
        }
        if (std::find(bands.begin(), bands.end(), S(q.band)) == bands.end())
            bands.push_back(S(q.band));
        bool dupe = false;
        for (const Record& r : log)
            dupe = dupe || (r.call == S(q.call) && r.band == S(q.band) && r.mode == S(q.mode));
        log.push_back({S(q.call), S(q.band), S(q.mode), S(q.country), S(q.continent), S(q.nrR), q.time, dupe});
        if (dupe)
            Write(q, "   DUPE !!!", true);
        return 1;
    }
    void Remove(const Qso& q)
    {
        for (size_t i = 0; i < log.size(); ++i)
            if (log[i].call == S(q.call) && log[i].mode == S(q.mode) && log[i].band == S(q.band) &&
                SameDate(log[i].time, q.time)) {
                log.erase(log.begin() + static_cast<long>(i));
                break;
            }
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [&](const Line& l) {
                                       return l.call == S(q.call) && l.when == q.time.text && l.mode == S(q.mode);
                                   }),
                    lines.end());
        if (log.empty())
            bands.clear();
    }
    int Check(const char* call, const char* mode, const char* band, const char* compare, char* nr) const
    {
        if ((band && compare && Lower(band) != Lower(compare)) || Lower(S(band)) != "80m" ||
            (Lower(S(mode)) != "cw" && Lower(S(mode)) != "ssb"))
            return 4; // no version file: not a 2.19 or 2.20 host
        std::string remembered;
        for (const Record& r : log)
            if (r.call == S(call) && r.band == S(band)) {
                remembered = r.nr;
                if (r.mode == S(mode)) {
                    std::snprintf(nr, 50, "%.49s", remembered.c_str());
                    return 0;
                }
            }
        std::snprintf(nr, 50, "%.49s", remembered.c_str());
        return 1;
    }
    std::string File() const
    {
        std::string f = "BALTIC CW/SSB TEST UBN file \r\n";
        for (const Line& l : lines)
            f += l.text + "\r\n";
        return f;
    }
    std::string Report();

private:
    void Write(const Qso& q, const char* suffix, bool dupe)
    {
        std::string text = "QSO:  " + std::to_string(q.freqHz / 1000);
        for (const char* field : {q.mode, q.time.text.c_str(), q.own, q.rstS, q.nrS, q.call, q.rstR, q.nrR})
            text += "  " + S(field);
        lines.push_back({text + suffix, S(q.call), q.time.text, S(q.mode), dupe});
    }
};

std::string Escape(const std::string& s)
{
    std::string out;
    for (char c : s)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : c == '\'' ? "&#39;" : std::string(1, c);
    return out;
}

std::string Fmt(const char* format, ...)
{
    char buf[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

std::string Model::Report()
{
    // Bands by name left-padded with "0" to 20 characters, descending.
    auto key = [](const std::string& b) { return b.size() >= 20 ? b : std::string(20 - b.size(), '0') + b; };
    std::sort(bands.begin(), bands.end(), [&](const std::string& a, const std::string& b) { return key(a) > key(b); });
    int bad = 0;
    for (const Line& l : lines)
        bad += l.dupe ? 0 : 1;
    const Record* last = log.empty() ? nullptr : &log.back();
    int qsos = 0, points = 0, cw = 0, ssb = 0, dupes = 0, lastPoints = 0, hourQ = 0, hourP = 0, tenQ = 0, tenP = 0;
    std::string rows;
    for (const std::string& band : bands) {
        int q = 0, p = 0, c = 0, s = 0;
        for (const Record& r : log) {
            if (r.band != band || r.call.empty())
                continue;
            dupes += r.dupe;
            if (r.dupe)
                continue;
            int pts = baltic ? (r.continent == myContinent ? 1 : 2)
                             : (r.country == "LY" || r.country == "ES" || r.country == "YL") ? (myContinent == "EU" ? 10 : 20) : 1;
            ++q, p += pts, c += r.mode == "CW", s += r.mode == "SSB";
            if (band == last->band) {
                lastPoints = pts;
                // Whole minutes before the last record; a time that is not
                // valid on either side counts in neither window.
                if (!last->time.status && !r.time.status) {
                    long minutes = (last->time.seconds - r.time.seconds) / 60;
                    hourQ += minutes < 60, hourP += minutes < 60 ? pts : 0;
                    tenQ += minutes < 10, tenP += minutes < 10 ? pts : 0;
                }
            }
        }
        rows += html ? Fmt("<tr><th> <center>%s</center></th><td><center>%i</center></td><td><center>%i</center></td>"
                           "<td><center>%i</center></td><td><center>%i</center></td></tr>",
                           Escape(band).c_str(), q, p, c, s)
                     : Fmt("%s\t %i\t %i\t %i\t %i\r\n", band.c_str(), q, p, c, s);
        qsos += q, points += p, cw += c, ssb += s;
    }
    if (!html)
        return "     BALTIC CONTEST CW/SSB 04.05.2019 \r\n       Contestant: YL2AA\r\n\tQSOs\tPoints\tCW\tSSB\r\n" + rows +
               Fmt("Total\t %i\t %i\t %i\t %i\r\nDupe\t %i\r\nBad QSO\t %i\r\n\r\nLast QSO: %i points\r\n", qsos, points,
                   cw, ssb, dupes, bad, lastPoints) +
               Fmt("\r\n\t\t\tRate\r\nHourly (10min) QSO rate: %5i (%i) QSOs/hour\r\nHourly (10min) pts rate: %5i (%i) "
                   "points/hour\r\n\r\n\r\n",
                   hourQ, 6 * tenQ, hourP, 6 * tenP);
    const char* cell = "<tr><th> <center>%s</center></th><td><center>%i</center></td><td colspan=8> </td></tr>";
    const char* rate = "<tr><th> %s </th><td colspan=9><center>%5i /%i</center></td></tr>";
    return "<center><b>   BALTIC CONTEST CW/SSB 04.05.2019</b></center><center>Contestant:  <b>YL2AA</center></b><table>"
           "<tr><th> Band</th><th> QSOs</th><th> Points</th><th> CW</th><th> SSB</th></tr>" +
           rows +
           Fmt("<tr><th> <center>Total</center></th><td><center>%i</center></td><td><center>%i</center></td>"
               "<td><center>%i</center></td><td><center>%i</center></td></tr>",
               qsos, points, cw, ssb) +
           Fmt(cell, "Dupe", dupes) + Fmt(cell, "Bad QSO", bad) +
           Fmt("<tr><th>Last QSO points:</small></th><td colspan=9><center>%5i</center></td></tr>", lastPoints) +
           "<th colspan=10><center>Rate</center></th></tr>" + Fmt(rate, "Hourly (1 hour/10min) QSO rate:", hourQ, 6 * tenQ) +
           Fmt(rate, "Hourly (1 hour/10min) pts rate:", hourP, 6 * tenP);
}

// The part of a report the model speaks for: the text before the credit
// line, or the HTML between the style sheet and the closing table.
std::string Body(const std::string& report, bool html)
{
    if (!html)
        return report.substr(0, report.rfind("\r\n") + 2);
    size_t from = report.find("<center>"), to = report.rfind("</table>");
    return report.substr(from, to - from);
}

// Random steps: a small set of calls (so that dupes come often), case
// variants, wrong bands and modes, missing numbers, null texts and times.
class Steps {
public:
    explicit Steps(unsigned seed) : m_rng(seed) {}
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    const char* Of(std::initializer_list<const char*> choices) { return choices.begin()[Pick(static_cast<int>(choices.size()))]; }

    Qso NewQso()
    {
        Qso q;
        q.call = Of({"LY1BB", "LY1BB", "ES5Q", "SM5XYZ", "DL1ABC", "ly1bb", "UA3A&B", "YL2<K>", "OH2BH", nullptr});
        q.mode = Of({"CW", "CW", "SSB", "SSB", "cw", "ssb", "RTTY", "", nullptr});
        q.band = Of({"80m", "80m", "80m", "80m", "80M", "40m", nullptr});
        q.nrS = Pick(30) ? "001" : "";
        q.nrR = Of({"005", "017", "123", "0042", "", nullptr, "9999"});
        q.country = Of({"LY", "ES", "YL", "SM", "DL", "UA", nullptr});
        q.continent = Of({"EU", "EU", "AS", nullptr});
        q.freqHz = 3500000u + static_cast<unsigned>(Pick(100000));
        long seconds = 20 * 3600 + Pick(4 * 3600); // the evening, before midnight
        int kind = Pick(40);
        q.time.status = kind == 0 ? 2 : kind == 1 ? 1 : 0;
        q.time.seconds = seconds;
        q.time.dt = 43589.0 + seconds / 86400.0;
        q.time.text = kind == 0 ? "" : kind == 1 ? "Invalid DateTime"
                                      : Fmt("2019-05-04 %02ld%02ld", seconds / 3600, seconds / 60 % 60);
        return q;
    }

private:
    std::mt19937 m_rng;
};

long Setting(const char* name, long fallback)
{
    const char* v = std::getenv(name);
    return v ? std::strtol(v, nullptr, 10) : fallback;
}

} // namespace

TEST_CASE("the plug-in does what a plain reading of its rules does")
{
    const unsigned seed = static_cast<unsigned>(Setting("BALTIC_MODEL_SEED", 20190504));
    const long steps = Setting("BALTIC_MODEL_STEPS", 3000);
    support::Scratch folder("model_run");
    // A host version that never opens the Setup window.
    support::WriteBytes("Qorv2.ini", "Qorv=2.18\r\n");

    Plugin plugin;
    Model model;
    Steps rnd(seed);
    std::vector<Qso> sent; // QSOs handed over, for removals of real ones
    const char* bad = "BadQSO_RirezIzeruz_04_05_2019.txt";
    long step = 0;
    std::string differs; // what differed first
    auto same = [&differs](bool equal, const std::string& what, const std::string& got = "",
                           const std::string& want = "") {
        if (!equal && differs.empty())
            differs = what + (got.empty() && want.empty() ? "" : "\n--- plug-in:\n" + got + "\n--- model:\n" + want);
    };
    for (; step < steps && differs.empty(); ++step) {
        if (step == steps / 2) {
            plugin.Html();
            model.html = true;
        } else if (step == 0 || rnd.Pick(100) < 2) {
            const char* country = rnd.Of({"SM", "YL", "UA", "DL"});
            const char* continent = rnd.Of({"EU", "AS"});
            plugin.Reset(country, continent);
            model.Reset(country, continent);
            sent.clear();
        } else {
            int roll = rnd.Pick(100);
            if (roll < 45) {
                Qso q = rnd.NewQso();
                same(plugin.Add(q) == model.Add(q), "AddData0 of " + S(q.call));
                sent.push_back(q);
            } else if (roll < 60) {
                Qso q = sent.empty() || rnd.Pick(4) == 0 ? rnd.NewQso()
                                                         : sent[static_cast<size_t>(rnd.Pick(static_cast<int>(sent.size())))];
                plugin.Remove(q);
                model.Remove(q);
            } else if (roll < 92) {
                Qso q = rnd.NewQso();
                std::string typed = S(q.call).substr(0, static_cast<size_t>(rnd.Pick(7)));
                const char* call = q.call ? typed.c_str() : nullptr;
                const char* compare = rnd.Of({"80m", "80M", "40m", nullptr});
                char got[64] = "untouched", want[64] = "untouched";
                int result = plugin.Check(call, q.mode, q.band, compare, got);
                same(result == model.Check(call, q.mode, q.band, compare, want) && std::string(got) == want,
                     "CheckCall0 of " + typed);
            } else {
                std::string report = Body(plugin.Result(), model.html), expected = model.Report();
                same(report == expected, "the report", report, expected);
            }
        }
        const std::string file = support::ReadBytes(bad);
        same(file == model.File(), "the bad-QSO file", file, model.File());
    }
    CHECK_MESSAGE(differs.empty(), "first difference at step ", step - 1, ": ", differs, "; seed ", seed);
    MESSAGE(step, " steps, seed ", seed);
}
