#include "engine/prev_qso.h"

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
        if (q.m_mode == "CW")
            row[1] = q.m_time.Format("%H:%M");
        if (q.m_mode == "SSB")
            row[2] = q.m_time.Format("%H:%M");
        row[3] = q.m_nrRcvd;
        return true;
    });
}
