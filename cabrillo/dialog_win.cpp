#include "cabrillo/dialog_win.h"

#include <string>

#include "engine/settings.h"
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

Cabrillo::Cabrillo(const CCabrilloHeader& header, HWND parent)
    : CDialog(IDD_CABRILLO, parent), m_header(header)
{
}

Cabrillo::~Cabrillo() = default;

INT_PTR Cabrillo::DoModal()
{
    return CDialog::DoModal();
}

void Cabrillo::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_CONTEST, m_header.m_contest);
    DDX_Text(pDX, IDC_CALLSIGN, m_header.m_callsign);
    DDX_Text(pDX, IDC_CLAIMED, m_header.m_claimed);
    DDX_CBString(pDX, IDC_CATEGORY_OPERATOR, m_header.m_categoryOperator);
    DDX_CBString(pDX, IDC_CATEGORY_BAND, m_header.m_categoryBand);
    DDX_CBString(pDX, IDC_CATEGORY_MODE, m_header.m_categoryMode);
    DDX_CBString(pDX, IDC_CATEGORY_TIME, m_header.m_categoryTime);
    DDX_Text(pDX, IDC_NAME, m_header.m_name);
    DDX_Text(pDX, IDC_ADDRESS, m_header.m_address);
    DDX_Text(pDX, IDC_ADDRESS_CITY, m_header.m_addressCity);
    DDX_Text(pDX, IDC_ADDRESS_POSTALCODE, m_header.m_addressPostalCode);
    DDX_Text(pDX, IDC_ADDRESS_COUNTRY, m_header.m_addressCountry);
    DDX_Text(pDX, IDC_OPERATORS, m_header.m_operators);
    DDX_Text(pDX, IDC_CLUB, m_header.m_club);
    DDX_Text(pDX, IDC_SOAPBOX, m_header.m_soapbox);
    DDX_Text(pDX, IDC_EMAIL, m_header.m_email);
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
    if (!refused.empty()) {
        const std::string text = "These fields hold characters that this Windows code page cannot store: " +
                                 refused + ".\nPlease retype them.";
        MessageBoxA(m_hWnd, text.c_str(), "BALTIC", MB_OK | MB_ICONWARNING);
        return;
    }
    if (!UpdateData(true))
        return;
    // Stored here, while the dialog is still open: when the settings file
    // refuses them, the operator can put that right and press OK again, or
    // cancel, and nothing typed is lost meanwhile.
    CCabrilloHeader confirmed = m_header;
    if (!confirmed.StoreConfirmed()) {
        char full[MAX_PATH] = "";
        const DWORD n = GetFullPathNameA(g_iniFile, MAX_PATH, full, nullptr);
        const std::string file = n > 0 && n < MAX_PATH ? std::string(full) : g_iniFile.str();
        const std::string text = "The Cabrillo header could not be saved: the settings file\n" + file +
                                 "\ncannot be written. Check that the folder exists, that the file is not "
                                 "read-only and that no other program holds it, then press OK again, or "
                                 "press CANCEL.";
        MessageBoxA(m_hWnd, text.c_str(), "BALTIC", MB_OK | MB_ICONWARNING);
        return;
    }
    m_header = confirmed;
    EndDialog(IDOK);
}

int CCabrilloHeader::EditHeader(CString callsign, const COleDateTime*, const COleDateTime*)
{
    LoadForEdit(callsign);

    // Owned by the host's window, which stays disabled while it is open.
    Cabrillo dlg(*this, ModalOwnerWindow());
    // A cancelled dialog, or one that could not open, stores nothing.
    if (dlg.DoModal() != IDOK)
        return 0;

    // Stored by the dialog's OK. CLAIMED is shown only: the report owns the
    // claimed score.
    const CString claimed = m_claimed;
    *this = dlg.Header();
    m_claimed = claimed;
    return 1;
}
