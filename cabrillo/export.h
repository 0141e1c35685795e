// The Cabrillo export that a report runs when the last reset asked for it.
#pragma once
#include "engine/info.h"
#include "framework/arrays.h"

// Hands every QSO of the log to g_cabrilloHeader (dupes, uncounted records
// and empty calls included, in store order), writes the .cbr file with
// claimedScore as its CLAIMED-SCORE, writes the log check (CALL-check.txt)
// and the summary page (CALL-summary.html) beside it, and shows the outcome
// in an "Output" box on the host's thread: the log's line, the check's line,
// and the files that could not be written.
void ExportCabrilloLog(const CArray<CInfo>& log, int claimedScore);
