// The plug-in's calls back to the running host through its automation
// object "Qorv2.Application", held by g_hostApp. Made on the Setup thread
// only, which has initialised COM; without a host object every call does
// nothing. A call the host fails throws COleDispatchException.
#pragma once
#include <windows.h>

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

// While one lives, this thread's COM message filter lets a busy host take
// its time: a call the host turns away with "retry later" (it is inside a
// modal loop of its own) is made again, and the window's messages are
// handled while a call waits. Made after CoInitialize and destroyed before
// CoUninitialize, on the Setup thread.
class CHostCallFilter {
public:
    CHostCallFilter();
    ~CHostCallFilter();
    CHostCallFilter(const CHostCallFilter&) = delete;
    CHostCallFilter& operator=(const CHostCallFilter&) = delete;

private:
    IMessageFilter* m_previous = nullptr;
    bool m_registered = false;
};
