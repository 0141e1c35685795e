#include "framework/dc_win.h"

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    ::SetBkColor(m_hDC, color);
    RECT r = {x, y, x + cx, y + cy};
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void CDC::Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight)
{
    const int x = rect.left, y = rect.top, cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

CMemDC::CMemDC(CDC* target) : m_pDC(target), m_bMemDC(!target->IsPrinting())
{
    if (!m_bMemDC) {
        m_hDC = target->m_hDC;
        return;
    }
    m_memory.Reset(::CreateCompatibleDC(target->m_hDC));
    ::GetClipBox(target->m_hDC, &m_rect);
    m_bitmap.Reset(::CreateCompatibleBitmap(target->m_hDC, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top));
    m_hDC = m_memory.Get();
    m_selection.emplace(m_hDC, m_bitmap.Get());
    ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, nullptr);
}

CMemDC::~CMemDC()
{
    if (m_bMemDC) {
        ::BitBlt(m_pDC->m_hDC, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_hDC,
                 m_rect.left, m_rect.top, SRCCOPY);
    }
    m_hDC = nullptr;
}
