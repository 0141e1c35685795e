#include "engine/prev_qso.h"

#include "engine/rules.h"
#include "engine/stores.h"

void LookUpPrevQso(const CString& call, const CString& band, CStringArray& row)
{
    while (row.GetSize() < 6)
        row.Add("-");
    for (int i = 1; i <= 4; ++i)
        row[i] = "   -";
    if (call.IsEmpty())
        return;
    g_qsoLog.ForEachOfCallOnBand(call, band, [&row](const CInfo& q) {
        const rules::ModeClass mode = rules::ClassOfMode(q.m_mode);
        if (mode == rules::kCw)
            row[1] = q.m_time.Format("%H:%M");
        if (mode == rules::kSsb)
            row[2] = q.m_time.Format("%H:%M");
        row[3] = q.m_nrRcvd;
        return true;
    });
}

void SetPrevQsoBand(const CString& band)
{
    CSingleLock lock(g_storeLock);
    g_prevQsoBands.RemoveAll();
    g_prevQsoBands.Add(band);
}

bool RefreshPrevQsoRow(const CString& call)
{
    CSingleLock lock(g_storeLock);
    g_prevQsoCall = call;
    if (call.GetLength() == 1 || call.GetLength() == 2)
        return false;
    LookUpPrevQso(call, g_prevQsoBands.IsEmpty() ? CString() : g_prevQsoBands[0], g_prevQsoRows[0]);
    return true;
}

PrevQsoShown CurrentPrevQsoShown()
{
    CSingleLock lock(g_storeLock);
    if (g_prevQsoCall.IsEmpty())
        g_prevQsoCall = "Call";
    PrevQsoShown shown;
    shown.call = g_prevQsoCall;
    shown.row = g_prevQsoRows[0];
    return shown;
}
