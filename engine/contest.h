// The station and the contest of the last reset. The reset writes them on
// the host's thread; the rules, the report and the Cabrillo log read them
// there. The contest year and the Russian flag are read by the Setup thread
// too, so both sides go through g_storeLock (engine/window_texts.h).
#pragma once
#include "framework/str.h"

extern CString& g_myCall;
extern CString& g_myContinent;
extern CString& g_myCountry;   // the own country prefix
extern CString& g_contestDate; // "%d.%m.%Y" of the second date
extern CString& g_contestYear; // "%Y" of the first date
extern CString& g_hostVersion; // as the host's settings file names it
extern int g_balticStation;    // the operator's own prefix is Baltic
extern int g_russianUi;        // the windows use their Russian texts
