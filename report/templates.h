// The HTML report's fixed row templates, used exactly as written.
#pragma once
#include "framework/str.h"

extern CString g_htmlHead, g_htmlTitle, g_htmlColumnHeads, g_htmlBandRow, g_htmlTotalRow, g_htmlDupeRow,
    g_htmlBadRow, g_htmlValueRow, g_htmlSectionRow, g_htmlRateRow, g_htmlTail;
// The one-line credit text that closes both layouts.
extern const char* const kReportCredit;
