// The one guard against re-entry from the host. The plug-in shows the
// Cabrillo header dialog, the export's "Output" box and SetupSet0's box on
// the host's thread with the host's timers and sent messages live, and
// those may call the exports again. While any of them is open, only what
// cannot nest is refused: a second header dialog, an export, a second box
// (plugin/exports.cpp); everything else works as at any other time. An
// export reset refused so still starts over, for the host hands its whole
// log over again after it: only its header dialog, and so the export, is
// left out, and the operator is told so once the last box has closed.
#pragma once
#include <atomic>

#include "framework/platform.h"

// The number of dialogs and boxes the plug-in has open on the host's thread.
extern std::atomic<int> g_hostModalDepth;

inline bool HostModalOpen()
{
    return g_hostModalDepth.load() != 0;
}

// Set when an export reset could not open its header dialog.
extern std::atomic<bool> g_exportRefused;
// Resets made since load: a dialog tells from it that one ran inside it.
extern std::atomic<unsigned> g_resetCount;

// Once no dialog or box is open any more: tells the operator, in one
// "Output" box, of the exports refused meanwhile, if any.
void TellRefusedExport();

// Counts one dialog or box open for as long as it lives. From the first
// one on, the module stays loaded for the rest of the process: a host
// handler that the dialog's loop runs may free it under this thread.
class CHostModalScope {
public:
    CHostModalScope()
    {
        KeepModuleForProcess();
        ++g_hostModalDepth;
    }
    ~CHostModalScope() { --g_hostModalDepth; }
    CHostModalScope(const CHostModalScope&) = delete;
    CHostModalScope& operator=(const CHostModalScope&) = delete;
};
