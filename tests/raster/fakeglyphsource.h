#pragma once
// A deterministic stand-in for the window system's glyph rendering. The font handle is the line
// height itself; each code has a fixed advance, ink and overhang, so masks are known to the byte.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/blend.h"
#include "raster/glyphsource.h"

class FakeGlyphSource : public PIX_GlyphSource {
public:
    static PIX_FontHandle Font(int lineHeight) {
        return reinterpret_cast<PIX_FontHandle>(static_cast<intptr_t>(lineHeight));
    }
    static int Height(PIX_FontHandle font) { return static_cast<int>(reinterpret_cast<intptr_t>(font)); }

    // Code 1 has no advance; a space has no ink; 'A' advances 7, 'B' 8.
    static int Advance(int code) { return code == 1 ? 0 : (code == ' ' ? 4 : 5 + code % 7); }
    // Ink columns past the advance: 0, 1 or 2 ('A' 0, 'B' 1).
    static int Overhang(int code) { return (code + 1) % 3; }
    // The red byte rendered at (x, y) of the cell of a font with line height lh.
    static int Ink(int code, int x, int y, int lh) {
        if (code == ' ' || x < 1 || x >= Advance(code) + Overhang(code) || y < 2 || y >= lh - 2) return 0;
        static const int levels[4] = {255, 128, 200, 40};
        return levels[(x + y + code) % 4];
    }

    PIX_IBitmap* CreateSurface() override {
        ++surfacesCreated;
        return new PIX_MemBitmap(0, 0);
    }
    void PrepareSurface(PIX_IBitmap*) override { ++prepared; }
    bool GetLineHeight(PIX_IBitmap*, PIX_FontHandle font, int* height) override {
        *height = Height(font);
        return true;
    }
    void MeasureGlyph(PIX_IBitmap*, PIX_FontHandle font, uint16_t code, int* width, int* height) override {
        measured.push_back(code);
        *width = Advance(code);
        *height = Height(font);
    }
    void RenderGlyph(PIX_IBitmap* surface, PIX_FontHandle font, uint16_t code, int width, int height) override {
        renderWidths.push_back(width);
        const int w = std::min(width, surface->Width()), h = std::min(height, surface->Height());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t v = static_cast<uint32_t>(Ink(code, x, y, Height(font)));
                if (v) *PIX_PixelAt(surface, x, y) = 0xFF000000u | v << 16 | v << 8 | v;
            }
    }
    void DeleteFont(PIX_FontHandle font) override { deleted.push_back(Height(font)); }

    int surfacesCreated = 0;
    int prepared = 0;
    std::vector<int> measured;
    std::vector<int> renderWidths;
    std::vector<int> deleted;
};
