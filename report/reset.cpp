#include <cstdlib>

#include "engine/bad_qso_file.h"
#include "engine/contest.h"
#include "engine/hooks.h"
#include "engine/host_modal.h"
#include "engine/prev_qso.h"
#include "engine/rules.h"
#include "engine/stores.h"
#include "framework/platform.h"
#include "framework/stdiofile.h"
#include "report/report.h"
#include "report/score.h"
#include "engine/settings.h"

namespace {

// The host's version: from the line holding "Qorv=" of "Qorv2.ini" in the
// current directory, once a file of that name is seen in the host's folder.
void DiscoverHostVersion(const CString& hostFolder)
{
    bool found = false;
    ForEachFileName(hostFolder + "*.ini", [&](const char* name) {
        found = CString(name).Find("Qorv2.ini") >= 0;
        return !found;
    });
    if (!found) {
        g_hostVersion = "Qorv";
        return;
    }
    CStdioFile file;
    if (!file.Open("Qorv2.ini", CStdioFile::modeRead))
        return;
    CString line;
    while (file.ReadString(line)) {
        if (line.Find("Qorv=") >= 0) {
            g_hostVersion = line.Mid(5);
            break;
        }
    }
}

bool NeverOpensSetup(const CString& version)
{
    static const char* const kOld[] = {"2.18", "2.17", "2.16", "2.15", "2.14", "2.14R"};
    for (const char* v : kOld)
        if (version == v)
            return true;
    return false;
}

// The statistics start over for this reset's station and date: no QSO,
// band or bad QSO, and a new bad-QSO file; the host then hands its log
// over again.
void StartOver(const ResetArgs& a)
{
    const CString year = a.first.Format("%Y");
    {
        CSingleLock lock(g_storeLock);
        // The Setup thread builds its window titles from these.
        g_contestYear = year;
        // Both country flags follow this reset's own prefix, set or cleared:
        // a score never depends on an earlier reset.
        g_russianUi = IsRussianTextCountry(a.myCountry) ? 1 : 0;
        g_qsoLog.RemoveAll();
        g_bandsWorked.RemoveAll();
        CStringArray& row = g_prevQsoRows[0];
        row.RemoveAll();
        row.Add(g_bandRules[0]);
        for (int i = 0; i < 5; ++i)
            row.Add("-");
    }
    g_contestDate = a.second.Format("%d.%m.%Y");
    g_myContinent = a.myContinent;
    g_balticStation = rules::IsBalticCountry(a.myCountry) ? 1 : 0;
    g_myCountry = a.myCountry;
    g_myCall = a.myCall;
    StartBadQsoFile(CString("BadQSO_RirezIzeruz_") + a.second.Format("%d_%m_%Y") + ".txt");
    ++g_resetCount;
}

} // namespace

int ResetStats(const ResetArgs& a)
{
    DiscoverHostVersion(a.hostFolder);

    // Set only when the operator confirms the header dialog below: a
    // report asked for while it is open must not export.
    g_cabrilloRun = 0;

    // Before the header dialog: the host's timers run while it is open, and
    // a QSO they add meanwhile is kept in the new file and in memory.
    StartOver(a);

    if (a.cabrillo && HostModalOpen()) {
        // The header dialog cannot open inside a dialog or box of ours:
        // the reset has started over all the same, without the export.
        g_exportRefused = true;
    } else if (a.cabrillo) {
        // A cancelled header dialog cancels the export. The host's calls
        // made while it is open change the log as at any other time; a
        // reset among them was followed by the host's whole log, which
        // follows this reset again: the statistics start over once more.
        const unsigned resetsBefore = g_resetCount;
        {
            CHostModalScope modal;
            g_cabrilloRun = g_windowHooks.editCabrilloHeader(a.myCall, &a.first, &a.second) ? 1 : 0;
        }
        if (g_resetCount != resetsBefore)
            StartOver(a);
        // An export refused meanwhile runs as this one, when confirmed.
        if (g_cabrilloRun)
            g_exportRefused = false;
    }
    // An export reset, refused or not, opens no Setup window.
    if (a.cabrillo)
        settings::WriteText(settings::kStart, "1");

    g_startFlag = std::atoi(settings::ReadText(settings::kStart));
    if (g_startFlag != 0) {
        settings::WriteText(settings::kStart, "0");
    } else if (!g_windowHooks.isSetupWindowOpen()) {
        if (!NeverOpensSetup(g_hostVersion))
            g_windowHooks.startSetupThread();
        settings::WriteText(settings::kStart, "1");
    }
    return 1;
}
