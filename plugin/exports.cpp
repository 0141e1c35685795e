// The exported entry points: each copies the host's parameters (a null text
// becomes empty text on assignment to CString) and runs the operation
// through the barrier, so no exception reaches the host. The entry points
// that cannot fail answer directly. While the plug-in has a dialog or box
// open on the host's thread (engine/host_modal.h), the host's windows and
// timers may call again: adds, removals, call checks, plain resets and
// reports then work and answer exactly as at any other time, so the
// plug-in's log keeps step with the host's. Only what cannot nest is
// refused: a second header dialog (an export reset then starts over
// without it, and the operator hears of it once the boxes have closed), an
// export inside an export, a box inside a box.
#include "plugin/exports.h"

#include "cabrillo/export.h"
#include "engine/host_modal.h"
#include "engine/qso_ops.h"
#include "engine/stores.h"
#include "framework/barrier.h"
#include "framework/platform.h"
#include "report/report.h"

namespace {

QsoArgs MakeQso(const char* ownCall, const char* call, const COleDateTime* time, unsigned int freqHz,
                const char* mode, const char* rstSent, const char* rstRcvd, const char* nrSent,
                const char* nrRcvd, const char* country, const char* continent, const char* band)
{
    QsoArgs q;
    q.ownCall = ownCall;
    q.call = call;
    q.time = DateFromHost(time);
    q.freqHz = freqHz;
    q.mode = mode;
    q.rstSent = rstSent;
    q.rstRcvd = rstRcvd;
    q.nrSent = nrSent;
    q.nrRcvd = nrRcvd;
    q.country = country;
    q.continent = continent;
    q.band = band;
    return q;
}

const char* const kEmpty = "";

} // namespace

BALTIC_API int __cdecl AddData0(BALTIC_QSO_PARAMS)
{
    return RunGuarded("AddData0", 0, [&] {
        return AddQso(MakeQso(ownCall, call, time, freqHz, mode, rstSent, rstRcvd, nrSent, nrRcvd, country,
                              continent, band));
    });
}

BALTIC_API int __cdecl RemoveData0(BALTIC_QSO_PARAMS)
{
    RunGuarded("RemoveData0", [&] {
        RemoveQso(MakeQso(ownCall, call, time, freqHz, mode, rstSent, rstRcvd, nrSent, nrRcvd, country, continent,
                          band));
    });
    return 1;
}

BALTIC_API int __cdecl ResetStats0(BALTIC_RESET_PARAMS)
{
    RunGuarded("ResetStats0", [&] {
        ResetArgs a;
        a.hostFolder = hostFolder;
        a.cabrillo = cabrillo;
        a.myCall = myCall;
        a.first = DateFromHost(first);
        a.second = DateFromHost(second);
        a.myCountry = myCountry;
        a.myContinent = myContinent;
        ResetStats(a);
    });
    RunGuarded("ResetStats0", TellRefusedExport);
    return 1;
}

BALTIC_API int __cdecl CheckCall0(BALTIC_CHECK_PARAMS)
{
    return RunGuarded("CheckCall0", 1, [&] {
        CallCheckArgs c;
        c.call = call;
        c.mode = mode;
        c.country = country;
        c.continent = continent;
        c.hasBand = band != nullptr;
        c.band = band;
        c.hasCompareBand = compareBand != nullptr;
        c.compareBand = compareBand;
        c.nrOut = nrOut;
        return CheckCall(c);
    });
}

BALTIC_API const char* __cdecl GetResult0(int* status)
{
    // A run that fails part-way still answers with what it had built.
    // After the last reset's header dialog, the report is followed by the
    // export of the QSOs it was built from, unless a dialog or box of the
    // plug-in is open: a report asked for meanwhile exports nothing.
    // A report asked for while the export's box is open builds the text
    // anew: the one handed out is read after the export and its boxes.
    const char* result = RunGuarded<const char*>("GetResult0", nullptr, [] {
        CArray<CInfo> log;
        RunReport(&log);
        if (g_cabrilloRun && !HostModalOpen())
            ExportCabrilloLog(log, g_claimedScore);
        TellRefusedExport();
        return g_resultText.GetString();
    });
    if (!result)
        result = g_resultText.GetString();
    if (status)
        *status = -1;
    return result;
}

BALTIC_API int __cdecl GetExchgCount0()
{
    return 1;
}

BALTIC_API const char* __cdecl GetSetName(int index)
{
    return index == 0 ? "Baltic Contest" : kEmpty;
}

BALTIC_API int __cdecl IsValidExchg0(BALTIC_EXCHG_PARAMS)
{
    return RunGuarded("IsValidExchg0", 0, [&] { return IsValidExchg(exchange); });
}

BALTIC_API void __cdecl SetupSet0()
{
    if (HostModalOpen())
        return;
    RunGuarded("SetupSet0", [] {
        CHostModalScope modal;
        ShowMessageBox("No additional setup for this contest", nullptr, 0 /* MB_OK */);
    });
    RunGuarded("SetupSet0", TellRefusedExport);
}

BALTIC_API unsigned int __cdecl setVersion(const char*)
{
    g_htmlReport = 1;
    return 0;
}
