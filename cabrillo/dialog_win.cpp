#include "cabrillo/dialog_win.h"

#include <string>

#include "cabrillo/header.h"
#include "resources/resource.h"

namespace {

// The boxes an operator types into, by the label the dialog shows.
struct TextBox {
    int id;
    const char* tag;
};
const TextBox kTextBoxes[] = {
    {IDC_CONTEST, "CONTEST"},
    {IDC_CALLSIGN, "CALLSIGN"},
    {IDC_CLAIMED, "CLAIMED"},
    {IDC_CATEGORY_OPERATOR, "CATEGORY-OPERATOR"},
    {IDC_CATEGORY_BAND, "CATEGORY-BAND"},
    {IDC_CATEGORY_MODE, "CATEGORY-MODE"},
    {IDC_CATEGORY_TIME, "CATEGORY-TIME"},
    {IDC_NAME, "NAME"},
    {IDC_ADDRESS, "ADDRESS"},
    {IDC_ADDRESS_CITY, "ADDRESS-CITY"},
    {IDC_ADDRESS_POSTALCODE, "ADDRESS-POSTALCODE"},
    {IDC_ADDRESS_COUNTRY, "ADDRESS-COUNTRY"},
    {IDC_OPERATORS, "OPERATORS"},
    {IDC_CLUB, "CLUB"},
    {IDC_SOAPBOX, "SOAPBOX"},
    {IDC_EMAIL, "E-MAIL"},
};

} // namespace

Cabrillo::Cabrillo(HWND parent) : CDialog(IDD_CABRILLO, parent) {}

Cabrillo::~Cabrillo() = default;

INT_PTR Cabrillo::DoModal()
{
    return CDialog::DoModal();
}

void Cabrillo::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_CONTEST, m_contest);
    DDX_Text(pDX, IDC_CALLSIGN, m_callsign);
    DDX_Text(pDX, IDC_CLAIMED, m_claimed);
    DDX_CBString(pDX, IDC_CATEGORY_OPERATOR, m_categoryOperator);
    DDX_CBString(pDX, IDC_CATEGORY_BAND, m_categoryBand);
    DDX_CBString(pDX, IDC_CATEGORY_MODE, m_categoryMode);
    DDX_CBString(pDX, IDC_CATEGORY_TIME, m_categoryTime);
    DDX_Text(pDX, IDC_NAME, m_name);
    DDX_Text(pDX, IDC_ADDRESS, m_address);
    DDX_Text(pDX, IDC_ADDRESS_CITY, m_addressCity);
    DDX_Text(pDX, IDC_ADDRESS_POSTALCODE, m_addressPostalCode);
    DDX_Text(pDX, IDC_ADDRESS_COUNTRY, m_addressCountry);
    DDX_Text(pDX, IDC_OPERATORS, m_operators);
    DDX_Text(pDX, IDC_CLUB, m_club);
    DDX_Text(pDX, IDC_SOAPBOX, m_soapbox);
    DDX_Text(pDX, IDC_EMAIL, m_email);
}

void Cabrillo::OnOK()
{
    // The settings file and the log are 8-bit text in the system's code
    // page: a text it cannot hold is refused, never stored changed, and the
    // operator's typing stays in the dialog for a correction.
    std::string refused;
    for (const TextBox& box : kTextBoxes) {
        bool exact = true;
        WindowText(GetDlgItem(box.id), &exact);
        if (!exact)
            refused += (refused.empty() ? "" : ", ") + std::string(box.tag);
    }
    if (refused.empty()) {
        CDialog::OnOK();
        return;
    }
    const std::string text = "These fields hold characters that this Windows code page cannot store: " + refused +
                             ".\nPlease retype them.";
    MessageBoxA(m_hWnd, text.c_str(), "BALTIC", MB_OK | MB_ICONWARNING);
}

int CCabrilloHeader::EditHeader(CString callsign, const COleDateTime*, const COleDateTime*)
{
    LoadForEdit(callsign);

    // No parent: the host's window is not ours to disable.
    Cabrillo dlg;
    dlg.m_callsign = m_callsign;
    dlg.m_operators = m_operators;
    dlg.m_categoryOperator = m_categoryOperator;
    dlg.m_categoryBand = m_categoryBand;
    dlg.m_categoryTime = m_categoryTime;
    dlg.m_categoryMode = m_categoryMode;
    dlg.m_name = m_name;
    dlg.m_address = m_address;
    dlg.m_addressCity = m_addressCity;
    dlg.m_addressPostalCode = m_addressPostalCode;
    dlg.m_addressCountry = m_addressCountry;
    dlg.m_claimed = m_claimed;
    dlg.m_contest = m_contest;
    dlg.m_email = m_email;
    dlg.m_club = m_club;
    dlg.m_soapbox = m_soapbox;
    // A cancelled dialog, or one that could not open, stores nothing.
    if (dlg.DoModal() != IDOK)
        return 0;

    // CLAIMED is shown only: the report owns the claimed score.
    m_callsign = dlg.m_callsign;
    m_operators = dlg.m_operators;
    m_categoryOperator = dlg.m_categoryOperator;
    m_categoryBand = dlg.m_categoryBand;
    m_categoryTime = dlg.m_categoryTime;
    m_categoryMode = dlg.m_categoryMode;
    m_name = dlg.m_name;
    m_address = dlg.m_address;
    m_addressCity = dlg.m_addressCity;
    m_addressPostalCode = dlg.m_addressPostalCode;
    m_addressCountry = dlg.m_addressCountry;
    m_contest = dlg.m_contest;
    m_email = dlg.m_email;
    m_club = dlg.m_club;
    m_soapbox = dlg.m_soapbox;
    StoreConfirmed();
    return 1;
}
