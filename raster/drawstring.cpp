#include <algorithm>

#include "raster/font.h"
#include "raster/nativetext.h"

namespace {
// UTF-8 reader of the glyph path: codes are single UTF-16 units; four-byte sequences become a
// space; bytes that start no valid sequence stand for themselves (U+0080..U+00FF).
struct Utf8Reader {
    const unsigned char* p;
    int remaining;  // negative: up to the NUL

    static bool Cont(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

    bool Next(uint16_t* code) {
        if (remaining == 0 || *p == 0) return false;
        const unsigned char b = p[0];
        int bytes = 1;
        *code = b;
        // Continuation bytes are tested one by one, so a NUL ends the look-ahead.
        if (b >= 0xC2 && b <= 0xDF && Cont(p[1])) {
            *code = static_cast<uint16_t>((b & 0x1F) << 6 | (p[1] & 0x3F));
            bytes = 2;
        } else if (b >= 0xE0 && b <= 0xEF && Cont(p[1]) && Cont(p[2])) {
            *code = static_cast<uint16_t>((b & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
            bytes = 3;
        } else if (b >= 0xF0 && b <= 0xF4 && Cont(p[1]) && Cont(p[2]) && Cont(p[3])) {
            *code = 0x20;
            bytes = 4;
        }
        p += bytes;
        if (remaining > 0) remaining = std::max(remaining - bytes, 0);
        return true;
    }
};

constexpr int kAlignFlags = PIX_TextCenter | PIX_TextRight | PIX_TextVCenter | PIX_TextBottom;
constexpr int kLineBreak = -1;

// The next character of the layout: a code, kLineBreak, or false at the end. Carriage returns are
// skipped; line feeds become spaces on single-line layouts.
bool NextLayoutCode(Utf8Reader& reader, int flags, int* code) {
    uint16_t c;
    do {
        if (!reader.Next(&c)) return false;
    } while (c == 13);
    *code = c == 10 ? ((flags & PIX_TextSingleLine) ? 0x20 : kLineBreak) : c;
    return true;
}
}  // namespace

int PIX_CachedFont::DrawString(PIX_IBitmap* bitmap, const char* text, int length, PIX_Rect* rect, int textFlags) {
    if (!bitmap && !(textFlags & PIX_TextCalcRect)) return 0;
    if (!text || !rect) return 0;
    const int callerGlyphsOnly = textFlags & TextGlyphsOnly;
#ifdef _WIN64
    textFlags &= ~TextGlyphsOnly;
    bool native = false;
    if (bitmap && bitmap->Extension(0x59555678, nullptr) != 0) {
        native = false;
    } else if ((this->flags & FontNativeText) && !callerGlyphsOnly && handle && !PIX_RunningUnderWine() &&
               !(textFlags & TextForeAlpha) && !(this->flags & 0x1F7) &&
               (lineSpacing == 0 || (textFlags & PIX_TextSingleLine))) {
        native = true;
    } else {
        native = lineHeight >= 256;  // the cache serves heights up to 255 here
    }
    if (native) return PIX_NativeDrawString(*this, bitmap, text, length, rect, textFlags);
#endif
    if (textFlags & PIX_TextCalcRect) return MeasureGlyphs(text, length, rect, textFlags);
    return DrawGlyphs(bitmap, text, length, rect, textFlags, callerGlyphsOnly);
}

bool PIX_CachedFont::LookupGlyph(uint16_t code, PIX_GlyphRecord* out) {
    PIX_GlyphRecord* rec = FindGlyph(code);
    if (!rec) {
        const int before = SortedGlyphCount();
        CacheGlyph(code);
        if (SortedGlyphCount() != before) rec = FindGlyph(code);
        if (!rec) return false;
    }
    if (rec->mask < 0) return false;
    if (rec->mask == 0) {
        CacheGlyph(code);
        rec = FindGlyph(code);
        if (!rec || rec->mask <= 0) return false;
    }
    *out = *rec;
    return true;
}

int PIX_CachedFont::MeasureGlyphs(const char* text, int length, PIX_Rect* rect, int textFlags) {
    const bool vertical = this->flags & FontVertical;
    Utf8Reader reader{reinterpret_cast<const unsigned char*>(text), length < 0 ? -1 : length};
    int x = 0, y = 0, maxX = 0, maxY = 0, code;
    PIX_GlyphRecord rec;
    while (NextLayoutCode(reader, textFlags, &code)) {
        if (code == kLineBreak) {
            if (vertical)
                x += lineHeight + lineSpacing, y = 0;
            else
                y += lineHeight + lineSpacing, x = 0;
            continue;
        }
        if (!LookupGlyph(static_cast<uint16_t>(code), &rec)) continue;
        if (vertical) {
            maxX = std::max(maxX, x + rec.width);
            maxY = std::max({maxY, y + rec.height, y + rec.advance});
            y += rec.advance;
        } else {
            maxX = std::max({maxX, x + rec.advance, x + rec.width});
            maxY = std::max(maxY, y + rec.height);
            x += rec.advance;
        }
    }
    rect->right = rect->left + maxX;
    rect->bottom = rect->top + maxY;
    return vertical ? maxX : maxY;
}

int PIX_CachedFont::DrawGlyphs(PIX_IBitmap* bitmap, const char* text, int length, PIX_Rect* rect, int textFlags,
                               int callerGlyphsOnly) {
    const float savedAlpha = alpha;
    if (textFlags & TextForeAlpha) alpha = static_cast<float>((foreColor >> 24) / 255.0 * alpha);
    struct Restore {
        float& alpha;
        float saved;
        ~Restore() { alpha = saved; }
    } restore{alpha, savedAlpha};
    if (alpha == 0.0f) return 0;

    const bool vertical = this->flags & FontVertical;
    const bool bottomUp = (this->flags & (FontVertical | FontBottomToTop)) == (FontVertical | FontBottomToTop);
    int x = rect->left, y = rect->top;
    if ((textFlags & kAlignFlags) || bottomUp) {
        PIX_Rect m = {0, 0, 0, 0};
        DrawString(bitmap, text, length, &m, PIX_TextCalcRect | (textFlags & PIX_TextSingleLine) | callerGlyphsOnly);
        if (textFlags & PIX_TextCenter)
            x += (rect->right - m.right - rect->left) / 2;
        else if (textFlags & PIX_TextRight)
            x = rect->right - m.right;
        if (textFlags & PIX_TextVCenter)
            y += (rect->bottom - m.bottom - rect->top) / 2;
        else if (textFlags & PIX_TextBottom)
            y = rect->bottom - m.bottom;
        if (bottomUp) y += m.bottom;
    }
    const int x0 = x, y0 = y;
    int maxX = x, maxY = y;

    PIX_Rect clip = {0, 0, bitmap->Width(), bitmap->Height()};
    if (!(textFlags & PIX_TextNoClip)) {
        clip = {std::max(rect->left, 0), std::max(rect->top, 0), std::min(rect->right, clip.right),
                std::min(rect->bottom, clip.bottom)};
        if (clip.right <= clip.left || clip.bottom <= clip.top) return 0;
    }

    Utf8Reader reader{reinterpret_cast<const unsigned char*>(text), length < 0 ? -1 : length};
    int code;
    PIX_GlyphRecord rec;
    while (NextLayoutCode(reader, textFlags, &code)) {
        if (code == kLineBreak) {
            if (vertical)
                x += lineHeight + lineSpacing, y = y0;
            else
                y += lineHeight + lineSpacing, x = x0;
            continue;
        }
        if (!LookupGlyph(static_cast<uint16_t>(code), &rec)) continue;
        if (bottomUp) y -= rec.height;
        const bool drawn = DrawGlyph(bitmap, static_cast<uint16_t>(code), x, y, &clip);
        if (vertical) {
            if (drawn) maxX = std::max(maxX, x + rec.width);
            y += bottomUp ? rec.height - rec.advance : rec.advance;
        } else {
            x += rec.advance;
            if (drawn) maxY = std::max(maxY, y + rec.height);
        }
    }
    return vertical ? maxX - x0 : maxY - y0;
}
