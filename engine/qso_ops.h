// Adding, removing and checking QSOs: the operations behind AddData0,
// RemoveData0, CheckCall0 and IsValidExchg0. Texts arrive already copied
// (a null text from the host is empty here).
#pragma once
#include "framework/oledate.h"

struct QsoArgs {
    CString ownCall, call;
    COleDateTime time;
    unsigned int freqHz = 0;
    CString mode, rstSent, rstRcvd, nrSent, nrRcvd, country, continent, band;
};

struct CallCheckArgs {
    CString call, mode, country, continent, band;
    bool hasBand = true;        // the host passed a band pointer
    bool hasCompareBand = true; // the host passed a comparison band pointer
    CString compareBand;
    char* nrOut = nullptr;      // 50 bytes, may be null
};

int AddQso(const QsoArgs& q);
int RemoveQso(const QsoArgs& q);
int CheckCall(const CallCheckArgs& c);
int IsValidExchg(const char* exchange);

// Reads a date-time the host passed by pointer; null reads as a null date.
COleDateTime DateFromHost(const COleDateTime* p);
