#include "engine/rules.h"

CContestRules::CContestRules(const char* const* table, int count)
{
    for (int i = 0; i < count; ++i)
        Add(table[i]);
}

CContestRules::~CContestRules()
{
    RemoveAll();
}

int CContestRules::Contains(const char* text) const
{
    const char* t = text ? text : "";
    for (int i = 0; i < GetSize(); ++i)
        if (GetAt(i).CompareNoCase(t) == 0)
            return 1;
    return 0;
}
