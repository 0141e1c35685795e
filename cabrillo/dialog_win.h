// Cabrillo: the header dialog (template 101). One text per box; OK takes
// the boxes' texts when the code page holds them all and stores them,
// CANCEL and closing take nothing.
#pragma once
#include "cabrillo/header.h"
#include "framework/wnd_win.h"

class Cabrillo : public CDialog {
public:
    // The boxes show, and edit, a copy of header; the record itself is
    // untouched until its owner takes the copy back after OK.
    explicit Cabrillo(const CCabrilloHeader& header, HWND parent = nullptr);
    ~Cabrillo() override;
    INT_PTR DoModal() override;
    // The edited copy: after OK, the header as confirmed and stored, its
    // soapbox in the log file's form.
    const CCabrilloHeader& Header() const { return m_header; }

protected:
    // Fills the category boxes' lists from the rules table, then shows the
    // header's values.
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // OK refuses, in one message box naming them, the boxes whose text the
    // system's code page cannot hold; then it stores the header, and says
    // so in a box naming the settings file when that fails. The dialog
    // stays open after either box.
    void OnOK() override;

private:
    CCabrilloHeader m_header;
};
