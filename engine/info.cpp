#include "engine/info.h"

CInfo::CInfo()
    : m_invalid(0), m_dupe(0), m_freqKHz(0), m_spare(0), m_aux{-1, -1, -1, -1}, m_notCounted(0),
      m_time(0.0, COleDateTime::valid), m_reserved(0)
{
}

CInfo::CInfo(const CInfo& other) : CObject(), m_reserved(0)
{
    *this = other;
}

CInfo& CInfo::operator=(const CInfo& other)
{
    m_call = other.m_call;
    m_country = other.m_country;
    m_continent = other.m_continent;
    m_band = other.m_band;
    m_mode = other.m_mode;
    m_rstRcvd = other.m_rstRcvd;
    m_rstSent = other.m_rstSent;
    m_nrRcvd = other.m_nrRcvd;
    m_nrSent = other.m_nrSent;
    m_extra1 = other.m_extra1;
    m_extra2 = other.m_extra2;
    m_invalid = other.m_invalid;
    m_dupe = other.m_dupe;
    m_freqKHz = other.m_freqKHz;
    m_spare = other.m_spare;
    for (int i = 0; i < 4; ++i)
        m_aux[i] = other.m_aux[i];
    m_notCounted = other.m_notCounted;
    m_time = other.m_time;
    return *this;
}
