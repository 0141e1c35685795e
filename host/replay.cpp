#include "host/replay.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>

#include "host/answer.h"
#include "host/file_text.h"
#include "host/workdir.h"

const char* const kAdifDeleteField = "APP_HOSTSIM_DELETE";
const char* const kDefaultCall = "YL2XYZ";

namespace {

bool Digits(const std::string& s, size_t from, size_t count, int& value)
{
    if (from + count > s.size())
        return false;
    value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i])))
            return false;
        value = value * 10 + (s[i] - '0');
    }
    return true;
}

bool ValidDate(int y, int m, int d)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1900 || m < 1 || m > 12 || d < 1)
        return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

// "YYYYMMDD" (ADIF) or, with separators, "YYYY-MM-DD" (the command line).
bool ParseDate(const std::string& s, bool separated, int& y, int& m, int& d)
{
    if (separated) {
        if (s.size() != 10 || s[4] != '-' || s[7] != '-')
            return false;
        return Digits(s, 0, 4, y) && Digits(s, 5, 2, m) && Digits(s, 8, 2, d) && ValidDate(y, m, d);
    }
    return s.size() == 8 && Digits(s, 0, 4, y) && Digits(s, 4, 2, m) && Digits(s, 6, 2, d) && ValidDate(y, m, d);
}

bool ParseTime(const std::string& s, int& h, int& m, int& sec)
{
    sec = 0;
    if (s.size() != 4 && s.size() != 6)
        return false;
    if (!Digits(s, 0, 2, h) || !Digits(s, 2, 2, m) || (s.size() == 6 && !Digits(s, 4, 2, sec)))
        return false;
    return h < 24 && m < 60 && sec < 60;
}

// MHz with an optional decimal point, to whole Hz (digits past the Hz are dropped).
bool ParseMegahertz(const std::string& s, unsigned int& hz)
{
    size_t dot = s.find('.');
    std::string whole = s.substr(0, dot);
    std::string fraction = dot == std::string::npos ? std::string() : s.substr(dot + 1);
    if (whole.empty() && fraction.empty())
        return false;
    for (char c : whole + fraction)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    unsigned long long value = 0;
    for (char c : whole) {
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 4294)
            return false;
    }
    fraction.resize(6, '0');
    value = value * 1000000ULL + std::stoull(fraction);
    if (value > 0xFFFFFFFFULL)
        return false;
    hz = static_cast<unsigned int>(value);
    return true;
}

std::string HostMode(const std::string& adifMode)
{
    std::string upper = AdifUpper(adifMode);
    if (upper == "CW")
        return "CW";
    if (upper == "SSB" || upper == "USB" || upper == "LSB" || upper == "PHONE" || upper == "PH")
        return "SSB";
    return adifMode; // the plug-in decides what it makes of other modes
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string FirstOf(const AdifRecord& r, const char* a, const char* b)
{
    return r.Has(a) ? r.Get(a) : r.Get(b);
}

// The name the plug-in gives an export's files: the call with what Windows
// refuses in a file name as "_", "TOVAK" when there is none.
std::string FileBaseOf(const std::string& call)
{
    std::string base;
    for (char c : call)
        base += static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c) ? '_' : c;
    base.erase(0, base.find_first_not_of(' '));
    base.erase(base.find_last_not_of(' ') + 1);
    return base.empty() ? "TOVAK" : base;
}

// The list after a box's "prefix", split at ", ".
void AddNamed(const std::string& box, const std::string& prefix, std::vector<std::string>& names)
{
    for (size_t at = 0; (at = box.find(prefix, at)) != std::string::npos;) {
        if (at != 0 && box[at - 1] != '\n') {
            at += prefix.size();
            continue;
        }
        at += prefix.size();
        const std::string list = box.substr(at, box.find('\n', at) - at);
        for (size_t from = 0; from <= list.size();) {
            const size_t comma = std::min(list.find(", ", from), list.size());
            names.push_back(list.substr(from, comma - from));
            from = comma + 2;
        }
    }
}

// The calls hostsim names beside the check, as a section of it.
std::string NoCountryText(const std::vector<BustedCall>& calls)
{
    std::string text = "\r\nCalls in no country (" + std::to_string(calls.size()) +
                       "): not in the country file, so their points may be wrong\r\n";
    for (const BustedCall& c : calls)
        text += "  " + c.when + " " + c.call + ": check the call, or give PFX and CONT in the record\r\n";
    return text;
}

// The check file with hostsim's own findings after the plug-in's, counted
// in its first line ("No findings", "1 finding", "N findings").
std::string WithHostFindings(const std::string& check, const ReplayResult& r, const std::string& callsSource)
{
    const size_t found = r.busted.size() + r.noCountry.size();
    if (found == 0)
        return check;
    const size_t eol = check.find("\r\n");
    const std::string first = check.substr(0, eol);
    const size_t had = first == "No findings" ? 0 : std::strtoul(first.c_str(), nullptr, 10);
    const size_t total = had + found;
    std::string text = (total == 1 ? std::string("1 finding") : std::to_string(total) + " findings") +
                       (eol == std::string::npos ? std::string("\r\n") : check.substr(eol));
    if (!r.busted.empty())
        text += BustedText(r.busted, callsSource);
    if (!r.noCountry.empty())
        text += NoCountryText(r.noCountry);
    return text;
}

// The QSO's time as the check names it: "2024-05-18 2110".
std::string When(const ReplayQso& q)
{
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d%02d", q.year, q.month, q.day, q.hour, q.minute);
    return when;
}

} // namespace

std::string BustedText(const std::vector<BustedCall>& busted, const std::string& source)
{
    std::string text = "\r\nPossibly busted calls (" + std::to_string(busted.size()) + "): not in " + source +
                       ", one character from a call that is\r\n";
    for (const BustedCall& b : busted) {
        // A short call is one character from many: the first five say enough.
        const size_t shown = std::min<size_t>(b.hints.size(), 5);
        std::string hints;
        for (size_t i = 0; i < shown; ++i)
            hints += (i == 0 ? "" : i + 1 == b.hints.size() ? " or " : ", ") + b.hints[i];
        if (shown < b.hints.size())
            hints += " or " + std::to_string(b.hints.size() - shown) + " more";
        text += "  " + b.when + " " + b.call + ": " + hints + "? check the call in the host\r\n";
    }
    if (busted.empty())
        text += "  none\r\n";
    return text;
}

bool ParseContestDate(const std::string& text, int& year, int& month, int& day)
{
    return ParseDate(text, true, year, month, day);
}

HostQso ReplayQso::ToHost(const std::string& defaultOwnCall) const
{
    HostQso h;
    h.ownCall = ownCall.empty() ? defaultOwnCall.c_str() : ownCall.c_str();
    h.call = call.c_str();
    h.time = time;
    h.freqHz = freqHz;
    h.mode = mode.c_str();
    h.rstSent = rstSent.c_str();
    h.rstRcvd = rstRcvd.c_str();
    h.nrSent = nrSent.c_str();
    h.nrRcvd = nrRcvd.c_str();
    h.country = country.c_str();
    h.continent = continent.c_str();
    h.band = band.c_str();
    return h;
}

std::string PrefixOfCall(const std::string& call)
{
    for (size_t i = 1; i < call.size(); ++i)
        if (std::isdigit(static_cast<unsigned char>(call[i])))
            return call.substr(0, i);
    return call;
}

std::string BandOfFrequency(unsigned int hz)
{
    struct Band {
        unsigned int lowKHz, highKHz;
        const char* name;
    };
    static const Band kBands[] = {
        {1800, 2000, "160m"},    {3500, 4000, "80m"},     {5060, 5450, "60m"},     {7000, 7300, "40m"},
        {10100, 10150, "30m"},   {14000, 14350, "20m"},   {18068, 18168, "17m"},   {21000, 21450, "15m"},
        {24890, 24990, "12m"},   {28000, 29700, "10m"},   {50000, 54000, "6m"},    {144000, 148000, "2m"}};
    unsigned int khz = hz / 1000;
    for (const Band& b : kBands)
        if (khz >= b.lowKHz && khz <= b.highKHz)
            return b.name;
    return std::string();
}

bool QsoFromAdif(const AdifRecord& r, ReplayQso& q, std::string& problem, const CCountryFile* countries)
{
    q = ReplayQso();
    q.record = r.number;
    q.call = r.Get("CALL");
    if (q.call.empty()) {
        problem = "no CALL";
        return false;
    }
    std::string date = r.Get("QSO_DATE");
    if (date.empty()) {
        problem = "no QSO_DATE";
        return false;
    }
    if (!ParseDate(date, false, q.year, q.month, q.day)) {
        problem = "QSO_DATE \"" + date + "\" is not a date (YYYYMMDD)";
        return false;
    }
    std::string timeOn = r.Get("TIME_ON");
    int h = 0, m = 0, s = 0;
    if (timeOn.empty()) {
        problem = "no TIME_ON";
        return false;
    }
    if (!ParseTime(timeOn, h, m, s)) {
        problem = "TIME_ON \"" + timeOn + "\" is not a time (HHMM or HHMMSS)";
        return false;
    }
    q.time = MakeHostDate(q.year, q.month, q.day, h, m, s);
    q.hour = h;
    q.minute = m;
    std::string freq = r.Get("FREQ");
    if (!freq.empty() && !ParseMegahertz(freq, q.freqHz)) {
        problem = "FREQ \"" + freq + "\" is not a frequency in MHz";
        return false;
    }
    q.band = r.Has("BAND") ? Lower(r.Get("BAND")) : BandOfFrequency(q.freqHz);
    q.mode = HostMode(r.Get("MODE"));
    q.ownCall = FirstOf(r, "STATION_CALLSIGN", "OPERATOR");
    q.rstSent = r.Get("RST_SENT");
    q.rstRcvd = r.Get("RST_RCVD");
    q.nrSent = FirstOf(r, "STX_STRING", "STX");
    q.nrRcvd = FirstOf(r, "SRX_STRING", "SRX");
    const std::string pfx = r.Get("PFX");
    q.country = PrefixOfCall(pfx.empty() ? q.call : pfx);
    q.continent = r.Get("CONT");
    if (countries && (pfx.empty() || q.continent.empty())) {
        q.lookedUp = true;
        const CountryMatch found = countries->Find(q.call);
        q.countryUnknown = found.entity == nullptr;
        if (found.entity && pfx.empty())
            q.country = found.entity->prefix;
        if (found.entity && q.continent.empty())
            q.continent = found.continent;
    }
    q.remove = AdifUpper(r.Get(kAdifDeleteField)) == "Y";
    return true;
}

ReplayResult Replay(const AdifLog& log, const std::string& source, const ReplayOptions& options)
{
    ReplayResult result;
    result.problems = log.problems;
    if (!log.fault.empty()) {
        result.error = log.fault;
        return result;
    }
    std::string ctyError;
    const CCountryFile& countries = options.countries ? *options.countries : BuiltInCountryFile(&ctyError);
    if (!ctyError.empty()) {
        result.error = "the built-in country file cannot be read: " + ctyError;
        result.status = 2;
        return result;
    }

    std::vector<ReplayQso> qsos;
    for (const AdifRecord& r : log.records) {
        ReplayQso q;
        std::string problem;
        if (!QsoFromAdif(r, q, problem, &countries)) {
            result.problems.push_back(source + ": record " + std::to_string(r.number) + ": " + problem +
                                      ", record left out");
            continue;
        }
        result.lookedUp += q.lookedUp && !q.countryUnknown ? 1 : 0;
        if (q.countryUnknown) {
            ++result.countryUnknown;
            result.problems.push_back(source + ": record " + std::to_string(r.number) + ": " + q.call +
                                      ": no country in the country file; handed over with country \"" + q.country +
                                      "\" and continent \"" + q.continent + "\" (give PFX and CONT in the record)");
        }
        qsos.push_back(q);
    }
    if (qsos.empty()) {
        result.error = source + ": no QSO in the file can be replayed: nothing replayed";
        return result;
    }

    result.ownCall = options.call;
    for (size_t i = 0; i < qsos.size() && result.ownCall.empty(); ++i)
        result.ownCall = qsos[i].ownCall;
    if (result.ownCall.empty())
        result.ownCall = kDefaultCall;
    const CountryMatch own = countries.Find(result.ownCall);
    result.ownPrefix = !options.prefix.empty() ? options.prefix : own.entity ? own.entity->prefix : PrefixOfCall(result.ownCall);
    result.ownContinent = !options.continent.empty() ? options.continent : own.entity ? own.continent : "EU";

    int y = 0, m = 0, d = 0;
    if (!options.date.empty()) {
        if (!ParseDate(options.date, true, y, m, d)) {
            result.error = "the contest date \"" + options.date + "\" is not a date (YYYY-MM-DD)";
            result.status = 2;
            return result;
        }
    } else {
        y = qsos.front().year, m = qsos.front().month, d = qsos.front().day;
    }
    char dateText[16];
    std::snprintf(dateText, sizeof dateText, "%04d-%02d-%02d", y, m, d);
    result.contestDate = dateText;

    // Nothing is written before the plug-in and the folder are known to be fit.
    result.status = 2;
    if (!CheckPluginDll(options.dll, result.error))
        return result;
    PluginHost host(options.dll);
    if (!host.Loaded()) {
        result.error = host.Error();
        return result;
    }
    CWorkFolder folder;
    if (!folder.Prepare(options.hostVersion, result.error))
        return result;
    result.folder = folder.Path();
    if (!options.hostVersion.empty() && !folder.WriteVersionFile(result.error))
        return result;
    // An export replaces these: what they hold now is kept until it is seen
    // whether the run left other bytes in them.
    const std::string base = FileBaseOf(result.ownCall);
    if (options.cabrillo && !folder.KeepCopies({base + ".cbr", base + "-check.txt", base + "-summary.html"}, result.error))
        return result;
    result.status = 1;
    if (options.html)
        host.SetVersion(options.hostVersion.c_str());

    {
        // Answers the export's dialogs from another thread while the reset and
        // the report wait in them; gone before the plug-in is unloaded.
        std::unique_ptr<ExportAnswerer> answerer;
        if (options.cabrillo) {
            // OK once; a dialog that stays open after it (the header could not
            // be stored) is cancelled, which cancels the export, rather than
            // answered for ever.
            HeaderAnswer answer, cancel;
            answer.values = options.header;
            cancel.cancel = true;
            answerer.reset(new ExportAnswerer(std::vector<HeaderAnswer>{answer, cancel}));
        }

        HostReset reset;
        reset.hostFolder = ".\\";
        reset.cabrillo = options.cabrillo ? 1 : 0;
        reset.myCall = result.ownCall.c_str();
        reset.first = reset.second = MakeHostDate(y, m, d);
        reset.myCountry = result.ownPrefix.c_str();
        reset.myContinent = result.ownContinent.c_str();
        host.ResetStats(reset);
        // The reset alone reads the version file.
        folder.RemoveVersionFile();

        for (const ReplayQso& q : qsos) {
            if (q.remove) {
                host.RemoveData(q.ToHost(result.ownCall));
                ++result.removed;
            } else if (host.AddData(q.ToHost(result.ownCall)) == 1) {
                ++result.stored;
            } else {
                ++result.rejected;
            }
        }

        int status = 0;
        const char* text = host.GetResult(&status);
        result.report = text ? text : "";
        if (answerer) {
            result.headerShown = !answerer->Headers().empty();
            for (const OutputSeen& o : answerer->Outputs())
                result.exportMessages.push_back(o.text);
            result.otherMessages = answerer->Others();
        }
    }
    host.Unload();

    std::set<std::string> checked;
    for (const ReplayQso& q : qsos) {
        if (q.remove || !checked.insert(q.call).second)
            continue;
        BustedCall b;
        b.record = q.record;
        b.when = When(q);
        b.call = q.call;
        if (q.countryUnknown)
            result.noCountry.push_back(b);
        if (options.calls && !(b.hints = options.calls->Hints(q.call)).empty())
            result.busted.push_back(b);
    }

    // The check file is this run's only when the box names it and not
    // among the files it could not write.
    std::string named;
    for (const std::string& box : result.exportMessages) {
        AddNamed(box, "File could not be written: ", result.notWritten);
        AddNamed(box, "Could not be written: ", result.notWritten);
        const size_t see = box.find("; see ");
        if (see != std::string::npos)
            named = box.substr(see + 6, box.find('\n', see) - see - 6);
    }
    if (!named.empty() && std::find(result.notWritten.begin(), result.notWritten.end(), named) == result.notWritten.end()) {
        const std::string written = ReadFileText(named);
        result.check = WithHostFindings(written, result, options.callsSource);
        std::string error;
        if (result.check != written && !ReplaceWholeFile(named, result.check, error)) {
            result.problems.push_back(named + ": hostsim's own findings could not be added to it (" + error + ")");
            result.notWritten.push_back(named);
        }
    }
    result.backups = folder.KeepBackups(result.problems);
    result.written = folder.Written();
    result.ok = true;
    result.status = 0;
    return result;
}

ReplayResult ReplayFile(const std::string& path, const ReplayOptions& options)
{
    if (!std::ifstream(path, std::ios::binary)) {
        ReplayResult result;
        result.error = path + ": cannot open the file";
        return result;
    }
    return Replay(ReadAdifFile(path), path, options);
}
