#include "cabrillo/dialog_win.h"

#include <string>

#include "engine/settings.h"
#include "resources/resource.h"

Cabrillo::Cabrillo(const CCabrilloHeader& header, HWND parent)
    : CDialog(IDD_CABRILLO, parent), m_header(header)
{
}

Cabrillo::~Cabrillo() = default;

INT_PTR Cabrillo::DoModal()
{
    return CDialog::DoModal();
}

BOOL Cabrillo::OnInitDialog()
{
    for (int i = 0; i < kHeaderFieldCount; ++i)
        if (const char* const* list = HeaderList(kHeaderFields[i].box))
            for (; *list; ++list)
                SendDlgItemMessageA(m_hWnd, kHeaderFields[i].box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(*list));
    return CDialog::OnInitDialog();
}

void Cabrillo::DoDataExchange(CDataExchange* pDX)
{
    for (int i = 0; i < kHeaderFieldCount; ++i) {
        const CHeaderField& f = kHeaderFields[i];
        if (f.kind == HeaderBox::kCombo)
            DDX_CBString(pDX, f.box, m_header.*f.member);
        else if (f.kind != HeaderBox::kNone)
            DDX_Text(pDX, f.box, m_header.*f.member);
    }
}

void Cabrillo::OnOK()
{
    // The settings file and the log are 8-bit text in the system's code
    // page: a text it cannot hold is refused, never stored changed, and the
    // operator's typing stays in the dialog for a correction.
    std::string refused;
    for (int i = 0; i < kHeaderFieldCount; ++i) {
        const CHeaderField& f = kHeaderFields[i];
        bool exact = true;
        if (f.box != 0)
            WindowText(GetDlgItem(f.box), &exact);
        if (!exact)
            refused += (refused.empty() ? "" : ", ") + std::string(f.label);
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
