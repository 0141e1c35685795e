// Owner-drawn push buttons whose face and caption colours change at run
// time: the Setup window's mode buttons.
#pragma once
#include "framework/wnd_win.h"

class CAdvancedComponent {
public:
    virtual ~CAdvancedComponent() = default;
    // Each setter repaints at once.
    virtual bool SetCaptionColor(COLORREF color);
    virtual bool SetFaceColor(COLORREF color);
    virtual void Redraw() = 0;

    COLORREF m_faceColor = 0;
    COLORREF m_captionColor = 0;
};

class CAdvancedButton : public CWnd, public CAdvancedComponent {
public:
    // Takes over the push button id of parent, drawn with these colours.
    // False (and nothing changed) when there is no such control.
    bool AttachButton(int id, CDialog& parent, COLORREF face, COLORREF caption, COLORREF disabledCaption);
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    void Redraw() override;

    COLORREF m_disabledCaptionColor = 0;
    int m_shape = 0; // 1: ellipse; otherwise a rectangle
};
