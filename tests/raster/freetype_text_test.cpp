// Text through FreeType and fontconfig with the installed faces: a cached font draws inside the extent
// it measures, on the line height asked for, with its baseline and advances where Windows puts Arial's.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "raster/font.h"
#include "raster/ftfont.h"
#include "raster/glyphsource.h"
#include "tests/raster/testbitmaps.h"

namespace {
const char kText[] = "Drive 50%";

struct InkBounds {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1, count = 0;  // right, bottom inclusive
};

InkBounds Ink(PIX_IBitmap& b, int threshold) {
    InkBounds k;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (static_cast<int>(Px(b, x, y) >> 16 & 0xFF) >= threshold) {
                k.left = std::min(k.left, x), k.right = std::max(k.right, x);
                k.top = std::min(k.top, y), k.bottom = std::max(k.bottom, y), ++k.count;
            }
    return k;
}

int AdvanceSum(PIX_FontHandle font) {
    int sum = 0, w = 0, h = 0;
    for (const char* p = kText; *p; ++p, sum += w) PIX_GetGlyphSource()->MeasureGlyph(nullptr, font, *p, &w, &h);
    return sum;
}

TEST(FreeTypeText, DrawsInsideTheMeasuredCellOnTheWindowsBaseline) {
    // Arial's ascent and the advances of kText at these cell heights on Windows (GDI's text metrics
    // and DrawText's extent); a face not installed falls back to Arial's metrics.
    const struct {
        const char* face;
        int height, ascent, advances;
        bool bold;
    } cases[] = {{"Arial", 12, 10, 51, false},
                 {"Arial", 16, 13, 65, false},
                 {"Arial", 24, 19, 99, false},
                 {"Arial", 16, 13, 67, true},
                 {"No Such Face 7", 16, 13, 65, false}};
    EXPECT_EQ(PIX_CreateFreeTypeFont("Arial", 0, false, false), nullptr);
    for (const auto& c : cases) {
        PIX_CachedFont font;
        PIX_FontHandle handle = PIX_CreateFreeTypeFont(c.face, c.height, c.bold, false);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(AdvanceSum(handle), c.advances) << c.height;
        font.AttachHandle(handle, FontOwnsHandle);
        font.SetForeColor(0xFFFFFFFF);
        EXPECT_EQ(font.GetLineHeight(), c.height);
        PIX_Rect m = {7, 5, 7, 5};
        EXPECT_EQ(font.DrawString(nullptr, kText, -1, &m, PIX_TextCalcRect), c.height);
        EXPECT_EQ(m.bottom - m.top, c.height);

        PIX_MemBitmap b(240, 40);
        Fill(b, 0xFF000000);
        PIX_Rect r = {7, 5, 240, 40};
        font.DrawString(&b, kText, -1, &r, PIX_TextSingleLine);
        const InkBounds any = Ink(b, 1), strong = Ink(b, 128);
        EXPECT_GE(any.left, m.left);
        EXPECT_LT(any.right, m.right);
        EXPECT_GE(any.top, m.top);
        EXPECT_LT(any.bottom, m.bottom);
        // 'D' starts the extent and '%' ends it; the glyphs stand on the baseline.
        EXPECT_LE(any.left - m.left, 2);
        EXPECT_LE(m.right - 1 - any.right, 2);
        EXPECT_EQ(strong.bottom, m.top + c.ascent - 1) << c.height;
        EXPECT_GT(strong.count, 8 * c.height);
    }
}

}  // namespace
