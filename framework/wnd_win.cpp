#include "framework/wnd_win.h"

#include <cstring>
#include <string>

#include "framework/dispatch_win.h"
#include "framework/platform.h"
#include "framework/scope_exit.h"
#include "framework/text_win.h"

namespace {

// The combo-box lists of a dialog template travel as a resource of this
// type under the template's id: records of a control id, a message, a byte
// count and the bytes (a NUL-ended entry), ending with a control id of 0.
const WORD kDialogInitType = 240;
const WORD kWin16ComboAddString = 0x0403;
const WORD kWin16ListAddString = 0x0401;

// A handler failed: tell the operator once, and keep the window going. A
// failure while that box is up (a repaint behind it) adds no second box.
void ReportHandlerFailure(const char* text = "The window could not complete the last action.")
{
    static thread_local bool reporting = false;
    if (reporting)
        return;
    reporting = true;
    const auto lower = MakeScopeExit([] { reporting = false; });
    ShowMessageBox(text, "BALTIC", MB_OK | MB_ICONERROR);
}

WORD ReadWord(const BYTE* p)
{
    WORD w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

DWORD ReadDword(const BYTE* p)
{
    DWORD d;
    std::memcpy(&d, p, sizeof d);
    return d;
}

} // namespace

HINSTANCE ModuleInstance()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ModuleInstance), &module);
    return module;
}

HWND ModalOwnerWindow()
{
    // Windows of the calling thread only: an owner on another thread would
    // tie the two threads' input together.
    const DWORD me = GetCurrentThreadId();
    for (HWND window : {GetActiveWindow(), GetForegroundWindow()}) {
        if (!window || GetWindowThreadProcessId(window, nullptr) != me)
            continue;
        HWND root = GetAncestor(window, GA_ROOTOWNER);
        return root && GetWindowThreadProcessId(root, nullptr) == me ? root : window;
    }
    return nullptr;
}

CString WindowText(HWND window, bool* exact)
{
    // Read as wide text and narrowed here, so that nothing is best-fitted.
    // The length may grow between the two calls: read until it fits.
    for (int size = GetWindowTextLengthW(window) + 1;; size *= 2) {
        std::wstring buf(static_cast<size_t>(size), L'\0');
        int n = GetWindowTextW(window, &buf[0], size);
        if (n < size - 1 || size >= (1 << 24))
            return CString(NarrowFrom(buf.data(), n, exact));
    }
}

CString CWnd::GetWindowText() const
{
    return WindowText(m_hWnd);
}

void CWnd::SetWindowText(const char* text)
{
    ::SetWindowTextA(m_hWnd, text ? text : "");
}

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, msg, wParam, lParam);
}

bool CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return m_hWnd && ::PostMessageA(m_hWnd, msg, wParam, lParam);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    HWND box = pDX->m_pDlgWnd->GetDlgItem(id);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(box);
    else
        SetWindowTextA(box, value);
}

void DDX_CBString(CDataExchange* pDX, int id, CString& value)
{
    HWND box = pDX->m_pDlgWnd->GetDlgItem(id);
    if (pDX->m_bSaveAndValidate) {
        value = WindowText(box);
        return;
    }
    // An empty text begins every entry; it shows as an empty box instead.
    if (value.IsEmpty()) {
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetWindowTextA(box, "");
        return;
    }
    LRESULT found = SendMessageA(box, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
    if (found == CB_ERR)
        SetWindowTextA(box, value);
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    HWND box = pDX->m_pDlgWnd->GetDlgItem(id);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(SendMessageA(box, BM_GETCHECK, 0, 0));
    else
        SendMessageA(box, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

CDialog::~CDialog()
{
    // A modeless window outliving its object must not reach it any more.
    if (m_hWnd) {
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        DestroyWindow(m_hWnd);
    }
}

INT_PTR CDialog::DoModal()
{
    m_modal = true;
    // Unicode windows: texts in any code page show as they are (the
    // narrow calls on them convert through the system's code page).
    return DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(m_templateId), m_parent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND parent)
{
    m_modal = false;
    m_parent = parent;
    return CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(m_templateId), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result)
{
    if (m_modal)
        ::EndDialog(m_hWnd, result);
    else
        DestroyWindow(m_hWnd);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx{this, saveAndValidate};
    DoDataExchange(&dx);
    return true;
}

void CDialog::BindControl(int id, CWnd& control)
{
    m_controls.emplace_back(id, &control);
    if (m_hWnd)
        control.m_hWnd = GetDlgItem(id);
}

void CDialog::FillCombos()
{
    HINSTANCE module = ModuleInstance();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(m_templateId), MAKEINTRESOURCEA(kDialogInitType));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* p = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!p)
        return;
    const BYTE* end = p + SizeofResource(module, found);
    while (end - p >= 8) {
        WORD id = ReadWord(p);
        if (id == 0)
            break;
        WORD msg = ReadWord(p + 2);
        DWORD length = ReadDword(p + 4);
        p += 8;
        if (length > static_cast<DWORD>(end - p))
            break;
        std::string entry(reinterpret_cast<const char*>(p), length);
        entry.resize(std::strlen(entry.c_str()));
        if (msg == kWin16ComboAddString || msg == CB_ADDSTRING)
            SendDlgItemMessageA(m_hWnd, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        else if (msg == kWin16ListAddString || msg == LB_ADDSTRING)
            SendDlgItemMessageA(m_hWnd, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        p += length;
    }
}

BOOL CDialog::OnInitDialog()
{
    FillCombos();
    for (auto& c : m_controls)
        c.second->m_hWnd = GetDlgItem(c.first);
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(int id, int code)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

INT_PTR CDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_DRAWITEM:
        for (auto& c : m_controls)
            if (c.first == static_cast<int>(wParam)) {
                c.second->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
        return FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // A brush handle is the answer itself; null leaves it to the system.
        return reinterpret_cast<INT_PTR>(OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                                    static_cast<int>(msg - WM_CTLCOLORMSGBOX)));
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam))) {
            SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialog* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        if (self)
            self->m_hWnd = window;
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) go to the system.
    if (!self)
        return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->OnMessage(msg, wParam, lParam);
    } catch (const COleDispatchException& e) {
        ReportHandlerFailure(e.what()); // what the host said
    } catch (...) {
        ReportHandlerFailure();
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->m_hWnd = nullptr;
        for (auto& c : self->m_controls)
            c.second->m_hWnd = nullptr;
        try {
            self->PostNcDestroy();
        } catch (...) {
            ReportHandlerFailure();
        }
    }
    return result;
}
