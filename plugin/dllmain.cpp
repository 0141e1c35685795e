// Module start-up and shut-down.
#include <windows.h>

#include "plugin/app.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        return theApp.InitInstance() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
        // At process exit the other threads are already gone: nothing to
        // close and nobody to wait for.
        if (reserved == nullptr)
            theApp.ExitInstance();
        else
            theApp.ExitProcessInstance();
        return TRUE;
    default:
        return TRUE;
    }
}
