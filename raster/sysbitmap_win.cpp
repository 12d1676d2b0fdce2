#include <windows.h>

#include "raster/sysbitmap.h"

PIX_SysBitmap::PIX_SysBitmap(int w, int h) {
    dc = CreateCompatibleDC(nullptr);
    Resize(w, h);
}

PIX_SysBitmap::~PIX_SysBitmap() {
    if (previousObject && dc) SelectObject(static_cast<HDC>(dc), static_cast<HGDIOBJ>(previousObject));
    if (dib) DeleteObject(static_cast<HGDIOBJ>(dib));
    if (dc) DeleteDC(static_cast<HDC>(dc));
}

void PIX_SysBitmap::ReleaseSection() {
    if (previousObject) {
        SelectObject(static_cast<HDC>(dc), static_cast<HGDIOBJ>(previousObject));
        previousObject = nullptr;
    }
    if (dib) DeleteObject(static_cast<HGDIOBJ>(dib));
    dib = nullptr;
    bits = nullptr;
}

bool PIX_SysBitmap::Resize(int w, int h) {
    if (!dc) {
        width = height = 0;
        bits = nullptr;
        return false;
    }
    if (w == width && h == height) return false;
    width = w;
    height = h;
    // A smaller size reuses the section; the span stays the section's width. Only positive sizes
    // reuse it, so a bitmap with a positive size always has pixels.
    if (w > 0 && h > 0 && allocWidth >= w && allocHeight >= h && bits) return true;

    long long span = (static_cast<long long>(w) + 3) & ~3LL;
    ReleaseSection();
    if (span < 1 || h < 1 || span > 0x7FFFFFFF) {
        allocWidth = allocHeight = 0;
        return false;
    }
    allocWidth = static_cast<int>(span);
    allocHeight = h;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = allocWidth;
    info.bmiHeader.biHeight = IsBottomUp() ? h : -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (section) {
        dib = section;
        bits = static_cast<uint32_t*>(pixels);
        previousObject = SelectObject(static_cast<HDC>(dc), section);
    } else {
        width = height = 0;
        allocWidth = allocHeight = 0;
    }
    return true;
}
