#include <windows.h>

#include "raster/glyphsource.h"
#include "raster/sysbitmap.h"

namespace {
// Selects font into the surface's device context for the lifetime of the object.
class SelectedFont {
public:
    SelectedFont(PIX_IBitmap* surface, PIX_FontHandle font) : dc(static_cast<HDC>(surface->DeviceContext())) {
        if (dc && font) previous = SelectObject(dc, static_cast<HGDIOBJ>(font));
    }
    ~SelectedFont() {
        if (previous) SelectObject(dc, previous);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
    HDC dc;

private:
    HGDIOBJ previous = nullptr;
};

class GdiGlyphSource : public PIX_GlyphSource {
public:
    PIX_IBitmap* CreateSurface() override { return new PIX_SysBitmap(0, 0); }

    void PrepareSurface(PIX_IBitmap* surface) override {
        HDC dc = static_cast<HDC>(surface->DeviceContext());
        if (!dc) return;
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, RGB(0, 0, 0));
    }

    bool GetLineHeight(PIX_IBitmap* surface, PIX_FontHandle font, int* height) override {
        SelectedFont selected(surface, font);
        TEXTMETRICA metrics = {};
        if (!selected.dc || !GetTextMetricsA(selected.dc, &metrics)) return false;
        *height = metrics.tmHeight;
        return true;
    }

    void MeasureGlyph(PIX_IBitmap* surface, PIX_FontHandle font, uint16_t code, int* width, int* height) override {
        SelectedFont selected(surface, font);
        RECT r = {0, 0, 0, 0};
        const wchar_t unit = static_cast<wchar_t>(code);
        if (selected.dc) DrawTextW(selected.dc, &unit, 1, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
        *width = r.right;
        *height = r.bottom;
    }

    void RenderGlyph(PIX_IBitmap* surface, PIX_FontHandle font, uint16_t code, int width, int height) override {
        SelectedFont selected(surface, font);
        if (!selected.dc) return;
        RECT r = {0, 0, width, height};
        const wchar_t unit = static_cast<wchar_t>(code);
        DrawTextW(selected.dc, &unit, 1, &r, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
        GdiFlush();  // the mask is read from the section's bits next
    }

    void DeleteFont(PIX_FontHandle font) override { DeleteObject(static_cast<HGDIOBJ>(font)); }
};
}  // namespace

PIX_GlyphSource* PIX_GdiGlyphSource() {
    static GdiGlyphSource source;
    return &source;
}
