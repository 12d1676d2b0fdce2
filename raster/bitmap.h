#pragma once
// 32-bit ARGB bitmaps: one word 0xAARRGGBB per pixel (bytes B, G, R, A in memory), not
// premultiplied, rows top-down, row span in pixels and a multiple of 4.
#include <cstdint>

#include "raster/pixtypes.h"

// What the drawing routines ask of a bitmap. Only this module sees the table of its virtual
// operations (README, "Binary layout").
class PIX_IBitmap {
public:
    virtual ~PIX_IBitmap() = default;
    virtual uint32_t* Pixels() = 0;
    virtual int Width() = 0;
    virtual int Height() = 0;
    virtual int RowSpan() = 0;
    virtual bool IsBottomUp() { return false; }
    virtual bool Resize(int w, int h) = 0;
    virtual PIX_DeviceContext DeviceContext() { return nullptr; }
    // A query by id that no bitmap here answers: the text drawing asks it one id and gets 0.
    virtual intptr_t Extension(int /*id*/, void* /*data*/) { return 0; }
};

// Pixels in a heap block; rows start 64-byte aligned. Storage never shrinks; growth reserves a
// quarter more than needed.
class PIX_MemBitmap : public PIX_IBitmap {
public:
    PIX_MemBitmap(int w, int h);
    ~PIX_MemBitmap() override;
    PIX_MemBitmap(const PIX_MemBitmap&) = delete;
    PIX_MemBitmap& operator=(const PIX_MemBitmap&) = delete;

    uint32_t* Pixels() override;
    int Width() override { return width; }
    int Height() override { return height; }
    int RowSpan() override { return (width + rowAlignMask) & ~rowAlignMask; }
    bool Resize(int w, int h) override;

    // Bytes of pixel storage reserved (alignment slack excluded).
    int Allocated() const { return allocated; }

private:
    unsigned char* buffer = nullptr;
    int width = 0;
    int height = 0;
    int allocated = 0;
    int rowAlignMask = 3;
};

// Pixel address of (x, y), honouring the bitmap's row order.
inline uint32_t* PIX_PixelAt(PIX_IBitmap* bitmap, int x, int y) {
    int row = bitmap->IsBottomUp() ? bitmap->Height() - 1 - y : y;
    return bitmap->Pixels() + static_cast<intptr_t>(row) * bitmap->RowSpan() + x;
}

// Step in words from one row to the next one down the image.
inline intptr_t PIX_RowStep(PIX_IBitmap* bitmap) {
    return bitmap->IsBottomUp() ? -static_cast<intptr_t>(bitmap->RowSpan()) : bitmap->RowSpan();
}
