#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "raster/bitmap.h"

namespace {
bool Aligned64(const void* p) { return reinterpret_cast<uintptr_t>(p) % 64 == 0; }

TEST(MemBitmap, SpanRoundsUpAndRowsAreAligned) {
    PIX_MemBitmap b(5, 3);
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(b.RowSpan(), 8);
    EXPECT_EQ(b.Allocated(), 96);
    ASSERT_NE(b.Pixels(), nullptr);
    EXPECT_TRUE(Aligned64(b.Pixels()));
    b.Pixels()[8 * 3 - 1] = 0xDEADBEEF;  // the last word of the block is ours
    EXPECT_FALSE(b.IsBottomUp());
    EXPECT_EQ(b.DeviceContext(), nullptr);
    EXPECT_EQ(b.Extension(0x59555678, nullptr), 0);
}

TEST(MemBitmap, EmptySizesHaveNoStorage) {
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 4}, {4, -1}}) {
        PIX_MemBitmap b(w, h);
        EXPECT_EQ(b.Pixels(), nullptr);
        EXPECT_EQ(b.Width(), 0);
        EXPECT_EQ(b.Height(), 0);
    }
}

TEST(MemBitmap, ResizeGrowsByAQuarterAndNeverShrinks) {
    PIX_MemBitmap b(4, 4);
    uint32_t* first = b.Pixels();
    EXPECT_FALSE(b.Resize(4, 4));
    EXPECT_EQ(b.Pixels(), first);

    EXPECT_TRUE(b.Resize(8, 8));
    EXPECT_EQ(b.Allocated(), 320);
    EXPECT_TRUE(Aligned64(b.Pixels()));
    uint32_t* grown = b.Pixels();
    EXPECT_TRUE(b.Resize(4, 4));
    EXPECT_EQ(b.Pixels(), grown);
    EXPECT_EQ(b.Allocated(), 320);
    EXPECT_EQ(b.RowSpan(), 4);

    EXPECT_TRUE(b.Resize(0, 10));
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_TRUE(b.Resize(3, 2));
    EXPECT_EQ(b.RowSpan(), 4);
    EXPECT_NE(b.Pixels(), nullptr);
}

// Byte counts that do not fit an int must fail like a refused allocation, not wrap to a small
// block that the bitmap would then claim to be far larger than.
TEST(MemBitmap, SizesPastTheIntRangeAreRefused) {
    PIX_MemBitmap huge(1000000, 1000000);
    EXPECT_EQ(huge.Pixels(), nullptr);
    EXPECT_EQ(huge.Width(), 0);
    PIX_MemBitmap wide(INT_MAX, 1);
    EXPECT_EQ(wide.Pixels(), nullptr);

    PIX_MemBitmap b(4, 4);
    EXPECT_TRUE(b.Resize(1000000, 1000000));
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_TRUE(b.Resize(INT_MAX - 2, 2));
    EXPECT_EQ(b.Pixels(), nullptr);
}
}  // namespace
