#include "raster/glyphsource.h"

#include <utility>

#ifdef _WIN32
PIX_GlyphSource* PIX_GdiGlyphSource();  // gdiglyphsource_win.cpp
#elif defined(PIX_FREETYPE)
PIX_GlyphSource* PIX_FreeTypeGlyphSource();  // ftglyphsource_linux.cpp
#endif

namespace {
PIX_GlyphSource*& Current() {
#ifdef _WIN32
    static PIX_GlyphSource* source = PIX_GdiGlyphSource();
#elif defined(PIX_FREETYPE)
    static PIX_GlyphSource* source = PIX_FreeTypeGlyphSource();
#else
    static PIX_GlyphSource* source = nullptr;  // no window-system fonts here
#endif
    return source;
}
}  // namespace

PIX_GlyphSource* PIX_GetGlyphSource() { return Current(); }

PIX_GlyphSource* PIX_SetGlyphSource(PIX_GlyphSource* source) { return std::exchange(Current(), source); }
