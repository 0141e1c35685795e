#include "ui/advanced_button.h"

#include <memory>

#include "ui/drawn.h"

bool CAdvancedComponent::SetCaptionColor(COLORREF color)
{
    m_captionColor = color;
    Redraw();
    return true;
}

bool CAdvancedComponent::SetFaceColor(COLORREF color)
{
    m_faceColor = color;
    Redraw();
    return true;
}

bool CAdvancedButton::AttachButton(int id, CDialog& parent, COLORREF face, COLORREF caption, COLORREF disabledCaption)
{
    HWND button = parent.GetDlgItem(id);
    if (!button)
        return false;
    // The button paints itself; its dialog forwards WM_DRAWITEM here.
    SetWindowLongA(button, GWL_STYLE, GetWindowLongA(button, GWL_STYLE) | BS_OWNERDRAW);
    parent.BindControl(id, *this);
    m_faceColor = face;
    m_captionColor = caption;
    m_disabledCaptionColor = disabledCaption;
    m_shape = 0;
    return true;
}

void CAdvancedButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    CDC dc(item.hDC);
    const CRect rect(item.rcItem);
    std::unique_ptr<DrawnObject> painter;
    if (m_shape == 1)
        painter.reset(new DrawnEllipse);
    else
        painter.reset(new DrawnRect);
    const CString caption = GetWindowText().Left(511);
    painter->Draw(&dc, rect, item.itemState, m_faceColor);
    painter->DrawCaption(&dc, rect, caption,
                         (item.itemState & ODS_DISABLED) ? m_disabledCaptionColor : m_captionColor);
}

void CAdvancedButton::Redraw()
{
    if (m_hWnd)
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
