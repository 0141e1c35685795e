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
