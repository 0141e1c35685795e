// The points rule, the band order and the counts behind the report.
#pragma once
#include "engine/info.h"

int IsRussianTextCountry(const CString& prefix);

// Points of one counted QSO for an operator in a Baltic country (or not)
// on the given continent.
int QsoPoints(const CInfo& qso, int balticStation, const CString& myContinent);

// Orders the bands by their names left-padded with "0" to 20 characters,
// descending, so that "160m" comes before "80m" before "40m".
void SortBands(CStringArray& bands);
