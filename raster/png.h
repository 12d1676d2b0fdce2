#pragma once
// PNG decoding into 32-bit 0xAARRGGBB bitmaps (alpha 255 for images without alpha information).
#include "raster/bitmap.h"

// Decodes length bytes of PNG data into a new bitmap owned by the caller; null on any failure.
PIX_MemBitmap* PIX_ReadPngMemory(const void* data, int length);

// Decodes the PNG file at the UTF-8 path. With into null the result is a new bitmap owned by the
// caller; otherwise into is resized, filled and returned (never deleted, possibly resized on
// failure). Null on any failure.
PIX_IBitmap* PIX_ReadPngFile(const char* path, PIX_IBitmap* into);

// Image loader registration: a list of loaders, each with a probe and a file-dialog filter text.
struct PIX_ImageLoader {
    PIX_IBitmap* (*probe)(const char* path, bool checkExtension, PIX_IBitmap* into);
    const char* (*types)();
    PIX_ImageLoader* next;
};
extern PIX_ImageLoader* ImageLoaderList;

// The PNG loader's probe: with checkExtension, only paths whose extension is ".png" in any case.
PIX_IBitmap* PIX_PngLoaderProbe(const char* path, bool checkExtension, PIX_IBitmap* into);
// "PNG files (*.PNG)", NUL, "*.PNG", NUL: one Win32 file-dialog filter pair.
const char* PIX_PngLoaderTypes();

// Images with more pixels than this are refused before any pixel storage is reserved.
constexpr long long PIX_PngMaxPixels = 1LL << 26;
