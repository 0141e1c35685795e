// engine/ owns the contest's state: the QSO store, the bands worked and
// their lock (here), the station and contest of the last reset (contest.h),
// the Previous QSO state (prev_qso.h), the bad-QSO file (bad_qso_file.h),
// the settings file and its keys (settings.h), the mode and band rules
// (rules.h), the window hooks (hooks.h) and the re-entry guard
// (host_modal.h).
//
// The QSO store, the bands worked and their lock. g_storeLock guards them,
// the Previous QSO state (engine/prev_qso.h) and the contest year and
// Russian flag (engine/contest.h): the host's thread writes them, the Setup
// thread reads them, each side briefly.
#pragma once
#include "engine/info.h"
#include "engine/qso_log.h"
#include "framework/lock.h"

extern CCriticalSection& g_storeLock;
extern CQsoLog& g_qsoLog;
extern CStringArray& g_bandsWorked;
