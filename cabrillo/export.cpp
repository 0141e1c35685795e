#include "cabrillo/export.h"

#include "cabrillo/header.h"
#include "engine/bad_qso_file.h"
#include "engine/contest.h"
#include "engine/host_modal.h"
#include "engine/rules.h"
#include "framework/platform.h"
#include "framework/stdiofile.h"
#include "report/log_check.h"
#include "report/summary.h"

namespace {

// The check reads the header as the writer writes it.
CCheckHeader CheckedHeader(const CCabrilloHeader& h)
{
    CCheckHeader c;
    c.callsign = HeaderValue(h, "CALLSIGN");
    c.categoryOperator = HeaderValue(h, "CATEGORY-OPERATOR");
    c.categoryBand = HeaderValue(h, "CATEGORY-BAND");
    c.categoryMode = HeaderValue(h, "CATEGORY-MODE");
    c.categoryAssisted = HeaderValue(h, "CATEGORY-ASSISTED");
    c.categoryTime = HeaderValue(h, "CATEGORY-TIME");
    return c;
}

// The log check and the evening's page beside the log; the box's line on them.
CString CheckExportedLog(const CArray<CInfo>& log, int claimedScore)
{
    const CString base = CabrilloFileBase(g_cabrilloHeader.m_fileBase);
    CCheckStation station;
    station.ownCall = g_myCall;
    station.ownCountry = g_myCountry;
    station.balticStation = g_balticStation;
    station.myContinent = g_myContinent;
    const CCheckHeader header = CheckedHeader(g_cabrilloHeader);
    const CLogCheck check = CheckLog(log, g_badQsos, header, station);

    CSummaryStation page;
    page.call = g_myCall;
    page.contestDate = g_contestDate;
    page.categoryOperator = header.categoryOperator;
    page.categoryMode = header.categoryMode;
    page.categoryAssisted = header.categoryAssisted;
    page.categoryTime = header.categoryTime;
    page.claimedScore = claimedScore;
    page.balticStation = g_balticStation;
    page.myContinent = g_myContinent;

    // Beside the log, each a whole new file or none: a file that cannot be
    // written is named in the box, and the log stands as written.
    const CString checkName = base + "-check.txt", pageName = base + "-summary.html";
    CString missing;
    if (!ReplaceFileContent(checkName, FormatCheckFile(check, g_myCall)))
        missing += checkName;
    if (!ReplaceFileContent(pageName, FormatSummaryPage(log, check, page)))
        missing += (missing.IsEmpty() ? "" : ", ") + pageName;
    CString line = CheckBoxLine(check, checkName);
    if (!missing.IsEmpty())
        line += "\nCould not be written: " + missing;
    return line;
}

} // namespace

void ExportCabrilloLog(const CArray<CInfo>& log, int claimedScore)
{
    g_cabrilloHeader.m_qsoLines.RemoveAll();
    for (int i = 0; i < log.GetSize(); ++i) {
        const CInfo& r = log[i];
        const char* mode = rules::CabrilloModeCode(rules::ClassOfMode(r.m_mode));
        g_cabrilloHeader.AddQso(r.m_call, static_cast<int>(r.m_freqKHz), mode, &r.m_time, r.m_rstSent, r.m_nrSent,
                                r.m_rstRcvd, r.m_nrRcvd);
    }
    CString message = g_cabrilloHeader.WriteLog(claimedScore);
    // The check adds to the export and never stops it: the box is shown.
    try {
        message += "\n" + CheckExportedLog(log, claimedScore);
    } catch (...) {
        message += "\nLog check: not made (out of memory)";
    }
    // The box pumps the host's messages while it is open: a report asked
    // for meanwhile is built anew but runs no second export.
    CHostModalScope modal;
    ShowMessageBox(message, "Output", 0x40 /* MB_OK | MB_ICONINFORMATION */);
}
