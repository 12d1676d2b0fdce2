#pragma once
// Types shared by the raster library: rectangles, opaque window-system handles, blend modes.
#include <cstdint>

// Rectangle {left, top, right, bottom}, right and bottom exclusive; the layout of a Win32 RECT.
struct PIX_Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Window-system handles (HDC, HFONT) held opaquely so that portable code needs no system headers.
using PIX_DeviceContext = void*;
using PIX_FontHandle = void*;

// PIX_BlendMode: low byte selects the operation; PIX_UseSourceAlpha scales by the source's alpha.
using PIX_BlendMode = int;
enum : int {
    PIX_Copy = 0,
    PIX_Add = 1,
    PIX_Dodge = 2,
    PIX_Multiply = 3,
    PIX_Overlay = 4,
    PIX_HsvAdjust = 5,
    PIX_ChannelCopy = 0xF0,  // 0xF0..0xFF: source channel mode & 3 into destination channel (mode >> 2) & 3
    PIX_UseSourceAlpha = 0x10000,
};

// Weight out of 256 for a float alpha, truncated. Alpha is limited to 0..1 first (NaN counts as 0),
// so every weight the drawing routines see lies in 0..256.
inline int PIX_AlphaToWeight(float alpha) {
    if (!(alpha > 0.0f)) return 0;
    if (alpha >= 1.0f) return 256;
    return static_cast<int>(static_cast<double>(alpha) * 256.0);
}
