#include "ui/operator_windows.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <utility>

#include "engine/prev_qso.h"
#include "engine/settings.h"
#include "engine/stores.h"
#include "engine/window_texts.h"
#include "framework/dc_win.h"
#include "framework/text_win.h"
#include "ui/host_link.h"
#include "ui/setup_link.h"
#include "ui/setup_window_handle.h"

namespace {

const COLORREF kBackground = RGB(255, 250, 198);
const COLORREF kSetupTextBackground = RGB(255, 240, 198);
const COLORREF kFace = RGB(240, 240, 240);
const COLORREF kChosenFace = RGB(0, 255, 0);
const COLORREF kCaption = RGB(1, 1, 1);
const COLORREF kDisabledCaption = RGB(128, 128, 128);

// The windows' texts; the Russian ones in Windows-1251.
struct Texts {
    const char *title, *view, *mode, *onTop, *prevQso, *prevTitle, *refreshTitle, *lookupTitle;
};
const Texts kEnglish = {"Setup BALTIC-%s",
                        "View",
                        "Mode",
                        "Window on top",
                        "Previous QSO",
                        "BALTIC-CW/SSB-%s Previous, QSO",
                        "BALTIC-CW/SSB-%s Previous QSO",
                        "BALTIC-CW/SSB-%s worked with %s"};
const Texts kRussian = {"\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8 BALTIC-%s",
                        "\xCE\xF2\xEE\xE1\xF0\xE0\xE6\xE0\xF2\xFC",
                        "\xC2\xE8\xE4 \xF0\xE0\xE1\xEE\xF2\xFB",
                        "\xCF\xEE\xE2\xE5\xF0\xF5 \xEE\xEA\xEE\xED",
                        "\xCF\xF0\xE5\xE4\xFB\xE4\xF3\xF9\xE8\xE5 QSO",
                        "BALTIC-CW/SSB-%s \xCF\xF0\xE5\xE4\xFB\xE4\xF3\xF9\xE8\xE5 QSO",
                        "BALTIC-CW/SSB-%s \xCF\xF0\xE5\xE4\xFB\xE4\xF3\xF9\xE8\xE5 QSO",
                        "BALTIC-CW/SSB-%s \xF0\xE0\xE1\xEE\xF2\xE0\xEB\xE8 \xF1 %s"};

// The texts and year are read from a copy: the host's thread resets them.
const Texts& CurrentTexts()
{
    return CurrentWindowTextInputs().russian ? kRussian : kEnglish;
}

// A control's text in black on textBackground, the window's brush behind.
HBRUSH ColorText(HDC dc, COLORREF textBackground, const CBrushHandle& brush)
{
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, textBackground);
    return brush.Get();
}

// Shows a text kept in Windows-1251 (Russian) or plain ASCII through the
// wide call, so it reads right whatever the system's code page.
void SetText1251(HWND window, const CString& text)
{
    SetWindowTextW(window, WideFrom(text.str(), 1251).c_str());
}

// The band of a frequency: 0 to 5 for 160, 80, 40, 20, 15 and 10 m; -1 none.
int BandIndex(double hz)
{
    static const int kMegahertz[] = {1, 3, 7, 14, 21, 28};
    const double mhz = hz / 1000000.0;
    for (int i = 0; i < 6; ++i)
        if (mhz >= kMegahertz[i] && mhz < kMegahertz[i] + 1)
            return i;
    return -1;
}

void DisableCloseBox(HWND window)
{
    EnableMenuItem(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

void PostRefresh(HWND setup)
{
    PostMessageA(setup, WM_PREV_QSO_REFRESH, 0, 0);
}

} // namespace

void CWindowPlace::Restore(HWND window)
{
    m_stored.x = settings::ReadInt(m_xKey);
    m_stored.y = settings::ReadInt(m_yKey);
    SetWindowPos(window, nullptr, m_stored.x, m_stored.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CWindowPlace::Track(HWND window)
{
    RECT r;
    if (!GetWindowRect(window, &r) || (r.left == m_stored.x && r.top == m_stored.y))
        return;
    const DWORD since = GetTickCount() - m_writtenAt;
    if (!m_written || since >= 1000)
        Store(window);
    else
        SetTimer(window, kTimer, 1000 - since, nullptr);
}

void CWindowPlace::Store(HWND window)
{
    KillTimer(window, kTimer);
    RECT r;
    if (!GetWindowRect(window, &r) || (r.left == m_stored.x && r.top == m_stored.y))
        return;
    CString x, y;
    x.Format("%i", static_cast<int>(r.left));
    y.Format("%i", static_cast<int>(r.top));
    // One write for both; a failed one is kept in memory by the writer.
    settings::Write({{m_xKey, x}, {m_yKey, y}});
    m_stored = {r.left, r.top};
    m_written = true;
    m_writtenAt = GetTickCount();
}

void CPrev::DrawItem(const DRAWITEMSTRUCT& item)
{
    const PrevQsoShown shown = CurrentPrevQsoShown();
    const CString& call = shown.call;
    const CStringArray& row = shown.row;
    CDC target(item.hDC);
    CMemDC dc(&target);
    const CRect rect(item.rcItem);
    const int h = rect.bottom / 7;
    CBrushHandle paper(CreateSolidBrush(RGB(255, 255, 198)));
    dc.FillRect(rect, paper.Get());
    if (g_currentBandIndex >= 0) {
        CBrushHandle highlight(CreateSolidBrush(RGB(198, 255, 255)));
        dc.FillRect(CRect(0, h + 45, rect.right, h + 65), highlight.Get());
    }
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(20, 32, "Band");
    dc.TextOut(100, 32, "CW");
    dc.TextOut(170, 5, call);
    dc.TextOut(170, 32, "SSB");
    dc.TextOut(267, 32, "NR");
    static const int kColumns[] = {20, 92, 168, 265};
    for (int i = 0; i < 4 && i < row.GetSize(); ++i)
        dc.TextOut(kColumns[i], h + 45, row[i]);
}

void Prev_QSO::RepaintTable()
{
    if (HWND table = GetDlgItem(IDC_PREV_TABLE))
        InvalidateRect(table, nullptr, FALSE);
}

BOOL Prev_QSO::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_place.Restore(m_hWnd);
    if (g_windowOnTop)
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_brush.Reset(CreateSolidBrush(kBackground));
    DisableCloseBox(m_hWnd);
    return TRUE;
}

HBRUSH Prev_QSO::OnCtlColor(HDC dc, HWND, int)
{
    return ColorText(dc, kBackground, m_brush);
}

bool Prev_QSO::OnSetCursor(HWND, int, int)
{
    m_place.Track(m_hWnd);
    return false;
}

INT_PTR Prev_QSO::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER && wParam == CWindowPlace::kTimer) {
        m_place.Store(m_hWnd);
        return TRUE;
    }
    return CDialog::OnMessage(msg, wParam, lParam);
}

Prev_QSO::~Prev_QSO()
{
    // Its window goes with the base class: where it stood is stored first.
    if (m_hWnd)
        m_place.Store(m_hWnd);
}

Setup::~Setup()
{
    ClosePrevQso();
}

void Setup::ClosePrevQso()
{
    delete g_pPrevQso; // its window goes with it
    g_pPrevQso = nullptr;
}

void Setup::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_SETUP_ON_TOP, m_bOnTop);
    DDX_Check(pDX, IDC_SETUP_VIEW_PREV, m_bViewPrev);
}

void Setup::SetTexts()
{
    const Texts& t = CurrentTexts();
    HWND modeLabel = GetDlgItem(IDC_SETUP_MODE_LABEL);
    if (&t == &kRussian) // the longer label needs more room
        SetWindowPos(modeLabel, nullptr, 26, 8, 70, 15, SWP_NOZORDER);
    SetText1251(GetDlgItem(IDC_SETUP_VIEW_LABEL), t.view);
    SetText1251(modeLabel, t.mode);
    SetText1251(GetDlgItem(IDC_SETUP_ON_TOP), t.onTop);
    SetText1251(GetDlgItem(IDC_SETUP_VIEW_PREV), t.prevQso);
    SetText1251(m_hWnd, WithYear(t.title));
}

BOOL Setup::OnInitDialog()
{
    CDialog::OnInitDialog();
    // From here on the host's thread may post to the window.
    g_setupWindow = m_hWnd;
    m_bViewPrev = settings::ReadInt(settings::kSetupViewPrevQso) != 0 ? 1 : 0;
    // The on-top choice survives a restart.
    m_bOnTop = g_windowOnTop = settings::ReadInt(settings::kSetupWindowOnTop) != 0 ? 1 : 0;
    SetTexts();
    m_btnCW.AttachButton(IDC_SETUP_CW, *this, kFace, kCaption, kDisabledCaption);
    m_btnSSB.AttachButton(IDC_SETUP_SSB, *this, kFace, kCaption, kDisabledCaption);
    m_btnCW.Redraw();
    m_btnSSB.Redraw();
    UpdateData(false);
    m_brush.Reset(CreateSolidBrush(kBackground));
    m_place.Restore(m_hWnd);
    SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ConnectToHost();
    SetPrevQsoBand("80m");
    const CString mode = settings::ReadMode();
    if (mode == "CW" || mode == "SSB") {
        const bool cw = mode == "CW";
        ShowMode(cw);
        // A host that fails the opening macro still gets a whole window:
        // the failure is shown once the window runs.
        try {
            RunMacro(cw ? "<MODE:CW>" : "<MODE:SSB>");
            if (cw)
                RunMacro("<BAUDRATE:27>");
        } catch (...) {
            m_openingFailure = std::current_exception();
        }
    }
    DisableCloseBox(m_hWnd);
    if (m_openingFailure)
        ::PostMessageA(m_hWnd, WM_SETUP_OPENED, 0, 0);
    PostRefresh(m_hWnd);
    return TRUE;
}

void Setup::ShowMode(bool cw)
{
    CAdvancedButton& chosen = cw ? m_btnCW : m_btnSSB;
    CAdvancedButton& other = cw ? m_btnSSB : m_btnCW;
    chosen.SetFaceColor(kChosenFace);
    other.SetFaceColor(kFace);
    other.SetCaptionColor(kCaption);
}

void Setup::ChooseMode(bool cw)
{
    RunMacro(cw ? "<MODE:CW>" : "<MODE:SSB>");
    ShowMode(cw);
    settings::WriteText(settings::kMode, cw ? "CW" : "SSB");
}

void Setup::OnWindowOnTop()
{
    m_bOnTop = g_windowOnTop = m_bOnTop ? 0 : 1;
    settings::WriteText(settings::kSetupWindowOnTop, m_bOnTop ? "1" : "0");
    // The refresh opens it again, with the new on-top state.
    ClosePrevQso();
    UpdateData(false);
    PostRefresh(m_hWnd);
}

void Setup::OnPrevQso()
{
    if (g_pPrevQso) {
        ClosePrevQso();
        m_bViewPrev = 0;
        settings::WriteText(settings::kSetupViewPrevQso, "0");
        return;
    }
    OpenPrevQso();
    m_bViewPrev = 1;
    PostRefresh(m_hWnd);
    settings::WriteText(settings::kSetupViewPrevQso, "1");
}

void Setup::OpenPrevQso()
{
    g_pPrevQso = new Prev_QSO;
    g_pPrevQso->Create(nullptr);
    ShowWindow(g_pPrevQso->GetSafeHwnd(), SW_SHOW);
    SetText1251(g_pPrevQso->GetSafeHwnd(), WithYear(CurrentTexts().prevTitle));
}

void Setup::OnPrevQsoRefresh()
{
    // A host call that fails leaves by exception before the request slot is
    // handed back: call checks then ask for no refresh until a removal does.
    RefreshPrevQso();
    g_refreshPending = 1;
}

void Setup::RefreshPrevQso()
{
    if (!g_hostApp.GetDispatch())
        return;
    if (m_bViewPrev && !g_pPrevQso)
        OpenPrevQso();
    const CString call = GetFieldText(5); // no lock held across a host call
    if (!RefreshPrevQsoRow(call))
        return;
    const Texts& t = CurrentTexts();
    if (g_pPrevQso)
        SetText1251(g_pPrevQso->GetSafeHwnd(), WithYear(call.IsEmpty() ? t.refreshTitle : t.lookupTitle, call));
    const double hz = GetFrequency();
    if (std::fabs(hz - g_lastSp1Frequency) > 300.0) {
        RunMacro("<SP1>");
        g_lastSp1Frequency = hz;
    }
    const int band = BandIndex(hz);
    if (band < 0)
        return;
    g_currentBandIndex = band;
    if (g_pPrevQso)
        g_pPrevQso->RepaintTable();
}

void Setup::OnCancel()
{
    // From here on a reset asks for a new window instead of finding this one.
    SetupWindowEnding();
    CDialog::OnCancel();
}

bool Setup::OnCommand(int id, int code)
{
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_SETUP_CW:
            ChooseMode(true);
            return true;
        case IDC_SETUP_SSB:
            ChooseMode(false);
            return true;
        case IDC_SETUP_ON_TOP:
            OnWindowOnTop();
            return true;
        case IDC_SETUP_VIEW_PREV:
            OnPrevQso();
            return true;
        }
    }
    return CDialog::OnCommand(id, code);
}

HBRUSH Setup::OnCtlColor(HDC dc, HWND, int)
{
    return ColorText(dc, kSetupTextBackground, m_brush);
}

bool Setup::OnSetCursor(HWND, int, int)
{
    m_place.Track(m_hWnd);
    return false;
}

INT_PTR Setup::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PREV_QSO_REFRESH:
        OnPrevQsoRefresh();
        return TRUE;
    case WM_TIMER:
        if (wParam != CWindowPlace::kTimer)
            break;
        m_place.Store(m_hWnd);
        return TRUE;
    case WM_SETUP_OPENED:
        if (m_openingFailure)
            std::rethrow_exception(std::exchange(m_openingFailure, nullptr));
        return TRUE;
    case WM_DESTROY:
        // Nothing may be posted to a window that is going.
        g_setupWindow = nullptr;
        m_place.Store(m_hWnd);
        ClosePrevQso();
        break;
    }
    return CDialog::OnMessage(msg, wParam, lParam);
}
