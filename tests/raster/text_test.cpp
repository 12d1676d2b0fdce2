#include <gtest/gtest.h>

#include <vector>

#include "raster/font.h"
#include "tests/raster/fakeglyphsource.h"
#include "tests/raster/testbitmaps.h"

namespace {
using F = FakeGlyphSource;

// Records every glyph DrawString places (through the DrawGlyph slot) before drawing it.
class RecordingFont : public PIX_CachedFont {
public:
    struct Call {
        int code, x, y;
        int weight;
    };
    bool DrawGlyph(PIX_IBitmap* bitmap, uint16_t code, int x, int y, const PIX_Rect* clip) override {
        calls.push_back({code, x, y, PIX_AlphaToWeight(GetAlpha())});
        return PIX_CachedFont::DrawGlyph(bitmap, code, x, y, clip);
    }
    std::vector<Call> calls;
};

class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = PIX_SetGlyphSource(&fake);
        font = new RecordingFont;
        font->AttachHandle(F::Font(16), 0);
        font->SetForeColor(0xFFFFFFFF);
    }
    void TearDown() override {
        delete font;
        PIX_SetGlyphSource(previous);
    }
    PIX_Rect Measure(const char* text, int flags = 0) {
        PIX_Rect r = {10, 20, 0, 0};
        font->DrawString(nullptr, text, -1, &r, PIX_TextCalcRect | flags);
        return r;
    }
    std::vector<int> DrawnCodes(const char* text, int length = -1) {
        PIX_MemBitmap b(200, 40);
        PIX_Rect r = {0, 0, 200, 40};
        font->calls.clear();
        font->DrawString(&b, text, length, &r, 0);
        std::vector<int> codes;
        for (const RecordingFont::Call& call : font->calls) codes.push_back(call.code);
        return codes;
    }
    FakeGlyphSource fake;
    PIX_GlyphSource* previous = nullptr;
    RecordingFont* font = nullptr;
};

TEST_F(TextTest, MeasuringUsesAdvancesAndInk) {
    PIX_Rect r = {10, 20, 0, 0};
    EXPECT_EQ(font->DrawString(nullptr, "AB", -1, &r, PIX_TextCalcRect), 16);
    EXPECT_EQ(r.right, 10 + 16);  // advances 7 and 8; B's ink is 9 wide
    EXPECT_EQ(r.bottom, 20 + 16);
    EXPECT_EQ(Measure("A\nB").bottom, 20 + 32);
    EXPECT_EQ(Measure("A\n").right, Measure("A").right);
    EXPECT_EQ(Measure("A\n").bottom, Measure("A").bottom);
    EXPECT_EQ(Measure("A\nB", PIX_TextSingleLine).right, Measure("A B").right);
    EXPECT_EQ(Measure("A\rB").right, Measure("AB").right);
    EXPECT_EQ(Measure("").right, 10);
}

TEST_F(TextTest, Utf8Decoding) {
    EXPECT_EQ(DrawnCodes("\xC3\xA9"), std::vector<int>{0xE9});
    EXPECT_EQ(DrawnCodes("\xE2\x82\xAC"), std::vector<int>{0x20AC});
    EXPECT_EQ(DrawnCodes("\xF0\x9F\x98\x80"), std::vector<int>{0x20});
    EXPECT_EQ(DrawnCodes("\xC3"
                         "A"),
              (std::vector<int>{0xC3, 'A'}));
    EXPECT_EQ(DrawnCodes("\xC3\xC0"), (std::vector<int>{0xC3, 0xC0}));
    EXPECT_EQ(DrawnCodes("\xFF"), std::vector<int>{0xFF});
    EXPECT_EQ(DrawnCodes("\xE2\x82"), (std::vector<int>{0xE2, 0x82}));  // cut short by the NUL
    EXPECT_EQ(DrawnCodes("ABCDEF", 3), (std::vector<int>{'A', 'B', 'C'}));
    EXPECT_EQ(DrawnCodes("\xC3\xA9", 1), std::vector<int>{0xE9});  // the sequence is completed
    EXPECT_EQ(DrawnCodes("AB\0CD", 5), (std::vector<int>{'A', 'B'}));
    EXPECT_EQ(DrawnCodes("AB", 0), std::vector<int>{});
    EXPECT_EQ(font->SortedGlyphCount(), 7);  // 0x82, 0xC0, 0xC3, 0xE2, 0xE9, 0xFF, 0x20AC
}

TEST_F(TextTest, AlignmentAndLineBreaks) {
    PIX_MemBitmap b(200, 60);
    PIX_Rect r = {0, 0, 100, 20};
    font->DrawString(&b, "ABDG", -1, &r, PIX_TextCenter);  // measured 31 wide
    ASSERT_FALSE(font->calls.empty());
    EXPECT_EQ(font->calls[0].x, 34);
    font->calls.clear();
    r = {0, 0, 100, 40};
    font->DrawString(&b, "AB", -1, &r, PIX_TextRight | PIX_TextBottom);
    EXPECT_EQ(font->calls[0].x, 100 - 16);
    EXPECT_EQ(font->calls[0].y, 40 - 16);
    font->calls.clear();
    r = {5, 2, 100, 60};
    int height = font->DrawString(&b, "A\nBA", -1, &r, 0);
    EXPECT_EQ(height, 32);
    ASSERT_EQ(font->calls.size(), 3u);
    EXPECT_EQ(font->calls[1].x, 5);  // every line starts at the same x
    EXPECT_EQ(font->calls[1].y, 2 + 16);
    EXPECT_EQ(font->calls[2].x, 5 + 8);
}

TEST_F(TextTest, ClippingAndTheTextColoursAlpha) {
    PIX_MemBitmap b(50, 20);
    Fill(b, 0);
    PIX_Rect left = {-60, 0, -10, 20}, partly = {-8, 0, 20, 20}, r = {0, 0, 50, 20};
    EXPECT_EQ(font->DrawString(&b, "AB", -1, &left, 0), 0);
    // Without a bitmap only measuring is allowed.
    EXPECT_EQ(font->DrawString(nullptr, "AB", -1, &partly, 0), 0);
    // The colour's alpha scales the font's for one call; zero draws nothing.
    font->SetForeColor(0x00FFFFFF);
    EXPECT_EQ(font->DrawString(&b, "AB", -1, &r, TextForeAlpha), 0);
    EXPECT_TRUE(font->calls.empty());
    EXPECT_EQ(Snapshot(b), std::vector<uint32_t>(50 * 20, 0));
    font->SetForeColor(0x80FFFFFF);
    font->DrawString(&b, "AB", -1, &r, TextForeAlpha);
    ASSERT_FALSE(font->calls.empty());
    EXPECT_EQ(font->calls[0].weight, 128);
    EXPECT_EQ(font->GetAlpha(), 1.0f);
    Fill(b, 0);
    font->SetForeColor(0xFFFFFFFF);
    EXPECT_EQ(font->DrawString(&b, "AB", -1, &partly, PIX_TextNoClip), 16);
    EXPECT_NE(Px(b, 1, 5) | Px(b, 2, 5) | Px(b, 3, 5), 0u);
}

TEST_F(TextTest, VerticalFontsRunDownwardOrUpward) {
    RecordingFont down, up;
    down.AttachHandle(F::Font(16), FontVertical);
    up.AttachHandle(F::Font(16), FontVertical | FontBottomToTop);
    PIX_Rect m = {0, 0, 0, 0};
    EXPECT_EQ(down.DrawString(nullptr, "AB", -1, &m, PIX_TextCalcRect), 16);  // width = line height
    EXPECT_EQ(m.bottom, 7 + 8 + 1);                                           // B's turned mask is 9 high
    PIX_MemBitmap b(40, 60);
    PIX_Rect r = {4, 4, 40, 60};
    down.DrawString(&b, "AB", -1, &r, 0);
    ASSERT_EQ(down.calls.size(), 2u);
    EXPECT_EQ(down.calls[1].y, 4 + 7);
    up.DrawString(&b, "AB", -1, &r, 0);
    ASSERT_EQ(up.calls.size(), 2u);
    // Laid from the bottom of the measured box upward.
    EXPECT_EQ(up.calls[0].y, 4 + 16 - 7);
    EXPECT_EQ(up.calls[1].y, 4 + 16 - 7 - 9);
}
}  // namespace
