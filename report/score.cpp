#include "report/score.h"

#include "engine/rules.h"

int IsRussianTextCountry(const CString& prefix)
{
    static const char* const kPrefixes[] = {"UA", "UA2", "UA2/f", "UR", "UN", "EU"};
    for (const char* p : kPrefixes)
        if (prefix == p)
            return 1;
    return 0;
}

int QsoPoints(const CInfo& qso, int balticStation, const CString& myContinent)
{
    if (balticStation)
        return qso.m_continent == myContinent ? 1 : 2;
    if (rules::IsBalticCountry(qso.m_country))
        return myContinent == "EU" ? 10 : 20;
    return 1;
}

namespace {

CString PaddedKey(const CString& band)
{
    const int kWidth = 20;
    if (band.GetLength() >= kWidth)
        return band;
    return CString('0', kWidth - band.GetLength()) + band;
}

} // namespace

void SortBands(CStringArray& bands)
{
    for (int i = 0; i + 1 < bands.GetSize(); ++i)
        for (int j = i + 1; j < bands.GetSize(); ++j)
            if (PaddedKey(bands[i]).Compare(PaddedKey(bands[j])) < 0) {
                CString t = bands[i];
                bands[i] = bands[j];
                bands[j] = t;
            }
}

