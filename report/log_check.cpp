#include "report/log_check.h"

#include <algorithm>
#include <climits>
#include <string>
#include <unordered_map>
#include <utility>

#include "report/score.h"

namespace {

const long long kDaySeconds = 86400;
const int kNumberMax = 999999999; // longer digit strings read as this
const int kShownMax = 40;         // longer texts are cut in the findings
const char* const kNoValidDate = "no valid date; enter the date and time in the host";

// --- Texts -----------------------------------------------------------------

// A host or header text as a finding quotes it: on one line, and cut when
// it is long, so that no value can bury the rest of the file.
CString Shown(const CString& text)
{
    CString s = BlankControls(text);
    return s.GetLength() > kShownMax ? s.Left(kShownMax) + "..." : s;
}

CString Quoted(const CString& text)
{
    return "\"" + Shown(text) + "\"";
}

bool IsDigits(const CString& text)
{
    if (text.IsEmpty())
        return false;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

int NumberOf(const CString& digits)
{
    long long n = 0;
    for (int i = 0; i < digits.GetLength() && n <= kNumberMax; ++i)
        n = n * 10 + (digits[i] - '0');
    return n > kNumberMax ? kNumberMax : static_cast<int>(n);
}

CString Padded(int number)
{
    CString s;
    s.Format("%03d", number);
    return s;
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool SameNoCase(const CString& a, const char* b)
{
    return a.CompareNoCaseAscii(b) == 0;
}

bool IsCw(const CString& mode) { return SameNoCase(mode, "CW"); }
bool IsSsb(const CString& mode) { return SameNoCase(mode, "SSB"); }

// The digits a number reads as when it was sent in cut numbers (T for 0,
// N for 9, A for 1), or empty when it holds anything else or no cut letter.
CString CutReading(const CString& text)
{
    CString out;
    bool cut = false;
    for (int i = 0; i < text.GetLength(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            out += c;
            continue;
        }
        switch (c) {
        case 'T': case 't': out += '0'; break;
        case 'N': case 'n': out += '9'; break;
        case 'A': case 'a': out += '1'; break;
        default: return CString();
        }
        cut = true;
    }
    return cut ? out : CString();
}

// A received number that is the report rather than a serial number.
bool IsReport(const CString& digits, const CString& rstRcvd)
{
    return digits == "599" || digits == "59" || (!rstRcvd.IsEmpty() && digits == rstRcvd);
}

// --- Times -----------------------------------------------------------------

long long FloorDiv(long long a, long long b)
{
    long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Seconds on a linear scale, rounded as the logs print them; false for a
// null or invalid status and for a day count that no date has (NaN and
// infinities among them).
bool SecondsOf(const COleDateTime& t, long long& seconds)
{
    OleDateParts parts;
    if (t.GetStatus() != COleDateTime::valid || !COleDateTime::ToParts(t.GetDays(), parts))
        return false;
    const double linear = t.DaysSince(COleDateTime(0.0)) * static_cast<double>(kDaySeconds);
    seconds = static_cast<long long>(linear >= 0.0 ? linear + 0.5 : linear - 0.5);
    return true;
}

// "%Y-%m-%d %H%M" of a second on the linear scale.
CString FormatSeconds(long long seconds)
{
    const long long day = FloorDiv(seconds, kDaySeconds);
    const long long rest = seconds - day * kDaySeconds;
    OleDateParts p;
    if (!COleDateTime::ToParts(static_cast<double>(day), p))
        return CString("Invalid DateTime");
    CString s;
    s.Format("%d-%02d-%02d %02d%02d", p.year, p.month, p.day, static_cast<int>(rest / 3600),
             static_cast<int>(rest % 3600 / 60));
    return s;
}

// --- Collecting -------------------------------------------------------------

// One QSO as the checks see it, stored or refused.
struct CQsoView {
    const CString* call;
    const COleDateTime* time;
    bool dated;
    long long seconds; // valid when dated
};

CQsoView ViewOf(const CString& call, const COleDateTime& time)
{
    CQsoView v{&call, &time, false, 0};
    v.dated = SecondsOf(time, v.seconds);
    return v;
}

// Findings per kind with the time they sort by (undated last), then the
// order they were found in. (No stable sort: it would take a buffer from the
// nothrow allocator, which the unit tests' own allocator does not pair.)
struct CEntry {
    long long key;
    size_t order;
    CFinding finding;
    bool operator<(const CEntry& o) const { return key != o.key ? key < o.key : order < o.order; }
};

struct CCollector {
    std::vector<CEntry> kinds[kFindingKinds];

    void Add(FindingKind kind, const CQsoView& q, const CString& text)
    {
        CFinding f;
        f.kind = kind;
        f.when = q.time->Format("%Y-%m-%d %H%M");
        f.call = *q.call;
        f.text = text;
        kinds[kind].push_back({q.dated ? q.seconds : LLONG_MAX, kinds[kind].size(), f});
    }
    void AddHeader(const CString& text)
    {
        CFinding f;
        f.kind = kFindHeader;
        f.text = text;
        kinds[kFindHeader].push_back({0, kinds[kFindHeader].size(), f});
    }
};

// --- The checks -----------------------------------------------------------------

void CheckRefused(const CArray<CBadQso>& bad, CCollector& out)
{
    for (int i = 0; i < bad.GetSize(); ++i) {
        const QsoArgs& q = bad[i].qso;
        CString text;
        switch (bad[i].kind) {
        case kWrongBand:
            text = "refused for the band " + Quoted(q.band) +
                   " (the contest is on 80 m only); your partner loses this QSO too unless you correct the band"
                   " in the host";
            break;
        case kWrongMode:
            text = "refused for the mode " + Quoted(q.mode) +
                   " (only CW and SSB count); your partner loses this QSO too unless you correct the mode in the host";
            break;
        case kNoNumber: {
            const char* missing = q.nrRcvd.IsEmpty() && q.nrSent.IsEmpty() ? "no sent and no received number"
                                  : q.nrRcvd.IsEmpty()                    ? "no received number"
                                                                          : "no sent number";
            text = CString("refused: ") + missing +
                   "; your partner loses this QSO too unless you enter the number in the host";
            break;
        }
        case kDupe:
            continue;
        }
        out.Add(kFindNotInLog, ViewOf(q.call, q.time), text);
    }
}

// Sent numbers of the stored and refused QSOs together, in time order: a
// refused QSO still used its number.
void CheckSentNumbers(const CArray<CInfo>& log, const CArray<CBadQso>& bad, CCollector& out)
{
    struct CSent {
        CQsoView q;
        const CString* text;
        int number;
        size_t order;
    };
    std::vector<CSent> sent;
    sent.reserve(static_cast<size_t>(log.GetSize()) + static_cast<size_t>(bad.GetSize()));
    auto take = [&](const CString& call, const COleDateTime& time, const CString& nr) {
        if (nr.IsEmpty())
            return; // only a refused QSO lacks it, and says so
        CQsoView q = ViewOf(call, time);
        if (!IsDigits(nr))
            out.Add(kFindSentNumber, q,
                    "sent number " + Quoted(nr) +
                        " is not digits; make the host's log show the number you really sent");
        else if (q.dated)
            sent.push_back({q, &nr, NumberOf(nr), sent.size()});
    };
    for (int i = 0; i < log.GetSize(); ++i)
        take(log[i].m_call, log[i].m_time, log[i].m_nrSent);
    for (int i = 0; i < bad.GetSize(); ++i)
        if (bad[i].kind != kDupe)
            take(bad[i].qso.call, bad[i].qso.time, bad[i].qso.nrSent);
    // Within one second (or minute, as most hosts log) the lower number came first.
    std::sort(sent.begin(), sent.end(), [](const CSent& a, const CSent& b) {
        if (a.q.seconds != b.q.seconds)
            return a.q.seconds < b.q.seconds;
        return a.number != b.number ? a.number < b.number : a.order < b.order;
    });
    const CSent* prev = nullptr;
    int last = 0;
    for (const CSent& s : sent) {
        const int n = s.number;
        if (n > last + 1) {
            CString missing = n - 1 == last + 1 ? Padded(last + 1) + " was never sent"
                                                : Padded(last + 1) + " to " + Padded(n - 1) + " were never sent";
            CString text = prev ? "sent " + Shown(*s.text) + " after " + Shown(*prev->text)
                                : "the first number sent is " + Shown(*s.text);
            out.Add(kFindSentNumber, s.q,
                    text + ": " + missing + "; if QSOs are missing from the log, add them in the host");
        } else if (prev && n == last) {
            out.Add(kFindSentNumber, s.q,
                    "sent " + Shown(*s.text) + " again, as to " + Shown(*prev->q.call) + " at " +
                        prev->q.time->Format("%Y-%m-%d %H%M") +
                        "; make the host's log show the number you really sent");
        } else if (prev && n < last) {
            out.Add(kFindSentNumber, s.q,
                    "sent " + Shown(*s.text) + " after " + Shown(*prev->text) + " (to " + Shown(*prev->q.call) +
                        " at " + prev->q.time->Format("%Y-%m-%d %H%M") +
                        "): the numbers start again; make the host's log show the numbers you really sent");
        }
        prev = &s;
        last = n;
    }
}

void CheckReceivedNumbers(const CArray<CInfo>& log, CCollector& out)
{
    for (int i = 0; i < log.GetSize(); ++i) {
        const CInfo& r = log[i];
        const CString& nr = r.m_nrRcvd;
        CString text;
        if (nr.IsEmpty()) {
            text = "no received number; enter it in the host";
        } else if (IsDigits(nr)) {
            if (!IsReport(nr, r.m_rstRcvd))
                continue;
            text = "received number " + Quoted(nr) +
                   " looks like the report, not the serial number; enter the number the station sent in the host";
        } else {
            const CString cut = CutReading(nr);
            if (!cut.IsEmpty() && IsReport(cut, r.m_rstRcvd))
                text = "received number " + Quoted(nr) + " is the report (" + Shown(cut) +
                       " in cut numbers), not the serial number; enter the number the station sent in the host";
            else if (!cut.IsEmpty())
                text = "received number " + Quoted(nr) + " is not digits; in cut numbers it reads " + Shown(cut) +
                       ": enter " + Shown(cut) + " in the host if that is what was sent";
            else
                text = "received number " + Quoted(nr) + " is not digits; correct it in the host";
        }
        out.Add(kFindReceivedNumber, ViewOf(r.m_call, r.m_time), text);
    }
}

// A station numbers its QSOs upwards: the one worked later in the other mode
// must have sent a higher number.
void CheckSameStation(const CArray<CInfo>& log, CCollector& out)
{
    // Per call, in the order first worked: its first CW and first SSB QSO.
    std::unordered_map<std::string, size_t> indexOf;
    std::vector<std::pair<int, int>> firsts;
    for (int i = 0; i < log.GetSize(); ++i) {
        const CInfo& r = log[i];
        if (r.m_dupe || r.m_call.IsEmpty())
            continue;
        const bool cw = IsCw(r.m_mode);
        if (!cw && !IsSsb(r.m_mode))
            continue;
        auto it = indexOf.emplace(r.m_call.str(), firsts.size());
        if (it.second)
            firsts.emplace_back(-1, -1);
        int& slot = cw ? firsts[it.first->second].first : firsts[it.first->second].second;
        if (slot < 0)
            slot = i;
    }
    for (const auto& pair : firsts) {
        if (pair.first < 0 || pair.second < 0)
            continue;
        const CInfo* a = &log[pair.first];
        const CInfo* b = &log[pair.second];
        CQsoView qa = ViewOf(a->m_call, a->m_time), qb = ViewOf(b->m_call, b->m_time);
        if (!qa.dated || !qb.dated || !IsDigits(a->m_nrRcvd) || !IsDigits(b->m_nrRcvd))
            continue;
        if (qb.seconds < qa.seconds) {
            std::swap(a, b);
            std::swap(qa, qb);
        }
        const int earlier = NumberOf(a->m_nrRcvd), later = NumberOf(b->m_nrRcvd);
        if (later > earlier || (later != earlier && qa.seconds == qb.seconds))
            continue;
        CString text = "received " + Shown(b->m_nrRcvd) + " in " + Shown(b->m_mode) +
                       (later == earlier ? ", the same number as " : " after ") + Shown(a->m_nrRcvd) + " in " +
                       Shown(a->m_mode) + " at " + a->m_time.Format("%Y-%m-%d %H%M") +
                       "; a station's numbers go up, so one of the two is wrong: check both in the host";
        out.Add(kFindSameStation, qb, text);
    }
}

// The contest night is the noon-to-noon span holding the most QSOs; its
// period runs from 21:00 to 02:00 UTC. Returns the period's first second
// (or LLONG_MIN when no QSO has a date).
long long CheckPeriod(const CArray<CInfo>& log, CCollector& out)
{
    std::vector<CQsoView> views;
    views.reserve(static_cast<size_t>(log.GetSize()));
    std::unordered_map<long long, int> perNight;
    for (int i = 0; i < log.GetSize(); ++i) {
        views.push_back(ViewOf(log[i].m_call, log[i].m_time));
        if (views.back().dated)
            ++perNight[FloorDiv(views.back().seconds - kDaySeconds / 2, kDaySeconds)];
    }
    long long night = 0;
    int most = 0;
    for (const auto& n : perNight)
        if (n.second > most || (n.second == most && n.first < night)) {
            night = n.first;
            most = n.second;
        }
    const long long start = night * kDaySeconds + 21 * 3600, end = start + 5 * 3600;
    const CString period = most > 0 ? FormatSeconds(start) + " to " + FormatSeconds(end) + " UTC" : CString();
    for (const CQsoView& q : views) {
        if (!q.dated) {
            out.Add(kFindOutsidePeriod, q, kNoValidDate);
            continue;
        }
        const long long minute = FloorDiv(q.seconds, 60);
        if (minute < start / 60 || minute >= end / 60)
            out.Add(kFindOutsidePeriod, q,
                    "outside the contest period " + period +
                        ", so it does not count; if the time is wrong, correct it in the host");
    }
    return most > 0 ? start : LLONG_MIN;
}

void CheckModeFrequency(const CArray<CInfo>& log, CCollector& out)
{
    for (int i = 0; i < log.GetSize(); ++i) {
        const CInfo& r = log[i];
        const unsigned f = r.m_freqKHz;
        if (r.m_mode != "CW" && r.m_mode != "SSB")
            out.Add(kFindModeFrequency, ViewOf(r.m_call, r.m_time),
                    "mode " + Quoted(r.m_mode) +
                        " is written as \"??\" in the Cabrillo log; set the mode to CW or SSB in the host");
        CString text;
        text.Format("%u kHz", f);
        if (f != 0 && IsCw(r.m_mode) && (f < 3510 || f > 3600))
            text = "CW on " + text + ", outside the CW part 3510-3600 kHz";
        else if (f != 0 && IsSsb(r.m_mode) && (f < 3600 || f > 3750))
            text = "SSB on " + text + ", outside the SSB part 3600-3750 kHz";
        else
            continue;
        out.Add(kFindModeFrequency, ViewOf(r.m_call, r.m_time),
                text + "; correct the frequency or the mode in the host");
    }
}

void CheckCalls(const CArray<CInfo>& log, CCollector& out)
{
    for (int i = 0; i < log.GetSize(); ++i) {
        const CString& call = log[i].m_call;
        bool digit = false, letter = false, stray = false;
        for (int k = 0; k < call.GetLength(); ++k) {
            const char c = call[k];
            digit = digit || (c >= '0' && c <= '9');
            letter = letter || IsLetter(c);
            stray = stray || !((c >= '0' && c <= '9') || IsLetter(c) || c == '/');
        }
        CString why;
        auto reason = [&why](const char* r) { why += why.IsEmpty() ? CString(r) : CString(", ") + r; };
        if (call.IsEmpty()) {
            out.Add(kFindCall, ViewOf(call, log[i].m_time), "no call; enter it in the host");
            continue;
        }
        if (!digit)
            reason("no digit");
        if (!letter)
            reason("no letter");
        if (call.GetLength() < 3)
            reason("under 3 characters");
        if (stray)
            reason("characters other than letters, digits and /");
        if (!why.IsEmpty())
            out.Add(kFindCall, ViewOf(call, log[i].m_time),
                    "call " + Quoted(call) + " is not shaped like a call sign (" + why + "); correct it in the host");
    }
}

// --- The header ---------------------------------------------------------

bool InList(const CString& value, const char* const* list)
{
    for (; *list; ++list)
        if (SameNoCase(value, *list))
            return true;
    return false;
}

// A value the Cabrillo lists do not hold, or an empty one that must be
// given; true when the value is listed.
bool CheckListed(const char* tag, const CString& value, const char* const* list, const char* choose,
                 bool required, CCollector& out)
{
    if (value.IsEmpty()) {
        if (required)
            out.AddHeader(CString(tag) + " is empty; choose " + choose);
        return false;
    }
    if (InList(value, list))
        return true;
    out.AddHeader(CString(tag) + " " + Quoted(value) + " is not a Cabrillo value; choose " + choose);
    return false;
}

CString Trimmed(const CString& text)
{
    CString t = text;
    return t.Trim();
}

void CheckHeader(const CArray<CInfo>& log, const CCheckHeader& h, const CCheckStation& station, CCollector& out)
{
    static const char* const kOperators[] = {"SINGLE-OP", "MULTI-OP", "CHECKLOG", nullptr};
    static const char* const kBands[] = {"ALL", "160M", "80M", "40M", "20M", "15M", "10M", "6M", "4M", "2M",
                                         "222", "432", "902", "1.2G", "2.3G", "3.4G", "5.7G", "10G", "24G",
                                         "47G", "75G", "122G", "134G", "241G", "Light", "VHF-3-BAND",
                                         "VHF-FM-ONLY", nullptr};
    static const char* const kModes[] = {"SSB", "CW", "RTTY", "FM", "MIXED", "DIGI", nullptr};
    static const char* const kPowers[] = {"HIGH", "LOW", "QRP", nullptr};
    // The Cabrillo list, and this contest's own two-hour section.
    static const char* const kTimes[] = {"6-HOURS", "8-HOURS", "12-HOURS", "24-HOURS", "2-HOURS", nullptr};

    const CString callsign = Trimmed(h.callsign), own = Trimmed(station.ownCall);
    if (callsign.IsEmpty())
        out.AddHeader(own.IsEmpty() ? CString("CALLSIGN is empty; enter your call")
                                    : "CALLSIGN is empty; enter your call " + Shown(own));
    else if (!own.IsEmpty() && callsign.CompareNoCaseAscii(own) != 0)
        out.AddHeader("CALLSIGN " + Quoted(callsign) + " differs from your call " + Shown(own) +
                      "; correct it in the header");

    const CString op = Trimmed(h.categoryOperator);
    const bool opListed = CheckListed("CATEGORY-OPERATOR", op, kOperators, "SINGLE-OP, MULTI-OP or CHECKLOG",
                                      true, out);

    const CString band = Trimmed(h.categoryBand);
    if (CheckListed("CATEGORY-BAND", band, kBands, "80M", true, out) && !SameNoCase(band, "80M") &&
        !SameNoCase(band, "ALL"))
        out.AddHeader("CATEGORY-BAND is " + Shown(band) + ", but the contest is on 80 m only; choose 80M");

    const CString mode = Trimmed(h.categoryMode);
    if (CheckListed("CATEGORY-MODE", mode, kModes, "CW, SSB or MIXED", true, out)) {
        // Counted as the report counts CW and SSB: dupes not.
        int cw = 0, ssb = 0;
        for (int i = 0; i < log.GetSize(); ++i) {
            if (log[i].m_notCounted)
                continue;
            cw += IsCw(log[i].m_mode) ? 1 : 0;
            ssb += IsSsb(log[i].m_mode) ? 1 : 0;
        }
        const char* expected = cw && ssb ? "MIXED" : cw ? "CW" : ssb ? "SSB" : nullptr;
        if (expected && !SameNoCase(mode, expected)) {
            CString holds;
            if (cw && ssb)
                holds.Format("%d CW and %d SSB QSOs", cw, ssb);
            else
                holds = cw ? "CW QSOs only" : "SSB QSOs only";
            out.AddHeader("CATEGORY-MODE is " + Shown(mode) + ", but the log holds " + holds + "; choose " +
                          expected);
        }
    }

    CheckListed("CATEGORY-POWER", Trimmed(h.categoryPower), kPowers, "HIGH, LOW or QRP", false, out);

    const CString time = Trimmed(h.categoryTime);
    if (CheckListed("CATEGORY-TIME", time, kTimes, "2-HOURS for the two-hour section, or leave it empty", false,
                    out)) {
        if (!SameNoCase(time, "2-HOURS"))
            out.AddHeader("CATEGORY-TIME is " + Shown(time) +
                          ", but this contest's only time section is 2-HOURS; choose 2-HOURS or leave it empty");
        else if (opListed && !SameNoCase(op, "SINGLE-OP"))
            out.AddHeader("CATEGORY-TIME is 2-HOURS, a single-operator section, but CATEGORY-OPERATOR is " +
                          Shown(op) + "; choose SINGLE-OP or leave CATEGORY-TIME empty");
    }
}

// --- The two hours ---------------------------------------------------------

CTwoHours BestTwoHours(const CArray<CInfo>& log, const CCheckHeader& h, const CCheckStation& station)
{
    CTwoHours best;
    best.scoring = SameNoCase(Trimmed(h.categoryTime), "2-HOURS");
    std::vector<std::pair<long long, int>> counted; // minute, points
    counted.reserve(static_cast<size_t>(log.GetSize()));
    for (int i = 0; i < log.GetSize(); ++i) {
        const CInfo& r = log[i];
        long long seconds = 0;
        // Counted as the score counts: no dupe, a call.
        if (r.m_notCounted || r.m_call.IsEmpty() || !SecondsOf(r.m_time, seconds))
            continue;
        counted.emplace_back(FloorDiv(seconds, 60), QsoPoints(r, station.balticStation, station.myContinent));
    }
    std::sort(counted.begin(), counted.end());
    long long points = 0, bestPoints = -1, bestStart = 0;
    size_t end = 0, bestCount = 0;
    for (size_t i = 0; i < counted.size(); ++i) {
        while (end < counted.size() && counted[end].first < counted[i].first + 120)
            points += counted[end++].second;
        const size_t n = end - i;
        if (n > bestCount || (n == bestCount && points > bestPoints)) {
            bestCount = n;
            bestPoints = points;
            bestStart = counted[i].first;
        }
        points -= counted[i].second;
    }
    if (bestCount > 0) {
        best.qsos = static_cast<int>(bestCount);
        best.points = static_cast<int>(std::min<long long>(bestPoints, INT_MAX));
        best.start = FormatSeconds(bestStart * 60);
        best.end = FormatSeconds((bestStart + 120) * 60);
    }
    return best;
}

const char* const kHeadings[kFindingKinds] = {
    "Not in the log", "Sent numbers", "Received numbers", "Same station in both modes",
    "Outside the contest period", "Mode and frequency", "Calls", "Header"};
const char* const kBoxLabels[kFindingKinds] = {
    "not in the log", "sent number", "received number", "same station twice",
    "outside the period", "mode and frequency", "call", "header"};

} // namespace

CLogCheck CheckLog(const CArray<CInfo>& log, const CArray<CBadQso>& bad, const CCheckHeader& header,
                   const CCheckStation& station)
{
    CLogCheck check;
    check.storedQsos = log.GetSize();
    for (int i = 0; i < bad.GetSize(); ++i)
        check.refusedQsos += bad[i].kind != kDupe ? 1 : 0;

    CCollector c;
    CheckRefused(bad, c);
    CheckSentNumbers(log, bad, c);
    CheckReceivedNumbers(log, c);
    CheckSameStation(log, c);
    const long long start = CheckPeriod(log, c);
    if (start != LLONG_MIN) {
        check.period = FormatSeconds(start) + " to " + FormatSeconds(start + 5 * 3600);
        check.periodStart = start;
    }
    CheckModeFrequency(log, c);
    CheckCalls(log, c);
    CheckHeader(log, header, station, c);

    for (int k = 0; k < kFindingKinds; ++k) {
        auto& list = c.kinds[k];
        std::sort(list.begin(), list.end());
        for (CEntry& e : list)
            check.findings.push_back(std::move(e.finding));
        check.counts[k] = static_cast<int>(list.size());
    }
    check.twoHours = BestTwoHours(log, header, station);
    return check;
}

bool CheckSeconds(const COleDateTime& t, long long& seconds)
{
    return SecondsOf(t, seconds);
}

CString FormatCheckFile(const CLogCheck& check, const CString& call)
{
    CString out;
    if (check.Total() == 0)
        out = "No findings\r\n";
    else
        out.Format("%d finding%s\r\n", check.Total(), check.Total() == 1 ? "" : "s");
    out.AppendFormat("Log check of %s: %d QSO%s in the log, %d refused\r\n", Shown(call).GetString(),
                     check.storedQsos, check.storedQsos == 1 ? "" : "s", check.refusedQsos);
    if (!check.period.IsEmpty())
        out += "Contest period: " + check.period + " UTC (the night with the most QSOs)\r\n";
    size_t next = 0;
    for (int k = 0; k < kFindingKinds; ++k) {
        if (check.counts[k] == 0)
            continue;
        out.AppendFormat("\r\n%s (%d)\r\n", kHeadings[k], check.counts[k]);
        for (int i = 0; i < check.counts[k] && next < check.findings.size(); ++i) {
            const CFinding& f = check.findings[next++];
            if (f.kind == kFindHeader)
                out += "  " + f.text + "\r\n";
            else
                out += "  " + (f.when.IsEmpty() ? CString("(no date)") : f.when) + " " +
                       (f.call.IsEmpty() ? CString("(no call)") : Shown(f.call)) + ": " + f.text + "\r\n";
        }
    }
    out += "\r\nBest two hours\r\n";
    const CTwoHours& t = check.twoHours;
    if (t.qsos == 0)
        out += "  no counted QSO with a valid date\r\n";
    else
        out.AppendFormat("  %s to %s: %d QSO%s, %d point%s\r\n", t.start.GetString(), t.end.GetString(), t.qsos,
                         t.qsos == 1 ? "" : "s", t.points, t.points == 1 ? "" : "s");
    if (t.scoring)
        out += "  CATEGORY-TIME is 2-HOURS, this contest's two-hour section: only these two hours count\r\n";
    return out;
}

CString CheckBoxLine(const CLogCheck& check, const CString& fileName)
{
    CString kinds;
    for (int k = 0; k < kFindingKinds; ++k)
        if (check.counts[k] > 0)
            kinds.AppendFormat("%s%d %s", kinds.IsEmpty() ? "" : ", ", check.counts[k], kBoxLabels[k]);
    return "Log check: " + (kinds.IsEmpty() ? CString("no findings") : kinds) + "; see " + BlankControls(fileName);
}
