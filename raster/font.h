#pragma once
// PIX_CachedFont: a font over a window-system font handle that renders each character once onto a
// shared glyph surface, keeps its 8-bit coverage mask, and from then on draws it into any bitmap
// by blending its colour through the mask. DrawString lays out and measures UTF-8 text.
#include <cstdint>

#include "base/growbuffer.h"
#include "raster/bitmap.h"

// Font flags.
enum : int {
    FontVertical = 0x1,     // masks turned clockwise, text runs top to bottom
    FontBottomToTop = 0x2,  // with FontVertical: counter-clockwise, text runs bottom to top
    FontPrecache = 0x4,     // codes 0..127 rendered on attach; higher codes never cached
    FontBlur = 0x10,
    FontInvert = 0x20,
    FontMono = 0x40,
    FontShadow = 0x80,
    FontOutline = 0x100,
    FontOwnsHandle = 0x200,  // the font deletes its handle
    FontNativeText = 0x400,  // 64-bit builds may draw whole strings with the window system
};

// DrawString flags: the Win32 DrawText values, plus two of the font's own.
enum : int {
    PIX_TextCenter = 0x1,                            // DT_CENTER
    PIX_TextRight = 0x2,                             // DT_RIGHT
    PIX_TextVCenter = 0x4,                           // DT_VCENTER
    PIX_TextBottom = 0x8,                            // DT_BOTTOM
    PIX_TextSingleLine = 0x20,                       // DT_SINGLELINE
    PIX_TextNoClip = 0x100,                          // DT_NOCLIP
    PIX_TextCalcRect = 0x400,                        // DT_CALCRECT
    TextForeAlpha = 0x40000000,                      // scale the font's alpha by the text colour's alpha
    TextGlyphsOnly = static_cast<int>(0x80000000u),  // 64-bit builds: never the native path
};

// One cached character. mask: 0 not rendered yet, -1 nothing to draw, n > 0 the mask starts at
// byte n - 1 of the coverage buffer (width x height bytes, rows one after the other).
struct PIX_GlyphRecord {
    int32_t mask;
    int32_t width;
    int32_t height;
    int32_t advance;
    int32_t code;  // set for codes from 128 on
};
static_assert(sizeof(PIX_GlyphRecord) == 20, "glyph records are five 32-bit ints");

class PIX_IFont {
public:
    virtual ~PIX_IFont() = default;
    virtual void AttachHandle(PIX_FontHandle font, int flags) = 0;
    virtual uint32_t SetForeColor(uint32_t colour) = 0;
    virtual uint32_t SetBackColor(uint32_t colour) = 0;
    virtual uint32_t SetEffectColor(uint32_t colour) = 0;
    virtual int SetBackMode(int mode) = 0;
    virtual void SetBlend(int mode, float alpha) = 0;
    virtual int DrawString(PIX_IBitmap* bitmap, const char* text, int length, PIX_Rect* rect, int flags) = 0;
    virtual uint32_t GetForeColor() = 0;
    virtual PIX_FontHandle GetHandle() = 0;
    virtual int GetLineHeight() = 0;
};

class PIX_CachedFont : public PIX_IFont {
public:
    PIX_CachedFont();
    ~PIX_CachedFont() override;
    PIX_CachedFont(const PIX_CachedFont&) = delete;
    PIX_CachedFont& operator=(const PIX_CachedFont&) = delete;

    void AttachHandle(PIX_FontHandle font, int flags) override;
    uint32_t SetForeColor(uint32_t colour) override;
    uint32_t SetBackColor(uint32_t colour) override;
    uint32_t SetEffectColor(uint32_t colour) override;
    int SetBackMode(int mode) override;
    void SetBlend(int mode, float alpha) override;
    int DrawString(PIX_IBitmap* bitmap, const char* text, int length, PIX_Rect* rect, int flags) override;
    uint32_t GetForeColor() override { return foreColor; }
    PIX_FontHandle GetHandle() override { return handle; }
    int GetLineHeight() override { return lineHeight; }
    // Draws a cached character with its mask's top-left at (x, y), limited to clip and the bitmap.
    // False when the character has no record or nothing of it lies inside.
    virtual bool DrawGlyph(PIX_IBitmap* bitmap, uint16_t code, int x, int y, const PIX_Rect* clip);

    PIX_GlyphRecord* FindGlyph(uint16_t code);
    // Renders one character into the cache; false when the font refuses to cache it.
    bool CacheGlyph(uint16_t code);

    uint32_t GetBackColor() const { return backColor; }
    uint32_t GetEffectColor() const { return effectColor; }
    int GetBackMode() const { return backMode; }
    int GetBlendMode() const { return blendMode; }
    float GetAlpha() const { return alpha; }
    int GetFlags() const { return flags; }
    int GetLineSpacing() const { return lineSpacing; }
    // The mask bytes of a rendered record (mask > 0).
    const uint8_t* GlyphMask(const PIX_GlyphRecord& rec) const;
    int SortedGlyphCount() const { return sortedGlyphs.GetSize() / static_cast<int>(sizeof(PIX_GlyphRecord)); }
    const PIX_GlyphRecord* SortedGlyphs() const;
    int CoverageSize() const { return coverage.GetSize(); }

private:
    // A copy of the record of code, rendering it when needed; false when it cannot be drawn.
    bool LookupGlyph(uint16_t code, PIX_GlyphRecord* out);
    int MeasureGlyphs(const char* text, int length, PIX_Rect* rect, int flags);
    int DrawGlyphs(PIX_IBitmap* bitmap, const char* text, int length, PIX_Rect* rect, int flags, int callerGlyphsOnly);
    void MakeMask(PIX_GlyphRecord* rec, PIX_IBitmap* surface, int advance, int w, int h);

    uint32_t foreColor = 0;
    uint32_t backColor = 0xFFFFFFFF;
    uint32_t effectColor = 0xFFFFFFFF;
    int backMode = 1;  // 1 transparent, 2 opaque: each glyph cell is filled with backColor first
    int blendMode = 0;
    float alpha = 1.0f;
    int flags = 0;
    int lineHeight = 0;
    int lineSpacing = 0;
    PIX_GlyphRecord directGlyphs[128] = {};
    GrowBuffer sortedGlyphs{4096};  // records of codes from 128 on, ascending by code
    GrowBuffer coverage{65536};
    PIX_FontHandle handle = nullptr;
};

// Process-wide font state. Text rendering, drawing and measuring, and the construction and
// destruction of fonts, must happen one at a time.
extern PIX_IBitmap* GlyphSurface;       // every font renders its characters here
extern PIX_IBitmap* NativeTextSurface;  // scratch surface of the 64-bit native text path
extern int FontInstanceCount;           // the last font destroyed deletes both surfaces

// Softens the top-left w x h pixels of the glyph surface.
void PIX_SoftenGlyphSurface(int w, int h);
