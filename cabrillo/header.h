// CCabrilloHeader: the header of the Cabrillo log and its finished QSO lines.
#pragma once
#include "framework/arrays.h"
#include "framework/oledate.h"

class CCabrilloHeader {
public:
    // Loads the stored header, lets the operator edit it, stores it.
    // 1 when confirmed, 0 when cancelled.
    int EditHeader(CString callsign, const COleDateTime* first, const COleDateTime* second);
    // Formats one QSO line and appends it to m_qsoLines.
    void AddQso(CString call, int freqKHz, CString modeCode, const COleDateTime* time, CString rstSent,
                CString nrSent, CString rstRcvd, CString nrRcvd);
    // Writes m_fileBase + ".cbr"; returns the message for the operator.
    CString WriteLog();

    CString m_callsign;
    CString m_name;
    CString m_address;
    CString m_addressCity;
    CString m_addressPostalCode;
    CString m_addressCountry;
    CString m_claimed;
    CString m_contest;
    CString m_email;
    CString m_club;
    CString m_soapbox;
    CString m_operators;
    CString m_categoryOperator;
    CString m_categoryBand;
    CString m_location;
    CString m_categoryMode;
    CString m_categoryTime;
    CString m_fileBase;
    CStringArray m_qsoLines;
};

extern CCabrilloHeader g_cabrilloHeader;
