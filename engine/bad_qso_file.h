// The bad-QSO file (g_badQsoPath): its one owner. It holds a header line
// and one line per QSO that was refused or is a dupe; the report counts
// its refused QSOs.
#pragma once
#include "engine/qso_ops.h"

extern CString& g_badQsoPath;
// Header line of the file, with its trailing blank.
extern const char* const kBadQsoHeader;

enum BadQsoKind { kWrongBand, kWrongMode, kNoNumber, kDupe };

// At every reset: the file named path, anew, holding its header line.
void StartBadQsoFile(const CString& path);
// Appends the line of a refused or duplicate QSO.
void AppendBadQso(const QsoArgs& q, BadQsoKind kind);
// Drops the lines of this QSO (same mode, date and minute, and worked call
// as a whole field) and writes the header anew; the file is replaced only
// by a complete new one.
void RemoveBadQsosOf(const QsoArgs& q);
// Lines of the file that are neither its header nor a dupe.
int CountBadQsos();
