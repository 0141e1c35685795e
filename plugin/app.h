// The module's application object.
#pragma once
#include "framework/app.h"

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(nullptr) {}
    // Closes the operator windows before the module goes away.
    int ExitInstance() override;
};

extern CTestApp theApp;
