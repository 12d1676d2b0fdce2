#pragma once
// PIX_SysBitmap: pixels in a top-down 32-bit DIB section selected into a memory device context of
// its own, so GDI can draw into it and the window code can copy it to the screen. Windows only.
#include "raster/bitmap.h"

class PIX_SysBitmap : public PIX_IBitmap {
public:
    PIX_SysBitmap(int w, int h);
    ~PIX_SysBitmap() override;
    PIX_SysBitmap(const PIX_SysBitmap&) = delete;
    PIX_SysBitmap& operator=(const PIX_SysBitmap&) = delete;

    uint32_t* Pixels() override { return bits; }
    int Width() override { return width; }
    int Height() override { return height; }
    int RowSpan() override { return allocWidth; }
    bool Resize(int w, int h) override;
    PIX_DeviceContext DeviceContext() override { return dc; }

private:
    void ReleaseSection();

    int width = 0;
    int height = 0;
    PIX_DeviceContext dc = nullptr;  // HDC
    uint32_t* bits = nullptr;
    int allocWidth = 0;
    int allocHeight = 0;
    void* dib = nullptr;             // HBITMAP
    void* previousObject = nullptr;  // HGDIOBJ
};
