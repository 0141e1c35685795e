// The module's application object.
#pragma once
#include "framework/app.h"

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(nullptr) {}
    // Connects the portable code to the operator windows.
    int InitInstance() override;
    // Closes the operator windows before the module goes away.
    int ExitInstance() override;
    // At process exit: the other threads are gone; nothing is waited for.
    void ExitProcessInstance();
};

extern CTestApp& theApp;
