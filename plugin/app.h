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
};

extern CTestApp theApp;
