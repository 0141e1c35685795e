#include "plugin/app.h"

#include <windows.h>

#include "ui/setup_link.h"

int CTestApp::InitInstance()
{
    InstallWindowHooks();
    return CWinApp::InitInstance();
}

int CTestApp::ExitInstance()
{
    g_moduleUnloading = true;
    CloseOperatorWindows();
    // Lets the Setup thread leave the module's code after its window is gone.
    Sleep(20);
    return CWinApp::ExitInstance();
}
