// cabrillo/ owns the header record (g_cabrilloHeader, here), its dialog
// (dialog_win.h) and the export a report starts (export.h).
//
// CCabrilloHeader: the header of the Cabrillo log and its finished QSO lines.
#pragma once
#include "framework/arrays.h"
#include "framework/oledate.h"

class CCabrilloHeader {
public:
    // Loads the stored header, lets the operator edit it, stores it.
    // 1 when confirmed, 0 when cancelled.
    // The date-times play no part in the header. The dialog lives in the
    // window layer (dialog_win.cpp); the steps before and after it here.
    int EditHeader(CString callsign, const COleDateTime* first, const COleDateTime* second);
    // Before the dialog: the callsign and file base, the stored values,
    // the fixed category defaults, the soapbox with real line breaks.
    void LoadForEdit(const CString& callsign);
    // After OK: turns each line break of a one-line field into a blank,
    // stores the values (soapbox escaped) in one write, turns the soapbox
    // into its log-file form and empties the QSO lines. False when the
    // values could not be stored in the settings file.
    bool StoreConfirmed();
    // Formats one QSO line and appends it to m_qsoLines.
    void AddQso(CString call, int freqKHz, CString modeCode, const COleDateTime* time, CString rstSent,
                CString nrSent, CString rstRcvd, CString nrRcvd);
    // Writes m_fileBase + ".cbr" claiming claimedScore; returns the message
    // for the operator.
    CString WriteLog(int claimedScore);

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

extern CCabrilloHeader& g_cabrilloHeader;

// text with every occurrence of from (not empty) replaced by to, left to
// right, without overlaps or a second look at replaced text; count (when
// given) receives the number of replacements, unless from equals to.
CString ReplaceAll(const CString& text, const CString& from, const CString& to, int* count = nullptr);

// The name of the .cbr file without its extension: "/" and "\" and every
// other character that Windows refuses in a file name (: * ? " < > | and
// control characters) become "_", surrounding white space goes, an empty
// result is "TOVAK", and a device name (CON, NUL, COM1...) gets a "_".
CString CabrilloFileBase(const CString& callsign);
