#include "report/tally.h"

#include <cmath>

#include "engine/rules.h"
#include "report/score.h"

namespace {

// Whole minutes between the reference and a QSO, the difference first
// rounded to the nearest half second. False when either date is not a
// valid finite date or the two lie more than a year apart: such a QSO
// counts in neither rate window (and no conversion to int can overflow).
bool MinutesBefore(const COleDateTime& reference, const COleDateTime& t, int& minutes)
{
    const double kYear = 366.0;
    if (reference.GetStatus() != COleDateTime::valid || t.GetStatus() != COleDateTime::valid)
        return false;
    const double d = reference.DaysSince(t);
    if (!(std::fabs(d) <= kYear)) // NaN and infinities fail this too
        return false;
    const double halfSecond = 1.0 / 172800.0;
    minutes = static_cast<int>((d + (d >= 0.0 ? halfSecond : -halfSecond)) * 1440.0);
    return true;
}

// Adds a counted QSO on the last QSO's band to the rate windows.
void CountRate(ReportTally& t, const COleDateTime& reference, const CInfo& r, int points)
{
    int m = 0;
    if (!MinutesBefore(reference, r.m_time, m))
        return;
    if (m < 60) {
        ++t.hourQsos;
        t.hourPoints += points;
    }
    if (m < 10) {
        ++t.tenMinuteQsos;
        t.tenMinutePoints += points;
    }
}

void AddToTotal(BandTally& total, const BandTally& band)
{
    total.qsos += band.qsos;
    total.points += band.points;
    total.cw += band.cw;
    total.ssb += band.ssb;
    total.dupes += band.dupes;
}

} // namespace

ReportTally TallyLog(const ReportSnapshot& s, bool countRates)
{
    ReportTally t;
    const int n = s.log.GetSize();
    const COleDateTime reference = n > 0 ? s.log[n - 1].m_time : COleDateTime();
    const CString lastBand = n > 0 ? s.log[n - 1].m_band : CString();
    for (int b = 0; b < s.bands.GetSize(); ++b) {
        BandTally band;
        band.name = s.bands[b];
        for (int i = 0; i < n; ++i) {
            const CInfo& r = s.log[i];
            // Records without a call count nowhere, not even as dupes.
            if (r.m_band != band.name || r.m_call.IsEmpty())
                continue;
            band.dupes += r.m_dupe;
            if (r.m_notCounted)
                continue;
            ++band.qsos;
            const rules::ModeClass mode = rules::ClassOfMode(r.m_mode);
            band.cw += mode == rules::kCw ? 1 : 0;
            band.ssb += mode == rules::kSsb ? 1 : 0;
            const int points = QsoPoints(r, s.balticStation, s.myContinent);
            band.points += points;
            if (r.m_band == lastBand) {
                t.lastQsoPoints = points;
                if (countRates)
                    CountRate(t, reference, r, points);
            }
        }
        AddToTotal(t.total, band);
        t.bands.push_back(band);
    }
    return t;
}
