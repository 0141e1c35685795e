#include "ui/drawn.h"

#include <cstdlib>

void DrawnObject::DrawCaption(CDC* dc, CRect rect, const CString& caption, COLORREF color)
{
    COLORREF old = dc->SetTextColor(color);
    dc->SetBkMode(TRANSPARENT);
    dc->DrawText(caption, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SetTextColor(old);
}

void DrawnRect::Draw(CDC* dc, CRect rect, UINT state, COLORREF face)
{
    DrawFace(dc, rect, face);
    DrawBorder(dc, rect, 2);
    if (state & ODS_FOCUS) {
        // A pressed button keeps its raised border under a sunken outline.
        if (state & ODS_SELECTED)
            DrawBorder(dc, rect, -1);
        rect.DeflateRect(2);
        DrawFocus(dc, rect, face);
    }
}

void DrawnRect::DrawBorder(CDC* dc, CRect rect, int depth)
{
    const int n = std::abs(depth);
    for (int i = 1; i <= n; ++i) {
        COLORREF light = RGB(255, 255, 255), dark = RGB(128, 128, 128);
        if (n >= 2) {
            const int l = 192 + 63 / i, d = 255 / (i + 1);
            light = PALETTERGB(l, l, l);
            dark = PALETTERGB(d, d, d);
        }
        if (depth > 0)
            dc->Draw3dRect(rect, light, dark);
        else
            dc->Draw3dRect(rect, dark, light);
        rect.DeflateRect(1);
    }
}

void DrawnRect::DrawFace(CDC* dc, CRect rect, COLORREF color)
{
    CBrushHandle brush(::CreateSolidBrush(color));
    dc->FillRect(rect, brush.Get());
}

void DrawnRect::DrawFocus(CDC* dc, CRect rect, COLORREF)
{
    dc->DrawFocusRect(rect);
}

void DrawnEllipse::Draw(CDC* dc, CRect rect, UINT state, COLORREF face)
{
    rect.DeflateRect(1);
    DrawBorder(dc, rect, 2);
    rect.DeflateRect(1);
    DrawFace(dc, rect, face);
    if (state & ODS_FOCUS) {
        if (state & ODS_SELECTED) {
            rect.InflateRect(1);
            DrawBorder(dc, rect, -1);
            rect.DeflateRect(1);
            DrawBorder(dc, rect, -1);
        }
        DrawFace(dc, rect, face);
        rect.DeflateRect(2);
        DrawFocus(dc, rect, face);
        rect.DeflateRect(1);
        DrawFace(dc, rect, face);
    }
}

void DrawnEllipse::DrawBorder(CDC* dc, CRect rect, int depth)
{
    CPenHandle pen(::CreatePen(PS_SOLID, 2, depth >= 0 ? RGB(128, 128, 128) : RGB(1, 1, 1)));
    CSelection selected(dc->m_hDC, pen.Get());
    dc->Ellipse(rect);
}

void DrawnEllipse::DrawFace(CDC* dc, CRect rect, COLORREF color)
{
    CPenHandle pen(::CreatePen(PS_SOLID, 3, color));
    CSelection selected(dc->m_hDC, pen.Get());
    while (!rect.IsRectEmpty()) {
        rect.DeflateRect(1);
        dc->Ellipse(rect);
    }
}

void DrawnEllipse::DrawFocus(CDC* dc, CRect rect, COLORREF color)
{
    CPenHandle pen(::CreatePen(PS_DOT, 1, RGB(1, 1, 1)));
    CSelection selected(dc->m_hDC, pen.Get());
    // The gaps between the dots show the face.
    dc->SetBkMode(OPAQUE);
    dc->SetBkColor(color);
    dc->Ellipse(rect);
}
