// Text with real Windows fonts through GDI (run under Wine): metrics, masks, the glyph cache and,
// in the 64-bit build, the native path.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "raster/font.h"
#include "raster/nativetext.h"
#include "raster/sysbitmap.h"
#include "tests/raster/testbitmaps.h"

namespace {
HFONT Arial(int height) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial");
}

int TextMetricHeight(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm.tmHeight;
}

int CountChanged(PIX_IBitmap& b, uint32_t background) {
    int n = 0;
    for (uint32_t p : Snapshot(b)) n += (p & 0xFFFFFF) != (background & 0xFFFFFF);
    return n;
}

class GdiText : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(FontInstanceCount, 0);
        EXPECT_EQ(GlyphSurface, nullptr);
    }
};

// A real font: its metrics, plausible masks and extents, stable pixels, cache hits on the second
// draw; a tall font grows the shared surface.
TEST_F(GdiText, RealFontMasksExtentsAndCache) {
    PIX_CachedFont font, big;
    HFONT handle = Arial(16);
    font.AttachHandle(handle, FontOwnsHandle);
    font.SetForeColor(0xFFFFFFFF);
    EXPECT_EQ(font.GetLineHeight(), TextMetricHeight(handle));
    PIX_Rect m = {0, 0, 0, 0};
    const char* text = "Hello W\xC3\xA9\xE2\x82\xAC v2.0.7";
    EXPECT_EQ(font.DrawString(nullptr, text, -1, &m, PIX_TextCalcRect | TextGlyphsOnly), font.GetLineHeight());
    EXPECT_GT(m.right, 60);
    EXPECT_LT(m.right, 200);
    for (uint16_t code : {0xE9, 0x20AC}) {
        ASSERT_NE(font.FindGlyph(code), nullptr);
        EXPECT_GT(font.FindGlyph(code)->mask, 0);
    }
    const PIX_GlyphRecord w = *font.FindGlyph('W');
    EXPECT_GT(w.advance, 5);
    EXPECT_GE(w.width, w.advance);
    EXPECT_EQ(w.height, font.GetLineHeight());
    int ink = 0;
    for (int i = 0; i < w.width * w.height; ++i) ink += font.GlyphMask(w)[i] > 128;
    EXPECT_GT(ink, 10);

    PIX_MemBitmap first(240, 30), second(240, 30);
    Fill(first, 0xFF000000), Fill(second, 0xFF000000);
    PIX_Rect r = {10, 0, 240, 30};
    const int coverage = font.CoverageSize();
    const int flags = PIX_TextVCenter | PIX_TextSingleLine | TextGlyphsOnly;
    font.DrawString(&first, text, -1, &r, flags);
    font.DrawString(&second, text, -1, &r, flags);
    EXPECT_EQ(font.CoverageSize(), coverage);  // nothing new rendered
    EXPECT_EQ(Snapshot(first), Snapshot(second));
    EXPECT_GT(CountChanged(first, 0xFF000000), 100);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(Px(first, x, y), 0xFF000000u);  // left of the rect

    big.AttachHandle(Arial(200), FontOwnsHandle);
    ASSERT_TRUE(big.CacheGlyph('g'));
    EXPECT_EQ(GlyphSurface->Width(), 2 * big.GetLineHeight() + 8);
    EXPECT_EQ(GlyphSurface->Height(), 2 * big.GetLineHeight() + 8);
}

TEST_F(GdiText, PathChoiceOfTheBuild) {
    PIX_CachedFont normal, tall;
    normal.AttachHandle(Arial(16), FontOwnsHandle | FontNativeText);
    tall.AttachHandle(Arial(300), FontOwnsHandle | FontNativeText);
    normal.SetForeColor(0xFFFFFFFF);
    tall.SetForeColor(0xFFFFFFFF);
    ASSERT_GE(tall.GetLineHeight(), 256);
    PIX_MemBitmap mem(400, 400);
    PIX_SysBitmap sys(400, 400);
    PIX_Rect r = {0, 0, 400, 400};
    Fill(mem, 0xFF000000), Fill(sys, 0xFF000000);

    normal.DrawString(&mem, "Wine", -1, &r, PIX_TextSingleLine);
#ifdef _WIN64
    // Under Wine the probe finds "Software\Wine": the cache draws.
    EXPECT_EQ(WineProbeState, 1);
    EXPECT_GT(normal.CoverageSize(), 0);
    // Tall fonts always go to GDI: directly into a device context, or through the scratch surface.
    tall.DrawString(&sys, "W", -1, &r, PIX_TextSingleLine | TextForeAlpha);
    tall.DrawString(&mem, "W", -1, &r, PIX_TextSingleLine);
    EXPECT_EQ(tall.CoverageSize(), 0);
    EXPECT_GT(CountChanged(sys, 0xFF000000), 500);
    ASSERT_NE(NativeTextSurface, nullptr);
    PIX_Rect m = {5, 5, 5, 5};
    EXPECT_GT(tall.DrawString(nullptr, "W", -1, &m, PIX_TextCalcRect), 200);
    EXPECT_GT(m.right, 5);
    EXPECT_GE(NativeTextSurface->Width(), 4);
    // Outside Wine a normal font with an opaque colour would take GDI as well.
    WineProbeState = 0;
    PIX_CachedFont other;
    other.AttachHandle(Arial(16), FontOwnsHandle | FontNativeText);
    PIX_MemBitmap scratchTarget(100, 30);
    Fill(scratchTarget, 0xFF000000);
    other.SetForeColor(0xFFFFFFFF);
    other.DrawString(&scratchTarget, "Native", -1, &r, PIX_TextSingleLine);
    EXPECT_EQ(other.CoverageSize(), 0);
    EXPECT_GT(CountChanged(scratchTarget, 0xFF000000), 20);
    other.DrawString(&scratchTarget, "Cache", -1, &r, PIX_TextSingleLine | TextGlyphsOnly);
    EXPECT_GT(other.CoverageSize(), 0);
    WineProbeState = 1;
#else
    // 32-bit builds: always the glyph cache, no scratch surface.
    EXPECT_GT(normal.CoverageSize(), 0);
    tall.DrawString(&mem, "W", -1, &r, PIX_TextSingleLine);
    EXPECT_GT(tall.CoverageSize(), 0);
    EXPECT_EQ(NativeTextSurface, nullptr);
#endif
    EXPECT_GT(CountChanged(mem, 0xFF000000), 500);
}
}  // namespace
