// The contest rules: which bands and modes can count.
#pragma once
#include "framework/arrays.h"

class CContestRules : public CStringArray {
public:
    CContestRules(const char* const* table, int count);
    ~CContestRules() override;
    // 1 when text equals an entry, ignoring case (ANSI code page), else 0.
    int Contains(const char* text) const;
};

extern CContestRules& g_modeRules; // "CW", "SSB"
extern CContestRules& g_bandRules; // "80m"
