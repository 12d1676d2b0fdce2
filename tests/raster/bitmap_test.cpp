#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <utility>

#include "raster/bitmap.h"

namespace {
bool Aligned64(const void* p) { return p && reinterpret_cast<uintptr_t>(p) % 64 == 0; }

void ExpectEmpty(PIX_MemBitmap& b) {
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
}

TEST(MemBitmap, SpanRoundsUpRowsAreAlignedAndStorageGrowsByAQuarter) {
    PIX_MemBitmap b(5, 3);
    EXPECT_EQ(b.RowSpan(), 8);
    EXPECT_EQ(b.Allocated(), 96);
    ASSERT_TRUE(Aligned64(b.Pixels()));
    b.Pixels()[8 * 3 - 1] = 0xDEADBEEF;  // the last word of the block is ours
    EXPECT_FALSE(b.Resize(5, 3));
    EXPECT_TRUE(b.Resize(8, 8));
    EXPECT_EQ(b.Allocated(), 320);
    EXPECT_TRUE(Aligned64(b.Pixels()));
    uint32_t* grown = b.Pixels();
    EXPECT_TRUE(b.Resize(4, 4));  // never shrinks
    EXPECT_EQ(b.Pixels(), grown);
    EXPECT_EQ(b.Allocated(), 320);
    EXPECT_EQ(b.RowSpan(), 4);
    EXPECT_TRUE(b.Resize(0, 10));
    ExpectEmpty(b);
    EXPECT_TRUE(b.Resize(3, 2));
    EXPECT_EQ(b.RowSpan(), 4);
    EXPECT_TRUE(Aligned64(b.Pixels()));
}

// Byte counts that do not fit an int must fail like a refused allocation, not wrap to a small
// block that the bitmap would then claim to be far larger than.
TEST(MemBitmap, EmptyAndOversizedSizesHaveNoStorage) {
    for (auto [w, h] :
         {std::pair{0, 5}, {5, 0}, {-3, 4}, {4, -1}, {1000000, 1000000}, {INT_MAX, 1}, {INT_MAX - 2, 2}}) {
        PIX_MemBitmap made(w, h), resized(4, 4);
        ExpectEmpty(made);
        EXPECT_TRUE(resized.Resize(w, h));
        EXPECT_EQ(resized.Pixels(), nullptr) << w << "x" << h;
    }
}
}  // namespace
