// plugin/ owns the boundary (here), the module application object (app.h)
// and DllMain, and defines every module global, each declared by the
// folder that owns it, in creation order in globals.cpp.
//
// The plug-in's boundary: every function the host logger calls, with the
// exact parameter blocks it passes. All use the C calling convention; each
// is also exported under the MSVC-decorated name of its signature (BALTIC.def).
#pragma once

class COleDateTime;

// The calling convention exists only for Windows compilers.
#if !defined(_WIN32) && !defined(__cdecl)
#define __cdecl
#endif

// The decorated-name check compiles these declarations with C++ linkage.
#ifndef BALTIC_API
#define BALTIC_API extern "C"
#endif

// QSO parameter block (33). Read: 1 own call, 2 worked call, 3 time,
// 8 frequency in Hz, 9 mode, 10 RST sent, 11 RST received, 12 number sent,
// 13 number received, 23 country prefix, 30 continent, 32 band.
#define BALTIC_QSO_PARAMS                                                                          \
    const char *ownCall, const char *call, COleDateTime *time, COleDateTime *time4,                \
        COleDateTime *time5, COleDateTime *time6, unsigned int u7, unsigned int freqHz,            \
        const char *mode, const char *rstSent, const char *rstRcvd, const char *nrSent,            \
        const char *nrRcvd, const char *t14, const char *t15, const char *t16, const char *t17,    \
        const char *t18, const char *t19, const char *t20, const char *t21, const char *t22,       \
        const char *country, int i24, int i25, int i26, double d27, double d28, const char *t29,   \
        const char *continent, const char *t31, const char *band, const char *t33

BALTIC_API int __cdecl AddData0(BALTIC_QSO_PARAMS);
BALTIC_API int __cdecl RemoveData0(BALTIC_QSO_PARAMS);

// 23 parameters: 1 folder of the host's INI files, 2 export flag, 3 own call,
// 4 and 5 the contest date-times, 15 own country prefix, 22 own continent.
#define BALTIC_RESET_PARAMS                                                                        \
    const char *hostFolder, int cabrillo, const char *myCall, COleDateTime *first,                 \
        COleDateTime *second, const char *t6, const char *t7, const char *t8, const char *t9,      \
        const char *t10, const char *t11, const char *t12, const char *t13, const char *t14,       \
        const char *myCountry, int i16, int i17, int i18, double d19, double d20, const char *t21, \
        const char *myContinent, const char *t23

BALTIC_API int __cdecl ResetStats0(BALTIC_RESET_PARAMS);

// Call-check block (28). Read: 1 call, 4 mode, 14 prefix, 21 continent,
// 25 band, 26 comparison band (null: none), 27 output buffer (50 bytes).
#define BALTIC_CHECK_PARAMS                                                                        \
    const char *call, unsigned int u2, unsigned int u3, const char *mode, const char *t5,          \
        const char *t6, const char *t7, const char *t8, const char *t9, const char *t10,           \
        const char *t11, const char *t12, const char *t13, const char *country, int i15, int i16,  \
        int i17, double d18, double d19, const char *t20, const char *continent, const char *t22,  \
        const char *t23, const char *t24, const char *band, const char *compareBand, char *nrOut,  \
        char *p28

// Also exported as CheckCallFunc0.
BALTIC_API int __cdecl CheckCall0(BALTIC_CHECK_PARAMS);

BALTIC_API const char* __cdecl GetResult0(int* status);
// Also exported as GetNumberOfSets and StatsGetExchgCount0; reads no parameter.
BALTIC_API int __cdecl GetExchgCount0();
BALTIC_API const char* __cdecl GetSetName(int index);
// Also exported as StatsIsValidExchg0; only the exchange is read.
#define BALTIC_EXCHG_PARAMS \
    const char *exchange, const char *t2, const char *t3, const char *t4, int i5, int i6, int i7
BALTIC_API int __cdecl IsValidExchg0(BALTIC_EXCHG_PARAMS);
BALTIC_API void __cdecl SetupSet0();
BALTIC_API unsigned int __cdecl setVersion(const char* version);
