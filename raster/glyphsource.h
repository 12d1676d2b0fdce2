#pragma once
// The window-system side of the glyph cache: where glyph surfaces come from and how one character
// is measured and rendered. Windows uses GDI, the Linux deliverables FreeType; tests install a
// deterministic stand-in.
#include <cstdint>

#include "raster/bitmap.h"

class PIX_GlyphSource {
public:
    virtual ~PIX_GlyphSource() = default;
    // A new empty (0 x 0) bitmap that RenderGlyph can draw into.
    virtual PIX_IBitmap* CreateSurface() = 0;
    // After each resize: white ink on an opaque black background.
    virtual void PrepareSurface(PIX_IBitmap* surface) = 0;
    // The font's line height (its text metric height); false when it cannot be had.
    virtual bool GetLineHeight(PIX_IBitmap* surface, PIX_FontHandle font, int* height) = 0;
    // The extent of one UTF-16 unit drawn on a single line.
    virtual void MeasureGlyph(PIX_IBitmap* surface, PIX_FontHandle font, uint16_t code, int* width, int* height) = 0;
    // Draws one unit into the cell {0, 0, width, height} of the surface, unclipped.
    virtual void RenderGlyph(PIX_IBitmap* surface, PIX_FontHandle font, uint16_t code, int width, int height) = 0;
    virtual void DeleteFont(PIX_FontHandle font) = 0;
};

// The source fonts use; on Windows GDI, in the Linux deliverables FreeType, elsewhere none until one
// is set (then nothing is cached).
PIX_GlyphSource* PIX_GetGlyphSource();
// Replaces the source and returns the previous one. Only while no font exists.
PIX_GlyphSource* PIX_SetGlyphSource(PIX_GlyphSource* source);
