// Cabrillo: the header dialog (template 101). One text per box; OK takes
// the boxes' texts when the code page holds them all, CANCEL and closing
// take nothing.
#pragma once
#include "framework/wnd_win.h"

class Cabrillo : public CDialog {
public:
    explicit Cabrillo(HWND parent = nullptr);
    ~Cabrillo() override;
    INT_PTR DoModal() override;

    CString m_callsign;
    CString m_operators;
    CString m_categoryOperator;
    CString m_categoryBand;
    CString m_categoryTime;
    CString m_categoryMode;
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

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // OK refuses, in one message box naming them, the boxes whose text the
    // system's code page cannot hold; the dialog then stays open.
    void OnOK() override;
};
