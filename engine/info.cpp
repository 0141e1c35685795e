#include "engine/info.h"

#include <utility>

CInfo::CInfo()
    : m_invalid(0), m_dupe(0), m_freqKHz(0), m_spare(0), m_aux{-1, -1, -1, -1}, m_notCounted(0),
      m_time(0.0, COleDateTime::valid), m_reserved(0)
{
}

CInfo::CInfo(const CInfo& other) : CObject(), m_reserved(0)
{
    *this = other;
}

CInfo::CInfo(CInfo&& other) noexcept : CObject(), m_reserved(0)
{
    *this = std::move(other);
}

CInfo& CInfo::operator=(CInfo&& other) noexcept
{
    m_call = std::move(other.m_call);
    m_country = std::move(other.m_country);
    m_continent = std::move(other.m_continent);
    m_band = std::move(other.m_band);
    m_mode = std::move(other.m_mode);
    m_rstRcvd = std::move(other.m_rstRcvd);
    m_rstSent = std::move(other.m_rstSent);
    m_nrRcvd = std::move(other.m_nrRcvd);
    m_nrSent = std::move(other.m_nrSent);
    m_extra1 = std::move(other.m_extra1);
    m_extra2 = std::move(other.m_extra2);
    CopyNumbers(other);
    return *this;
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
    CopyNumbers(other);
    return *this;
}

void CInfo::CopyNumbers(const CInfo& other)
{
    m_invalid = other.m_invalid;
    m_dupe = other.m_dupe;
    m_freqKHz = other.m_freqKHz;
    m_spare = other.m_spare;
    for (int i = 0; i < 4; ++i)
        m_aux[i] = other.m_aux[i];
    m_notCounted = other.m_notCounted;
    m_time = other.m_time;
}
