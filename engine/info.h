// CInfo: one QSO as the plug-in keeps it.
#pragma once
#include "framework/arrays.h"
#include "framework/oledate.h"

class CInfo : public CObject {
public:
    CInfo();
    CInfo(const CInfo& other);
    CInfo& operator=(const CInfo& other);
    // Moves, so that the store shifts and grows without copying texts.
    CInfo(CInfo&& other) noexcept;
    CInfo& operator=(CInfo&& other) noexcept;
    ~CInfo() override = default;

    CString m_call;      // worked station
    CString m_country;   // its country prefix, e.g. "LY"
    CString m_continent; // its continent, e.g. "EU"
    CString m_band;      // e.g. "80m"
    CString m_mode;      // "CW" or "SSB" as passed
    CString m_rstRcvd;
    CString m_rstSent;
    CString m_nrRcvd;
    CString m_nrSent;
    CString m_extra1;
    CString m_extra2;
    int m_invalid;
    int m_dupe;          // an earlier stored QSO has the same call, band and mode
    unsigned int m_freqKHz;
    int m_spare;
    int m_aux[4];
    int m_notCounted;    // does not count towards the score (every dupe)
    COleDateTime m_time;
    int m_reserved;      // not copied

private:
    void CopyNumbers(const CInfo& other);
};
