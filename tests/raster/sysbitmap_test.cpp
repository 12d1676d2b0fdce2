#include <windows.h>

#include <gtest/gtest.h>

#include "raster/sysbitmap.h"

namespace {
TEST(SysBitmap, TopDownSectionGdiDrawsIntoAndReusesForSmallerSizes) {
    PIX_SysBitmap b(7, 5);
    ASSERT_NE(b.Pixels(), nullptr);
    EXPECT_EQ(b.RowSpan(), 8);
    HDC dc = static_cast<HDC>(b.DeviceContext());
    for (int i = 0; i < 8 * 5; ++i) b.Pixels()[i] = 0;
    SetPixel(dc, 2, 3, RGB(0x12, 0x34, 0x56));
    GdiFlush();
    EXPECT_EQ(b.Pixels()[3 * 8 + 2] & 0xFFFFFF, 0x123456u);
    b.Pixels()[1 * 8 + 4] = 0x00ABCDEF;
    EXPECT_EQ(GetPixel(dc, 4, 1), RGB(0xAB, 0xCD, 0xEF));

    uint32_t* pixels = b.Pixels();
    EXPECT_FALSE(b.Resize(7, 5));
    EXPECT_TRUE(b.Resize(3, 4));
    EXPECT_EQ(b.RowSpan(), 8);
    EXPECT_EQ(b.Pixels(), pixels);
}

TEST(SysBitmap, EmptyAndRefusedSizes) {
    PIX_SysBitmap b(10, 10);
    EXPECT_FALSE(b.Resize(10, 0));
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_TRUE(b.Resize(4, 4));
    EXPECT_NE(b.Pixels(), nullptr);
    // A negative size never reuses the section, so a positive size always means pixels.
    EXPECT_FALSE(b.Resize(-4, 2));
    EXPECT_EQ(b.Pixels(), nullptr);
    // A section GDI refuses leaves 0 x 0 without pixels; Resize still reports a change.
    EXPECT_TRUE(b.Resize(60000, 60000));
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_TRUE(b.Resize(3, 3));
    EXPECT_NE(b.Pixels(), nullptr);
}
}  // namespace
