// The bad QSOs: the refused and duplicate QSOs since the last reset, in
// memory (g_badQsos), and their file (g_badQsoPath), the operator's record
// of them. It holds a header line and one line per QSO that was refused or
// is a dupe. The report counts the refused QSOs from memory, so a file that
// cannot be written or read back changes no figure.
#pragma once
#include "engine/qso_ops.h"
#include "framework/arrays.h"

extern CString& g_badQsoPath;
// Header line of the file, with its trailing blank.
extern const char* const kBadQsoHeader;

enum BadQsoKind { kWrongBand, kWrongMode, kNoNumber, kDupe };

// A refused or duplicate QSO as the host gave it, with the reason.
struct CBadQso {
    QsoArgs qso;
    BadQsoKind kind = kDupe;
};
// In the order the host added them; the host's thread alone uses them.
extern CArray<CBadQso>& g_badQsos;

// At every reset: no bad QSO in memory, and the file named path, anew,
// holding its header line.
void StartBadQsoFile(const CString& path);
// Keeps a refused or duplicate QSO and appends its line to the file.
void AppendBadQso(const QsoArgs& q, BadQsoKind kind);
// Drops the bad QSOs of this QSO (same mode, date and minute, and worked
// call) from memory, and their lines (the worked call as a whole field)
// from the file, whose header is written anew; the file is replaced only
// by a complete new one.
void RemoveBadQsosOf(const QsoArgs& q);
// The refused QSOs kept (dupes are not counted).
int CountBadQsos();
