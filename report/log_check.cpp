#include "report/log_check.h"

#include <algorithm>
#include <climits>
#include <string>
#include <unordered_map>
#include <utility>

#include "engine/rules.h"
#include "report/contest_time.h"
#include "report/score.h"

namespace {

const int kNumberMax = 999999999; // longer digit strings read as this
const char* const kNoValidDate = "no valid date; enter the date and time in the host";

// --- Texts -----------------------------------------------------------------

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

CString CallShown(const CString& call)
{
    return call.IsEmpty() ? CString("(no call)") : Shown(call);
}

// Counted as the report counts: a call, and not a dupe.
bool Counted(const CInfo& r)
{
    return !r.m_notCounted && !r.m_call.IsEmpty();
}

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

// A received number that is the report received rather than a serial
// number; a short number alone may well be the partner's 59th QSO.
bool IsReport(const CString& digits, const CString& rstRcvd)
{
    return !rstRcvd.IsEmpty() && digits == rstRcvd;
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
        f.when = q.time->Format(kLogDateTime);
        f.call = *q.call;
        f.text = text;
        kinds[kind].push_back({q.dated ? q.seconds : LLONG_MAX, kinds[kind].size(), f});
    }
    // A finding on the whole log: no time, no call.
    void AddWhole(FindingKind kind, const CString& text)
    {
        CFinding f;
        f.kind = kind;
        f.text = text;
        kinds[kind].push_back({0, kinds[kind].size(), f});
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
        out.Add(kFindRefused, ViewOf(q.call, q.time), text);
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
                    "sent " + Shown(*s.text) + " again, as to " + CallShown(*prev->q.call) + " at " +
                        prev->q.time->Format(kLogDateTime) +
                        "; make the host's log show the number you really sent");
        } else if (prev && n < last) {
            out.Add(kFindSentNumber, s.q,
                    "sent " + Shown(*s.text) + " after " + Shown(*prev->text) + " (to " + CallShown(*prev->q.call) +
                        " at " + prev->q.time->Format(kLogDateTime) +
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
                   " is the report received, not the serial number; enter the number the station sent in the host";
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
        const rules::ModeClass mode = rules::ClassOfMode(r.m_mode);
        if (mode == rules::kOtherMode)
            continue;
        const bool cw = mode == rules::kCw;
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
                       Shown(a->m_mode) + " at " + a->m_time.Format(kLogDateTime) +
                       "; a station's numbers go up, so one of the two is wrong: check both in the host";
        out.Add(kFindSameStation, qb, text);
    }
}

// The contest night is the noon-to-noon span holding the most QSOs; its
// period runs from 21:00 to 02:00 UTC. Returns the period's first second
// (or LLONG_MIN when no QSO has a date). A night that is not the contest's
// date of its year is named once, with that date.
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
    const long long start = night * kDaySeconds + rules::kPeriodStartHour * 3600,
                    end = start + rules::kPeriodHours * 3600;
    const CString period = most > 0 ? FormatSeconds(start) + " to " + FormatSeconds(end) + " UTC" : CString();
    OleDateParts day;
    if (most > 0 && DateOfDay(night, day) && (day.month != 5 || day.day != rules::ContestSaturday(day.year))) {
        CString text;
        text.Format("the log's night begins on %04d-%02d-%02d, but the contest of %d was on the third full "
                    "weekend of May, %04d-05-%02d 2100 to %04d-05-%02d 0200 UTC; if the host's dates are wrong, "
                    "correct them",
                    day.year, day.month, day.day, day.year, day.year, rules::ContestSaturday(day.year), day.year,
                    rules::ContestSaturday(day.year) + 1);
        out.AddWhole(kFindContestDate, text);
    }
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
        const rules::ModeClass mode = rules::ClassOfMode(r.m_mode);
        unsigned low = 0, high = 0;
        if (!rules::ModePart(mode, low, high)) {
            out.Add(kFindModeFrequency, ViewOf(r.m_call, r.m_time),
                    "mode " + Quoted(r.m_mode) +
                        " is written as \"??\" in the Cabrillo log; set the mode to CW or SSB in the host");
            continue;
        }
        if (f == 0 || (f >= low && f <= high))
            continue;
        CString text;
        text.Format("%s on %u kHz, outside the %s part %u-%u kHz; correct the frequency or the mode in the host",
                    r.m_mode.GetString(), f, r.m_mode.GetString(), low, high);
        out.Add(kFindModeFrequency, ViewOf(r.m_call, r.m_time), text);
    }
}

// QSOs with stations whose country the organiser does not count. Returns
// their points under the points rule.
long long CheckNotCounted(const CArray<CInfo>& log, const CCheckStation& station, CCollector& out)
{
    long long points = 0;
    for (int i = 0; i < log.GetSize(); ++i) {
        const CInfo& r = log[i];
        const char* country = rules::NotCountedCountry(r.m_country);
        if (!Counted(r) || !country)
            continue;
        const int p = QsoPoints(r, station.balticStation, station.myContinent);
        points += p;
        CString text;
        text.Format("a station in %s (%s): the organiser has not counted QSOs with Russia and Belarus since 2023; "
                    "the plug-in's score counts its %d point%s",
                    country, Shown(r.m_country).GetString(), p, p == 1 ? "" : "s");
        out.Add(kFindNotCounted, ViewOf(r.m_call, r.m_time), text);
    }
    return points;
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

void CheckHeader(const CArray<CInfo>& log, const CCheckHeader& h, const CCheckStation& station, CCollector& out)
{
    int cw = 0, ssb = 0;
    for (int i = 0; i < log.GetSize(); ++i) {
        if (!Counted(log[i]))
            continue;
        const rules::ModeClass mode = rules::ClassOfMode(log[i].m_mode);
        cw += mode == rules::kCw ? 1 : 0;
        ssb += mode == rules::kSsb ? 1 : 0;
    }
    for (const CString& text : CheckHeaderValues(h, station.ownCall, cw, ssb))
        out.AddWhole(kFindHeader, text);
}

// --- The two hours ---------------------------------------------------------

// The 120 minutes inside the period with the most counted QSOs (then the
// most points), starting at a QSO's minute or ending with the period.
CTwoHours BestTwoHours(const CArray<CInfo>& log, long long periodStart, const CCheckStation& station)
{
    CTwoHours best;
    if (periodStart == LLONG_MIN)
        return best;
    const long long first = periodStart / 60, last = first + rules::kPeriodHours * 60 - 120;
    std::vector<std::pair<long long, int>> counted; // minute, points
    counted.reserve(static_cast<size_t>(log.GetSize()));
    for (int i = 0; i < log.GetSize(); ++i) {
        const CInfo& r = log[i];
        long long seconds = 0;
        if (!Counted(r) || !SecondsOf(r.m_time, seconds))
            continue;
        const long long minute = FloorDiv(seconds, 60);
        if (minute >= first && minute < last + 120)
            counted.emplace_back(minute, QsoPoints(r, station.balticStation, station.myContinent));
    }
    std::sort(counted.begin(), counted.end());
    std::vector<long long> sums(1, 0);
    for (const auto& c : counted)
        sums.push_back(sums.back() + c.second);
    long long bestPoints = -1, bestStart = 0;
    size_t bestCount = 0;
    for (const auto& c : counted) {
        const long long start = std::min(c.first, last);
        const auto from = std::lower_bound(counted.begin(), counted.end(), std::make_pair(start, INT_MIN));
        const auto to = std::lower_bound(counted.begin(), counted.end(), std::make_pair(start + 120, INT_MIN));
        const size_t n = static_cast<size_t>(to - from);
        const long long points = sums[static_cast<size_t>(to - counted.begin())] -
                                 sums[static_cast<size_t>(from - counted.begin())];
        if (n > bestCount || (n == bestCount && points > bestPoints)) {
            bestCount = n;
            bestPoints = points;
            bestStart = start;
        }
    }
    if (bestCount > 0) {
        best.qsos = static_cast<int>(bestCount);
        best.points = static_cast<int>(std::min<long long>(bestPoints, INT_MAX));
        best.start = FormatSeconds(bestStart * 60);
        best.end = FormatSeconds((bestStart + 120) * 60);
    }
    return best;
}

} // namespace

CLogCheck CheckLog(const CArray<CInfo>& log, const CArray<CBadQso>& bad, const CCheckHeader& header,
                   const CCheckStation& station)
{
    CLogCheck check;
    check.storedQsos = log.GetSize();
    for (int i = 0; i < bad.GetSize(); ++i)
        check.refusedQsos += bad[i].kind != kDupe ? 1 : 0;
    long long claimed = 0;
    for (int i = 0; i < log.GetSize(); ++i)
        if (Counted(log[i]))
            claimed += QsoPoints(log[i], station.balticStation, station.myContinent);

    CCollector c;
    CheckRefused(bad, c);
    const long long notCounted = CheckNotCounted(log, station, c);
    CheckSentNumbers(log, bad, c);
    CheckReceivedNumbers(log, c);
    CheckSameStation(log, c);
    const long long start = CheckPeriod(log, c);
    if (start != LLONG_MIN) {
        check.period = FormatSeconds(start) + " to " + FormatSeconds(start + rules::kPeriodHours * 3600);
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
    check.twoHours = BestTwoHours(log, start, station);
    const char* own = rules::NotCountedCountry(station.ownCountry);
    check.ownCountryNotEvaluated = own ? own : "";
    check.claimedPoints = static_cast<int>(std::min<long long>(claimed, INT_MAX));
    check.organiserPoints = own ? 0 : static_cast<int>(std::min<long long>(claimed - notCounted, INT_MAX));
    return check;
}
