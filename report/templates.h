// The HTML report's fixed row templates, used exactly as written.
#pragma once
#include "framework/str.h"

extern const char* const g_htmlHead;
extern const char* const g_htmlTitle;
extern const char* const g_htmlColumnHeads;
extern const char* const g_htmlBandRow;
extern const char* const g_htmlTotalRow;
extern const char* const g_htmlDupeRow;
extern const char* const g_htmlBadRow;
extern const char* const g_htmlValueRow;
extern const char* const g_htmlSectionRow;
extern const char* const g_htmlRateRow;
extern const CString& g_htmlTail;
// The one-line credit text that closes both layouts.
extern const char* const kReportCredit;
