// The QSO store, the bands worked and the shared texts of the module.
// g_storeLock guards g_qsoLog, g_bandsWorked, g_prevQsoRows, g_prevQsoCall,
// g_prevQsoBands, g_contestYear and g_russianUi: the host's thread writes
// them, the Setup thread reads them (the last two through
// engine/window_texts.h). The other globals belong to the host's thread.
#pragma once
#include <atomic>

#include "engine/info.h"
#include "engine/qso_log.h"
#include "framework/lock.h"

extern CQsoLog g_qsoLog;
extern CStringArray g_prevQsoRows[6];
extern CStringArray g_bandsWorked;
extern CStringArray g_prevQsoBands;
extern CCriticalSection g_storeLock;

extern CString g_myContinent, g_myCall, g_contestDate, g_contestYear, g_badQsoPath, g_prevQsoCall;
extern CString g_iniSection; // "Settings"
extern CString g_iniFile;    // "Plugins\BALTIC.ini"

extern std::atomic<int> g_refreshPending; // a Previous QSO refresh may be requested
extern int g_balticStation;  // the operator's own prefix is Baltic
extern int g_russianUi;      // the windows use their Russian texts

// Set by the reset and the report (report/), read by the call check and the
// Cabrillo writer, which may not look into report/.
extern CString g_hostVersion; // the host's version, as the last reset found it
extern int g_claimedScore;    // the total points of the last report

// Header line of the bad-QSO file, with its trailing blank.
extern const char* const kBadQsoHeader;
