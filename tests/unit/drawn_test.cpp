// The button painters and the off-screen context, read back pixel by pixel
// from a 32-bit bitmap.
#ifdef _WIN32
#include <doctest.h>

#include "ui/drawn.h"

namespace {

// A 40 x 24 canvas filled with blue.
class Canvas {
public:
    Canvas() : m_memory(::CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 40;
        info.bmiHeader.biHeight = -24;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_selection.emplace(m_memory.Get(), m_bitmap.Get());
        dc.m_hDC = m_memory.Get();
        dc.FillSolidRect(0, 0, 40, 24, kBlue);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc.m_hDC, x, y); }
    static constexpr COLORREF kBlue = RGB(0, 0, 255);
    CDC dc;

private:
    CMemoryDCHandle m_memory;
    CBitmapHandle m_bitmap;
    std::optional<CSelection> m_selection;
};

COLORREF Grey(int level)
{
    return RGB(level, level, level);
}

const COLORREF kGreen = RGB(0, 255, 0);
const CRect kAll(0, 0, 40, 24);

} // namespace

TEST_CASE("a rectangular button: face, raised rings, pressed outline")
{
    const struct {
        const char* what;
        UINT state;
        int x, y;
        COLORREF expected;
    } rows[] = {
        {"face", 0, 20, 12, kGreen},
        {"ring 1 light, top left", 0, 0, 0, Grey(255)},
        {"ring 1 dark, right column", 0, 39, 0, Grey(127)},
        {"ring 1 dark, bottom row", 0, 0, 23, Grey(127)},
        {"ring 2 light", 0, 1, 1, Grey(223)},
        {"ring 2 dark", 0, 38, 22, Grey(85)},
        {"pressed: sunken outline, top left dark", ODS_FOCUS | ODS_SELECTED, 0, 0, Grey(128)},
        {"pressed: sunken outline, bottom right light", ODS_FOCUS | ODS_SELECTED, 39, 23, Grey(255)},
        {"pressed: the raised ring 2 stays", ODS_FOCUS | ODS_SELECTED, 1, 1, Grey(223)},
    };
    for (const auto& row : rows) {
        INFO(row.what);
        Canvas canvas;
        DrawnRect().Draw(&canvas.dc, kAll, row.state, kGreen);
        CHECK(canvas.At(row.x, row.y) == row.expected);
    }
}

TEST_CASE("border depths, the focus mark, an empty ellipse and the off-screen copy")
{
    SUBCASE("depth 3: the third ring is light 213 and dark 63; depth 0 draws nothing")
    {
        Canvas canvas;
        DrawnRect().DrawBorder(&canvas.dc, kAll, 3);
        CHECK(canvas.At(2, 2) == Grey(213));
        CHECK(canvas.At(37, 21) == Grey(63));
        CHECK(canvas.At(3, 3) == Canvas::kBlue);
        Canvas untouched;
        DrawnRect().DrawBorder(&untouched.dc, kAll, 0);
        CHECK(untouched.At(0, 0) == Canvas::kBlue);
    }
    SUBCASE("a focused button shows the dotted mark 2 pixels inside its edge")
    {
        Canvas canvas;
        DrawnRect().Draw(&canvas.dc, kAll, ODS_FOCUS, kGreen);
        int marked = 0;
        for (int x = 2; x < 38; ++x)
            marked += canvas.At(x, 2) != kGreen;
        CHECK(marked > 10);
        CHECK(canvas.At(20, 3) == kGreen);
    }
    SUBCASE("an ellipse face on an empty rectangle paints nothing")
    {
        Canvas canvas;
        DrawnEllipse().DrawFace(&canvas.dc, CRect(10, 10, 10, 20), kGreen);
        CHECK(canvas.At(10, 12) == Canvas::kBlue);
        DrawnEllipse().Draw(&canvas.dc, kAll, 0, kGreen);
        CHECK(canvas.At(20, 12) == kGreen);
    }
    SUBCASE("what is drawn off-screen reaches the target when the context goes")
    {
        Canvas canvas;
        {
            CMemDC memory(&canvas.dc);
            memory.FillSolidRect(5, 5, 10, 10, kGreen);
            CHECK(canvas.At(7, 7) == Canvas::kBlue);
        }
        CHECK(canvas.At(7, 7) == kGreen);
    }
}
#endif
