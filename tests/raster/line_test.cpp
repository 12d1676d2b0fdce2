#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <utility>

#include "raster/line.h"
#include "tests/raster/testbitmaps.h"

namespace {
using Points = std::set<std::pair<int, int>>;

Points Draw(int x1, int y1, int x2, int y2, bool antialias = false, float alpha = 1.0f, int mode = 0) {
    PIX_MemBitmap b(10, 10);
    Fill(b, 0);
    PIX_DrawSegment(&b, x1, y1, x2, y2, 0xFFFFFFFF, alpha, mode, antialias);
    Points p;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            if (Px(b, x, y)) p.insert({x, y});
    return p;
}

TEST(Segment, PixelsOfTheWalks) {
    EXPECT_EQ(Draw(5, 3, 2, 3), (Points{{2, 3}, {3, 3}, {4, 3}, {5, 3}}));
    EXPECT_EQ(Draw(7, 7, 7, 7), (Points{{7, 7}}));
    EXPECT_EQ(Draw(1, 4, 1, 2), (Points{{1, 2}, {1, 3}, {1, 4}}));
    EXPECT_EQ(Draw(-5, 5, 20, 5).size(), 10u);  // clipped to the bitmap
    EXPECT_TRUE(Draw(-5, -5, -1, 20).empty());
    // At the exact half step the middle pixel goes to the far row, whichever end comes first.
    EXPECT_EQ(Draw(0, 0, 4, 1), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}));
    EXPECT_EQ(Draw(4, 1, 0, 0), Draw(0, 0, 4, 1));
    EXPECT_EQ(Draw(2, 0, 3, 5), (Points{{2, 0}, {2, 1}, {2, 2}, {3, 3}, {3, 4}, {3, 5}}));
    EXPECT_EQ(Draw(3, 0, 0, 3), (Points{{3, 0}, {2, 1}, {1, 2}, {0, 3}}));
    // Nothing for unknown modes or zero weight.
    for (bool aa : {false, true}) {
        EXPECT_TRUE(Draw(0, 0, 7, 3, aa, 1.0f, 6).empty());
        EXPECT_TRUE(Draw(0, 0, 3, 3, aa, 1.0f, 6).empty());
        EXPECT_TRUE(Draw(0, 0, 7, 3, aa, 0.001f, 0).empty());
        EXPECT_TRUE(Draw(0, 0, 3, 3, aa, 0.001f, 1).empty());
    }
    PIX_DrawSegment(nullptr, 0, 0, 1, 1, 0, 1.0f, 0, false);
}

TEST(Segment, ExactWordsOfCopyRunsAndAntialiasing) {
    PIX_MemBitmap run(4, 1);
    const struct {
        uint32_t background;
        float alpha;
        uint32_t expected;
    } runs[] = {
        {0, 0.25f, 0x3F3F3F3F},
        {0, 0.75f, 0xBEBEBEBE},
        {0xFFFFFFFF, 0.5f, 0xFEFEFEFE},    // halves rounded down separately
        {0xFFFFFFFF, 0.502f, 0xFFFFFFFF},  // weight 128: (c + d) >> 1
        {0, 0.6f, 0x99999999},             // weight 153
        {0x10203040, 0.0f, 0x10203040},
        {0x10203040, 0.001f, 0x10203040},
    };
    for (const auto& r : runs) {
        Fill(run, r.background);
        PIX_DrawSegment(&run, 0, 0, 3, 0, 0xFFFFFFFF, r.alpha, 0, false);
        EXPECT_EQ(Px(run, 2, 0), r.expected) << r.alpha;
    }

    // A diagonal: three quarters on the line, a quarter beside it.
    PIX_MemBitmap b(5, 5);
    Fill(b, 0);
    PIX_DrawSegment(&b, 0, 0, 3, 3, 0xFFFFFFFF, 1.0f, 0, true);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            uint32_t expected = 0;
            if (x == y && x <= 3) expected = 0xBEBEBEBE;
            if ((x == y + 1 && x <= 3) || (y == x + 1 && y <= 3)) expected = 0x3F3F3F3F;
            EXPECT_EQ(Px(b, x, y), expected) << x << "," << y;
        }
    // Other modes at weight 128: three quarters of it (96) on the line, a quarter (32) beside it.
    Fill(b, 0);
    PIX_DrawSegment(&b, 0, 0, 2, 2, 0xFFFFFFFF, 0.5f, PIX_Add, true);
    EXPECT_EQ(Px(b, 1, 1), 0x5F5F5F5Fu);
    EXPECT_EQ(Px(b, 1, 0), 0x1F1F1F1Fu);

    // The general walk: endpoints whole; then 255 - f on the line and f on its minor neighbour
    // (f = 64, then 128).
    PIX_MemBitmap g(5, 2);
    Fill(g, 0);
    PIX_DrawSegment(&g, 0, 0, 4, 1, 0xFFFFFFFF, 1.0f, 0, true);
    EXPECT_EQ(Snapshot(g), (std::vector<uint32_t>{0xFFFFFFFF, 0xBFBFBFBF, 0x7F7F7F7F, 0x40404040, 0, 0, 0x40404040,
                                                  0x80808080, 0xBFBFBFBF, 0xFFFFFFFF}));
}

// Random segments in every mode, clipped and antialiased, some with coordinates across the whole
// int range, must stay inside the bitmap (the sanitizers watch, and the border of a larger bitmap
// must stay untouched).
TEST(Segment, RandomSegmentsStayInsideTheBitmap) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-30, 45), any(INT_MIN, INT_MAX), mode(0, 6);
    std::uniform_real_distribution<float> alpha(0.0f, 1.0f);
    for (bool bottomUp : {false, true}) {
        PIX_MemBitmap outer(19, 13);
        Fill(outer, 0x5A5A5A5A);
        // A view of the inner 17 x 11 pixels of outer.
        struct Inner : PIX_IBitmap {
            PIX_IBitmap* o;
            bool up;
            Inner(PIX_IBitmap* outer, bool bottomUp) : o(outer), up(bottomUp) {}
            uint32_t* Pixels() override { return o->Pixels() + o->RowSpan() + 1; }
            int Width() override { return 17; }
            int Height() override { return 11; }
            int RowSpan() override { return o->RowSpan(); }
            bool IsBottomUp() override { return up; }
            bool Resize(int, int) override { return false; }
        } inner(&outer, bottomUp);
        for (int i = 0; i < 8000; ++i) {
            const bool wide = i % 4 == 0;
            int x1 = wide ? any(rng) : coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = wide ? any(rng) : coord(rng);
            float a = i % 3 == 0 ? 1.0f : alpha(rng);
            PIX_DrawSegment(&inner, x1, y1, x2, y2, Pattern(i, 3), a, mode(rng), i % 2 == 0);
        }
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 19; ++x)
                if (x == 0 || y == 0 || x == 18 || y == 12) {
                    ASSERT_EQ(Px(outer, x, y), 0x5A5A5A5Au) << x << "," << y;
                }
    }
    // Bottom-up bitmaps get the same image as top-down ones.
    PIX_MemBitmap b(8, 8);
    BottomUpBitmap bu(8, 8);
    Fill(b, 0), Fill(bu, 0);
    for (PIX_IBitmap* t : {static_cast<PIX_IBitmap*>(&b), static_cast<PIX_IBitmap*>(&bu)}) {
        PIX_DrawSegment(t, 1, 2, 6, 2, 0xFF112233, 1.0f, 0, false);
        PIX_DrawSegment(t, 5, 0, 5, 7, 0xFF445566, 0.6f, PIX_Add, false);
        PIX_DrawSegment(t, 0, 7, 5, 2, 0xFF778899, 1.0f, 0, true);
    }
    EXPECT_EQ(Snapshot(b), Snapshot(bu));
}
}  // namespace
