#include "cabrillo/export.h"

#include "cabrillo/header.h"
#include "engine/host_modal.h"
#include "framework/platform.h"

namespace {

const char* ModeCode(const CString& mode)
{
    if (mode == "CW")
        return "CW";
    if (mode == "SSB")
        return "PH";
    return "??";
}

} // namespace

void ExportCabrilloLog(const CArray<CInfo>& log, int claimedScore)
{
    g_cabrilloHeader.m_qsoLines.RemoveAll();
    for (int i = 0; i < log.GetSize(); ++i) {
        const CInfo& r = log[i];
        g_cabrilloHeader.AddQso(r.m_call, static_cast<int>(r.m_freqKHz), ModeCode(r.m_mode), &r.m_time,
                                r.m_rstSent, r.m_nrSent, r.m_rstRcvd, r.m_nrRcvd);
    }
    CString message = g_cabrilloHeader.WriteLog(claimedScore);
    // The box pumps the host's messages while it is open: a report asked
    // for meanwhile is built anew but runs no second export.
    CHostModalScope modal;
    ShowMessageBox(message, "Output", 0x40 /* MB_OK | MB_ICONINFORMATION */);
}
