#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "raster/blend.h"
#include "raster/font.h"
#include "raster/glyphsource.h"

PIX_IBitmap* GlyphSurface = nullptr;
PIX_IBitmap* NativeTextSurface = nullptr;
int FontInstanceCount = 0;

namespace {
// The glyph surface, at least size x size; white ink on black whenever it is resized.
PIX_IBitmap* EnsureGlyphSurface(PIX_GlyphSource* source, int size) {
    if (!GlyphSurface) GlyphSurface = source->CreateSurface();
    if (GlyphSurface && (GlyphSurface->Width() < size || GlyphSurface->Height() < size)) {
        GlyphSurface->Resize(size, size);
        source->PrepareSurface(GlyphSurface);
    }
    return GlyphSurface;
}

inline int Channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// One glyph pixel in colour c at weight w (alpha of the colour counted as 255).
void BlendGlyphPixel(int mode, uint32_t* p, uint32_t c, int w) {
    const int r = Channel(c, 16), g = Channel(c, 8), b = Channel(c, 0);
    const uint32_t d = *p;
    switch (mode) {
        case PIX_Copy: {
            const int keep = 256 - w;
            const int nr = r + (Channel(d, 16) - r) * keep / 256, ng = g + (Channel(d, 8) - g) * keep / 256;
            const int nb = b + (Channel(d, 0) - b) * keep / 256, na = 255 - (255 - Channel(d, 24)) * keep / 256;
            *p = static_cast<uint32_t>(na) << 24 | static_cast<uint32_t>(nr & 0xFF) << 16 |
                 static_cast<uint32_t>(ng & 0xFF) << 8 | static_cast<uint32_t>(nb & 0xFF);
            break;
        }
        case PIX_Add: PIX_MixAdd(p, r, g, b, 255, w); break;
        case PIX_Dodge: PIX_MixDodge(p, r, g, b, 255, w); break;
        case PIX_Multiply: {
            auto mul = [w](int dc, int cc) { return (dc * (w * cc + (256 - w) * 256)) >> 16; };
            const int na = (Channel(d, 24) * (65536 - w)) >> 16;
            *p = static_cast<uint32_t>(na & 0xFF) << 24 | static_cast<uint32_t>(mul(Channel(d, 16), r) & 0xFF) << 16 |
                 static_cast<uint32_t>(mul(Channel(d, 8), g) & 0xFF) << 8 |
                 static_cast<uint32_t>(mul(Channel(d, 0), b) & 0xFF);
            break;
        }
        case PIX_Overlay: PIX_MixOverlay(p, r, g, b, 255, w); break;
        case PIX_HsvAdjust: PIX_MixHsv(p, r, g, b, 255, w); break;
        default: break;
    }
}
}  // namespace

void PIX_SoftenGlyphSurface(int w, int h) { PIX_SoftenBitmap(GlyphSurface, w, h); }

PIX_CachedFont::PIX_CachedFont() { ++FontInstanceCount; }

PIX_CachedFont::~PIX_CachedFont() {
    PIX_GlyphSource* source = PIX_GetGlyphSource();
    if ((flags & FontOwnsHandle) && handle && source) source->DeleteFont(handle);
    if (--FontInstanceCount == 0) {
        delete GlyphSurface;
        delete NativeTextSurface;
        GlyphSurface = nullptr;
        NativeTextSurface = nullptr;
    }
}

uint32_t PIX_CachedFont::SetForeColor(uint32_t colour) { return std::exchange(foreColor, colour); }
uint32_t PIX_CachedFont::SetBackColor(uint32_t colour) { return std::exchange(backColor, colour); }
uint32_t PIX_CachedFont::SetEffectColor(uint32_t colour) { return std::exchange(effectColor, colour); }
int PIX_CachedFont::SetBackMode(int mode) { return std::exchange(backMode, mode); }

void PIX_CachedFont::SetBlend(int mode, float newAlpha) {
    blendMode = mode;
    alpha = newAlpha;
}

void PIX_CachedFont::AttachHandle(PIX_FontHandle font, int newFlags) {
    PIX_GlyphSource* source = PIX_GetGlyphSource();
    if ((flags & FontOwnsHandle) && handle && handle != font && source) source->DeleteFont(handle);
    flags = newFlags;
    handle = font;
    if (font && source) {
        PIX_IBitmap* surface = EnsureGlyphSurface(source, 256);
        int height = 0;
        if (surface && source->GetLineHeight(surface, font, &height)) lineHeight = height;
    }
    std::memset(directGlyphs, 0, sizeof(directGlyphs));
    sortedGlyphs.Resize(0, false);
    coverage.Resize(0, true);
    if (flags & FontPrecache)
        for (int c = 0; c < 128; ++c) CacheGlyph(static_cast<uint16_t>(c));
}

const PIX_GlyphRecord* PIX_CachedFont::SortedGlyphs() const {
    return static_cast<const PIX_GlyphRecord*>(sortedGlyphs.Get());
}

const uint8_t* PIX_CachedFont::GlyphMask(const PIX_GlyphRecord& rec) const {
    return rec.mask > 0 ? static_cast<const uint8_t*>(coverage.Get()) + rec.mask - 1 : nullptr;
}

PIX_GlyphRecord* PIX_CachedFont::FindGlyph(uint16_t code) {
    if (code < 128) return &directGlyphs[code];
    const int count = SortedGlyphCount();
    if (count < 1) return nullptr;
    auto* first = static_cast<PIX_GlyphRecord*>(sortedGlyphs.Get());
    PIX_GlyphRecord* found =
        std::lower_bound(first, first + count, code, [](const PIX_GlyphRecord& r, int c) { return r.code < c; });
    return found != first + count && found->code == code ? found : nullptr;
}

bool PIX_CachedFont::CacheGlyph(uint16_t code) {
    PIX_GlyphSource* source = PIX_GetGlyphSource();
    if (lineHeight >= 1024 || !source) return false;

    PIX_GlyphRecord* rec = FindGlyph(code);
    bool appended = false;
    if (!rec) {
        if (flags & FontPrecache) return false;
        // A record array that cannot grow refuses the character; the next draw tries again.
        const int size = sortedGlyphs.GetSize();
        sortedGlyphs.Resize(size + static_cast<int>(sizeof(PIX_GlyphRecord)), true);
        if (sortedGlyphs.GetSize() != size + static_cast<int>(sizeof(PIX_GlyphRecord))) return false;
        rec = reinterpret_cast<PIX_GlyphRecord*>(static_cast<char*>(sortedGlyphs.Get()) + size);
        *rec = PIX_GlyphRecord{0, 0, 0, 0, code};
        appended = true;
    }

    PIX_IBitmap* surface = EnsureGlyphSurface(source, 2 * std::max(1, lineHeight) + 8);
    int advance = 0, w = 0, h = 0;
    if (surface) {
        source->MeasureGlyph(surface, handle, code, &advance, &h);
        w = advance + (lineHeight < 16 ? 0 : lineHeight / 16) + 2;
        PIX_FillArea(surface, 0, 0, w, h, 0, 1.0f, PIX_Copy);
        source->RenderGlyph(surface, handle, code, w, h);
        advance = std::min(advance, surface->Width());
        w = std::min(w, surface->Width());
        h = std::min(h, surface->Height());
    }
    if (advance < 1 || h < 1)
        *rec = PIX_GlyphRecord{-1, 0, 0, 0, rec->code};
    else
        MakeMask(rec, surface, advance, w, h);

    if (appended && SortedGlyphCount() > 1) {
        auto* first = static_cast<PIX_GlyphRecord*>(sortedGlyphs.Get());
        std::sort(first, first + SortedGlyphCount(),
                  [](const PIX_GlyphRecord& a, const PIX_GlyphRecord& b) { return a.code < b.code; });
    }
    return true;
}

// Takes the w x h cell at the surface's top-left as the record's mask: trims empty columns past
// the advance, turns it for vertical fonts and applies the mono, shadow and outline effects.
void PIX_CachedFont::MakeMask(PIX_GlyphRecord* rec, PIX_IBitmap* surface, int advance, int w, int h) {
    rec->advance = advance;
    if (flags & FontBlur) PIX_SoftenGlyphSurface(w, h);
    const int start = coverage.GetSize();
    // Refused before the size arithmetic can wrap: a wrapped size would free every mask.
    if (static_cast<long long>(start) + static_cast<long long>(w) * h > INT_MAX ||
        (coverage.Resize(start + w * h, true), coverage.GetSize() != start + w * h)) {
        *rec = PIX_GlyphRecord{-1, 0, 0, 0, rec->code};
        return;
    }
    rec->mask = start + 1;
    uint8_t* mask = static_cast<uint8_t*>(coverage.Get()) + start;

    int trimmed = advance;
    const uint32_t* row = PIX_PixelAt(surface, 0, 0);
    const intptr_t step = PIX_RowStep(surface);
    for (int y = 0; y < h; ++y, row += step) {
        for (int x = 0; x < w; ++x) {
            const uint8_t red = static_cast<uint8_t>(row[x] >> 16);
            mask[y * w + x] = (flags & FontInvert) ? static_cast<uint8_t>(255 - red) : red;
            if (red && x >= trimmed) trimmed = x + 1;
        }
    }
    if (trimmed < w) {
        for (int y = 1; y < h; ++y) std::memmove(mask + y * trimmed, mask + y * w, static_cast<size_t>(trimmed));
        coverage.Resize(start + trimmed * h, false);
        w = trimmed;
    }

    if (flags & FontVertical) {
        // The surface's pixel memory is larger than any mask and serves as scratch.
        uint8_t* scratch = reinterpret_cast<uint8_t*>(surface->Pixels());
        std::memcpy(scratch, mask, static_cast<size_t>(w) * h);
        const bool counter = flags & FontBottomToTop;
        for (int j = 0; j < w; ++j)
            for (int i = 0; i < h; ++i)
                mask[j * h + i] = counter ? scratch[i * w + (w - 1 - j)] : scratch[(h - 1 - i) * w + j];
        std::swap(w, h);
    }

    if (flags & (FontMono | FontShadow | FontOutline))
        for (int i = 0; i < w * h; ++i) mask[i] = mask[i] > 130 ? 255 : 0;
    if (flags & (FontShadow | FontOutline)) {
        auto full = [&](int x, int y) { return mask[y * w + x] == 255; };
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (mask[y * w + x] != 0) continue;
                bool mark;
                if (flags & FontShadow)
                    mark = (x > 0 && full(x - 1, y)) || (x > 0 && y > 0 && full(x - 1, y - 1)) ||
                           (y > 0 && full(x, y - 1));
                else
                    mark = (y > 0 && full(x, y - 1)) || (y < h - 1 && full(x, y + 1)) || (x > 0 && full(x - 1, y)) ||
                           (x < w - 1 && full(x + 1, y));
                if (mark) mask[y * w + x] = 128;
            }
        }
    }
    rec->width = w;
    rec->height = h;
}

bool PIX_CachedFont::DrawGlyph(PIX_IBitmap* bitmap, uint16_t code, int x, int y, const PIX_Rect* clip) {
    const PIX_GlyphRecord* rec = FindGlyph(code);
    if (!rec || !bitmap || !clip || !bitmap->Pixels()) return false;
    // The clip is also limited to the bitmap, so no caller can make this write outside it.
    const PIX_Rect c = {std::max(clip->left, 0), std::max(clip->top, 0), std::min(clip->right, bitmap->Width()),
                        std::min(clip->bottom, bitmap->Height())};
    if (x >= c.right || y >= c.bottom || static_cast<long long>(x) + rec->width <= c.left ||
        static_cast<long long>(y) + rec->height <= c.top)
        return false;
    int skipX = 0, skipY = 0;
    if (x < c.left) skipX = c.left - x, x = c.left;
    if (y < c.top) skipY = c.top - y, y = c.top;
    const int columns = std::min(rec->width - skipX, c.right - x);
    const int rows = std::min(rec->height - skipY, c.bottom - y);
    if (columns < 1 || rows < 1 || rec->mask <= 0) return false;

    const int mode = blendMode & ~PIX_UseSourceAlpha;
    if (backMode == 2) PIX_FillArea(bitmap, x, y, columns, rows, backColor, alpha, mode);
    const uint8_t* src = GlyphMask(*rec) + skipY * rec->width + skipX;
    uint32_t* dst = PIX_PixelAt(bitmap, x, y);
    const intptr_t step = PIX_RowStep(bitmap);
    const int low = mode & 0xFF;
    const int a = PIX_AlphaToWeight(alpha);
    if (a == 0) return true;

    if (flags & (FontMono | FontShadow | FontOutline)) {
        const bool effects = !(flags & FontMono);
        const bool store = alpha == 1.0f && low == PIX_Copy;
        for (int j = 0; j < rows; ++j, src += rec->width, dst += step) {
            for (int i = 0; i < columns; ++i) {
                if (!src[i]) continue;
                const uint32_t colour = effects && src[i] != 255 ? effectColor : foreColor;
                if (store)
                    dst[i] = colour;
                else
                    BlendGlyphPixel(low, dst + i, colour, a);
            }
        }
        return true;
    }
    for (int j = 0; j < rows; ++j, src += rec->width, dst += step) {
        for (int i = 0; i < columns; ++i) {
            const int m = src[i];
            if (!m) continue;
            const int w = a == 256 ? m + 1 : (a * m < 65792 ? a * m / 256 : 256);
            BlendGlyphPixel(low, dst + i, foreColor, w);
        }
    }
    return true;
}
