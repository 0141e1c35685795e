// framework/ owns no module state but the fallback trace's sink
// (barrier.h): it is the platform layer the folders above are written on.
//
// The few operating-system services that the portable code needs, behind
// plain functions so that the rules and reports include no system header.
#pragma once
#include <cstdio>
#include <functional>

#include "framework/str.h"

// Case-insensitive comparison in the ANSI code page (multibyte-aware).
int AnsiCompareNoCase(const char* a, const char* b);

// Hands what the system holds of an open file's written data to the disk
// (the stream itself already flushed). False when that failed.
bool FlushToDisk(std::FILE* file);

// Moves the file source over target, replacing target. False when target
// cannot be replaced (another program holds it open, the folder refuses);
// source is then left where it was.
bool ReplaceFileWith(const char* source, const char* target);

// Calls visit with each file name (no directory) that matches the wildcard
// pattern, until visit returns false.
void ForEachFileName(const char* pattern, const std::function<bool(const char* name)>& visit);

// A modal message box owned by the calling thread's top-level window (the
// root owner of its active or foreground window), if any. Style flags are
// the Win32 MB_* values. Returns the button pressed.
int ShowMessageBox(const char* text, const char* caption, unsigned style);

// Keeps the module loaded until the process ends. A dialog or box on the
// host's thread runs the host's handlers, and one of them may let go of
// the module (FreeLibrary) while the dialog's code is still on that
// thread's stack; no reference the module holds could be dropped later
// from its own code on that thread. The native build has nothing to keep.
void KeepModuleForProcess();

// One line for a debugger or a debug-output viewer (Windows:
// OutputDebugStringA). The native build prints it on stderr only when the
// environment variable BALTIC_TRACE is set, keeping test output clean.
void DebugTrace(const char* text);
