#pragma once
// Pixel arithmetic: the per-pixel combine operations shared by every drawing routine, and the
// rectangle routines blit, fill and soften. Integer arithmetic on bytes; divisions truncate
// toward zero. Source channels are passed as ints in the order red, green, blue, alpha.
#include <array>
#include <cstdint>

#include "raster/bitmap.h"

// PIX_MixPixel family.
void PIX_PutClamped(uint32_t* pixel, int r, int g, int b, int a);
void PIX_MixOver(uint32_t* pixel, int r, int g, int b, int a);
void PIX_MixAdd(uint32_t* pixel, int r, int g, int b, int a, int w);
void PIX_MixDodge(uint32_t* pixel, int r, int g, int b, int a, int w);
void PIX_MixDodgeAlpha(uint32_t* pixel, int r, int g, int b, int a, int w);
void PIX_MixMultiplyAlpha(uint32_t* pixel, int r, int g, int b, int a, int w);
void PIX_MixOverlay(uint32_t* pixel, int r, int g, int b, int a, int w);
void PIX_MixHsv(uint32_t* pixel, int r, int g, int b, int a, int w);

// Multiply at weight w: d = ((s * w + (256 - w) * 256) * d) >> 16 on all four channels.
void PIX_MixMultiply(uint32_t* pixel, int r, int g, int b, int a, int w);
// Copy at weight w: d = s + (d - s) * (256 - w) / 256 on all four channels.
void PIX_MixCopy(uint32_t* pixel, int r, int g, int b, int a, int w);

// Reciprocals that replace division by a channel maximum: T[0] = 0, T[i] = 65536 / i - 1.
constexpr std::array<uint16_t, 256> PIX_MakeReciprocalTable() {
    std::array<uint16_t, 256> t{};
    for (int i = 1; i < 256; ++i) t[i] = static_cast<uint16_t>(65536 / i - 1);
    return t;
}
inline constexpr std::array<uint16_t, 256> PIX_ReciprocalTable = PIX_MakeReciprocalTable();

// Copies rect of src (whole src when null; right and bottom exclusive) so its top-left pixel lands
// at (x, y) of dest.
void PIX_CompositeBitmap(PIX_IBitmap* dest, PIX_IBitmap* src, int x, int y, const PIX_Rect* rect, float alpha,
                         int mode);
void PIX_FillArea(PIX_IBitmap* bitmap, int x, int y, int w, int h, uint32_t colour, float alpha, int mode);
// Small in-place blur of the top-left w x h pixels of bitmap.
void PIX_SoftenBitmap(PIX_IBitmap* bitmap, int w, int h);

// Word-wise halves and quarters (each byte rounded down separately).
inline uint32_t PIX_Half(uint32_t p) { return (p >> 1) & 0x7F7F7F7Fu; }
inline uint32_t PIX_Quarter(uint32_t p) { return (p >> 2) & 0x3F3F3F3Fu; }
inline uint32_t PIX_Eighth(uint32_t p) { return (p >> 3) & 0x1F1F1F1Fu; }
