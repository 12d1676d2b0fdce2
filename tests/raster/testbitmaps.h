#pragma once
// Helpers for raster tests: filled bitmaps, pixel access by image coordinates, a bottom-up bitmap.
#include <cstdint>
#include <vector>

#include "raster/bitmap.h"

// Rows stored bottom-up, so the drawing routines' mirrored addressing is exercised.
class BottomUpBitmap : public PIX_MemBitmap {
public:
    using PIX_MemBitmap::PIX_MemBitmap;
    bool IsBottomUp() override { return true; }
};

inline uint32_t& Px(PIX_IBitmap& b, int x, int y) { return *PIX_PixelAt(&b, x, y); }

inline void Fill(PIX_IBitmap& b, uint32_t word) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) Px(b, x, y) = word;
}

// Distinct word per pixel: 0xAARRGGBB built from the coordinates and a seed.
inline uint32_t Pattern(int x, int y, uint32_t seed = 0) {
    uint32_t v = (static_cast<uint32_t>(x) * 0x9E3779B1u) ^ (static_cast<uint32_t>(y) * 0x85EBCA77u) ^ seed;
    return v ^ (v >> 15);
}

inline void FillPattern(PIX_IBitmap& b, uint32_t seed = 0) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) Px(b, x, y) = Pattern(x, y, seed);
}

// The image's pixels row by row, independent of storage order and span.
inline std::vector<uint32_t> Snapshot(PIX_IBitmap& b) {
    std::vector<uint32_t> v;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) v.push_back(Px(b, x, y));
    return v;
}
