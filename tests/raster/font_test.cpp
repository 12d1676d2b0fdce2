#include <gtest/gtest.h>

#include <vector>

#include "raster/font.h"
#include "tests/raster/fakeglyphsource.h"
#include "tests/raster/testbitmaps.h"

namespace {
class FontTest : public ::testing::Test {
protected:
    void SetUp() override { previous = PIX_SetGlyphSource(&fake); }
    void TearDown() override {
        EXPECT_EQ(FontInstanceCount, 0);
        PIX_SetGlyphSource(previous);
    }
    FakeGlyphSource fake;
    PIX_GlyphSource* previous = nullptr;
};

using F = FakeGlyphSource;

// The mask of a record as rows of bytes.
std::vector<std::vector<int>> Mask(PIX_CachedFont& font, uint16_t code) {
    const PIX_GlyphRecord* rec = font.FindGlyph(code);
    std::vector<std::vector<int>> rows;
    if (!rec || rec->mask <= 0) return rows;
    const uint8_t* m = font.GlyphMask(*rec);
    for (int y = 0; y < rec->height; ++y) rows.emplace_back(m + y * rec->width, m + (y + 1) * rec->width);
    return rows;
}

// The shared surface grows to the largest cell and dies with the last font; owned handles are
// deleted when replaced or with the font.
TEST_F(FontTest, SurfaceAndHandleLifetimes) {
    {
        PIX_CachedFont a, b;
        a.AttachHandle(F::Font(100), 0);
        EXPECT_TRUE(a.CacheGlyph('A'));
        EXPECT_EQ(GlyphSurface->Width(), 256);  // 2 x 100 + 8 fits
        b.AttachHandle(F::Font(200), FontOwnsHandle);
        EXPECT_TRUE(b.CacheGlyph('A'));
        EXPECT_EQ(GlyphSurface->Width(), 408);
        EXPECT_EQ(GlyphSurface->Height(), 408);
        EXPECT_EQ(fake.prepared, 2);
        EXPECT_EQ(fake.surfacesCreated, 1);
        b.AttachHandle(F::Font(200), FontOwnsHandle);  // the same handle stays
        b.AttachHandle(F::Font(11), FontOwnsHandle);
        EXPECT_EQ(fake.deleted, std::vector<int>{200});
        a.AttachHandle(F::Font(12), FontOwnsHandle);
        a.AttachHandle(F::Font(13), 0);  // 12 was owned: deleted; 13 is not owned
    }
    EXPECT_EQ(fake.deleted, (std::vector<int>{200, 12, 11}));
    EXPECT_EQ(GlyphSurface, nullptr);
    PIX_CachedFont c;
    c.AttachHandle(F::Font(12), 0);
    EXPECT_NE(GlyphSurface, nullptr);
    EXPECT_EQ(fake.surfacesCreated, 2);
}

TEST_F(FontTest, MasksKeepInkPastTheAdvanceAndDropEmptyColumns) {
    PIX_CachedFont font;
    font.AttachHandle(F::Font(15), 0);
    ASSERT_TRUE(font.CacheGlyph('O'));  // advance 7, ink in both extra columns
    const PIX_GlyphRecord* rec = font.FindGlyph('O');
    EXPECT_EQ(fake.renderWidths.back(), 9);  // 7 + 0 + 2
    EXPECT_EQ(rec->advance, 7);
    EXPECT_EQ(rec->width, 9);
    EXPECT_EQ(rec->height, 15);
    auto mask = Mask(font, 'O');
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(mask[y][x], F::Ink('O', x, y, 15)) << x << "," << y;

    font.AttachHandle(F::Font(32), 0);
    ASSERT_TRUE(font.CacheGlyph('O'));
    EXPECT_EQ(fake.renderWidths.back(), 11);  // 7 + 2 + 2, the last two columns empty
    EXPECT_EQ(font.FindGlyph('O')->width, 9);
    ASSERT_TRUE(font.CacheGlyph('A'));  // no ink past the advance
    EXPECT_EQ(font.FindGlyph('A')->width, 7);
    ASSERT_TRUE(font.CacheGlyph(' '));  // no ink at all: as wide as the advance, all zero
    EXPECT_EQ(font.FindGlyph(' ')->width, 4);
    for (auto& row : Mask(font, ' '))
        for (int v : row) EXPECT_EQ(v, 0);
    // The masks sit one after the other in the coverage buffer.
    EXPECT_EQ(font.CoverageSize(), 9 * 32 + 7 * 32 + 4 * 32);
}

TEST_F(FontTest, EmptyGlyphsPrecacheAndSortedRecords) {
    PIX_CachedFont font;
    font.AttachHandle(F::Font(16), 0);
    PIX_Rect r = {0, 0, 0, 0};
    EXPECT_EQ(font.DrawString(nullptr, "\x01\x01", -1, &r, PIX_TextCalcRect), 0);
    EXPECT_EQ(font.FindGlyph(1)->mask, -1);
    EXPECT_EQ(fake.measured.size(), 1u);
    // A line height of 1024 or more caches nothing.
    font.AttachHandle(F::Font(1024), 0);
    EXPECT_FALSE(font.CacheGlyph('A'));
#ifndef _WIN64  // 64-bit builds measure such heights with the window system instead
    EXPECT_EQ(font.DrawString(nullptr, "AB", -1, &r, PIX_TextCalcRect), 0);
#endif
    EXPECT_EQ(font.CoverageSize(), 0);

    // Precaching renders the 128 ASCII codes; other codes are kept sorted.
    fake.measured.clear();
    font.AttachHandle(F::Font(12), FontPrecache);
    EXPECT_EQ(fake.measured.size(), 128u);
    EXPECT_GT(font.FindGlyph('Z')->mask, 0);
    EXPECT_FALSE(font.CacheGlyph(0x20AC));
    EXPECT_EQ(font.SortedGlyphCount(), 0);

    font.AttachHandle(F::Font(12), 0);
    EXPECT_EQ(font.FindGlyph('Z')->mask, 0);  // the cache was emptied
    for (uint16_t c : {300, 200, 250}) EXPECT_TRUE(font.CacheGlyph(c));
    ASSERT_EQ(font.SortedGlyphCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(font.SortedGlyphs()[i].code, 200 + 50 * i);
    EXPECT_EQ(font.FindGlyph(250)->advance, F::Advance(250));
    EXPECT_EQ(font.FindGlyph(251), nullptr);
}

// Every pixel of the 7 x 16 'A' cell at (x0, y0) against the word its mask byte should give
// (want returns 1 for pixels not to check).
template <class Want>
void ExpectCell(PIX_IBitmap& b, int x0, int y0, Want want) {
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 7; ++x) {
            const uint32_t w = want(F::Ink('A', x, y, 16));
            if (w != 1) {
                EXPECT_EQ(Px(b, x + x0, y + y0), w) << x << "," << y;
            }
        }
}

TEST_F(FontTest, DrawGlyphBlendsThroughTheMaskWithinTheClip) {
    PIX_CachedFont font;
    font.AttachHandle(F::Font(16), 0);
    font.SetForeColor(0xFFFFFFFF);
    ASSERT_TRUE(font.CacheGlyph('A'));
    PIX_MemBitmap b(20, 20);
    Fill(b, 0);
    PIX_Rect clip = {0, 0, 20, 20};
    EXPECT_TRUE(font.DrawGlyph(&b, 'A', 3, 1, &clip));
    ExpectCell(b, 3, 1, [](int m) { return m == 255 ? 0xFFFFFFFFu : m == 128 ? 0x81818181u : m == 0 ? 0u : 1u; });

    // Multiply at weight 129 (mask 128): colour 100 turns 200 into 138, alpha 255 into 254.
    font.SetForeColor(0xFF646464);
    font.SetBlend(PIX_Multiply, 1.0f);
    Fill(b, 0xFFC8C8C8);
    font.DrawGlyph(&b, 'A', 0, 0, &clip);
    ExpectCell(b, 0, 0, [](int m) { return m == 128 ? 0xFE8A8A8Au : 1u; });

    // Clipped on the left: drawn from the mask's fourth column on.
    font.SetBlend(PIX_Copy, 1.0f);
    font.SetForeColor(0xFFFFFFFF);
    Fill(b, 0);
    clip = {5, 0, 20, 20};
    EXPECT_TRUE(font.DrawGlyph(&b, 'A', 2, 0, &clip));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool inked = x >= 5 && x - 2 < 7 && F::Ink('A', x - 2, y, 16) != 0;
            EXPECT_EQ(Px(b, x, y) != 0, inked) << x << "," << y;
        }
    EXPECT_FALSE(font.DrawGlyph(&b, 'A', -2, 0, &clip));  // x + width == clip.left
    EXPECT_FALSE(font.DrawGlyph(&b, 'B', 0, 0, &clip));   // not rendered
    EXPECT_FALSE(font.DrawGlyph(&b, 500, 0, 0, &clip));   // no record
    // A clip beyond the bitmap is limited to it.
    PIX_MemBitmap small(4, 4), empty(0, 0);
    PIX_Rect wide = {-100, -100, 100, 100};
    EXPECT_TRUE(font.DrawGlyph(&small, 'A', -1, -3, &wide));
    EXPECT_FALSE(font.DrawGlyph(&small, 'A', 4, 0, &wide));
    EXPECT_FALSE(font.DrawGlyph(&empty, 'A', 0, 0, &wide));

    // An opaque background fills the cell first, but only the cell.
    clip = {0, 0, 20, 20};
    font.SetBackMode(2);
    font.SetBackColor(0xFF0000FF);
    Fill(b, 0);
    font.DrawGlyph(&b, 'A', 0, 0, &clip);
    EXPECT_EQ(Px(b, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(Px(b, 7, 0), 0u);
    // Zero weight draws nothing.
    font.SetBlend(PIX_Copy, 0.001f);
    Fill(b, 0);
    EXPECT_TRUE(font.DrawGlyph(&b, 'A', 0, 0, &clip));
    EXPECT_EQ(Snapshot(b), std::vector<uint32_t>(20 * 20, 0));
}

TEST_F(FontTest, MonoShadowOutlineAndInvert) {
    PIX_CachedFont mono, shadow, outline, invert;
    mono.AttachHandle(F::Font(16), FontMono);
    shadow.AttachHandle(F::Font(16), FontShadow);
    outline.AttachHandle(F::Font(16), FontOutline);
    invert.AttachHandle(F::Font(16), FontInvert);
    for (PIX_CachedFont* f : {&mono, &shadow, &outline, &invert}) ASSERT_TRUE(f->CacheGlyph('B'));
    auto m = Mask(mono, 'B'), s = Mask(shadow, 'B'), o = Mask(outline, 'B'), inv = Mask(invert, 'B');
    const int h = static_cast<int>(m.size()), w = static_cast<int>(m[0].size());
    EXPECT_EQ(w, 9);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int ink = F::Ink('B', x, y, 16);
            EXPECT_EQ(m[y][x], ink > 130 ? 255 : 0);
            EXPECT_EQ(inv[y][x], 255 - ink);
            auto full = [&](const std::vector<std::vector<int>>& k, int xx, int yy) {
                return xx >= 0 && yy >= 0 && xx < w && yy < h && k[yy][xx] == 255;
            };
            const bool shadowed = full(s, x - 1, y) || full(s, x - 1, y - 1) || full(s, x, y - 1);
            EXPECT_EQ(s[y][x], m[y][x] ? 255 : (shadowed ? 128 : 0)) << x << "," << y;
            const bool outlined = full(o, x, y - 1) || full(o, x, y + 1) || full(o, x - 1, y) || full(o, x + 1, y);
            EXPECT_EQ(o[y][x], m[y][x] ? 255 : (outlined ? 128 : 0)) << x << "," << y;
        }

    // Mono at alpha 1.0 stores the colour word; effect pixels take the effect colour.
    PIX_MemBitmap b(12, 18), c(12, 18);
    PIX_Rect clip = {0, 0, 12, 18};
    Fill(b, 0), Fill(c, 0);
    mono.SetForeColor(0x12345678);
    shadow.SetForeColor(0x12345678);
    shadow.SetEffectColor(0x9ABCDEF0);
    mono.DrawGlyph(&b, 'B', 0, 0, &clip);
    shadow.DrawGlyph(&c, 'B', 0, 0, &clip);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            EXPECT_EQ(Px(b, x, y), m[y][x] ? 0x12345678u : 0u);
            EXPECT_EQ(Px(c, x, y), s[y][x] == 255 ? 0x12345678u : (s[y][x] == 128 ? 0x9ABCDEF0u : 0u));
        }
}

TEST_F(FontTest, VerticalMasksAreTurnedAndBlurSoftensTheCell) {
    PIX_CachedFont flat, cw, ccw, blur;
    flat.AttachHandle(F::Font(16), 0);
    cw.AttachHandle(F::Font(16), FontVertical);
    ccw.AttachHandle(F::Font(16), FontVertical | FontBottomToTop);
    blur.AttachHandle(F::Font(16), FontBlur);
    for (PIX_CachedFont* f : {&flat, &cw, &ccw}) ASSERT_TRUE(f->CacheGlyph('B'));
    ASSERT_TRUE(blur.CacheGlyph('A'));
    auto blurred = Mask(blur, 'A');
    EXPECT_GT(blurred[3][0], 0);  // ink spread into the empty first column before the mask is taken
    EXPECT_LT(blurred[3][1], 255);
    auto m = Mask(flat, 'B'), a = Mask(cw, 'B'), b = Mask(ccw, 'B');
    const int h = static_cast<int>(m.size()), w = static_cast<int>(m[0].size());
    ASSERT_EQ(static_cast<int>(a.size()), w);
    ASSERT_EQ(static_cast<int>(a[0].size()), h);
    for (int j = 0; j < w; ++j)
        for (int i = 0; i < h; ++i) {
            EXPECT_EQ(a[j][i], m[h - 1 - i][j]);
            EXPECT_EQ(b[j][i], m[i][w - 1 - j]);
        }
}

}  // namespace
