// The plug-in's calls back to the running host through its automation
// object "Qorv2.Application", held by g_hostApp. Made on the Setup thread
// only, which has initialised COM; without a host object every call does
// nothing. A call the host fails throws COleDispatchException.
#pragma once
#include "framework/dispatch_win.h"
#include "framework/str.h"

extern COleDispatchDriver& g_hostApp;

// Finds the running host object and holds it in g_hostApp, releasing the
// one held before. True when one was found.
bool ConnectToHost();
// The host's frequency in Hz (0 without a host object).
double GetFrequency();
// The text of one of the host's entry fields; 5 is the call being typed.
CString GetFieldText(int field);
// Sends the host a macro text such as "<MODE:CW>".
void RunMacro(const char* text);
