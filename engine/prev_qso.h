// The Previous QSO row: when and with which number a call was worked on a
// band. Entry 0 is the band name, 1 the time of the last CW QSO, 2 that of
// the last SSB QSO, 3 the number received in the last QSO of either mode
// ("%H:%M" times; "   -" where there is none); 4 and 5 are not shown.
#pragma once
#include <atomic>

#include "framework/arrays.h"

// Under g_storeLock: the rows (row 0 is the one shown) and the call and
// band the window last looked up.
extern CStringArray (&g_prevQsoRows)[6];
extern CString& g_prevQsoCall;
extern CStringArray& g_prevQsoBands;
// A refresh may be posted: a call check takes it, the Setup window hands it
// back after each refresh, a removal sets it.
extern std::atomic<int> g_refreshPending;

// Fills entries 1 to 4 of row for call on band, from the QSOs in store
// order, the later overwriting the earlier. An empty call finds nothing.
// The caller holds g_storeLock.
void LookUpPrevQso(const CString& call, const CString& band, CStringArray& row);

// The Setup thread's own reads and writes of the state above, each under
// g_storeLock for a moment.
//
// The band the window looks calls up on.
void SetPrevQsoBand(const CString& band);
// Records the call being typed in the host and, unless it has one or two
// characters, looks it up on the window's band into row 0. True when it
// looked it up.
bool RefreshPrevQsoRow(const CString& call);

// What the table paints: the call ("Call" until one was typed) and row 0.
struct PrevQsoShown {
    CString call;
    CStringArray row;
};
PrevQsoShown CurrentPrevQsoShown();
