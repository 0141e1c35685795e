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
    OnModuleUnload();
    return CWinApp::ExitInstance();
}

void CTestApp::ExitProcessInstance()
{
    ForgetSetupThreadAtExit();
}
