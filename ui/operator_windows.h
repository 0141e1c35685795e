// The two operator windows of the Setup thread: the Setup window (mode
// buttons, the Previous QSO switches) and the Previous QSO window. Both
// live and die on that thread; the host's thread reaches them only through
// the published Setup window handle (ui/setup_window_handle.h).
#pragma once
#include <exception>

#include "engine/settings.h"
#include "framework/handles_win.h"
#include "framework/wnd_win.h"
#include "resources/resource.h"
#include "ui/advanced_button.h"

// Where a window stands, kept under its two settings keys: written when it
// moved, at most once a second while the operator moves it about, and when
// it closes; never for a mere pass of the mouse.
class CWindowPlace {
public:
    CWindowPlace(const char* xKey, const char* yKey) : m_xKey(xKey), m_yKey(yKey) {}
    // Reads the keys (with their substitutes) and moves the window there.
    void Restore(HWND window);
    // The mouse is over the window: stores a new position, or, when the
    // last write was less than a second ago, sets kTimer to store it then.
    void Track(HWND window);
    // The window closes, or kTimer came: stores where it stands, when that
    // is not stored yet.
    void Store(HWND window);
    static const UINT_PTR kTimer = 0x504C; // the window's timer for a later write

private:
    const char* m_xKey;
    const char* m_yKey;
    POINT m_stored = {0, 0}; // as last read or written
    bool m_written = false;
    DWORD m_writtenAt = 0;
};

// The Previous QSO table, painted off-screen and shown in one copy.
class CPrev : public CWnd {
public:
    void DrawItem(const DRAWITEMSTRUCT& item) override;
};

class Prev_QSO : public CDialog {
public:
    Prev_QSO() : CDialog(IDD_PREV_QSO) { BindControl(IDC_PREV_TABLE, m_table); }
    ~Prev_QSO() override;
    // Repaints the table (the data row's highlight follows the band).
    void RepaintTable();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {} // Escape does nothing here
    HBRUSH OnCtlColor(HDC dc, HWND control, int kind) override;
    bool OnSetCursor(HWND window, int hitTest, int mouseMessage) override;
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CPrev m_table;
    CBrushHandle m_brush;
    CWindowPlace m_place{settings::kPrevX, settings::kPrevY};
};

class Setup : public CDialog {
public:
    Setup() : CDialog(IDD_SETUP) {}
    ~Setup() override;

    // Closes the Previous QSO window, if one is open.
    void ClosePrevQso();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override {} // Enter does not close the window
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
    HBRUSH OnCtlColor(HDC dc, HWND control, int kind) override;
    bool OnSetCursor(HWND window, int hitTest, int mouseMessage) override;
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void SetTexts();
    // The mode button pressed: its macro, its colours, the "Mode" key.
    void ChooseMode(bool cw);
    void ShowMode(bool cw);
    void OnWindowOnTop();
    void OnPrevQso();
    void OpenPrevQso();
    void OnPrevQsoRefresh();
    void RefreshPrevQso();

    CBrushHandle m_brush;
    int m_bOnTop = 0;
    CAdvancedButton m_btnCW;
    CAdvancedButton m_btnSSB;
    int m_bViewPrev = 0;
    // The opening macro's failure, shown once the window runs.
    std::exception_ptr m_openingFailure;
    CWindowPlace m_place{settings::kSetupX, settings::kSetupY};
};

extern Prev_QSO* g_pPrevQso;     // the open Previous QSO window (Setup thread only)
extern int g_windowOnTop;         // the Previous QSO window is kept on top
extern int g_currentBandIndex;    // band of the host's frequency: 0..5 for 160..10 m, -1 none yet
extern double g_lastSp1Frequency; // host frequency (Hz) at the last "<SP1>"
