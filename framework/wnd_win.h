// The thin window layer: CWnd (a window handle and its texts), CDialog (a
// dialog run from a resource template of this module, modal or modeless),
// and the data exchange between a dialog's members and its controls.
//
// One static thunk per window kind binds the object to its HWND (at
// WM_INITDIALOG for dialogs) and calls one virtual OnMessage, a switch that
// unpacks the message into typed handlers. Whatever a handler throws ends in
// the thunk: the operator sees one message box and the window goes on.
#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "framework/str.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    CString GetWindowText() const;
    void SetWindowText(const char* text);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // False when the message could not be queued (no window).
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // An owner-drawn control paints itself: its dialog forwards WM_DRAWITEM
    // here by control id (CDialog::BindControl).
    virtual void DrawItem(const DRAWITEMSTRUCT&) {}

    HWND m_hWnd = nullptr;
};

// Text of any window in the system's code page, whole, whatever its length.
// A character the code page cannot hold becomes "?", and *exact (when
// given) is false then.
CString WindowText(HWND window, bool* exact = nullptr);

class CDialog;

// One direction of one exchange: from the controls into the members
// (m_bSaveAndValidate) or from the members into the controls.
struct CDataExchange {
    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
};

// Edit box <-> text.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Combo box <-> text. Into the box: the first list entry that begins with
// the text (case-insensitive), else the text itself; an empty text leaves
// the box empty rather than picking the first entry. From the box: its text.
void DDX_CBString(CDataExchange* pDX, int id, CString& value);
// Check box <-> 0 / 1 (2 for an indeterminate three-state box).
void DDX_Check(CDataExchange* pDX, int id, int& value);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr) : m_templateId(templateId), m_parent(parent) {}
    ~CDialog() override;

    // Runs the dialog modally: IDOK, IDCANCEL or what EndDialog gave; -1
    // when the template is missing or the window cannot be made.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless on the calling thread, whose message loop
    // must then run it. False when the window cannot be made.
    bool Create(HWND parent = nullptr);
    void EndDialog(INT_PTR result);
    // Exchanges every bound value in one direction (DoDataExchange).
    bool UpdateData(bool saveAndValidate = true);
    // Forwards WM_DRAWITEM of control id to control, and binds the control's
    // handle once the dialog exists. The control must outlive the window.
    void BindControl(int id, CWnd& control);

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    // Fills the template's combo-box lists, binds the controls, shows the
    // members. Returns TRUE to let the system set the focus.
    virtual BOOL OnInitDialog();
    // OK takes the values from the boxes and closes with IDOK.
    virtual void OnOK();
    // CANCEL and closing the window take nothing and close with IDCANCEL.
    virtual void OnCancel();
    // True when handled. The default turns IDOK and IDCANCEL into OnOK and
    // OnCancel.
    virtual bool OnCommand(int id, int code);
    // WM_CTLCOLOR*: a brush to paint the control with, or nullptr for the
    // system's. kind is the CTLCOLOR_* value.
    virtual HBRUSH OnCtlColor(HDC, HWND, int /*kind*/) { return nullptr; }
    // WM_SETCURSOR: true when the handler set the cursor itself.
    virtual bool OnSetCursor(HWND, int /*hitTest*/, int /*mouseMessage*/) { return false; }
    // After the window is gone (WM_NCDESTROY): a modeless dialog that owns
    // itself may delete itself here.
    virtual void PostNcDestroy() {}
    // The one switch over the messages; the result is what a dialog
    // procedure returns (TRUE: handled).
    virtual INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void FillCombos();

    UINT m_templateId;
    HWND m_parent;
    bool m_modal = false;
    std::vector<std::pair<int, CWnd*>> m_controls;
};

// The module's own resources: this file's module, the DLL in the plug-in.
HINSTANCE ModuleInstance();

// The owner of a dialog or box the calling thread opens: the root owner of
// its active window, else of the foreground window when that is one of its
// own; null when it has neither. Its windows are disabled while the
// dialog or box is up, as under any modal window of the host's own.
HWND ModalOwnerWindow();
