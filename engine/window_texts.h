// What the operator windows' texts are made from, as the last reset left
// it. The reset writes it on the host's thread while the Setup thread
// builds titles from it, so both go through g_storeLock.
#pragma once
#include "framework/str.h"

struct WindowTextInputs {
    CString year;         // the contest year, as the first date formats it
    bool russian = false; // the windows use their Russian texts
};

// A copy taken under g_storeLock.
WindowTextInputs CurrentWindowTextInputs();

// A window title: format with the contest year for its first %s and call
// for its second.
CString WithYear(const char* format, const CString& call = CString());
