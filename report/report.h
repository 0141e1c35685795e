// The result report and the reset that starts the statistics over.
#pragma once
#include "framework/oledate.h"

struct ResetArgs {
    CString hostFolder;
    int cabrillo = 0;
    CString myCall;
    COleDateTime first, second;
    CString myCountry, myContinent;
};

// Builds the report into g_resultText and returns it.
const char* RunReport();
int ResetStats(const ResetArgs& a);

// The steps of a reset that reach other subsystems, replaceable so that a
// test can see when the reset takes them.
struct ResetActions {
    int (*editHeader)(const CString& callsign, const COleDateTime* first, const COleDateTime* second);
    void (*startSetupThread)();
};
extern ResetActions g_resetActions;
