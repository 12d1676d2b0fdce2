// Glyphs through FreeType, faces found by fontconfig. A glyph is drawn as Windows draws one unit of
// text in the cell's top-left: its baseline at the font's ascent, antialiased, white on black.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>

#include "raster/ftfont.h"
#include "raster/glyphsource.h"

namespace {
struct FtFont {
    FT_Face face;
    int height;  // ascent + descent, in pixels
    int ascent;
};

// Faces are made and freed under this lock (the library is shared between them); everything else a
// face does is text work, which happens one at a time.
std::mutex& LibraryLock() {
    static std::mutex lock;
    return lock;
}

// Made on first use and kept for the process's life; null when FreeType cannot start.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

bool HasFamily(FcPattern* match, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family)) == 0) return true;
    return false;
}

// The file and face index fontconfig matches to family, bold and italic; with exact, only a face of
// that family (fontconfig otherwise answers with its nearest face of any family).
bool MatchFace(const char* family, bool bold, bool italic, bool exact, std::string* file, int* index) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* path = nullptr;
    const bool found =
        match && (!exact || HasFamily(match, family)) && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
    if (found) {
        *file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
    }
    if (match) FcPatternDestroy(match);
    return found;
}

// A scalable face at file, sized so that its Windows ascent plus descent spans height pixels; null when
// it cannot be opened.
FtFont* OpenFont(const std::string& file, int index, int height) {
    std::lock_guard<std::mutex> hold(LibraryLock());
    FT_Face face = nullptr;
    if (!Library() || FT_New_Face(Library(), file.c_str(), index, &face) != 0) return nullptr;
    long up = face->ascender, down = -face->descender;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
        up = os2->usWinAscent, down = os2->usWinDescent;
    const double scale = up + down > 0 ? static_cast<double>(height) / static_cast<double>(up + down) : 0.0;
    const auto emHeight = static_cast<FT_F26Dot6>(std::lround(64.0 * scale * face->units_per_EM));
    if (!FT_IS_SCALABLE(face) || emHeight < 1 || FT_Set_Char_Size(face, 0, emHeight, 72, 72) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return new FtFont{face, height, static_cast<int>(std::lround(scale * static_cast<double>(up)))};
}

class FreeTypeGlyphSource : public PIX_GlyphSource {
public:
    PIX_IBitmap* CreateSurface() override { return new PIX_MemBitmap(0, 0); }

    // The font clears each glyph's cell before it is drawn; ink is written, not blended.
    void PrepareSurface(PIX_IBitmap*) override {}

    bool GetLineHeight(PIX_IBitmap*, PIX_FontHandle font, int* height) override {
        if (!font) return false;
        *height = static_cast<FtFont*>(font)->height;
        return true;
    }

    void MeasureGlyph(PIX_IBitmap*, PIX_FontHandle font, uint16_t code, int* width, int* height) override {
        auto* f = static_cast<FtFont*>(font);
        *width = f && Load(f, code, 0) ? static_cast<int>((f->face->glyph->advance.x + 32) >> 6) : 0;
        *height = f ? f->height : 0;
    }

    // Coverage goes into the red, green and blue bytes alike, as white ink on black would.
    void RenderGlyph(PIX_IBitmap* surface, PIX_FontHandle font, uint16_t code, int width, int height) override {
        auto* f = static_cast<FtFont*>(font);
        if (!f || !surface->Pixels() || !Load(f, code, FT_LOAD_RENDER)) return;
        const FT_GlyphSlot glyph = f->face->glyph;
        const FT_Bitmap& ink = glyph->bitmap;
        if (ink.pixel_mode != FT_PIXEL_MODE_GRAY) return;
        const int w = std::min(width, surface->Width()), h = std::min(height, surface->Height());
        const int left = glyph->bitmap_left, top = f->ascent - glyph->bitmap_top;
        for (int row = 0; row < static_cast<int>(ink.rows); ++row) {
            const int y = top + row;
            if (y < 0 || y >= h) continue;
            const unsigned char* src = ink.buffer + static_cast<long>(row) * ink.pitch;
            uint32_t* dst = PIX_PixelAt(surface, 0, y);
            for (int col = std::max(0, -left); col < static_cast<int>(ink.width) && left + col < w; ++col) {
                const uint32_t v = src[col];
                if (v) dst[left + col] = 0xFF000000u | v << 16 | v << 8 | v;
            }
        }
    }

    void DeleteFont(PIX_FontHandle font) override {
        auto* f = static_cast<FtFont*>(font);
        if (!f) return;
        std::lock_guard<std::mutex> hold(LibraryLock());
        FT_Done_Face(f->face);
        delete f;
    }

private:
    // Outlines only (embedded bitmaps may be one-bit), hinted at the font's size.
    static bool Load(FtFont* f, uint16_t code, FT_Int32 flags) {
        return FT_Load_Char(f->face, code, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL | flags) == 0;
    }
};
}  // namespace

PIX_FontHandle PIX_CreateFreeTypeFont(const char* face, int height, bool bold, bool italic) {
    if (height < 1) return nullptr;
    std::string file;
    int index = 0;
    FtFont* font = nullptr;
    if (face && face[0] && MatchFace(face, bold, italic, true, &file, &index)) font = OpenFont(file, index, height);
    if (!font && MatchFace("Liberation Sans", bold, italic, false, &file, &index)) font = OpenFont(file, index, height);
    return font;
}

PIX_GlyphSource* PIX_FreeTypeGlyphSource() {
    static FreeTypeGlyphSource source;
    return &source;
}
