#include "engine/host_modal.h"

void TellRefusedExport()
{
    if (HostModalOpen() || !g_exportRefused.exchange(false))
        return;
    CHostModalScope modal;
    ShowMessageBox("File not produced: the Cabrillo export was asked for while a dialog or box of the "
                   "plug-in was open.\nChoose the host's Cabrillo export again to write the log.",
                   "Output", 0x30 /* MB_OK | MB_ICONWARNING */);
    // Exports refused while this box was up are the ones it tells of.
    g_exportRefused = false;
}
