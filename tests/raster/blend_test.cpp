#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "raster/blend.h"
#include "tests/raster/testbitmaps.h"

namespace {
// One source pixel (Blit) or colour (Fill) onto one destination pixel.
uint32_t Blit(uint32_t dest, uint32_t src, float alpha, int mode) {
    PIX_MemBitmap d(1, 1), s(1, 1);
    Px(d, 0, 0) = dest;
    Px(s, 0, 0) = src;
    PIX_CompositeBitmap(&d, &s, 0, 0, nullptr, alpha, mode);
    return Px(d, 0, 0);
}

uint32_t FillOne(uint32_t dest, uint32_t colour, float alpha, int mode) {
    PIX_MemBitmap d(1, 1);
    Px(d, 0, 0) = dest;
    PIX_FillArea(&d, 0, 0, 1, 1, colour, alpha, mode);
    return Px(d, 0, 0);
}

struct Case {
    uint32_t dest, src;
    float alpha;
    int mode;
    uint32_t expected;
};
constexpr uint32_t D = 0x80C86432, S = 0x40FF8010;

// Destination A128 R200 G100 B50, source A64 R255 G128 B16, alpha 0.75 (weight 192); the expected
// words are worked by hand from the channel formulas.
TEST(Blit, ExactWordsForEveryModeAndWeight) {
    const Case cases[] = {
        {D, S, 0.75f, 0x00000, 0x50F27918},
        {D, S, 0.75f, 0x00001, 0xB0FFC43E},
        {D, S, 0.75f, 0x00002, 0x9DFFA034},
        {D, S, 0.75f, 0x00003, 0x38C73E0E},
        {D, S, 0.75f, 0x00004, 0x68E86417},
        {D, S, 0.75f, 0x10000, 0xB0D36A2B},
        {D, S, 0.75f, 0x10001, 0x8CF77C35},
        {D, S, 0.75f, 0x10002, 0x86F46E32},
        {D, S, 0.75f, 0x10003, 0x6EC75A29},
        {D, S, 0.75f, 0x10004, 0x7AD0642B},
        {D, S, 0.75f, 0x7F000003, 0x38C73E0E},  // bits outside 0x100FF are ignored
        // HSV adjust is neutral at 128 but the round trip loses one step of green; alpha is the source's.
        {0x00C86432, 0xFF808080, 0.75f, PIX_HsvAdjust, 0xFFC86332},
        {0x00C86432, 0xFF808080, 1.0f, 0x10005, 0xFFC86332},
        // Fast paths and source-over.
        {0xFFFFFFFF, 0xFFFFFFFF, 0.5f, 0, 0xFEFEFEFE},
        {0x01010101, 0x01010101, 0.5f, 0, 0},
        {0x12345678, 0x9ABCDEF0, 1.0f, 0, 0x9ABCDEF0},
        {0x12345678, 0x00FFFFFF, 1.0f, PIX_UseSourceAlpha, 0x12345678},
        {0x12345678, 0xFF00FF00, 1.0f, PIX_UseSourceAlpha, 0xFF00FF00},
        {0xFF0000FF, 0x80FF0000, 1.0f, PIX_UseSourceAlpha, 0xFF81007E},
        // Channel copy moves one byte (source alpha -> blue, red -> alpha), nothing at alpha 0.
        {0x11223344, 0xAABBCCDD, 1.0f, 0xF3, 0x112233AA},
        {0x11223344, 0xAABBCCDD, 0.0f, 0xF3, 0x11223344},
        {0x11223344, 0xAABBCCDD, 0.3f, 0xFE, 0xBB223344},
        // Nothing for zero weight or unknown modes; out-of-range alphas are limited to 0..1.
        {D, S, 0.0f, 0, D},
        {D, S, 0.001f, 0, D},
        {D, S, 1.0f, 6, D},
        {D, S, 1.0f, 0x42, D},
        {D, S, 1.0f, 0xEF, D},
        {D, S, 1.0f, 0x10006, D},
        {D, S, 1.0f, 0x100EF, D},
        {D, S, -3.0f, PIX_Add, D},
        {D, S, 7.0f, PIX_Copy, S},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Blit(c.dest, c.src, c.alpha, c.mode), c.expected)
            << std::hex << c.dest << " " << c.src << " " << c.mode;

    uint32_t p = 0x00C86432;
    PIX_MixHsv(&p, 128, 128, 128, 255, 17);
    EXPECT_EQ(p, 0xFFC86332u);
    // A full red shift moves pure red by 190 of the 384 hue steps, just short of cyan.
    p = 0xFFFF0000;
    PIX_MixHsv(&p, 255, 128, 128, 255, 256);
    EXPECT_EQ(p, 0xFF00FFF7u);
}

TEST(Fill, ExactWordsForWeightsModesAndFlags) {
    const Case cases[] = {
        {0, 0xFFFFFFFF, 0.25f, 0, 0x3F3F3F3F},
        {0, 0xFFFFFFFF, 0.75f, 0, 0xBEBEBEBE},
        {0xFFFFFFFF, 0xFFFFFFFF, 0.5f, 0, 0xFEFEFEFE},
        {0x12345678, 0x00ABCDEF, 1.0f, 0, 0x00ABCDEF},
        // Weight 100: the colour channels move toward the colour, the alpha toward the weight.
        {0, 0xFF102030, 0.390625f, 0, 0x28070D13},
        // The source alpha of the modes is the weight itself (here 192; 256 -> 0 for HSV).
        {D, 0x00FF8010, 0.75f, PIX_Add, 0xFFFFC43E},
        {D, 0x00FF8010, 0.75f, PIX_Multiply, 0x68C73E0E},
        {0xFFC86432, 0xFF808080, 1.0f, PIX_HsvAdjust, 0x00C86332},
        {0x11111111, 0x00FFFFFF, 1.0f, PIX_UseSourceAlpha, 0x11111111},
        {0, 0x80FFFFFF, 1.0f, PIX_UseSourceAlpha, 0x407F7F7F},  // weight 128 fast path
        {0x11111111, 0xFFFFFFFF, 0.0f, 0, 0x11111111},
        {0x11111111, 0xFFFFFFFF, 0.5f, 6, 0x11111111},
        {0x11111111, 0xFFFFFFFF, 0.5f, 0xF3, 0x11111111},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FillOne(c.dest, c.src, c.alpha, c.mode), c.expected)
            << std::hex << c.dest << " " << c.src << " " << c.mode;
    PIX_FillArea(nullptr, 0, 0, 1, 1, 0, 1.0f, 0);
}

TEST(Blit, ClipsAtNegativePositionAndSourceRect) {
    PIX_MemBitmap src(10, 10), dest(5, 5);
    FillPattern(src);
    Fill(dest, 0);
    PIX_CompositeBitmap(&dest, &src, -3, -2, nullptr, 1.0f, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(Px(dest, x, y), Pattern(x + 3, y + 2)) << x << "," << y;

    // A negative rect origin moves the destination instead; right and bottom are limited to the source.
    Fill(dest, 0);
    PIX_Rect r = {-2, 7, 40, 40};
    PIX_CompositeBitmap(&dest, &src, 0, 0, &r, 1.0f, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(Px(dest, x, y), (x >= 2 && y < 3) ? Pattern(x - 2, y + 7) : 0) << x << "," << y;

    // Entirely outside, empty rects and extreme offsets draw nothing.
    Fill(dest, 0);
    PIX_Rect empty = {4, 4, 4, 9}, extreme = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    PIX_MemBitmap none(0, 0);
    PIX_CompositeBitmap(&dest, &src, 5, 0, nullptr, 1.0f, 0);
    PIX_CompositeBitmap(&dest, &src, -10, 0, nullptr, 1.0f, 0);
    PIX_CompositeBitmap(&dest, &src, 0, 0, &empty, 1.0f, 0);
    PIX_CompositeBitmap(&dest, &src, INT32_MAX, INT32_MIN, &extreme, 1.0f, 0);
    PIX_CompositeBitmap(&dest, &src, INT32_MIN, INT32_MAX, nullptr, 1.0f, 0);
    PIX_CompositeBitmap(nullptr, &src, 0, 0, nullptr, 1.0f, 0);
    PIX_CompositeBitmap(&dest, nullptr, 0, 0, nullptr, 1.0f, 0);
    PIX_CompositeBitmap(&dest, &none, 0, 0, nullptr, 1.0f, 0);
    PIX_CompositeBitmap(&none, &src, 0, 0, nullptr, 1.0f, 0);
    EXPECT_EQ(Snapshot(dest), std::vector<uint32_t>(25, 0));
}

TEST(BottomUp, BlitAndFillMirrorTopDownResults) {
    for (int mode : {0, 1, 0x10000, 0x10005, 0xF6}) {
        for (float alpha : {1.0f, 0.5f, 0.6f}) {
            PIX_MemBitmap src(7, 6), dest(9, 5);
            BottomUpBitmap srcB(7, 6), destB(9, 5);
            FillPattern(src, 1), FillPattern(srcB, 1), FillPattern(dest, 2), FillPattern(destB, 2);
            PIX_Rect r = {1, 2, 6, 6};
            PIX_CompositeBitmap(&dest, &src, 3, -1, &r, alpha, mode);
            PIX_CompositeBitmap(&destB, &srcB, 3, -1, &r, alpha, mode);
            EXPECT_EQ(Snapshot(dest), Snapshot(destB)) << mode << " " << alpha;
        }
    }
    // Fills are clipped to the bitmap.
    PIX_MemBitmap b(6, 4);
    BottomUpBitmap bu(6, 4);
    Fill(b, 0), Fill(bu, 0);
    for (PIX_IBitmap* t : {static_cast<PIX_IBitmap*>(&b), static_cast<PIX_IBitmap*>(&bu)}) {
        PIX_FillArea(t, -2, 1, 5, 100, 0xFFFFFFFF, 1.0f, 0);
        PIX_FillArea(t, 5, -1, 10, 2, 0x01010101, 1.0f, 0);
        PIX_FillArea(t, 6, 0, 1, 1, 0x02020202, 1.0f, 0);
        PIX_FillArea(t, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0x02020202, 1.0f, 0);
    }
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Px(b, x, y), (x < 3 && y >= 1) ? 0xFFFFFFFF : (x == 5 && y == 0 ? 0x01010101 : 0))
                << x << "," << y;
    EXPECT_EQ(Snapshot(b), Snapshot(bu));
}

TEST(Soften, SpreadsOnePixelToItsFourNeighbours) {
    for (int width : {8, 1100}) {  // the wide surface takes the heap copy
        PIX_MemBitmap b(width, 6);
        Fill(b, 0);
        Px(b, 3, 2) = 0xFFFFFFFF;
        PIX_SoftenBitmap(&b, width, 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool centre = x == 3 && y == 2, beside = std::abs(x - 3) + std::abs(y - 2) == 1;
                EXPECT_EQ(Px(b, x, y), centre ? 0x7F7F7F7Fu : (beside ? 0x1F1F1F1Fu : 0u))
                    << width << ": " << x << "," << y;
            }
    }
    // Corner: half of itself; the right and lower neighbours a quarter (edge rule) and an eighth.
    PIX_MemBitmap b(3, 3);
    Fill(b, 0);
    Px(b, 0, 0) = 0xFFFFFFFF;
    PIX_SoftenBitmap(&b, 3, 3);
    EXPECT_EQ(Px(b, 0, 0), 0x7F7F7F7Fu);
    EXPECT_EQ(Px(b, 1, 0), 0x1F1F1F1Fu);
    EXPECT_EQ(Px(b, 0, 1), 0x1F1F1F1Fu);
    EXPECT_EQ(Px(b, 1, 1), 0u);

    // The last row reads the row above as already softened: 0x1F... there contributes a quarter.
    Fill(b, 0);
    Px(b, 1, 1) = 0xFFFFFFFF;
    PIX_SoftenBitmap(&b, 3, 3);
    EXPECT_EQ(Px(b, 1, 1), 0x7F7F7F7Fu);
    EXPECT_EQ(Px(b, 1, 2), 0x1F1F1F1Fu);  // a quarter of the softened 0x7F7F7F7F
    EXPECT_EQ(Px(b, 0, 2), 0x0F0F0F0Fu);  // a quarter of the softened 0x3F3F3F3F

    // Limits: a region smaller than 2 x 2 or a missing surface does nothing.
    Fill(b, 0x40404040);
    PIX_SoftenBitmap(&b, 1, 3);
    PIX_SoftenBitmap(nullptr, 3, 3);
    EXPECT_EQ(Px(b, 1, 1), 0x40404040u);
}
}  // namespace
