// The Previous QSO row: when and with which number a call was worked on a
// band. Entry 0 is the band name, 1 the time of the last CW QSO, 2 that of
// the last SSB QSO, 3 the number received in the last QSO of either mode
// ("%H:%M" times; "   -" where there is none); 4 and 5 are not shown.
#pragma once
#include "framework/arrays.h"

// Fills entries 1 to 4 of row for call on band, from the QSOs in store
// order, the later overwriting the earlier. An empty call finds nothing.
// The caller holds g_storeLock.
void LookUpPrevQso(const CString& call, const CString& band, CStringArray& row);
