// CDC: a device context to draw on, borrowed (it closes nothing); CMemDC: an
// off-screen context whose picture is copied to its target in one step when
// it goes away, so a repaint never flickers. Objects selected into a
// context come back as a CSelection guard that selects the old one back:
// declare it after the object it selects, so that it dies first.
#pragma once
#include <windows.h>

#include <optional>

#include "framework/handles_win.h"
#include "framework/str.h"

// A rectangle with the few operations the painters use.
struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    void DeflateRect(int d) { InflateRect(-d); }
    void InflateRect(int d)
    {
        left -= d;
        top -= d;
        right += d;
        bottom += d;
    }
};

class CSelection {
public:
    CSelection(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    ~CSelection()
    {
        if (m_old && m_old != HGDI_ERROR)
            ::SelectObject(m_dc, m_old);
    }
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

class CDC {
public:
    CDC() = default;
    explicit CDC(HDC dc) : m_hDC(dc) {}
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    bool IsPrinting() const { return ::GetDeviceCaps(m_hDC, TECHNOLOGY) == DT_RASPRINTER; }
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int DrawText(const CString& text, RECT* rect, UINT format)
    {
        return ::DrawTextA(m_hDC, text.GetString(), text.GetLength(), rect, format);
    }
    void FillRect(const RECT& rect, HBRUSH brush) { ::FillRect(m_hDC, &rect, brush); }
    // A rectangle of one colour (the background colour is left at it).
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // A one-pixel frame: top and left in one colour, right and bottom in the other.
    void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
    void Ellipse(const RECT& rect) { ::Ellipse(m_hDC, rect.left, rect.top, rect.right, rect.bottom); }
    void DrawFocusRect(const RECT& rect) { ::DrawFocusRect(m_hDC, &rect); }
    void TextOut(int x, int y, const CString& text) { ::TextOutA(m_hDC, x, y, text.GetString(), text.GetLength()); }

    HDC m_hDC = nullptr;
};

class CMemDC : public CDC {
public:
    // Draws off-screen over the target's clip box, in the target's own
    // coordinates; a printing target is drawn on directly.
    explicit CMemDC(CDC* target);
    ~CMemDC() override;

private:
    CDC* m_pDC;
    RECT m_rect = {};
    bool m_bMemDC;
    CMemoryDCHandle m_memory;
    CBitmapHandle m_bitmap;
    std::optional<CSelection> m_selection; // the bitmap in m_memory; dies first
};
