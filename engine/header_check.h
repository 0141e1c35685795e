// The header's values judged against the Cabrillo lists, the log's modes
// and the contest's sections (engine/rules.h).
#pragma once
#include <vector>

#include "framework/str.h"

// The header values as the writer writes them (a value it leaves out is
// empty), plain texts.
struct CCheckHeader {
    CString callsign, categoryOperator, categoryBand, categoryMode, categoryAssisted, categoryTime;
};

// What is wrong with the header and what to choose instead, one text a
// finding. cwQsos and ssbQsos: the log's counted QSOs per mode, as the
// report counts them. An advice never leads to a header that names no
// section while the rest of the header names one.
std::vector<CString> CheckHeaderValues(const CCheckHeader& header, const CString& ownCall, int cwQsos,
                                       int ssbQsos);
