// The painters of the owner-drawn buttons: a face, a three-dimensional
// border, a centred caption and a focus mark, for a rectangle or an ellipse.
// Every rectangle is passed by value: a painter shrinks its own copy.
#pragma once
#include "framework/dc_win.h"

class DrawnObject {
public:
    virtual ~DrawnObject() = default;
    // The whole button for its item state (ODS_*).
    virtual void Draw(CDC* dc, CRect rect, UINT state, COLORREF face) = 0;
    void DrawCaption(CDC* dc, CRect rect, const CString& caption, COLORREF color);
    // Positive depth raised, negative sunken; |depth| pixels wide.
    virtual void DrawBorder(CDC* dc, CRect rect, int depth) = 0;
    virtual void DrawFace(CDC* dc, CRect rect, COLORREF color) = 0;
    virtual void DrawFocus(CDC* dc, CRect rect, COLORREF color) = 0;
};

class DrawnRect : public DrawnObject {
public:
    void Draw(CDC* dc, CRect rect, UINT state, COLORREF face) override;
    void DrawBorder(CDC* dc, CRect rect, int depth) override;
    void DrawFace(CDC* dc, CRect rect, COLORREF color) override;
    void DrawFocus(CDC* dc, CRect rect, COLORREF color) override;
};

class DrawnEllipse : public DrawnObject {
public:
    void Draw(CDC* dc, CRect rect, UINT state, COLORREF face) override;
    void DrawBorder(CDC* dc, CRect rect, int depth) override;
    void DrawFace(CDC* dc, CRect rect, COLORREF color) override;
    void DrawFocus(CDC* dc, CRect rect, COLORREF color) override;
};
