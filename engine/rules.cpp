#include "engine/rules.h"

#include <cstring>

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

namespace rules {

ModeClass ClassOfMode(const CString& mode)
{
    if (mode == "CW")
        return kCw;
    return mode == "SSB" ? kSsb : kOtherMode;
}

const char* CabrilloModeCode(ModeClass mode)
{
    return mode == kCw ? "CW" : mode == kSsb ? "PH" : "??";
}

bool ModePart(ModeClass mode, unsigned& lowKHz, unsigned& highKHz)
{
    if (mode == kOtherMode)
        return false;
    lowKHz = mode == kCw ? 3510 : 3600;
    highKHz = mode == kCw ? 3600 : 3750;
    return true;
}

int ContestSaturday(int year)
{
    // Day of the week of 1 May (0 = Sunday), Sakamoto's rule; the third
    // Saturday of May always has its Sunday in May.
    static const int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y = year; // May is after February: no year taken off
    const int may1 = ((y + y / 4 - y / 100 + y / 400 + kMonthOffset[4] + 1) % 7 + 7) % 7;
    const int firstSaturday = 1 + (6 - may1 + 7) % 7;
    return firstSaturday + 14;
}

bool IsBalticCountry(const CString& prefix)
{
    return prefix == "LY" || prefix == "ES" || prefix == "YL";
}

const char* NotCountedCountry(const CString& prefix)
{
    const std::string& p = prefix.str();
    if (p.size() >= 2 && p[0] == 'E' && p[1] >= 'U' && p[1] <= 'W')
        return "Belarus";
    if ((!p.empty() && p[0] == 'R') || (p.size() >= 2 && p[0] == 'U' && p[1] >= 'A' && p[1] <= 'I'))
        return "Russia";
    return nullptr;
}

namespace {

const CSection kSections[] = {
    {"A", "single operator CW/SSB", "SINGLE-OP", "MIXED", 0},
    {"B", "single operator CW", "SINGLE-OP", "CW", 0},
    {"C", "single operator SSB", "SINGLE-OP", "SSB", 0},
    {"D", "single operator assisted", "SINGLE-OP", nullptr, 1},
    {"E", "multi operator, single transmitter", "MULTI-OP", nullptr, -1},
};

} // namespace

const CSection* SectionOf(const CString& categoryOperator, const CString& categoryMode,
                          const CString& categoryAssisted, const CString& categoryTime)
{
    const CString op = Trimmed(categoryOperator), mode = Trimmed(categoryMode),
                  assisted = Trimmed(categoryAssisted);
    if (!Trimmed(categoryTime).IsEmpty())
        return nullptr;
    if (!assisted.IsEmpty() && !SameNoCase(assisted, "ASSISTED") && !SameNoCase(assisted, "NON-ASSISTED"))
        return nullptr;
    for (const CSection& s : kSections) {
        const bool modeFits = s.categoryMode
                                  ? SameNoCase(mode, s.categoryMode)
                                  : SameNoCase(mode, "CW") || SameNoCase(mode, "SSB") || SameNoCase(mode, "MIXED");
        const bool assistedFits = s.assisted < 0 || s.assisted == (SameNoCase(assisted, "ASSISTED") ? 1 : 0);
        if (SameNoCase(op, s.categoryOperator) && modeFits && assistedFits)
            return &s;
    }
    return nullptr;
}

const char* const kOperatorList[] = {"SINGLE-OP", "MULTI-OP", "CHECKLOG", nullptr};
const char* const kBandList[] = {"80M", nullptr};
const char* const kModeList[] = {"MIXED", "CW", "SSB", nullptr};
const char* const kTimeList[] = {"2-HOURS", nullptr};
const char* const kAssistedList[] = {"ASSISTED", "NON-ASSISTED", nullptr};

} // namespace rules
