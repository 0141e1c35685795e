// Compiled by clang for i686-pc-windows-msvc: the undefined symbols of this
// object are the MSVC-decorated names of the exported signatures.
#define BALTIC_API
#include "plugin/exports.h"

int __cdecl CheckCallFunc0(BALTIC_CHECK_PARAMS);
int __cdecl GetNumberOfSets();
int __cdecl StatsGetExchgCount0(const char*, const char*, const char*);
int __cdecl StatsIsValidExchg0(BALTIC_EXCHG_PARAMS);

extern void* const g_refs[];
void* const g_refs[] = {
    reinterpret_cast<void*>(&AddData0),       reinterpret_cast<void*>(&RemoveData0),
    reinterpret_cast<void*>(&ResetStats0),    reinterpret_cast<void*>(&CheckCallFunc0),
    reinterpret_cast<void*>(&GetResult0),     reinterpret_cast<void*>(&GetNumberOfSets),
    reinterpret_cast<void*>(&StatsGetExchgCount0), reinterpret_cast<void*>(&GetSetName),
    reinterpret_cast<void*>(&StatsIsValidExchg0), reinterpret_cast<void*>(&SetupSet0),
    reinterpret_cast<void*>(&setVersion),
};
