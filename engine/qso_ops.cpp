#include "engine/qso_ops.h"

#include <cstring>

#include "engine/bad_qso_file.h"
#include "engine/contest.h"
#include "engine/hooks.h"
#include "engine/prev_qso.h"
#include "engine/rules.h"
#include "engine/stores.h"

COleDateTime DateFromHost(const COleDateTime* p)
{
    if (!p)
        return COleDateTime(0.0, COleDateTime::null);
    // A status no date has is taken as invalid, which it reads as anyway.
    const int status = p->m_status;
    if (status != COleDateTime::valid && status != COleDateTime::null)
        return COleDateTime(p->m_dt, COleDateTime::invalid);
    return COleDateTime(p->m_dt, static_cast<COleDateTime::DateTimeStatus>(status));
}

namespace {

// The date-time the host added a QSO with, as the removal of that QSO
// passes it again: an invalid or not-a-number date, which equals no date,
// still matches its own bytes.
bool SameHostDate(const COleDateTime& stored, const COleDateTime& given)
{
    if (stored == given)
        return true;
    return stored.m_status == given.m_status && given.m_status != COleDateTime::null &&
           std::memcmp(&stored.m_dt, &given.m_dt, sizeof stored.m_dt) == 0;
}

} // namespace

int AddQso(const QsoArgs& q)
{
    if (!g_bandRules.Contains(q.band)) {
        AppendBadQso(q, kWrongBand);
        return 0;
    }
    if (!g_modeRules.Contains(q.mode)) {
        AppendBadQso(q, kWrongMode);
        return 0;
    }
    if (q.nrRcvd.IsEmpty() || q.nrSent.IsEmpty()) {
        AppendBadQso(q, kNoNumber);
        return 0;
    }

    CInfo r;
    r.m_call = q.call;
    r.m_band = q.band;
    r.m_mode = q.mode;
    r.m_continent = q.continent;
    r.m_country = q.country;
    r.m_rstRcvd = q.rstRcvd;
    r.m_rstSent = q.rstSent;
    r.m_nrRcvd = q.nrRcvd;
    r.m_nrSent = q.nrSent;
    r.m_freqKHz = q.freqHz / 1000;
    r.m_time = q.time;
    {
        CSingleLock lock(g_storeLock);
        bool known = false;
        for (int i = 0; i < g_bandsWorked.GetSize() && !known; ++i)
            known = g_bandsWorked[i] == q.band;
        if (!known)
            g_bandsWorked.Add(q.band);
        g_qsoLog.ForEachOfCallOnBand(r.m_call, r.m_band, [&r](const CInfo& e) {
            if (e.m_mode != r.m_mode)
                return true;
            r.m_dupe = 1;
            r.m_notCounted = 1;
            return false;
        });
        g_qsoLog.Add(r);
    }
    if (r.m_dupe)
        AppendBadQso(q, kDupe);
    return 1;
}

int RemoveQso(const QsoArgs& q)
{
    {
        CSingleLock lock(g_storeLock);
        int n = g_qsoLog.GetSize();
        for (int i = 0; i < n; ++i) {
            const CInfo& e = g_qsoLog.GetAt(i);
            if (e.m_call == q.call && e.m_mode == q.mode && e.m_band == q.band && SameHostDate(e.m_time, q.time)) {
                g_qsoLog.RemoveAt(i);
                break;
            }
        }
        if (g_qsoLog.GetSize() == 0)
            g_bandsWorked.RemoveAll();
    }

    RemoveBadQsosOf(q);

    g_refreshPending = 1;
    g_windowHooks.postPrevQsoRefresh();
    return 1;
}

int CheckCall(const CallCheckArgs& c)
{
    // Taking the pending request is one exchange, so the Setup thread,
    // which sets it again after each refresh, never loses or doubles one.
    if (g_windowHooks.isSetupWindowOpen() && g_refreshPending.exchange(0) != 0) {
        if (!g_windowHooks.postPrevQsoRefresh())
            g_refreshPending = 1; // the window went away: nothing waits
    }

    const int notApplicable = (g_hostVersion == "2.19" || g_hostVersion == "2.20") ? 1 : 4;
    if (c.hasBand && c.hasCompareBand && c.band.CompareNoCaseAscii(c.compareBand) != 0)
        return notApplicable;
    if (!g_bandRules.Contains(c.band) || !g_modeRules.Contains(c.mode))
        return notApplicable;

    CString remembered;
    bool dupe = false;
    {
        CSingleLock lock(g_storeLock);
        // The number of the last QSO with this call on this band, up to the
        // first one in this mode, which makes the call a dupe.
        g_qsoLog.ForEachOfCallOnBand(c.call, c.band, [&](const CInfo& e) {
            remembered = e.m_nrRcvd;
            dupe = e.m_mode == c.mode;
            return !dupe;
        });
    }
    if (c.nrOut) {
        const int kMax = 49;
        int len = remembered.GetLength() < kMax ? remembered.GetLength() : kMax;
        std::memcpy(c.nrOut, remembered.GetString(), static_cast<size_t>(len));
        c.nrOut[len] = '\0';
    }
    return dupe ? 0 : 1;
}

int IsValidExchg(const char* exchange)
{
    const char* e = exchange ? exchange : "";
    size_t len = std::strlen(e);
    if (len != 3 && len != 4)
        return 0;
    for (size_t i = 0; i < len; ++i)
        if (e[i] < '0' || e[i] > '9')
            return 0;
    if (len == 3 && std::strcmp(e, "599") == 0)
        return 0;
    return 1;
}
