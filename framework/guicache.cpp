// The process-wide bitmap and font caches. Each list is guarded by its own lock, which exists
// from module load to module unload; a cached bitmap or font is used without a lock and lives
// until the module unloads.
#include <cstring>
#include <vector>

#include "framework/igraphics.h"
#include "raster/bitmap.h"
#include "raster/font.h"

namespace {
struct BitmapEntry {
    int resourceId;
    PIX_IBitmap* bitmap;
};

struct FontEntry {
    int size;
    int orientation;
    int style;
    char face[36];
    PIX_CachedFont* font;
};

struct GuiCaches {
    PlugMutex bitmapLock;
    PlugMutex fontLock;
    std::vector<BitmapEntry> bitmaps;
    std::vector<FontEntry> fonts;

    ~GuiCaches() { Free(); }  // module unload
    void Free() {
        {
            ScopedPlugLock lock(bitmapLock);
            for (BitmapEntry& e : bitmaps) delete e.bitmap;
            bitmaps.clear();
        }
        ScopedPlugLock lock(fontLock);
        for (FontEntry& e : fonts) delete e.font;
        fonts.clear();
    }
};

GuiCaches& Caches() {
    static GuiCaches caches;
    return caches;
}

bool SameKey(const FontEntry& e, const ITextStyle& s) {
    return e.size == s.size && e.orientation == s.orientation && e.style == s.style &&
           std::strncmp(e.face, s.face, sizeof e.face) == 0;
}
}  // namespace

PIX_IBitmap* FindCachedBitmap(int resourceId, bool* found) {
    GuiCaches& c = Caches();
    ScopedPlugLock lock(c.bitmapLock);
    for (const BitmapEntry& e : c.bitmaps) {
        if (e.resourceId != resourceId) continue;
        *found = true;
        return e.bitmap;
    }
    *found = false;
    return nullptr;
}

void CacheBitmap(int resourceId, PIX_IBitmap* bitmap) {
    GuiCaches& c = Caches();
    ScopedPlugLock lock(c.bitmapLock);
    c.bitmaps.push_back({resourceId, bitmap});
}

int CachedBitmapCount() {
    ScopedPlugLock lock(Caches().bitmapLock);
    return static_cast<int>(Caches().bitmaps.size());
}

int CachedFontCount() {
    ScopedPlugLock lock(Caches().fontLock);
    return static_cast<int>(Caches().fonts.size());
}

void FreeGuiCaches() { Caches().Free(); }

// Font creation happens outside the lock: two threads that miss together may both append an
// entry for the same key, and lookups keep taking the first.
PIX_CachedFont* IGraphics::GetCachedFont(ITextStyle* style) {
    GuiCaches& c = Caches();
    {
        ScopedPlugLock lock(c.fontLock);
        for (const FontEntry& e : c.fonts) {
            if (!SameKey(e, *style) || !e.font) continue;
            style->cachedFont = e.font;
            return e.font;
        }
    }
    void* handle = CreateStyleFont(*style);
    if (!handle) return nullptr;
    auto* font = new PIX_CachedFont();
    font->AttachHandle(handle, FontOwnsHandle | FontNativeText);
    FontEntry entry{style->size, style->orientation, style->style, {}, font};
    std::strncpy(entry.face, style->face, sizeof entry.face - 1);
    ScopedPlugLock lock(c.fontLock);
    c.fonts.push_back(entry);
    style->cachedFont = font;
    return font;
}
