#include "raster/nativetext.h"

#ifdef _WIN64
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "raster/blend.h"
#include "raster/sysbitmap.h"

int WineProbeState = -1;

bool PIX_RunningUnderWine() {
    if (WineProbeState == -1) {
        HKEY key = nullptr;
        WineProbeState = RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) == ERROR_SUCCESS ? 1 : 0;
        if (WineProbeState == 1) RegCloseKey(key);
    }
    return WineProbeState != 0;
}

namespace {
inline COLORREF ToColorRef(uint32_t argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

bool Cont(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

// True when the text holds a multi-byte UTF-8 sequence (scanned up to the NUL or length bytes).
bool HasMultiByte(const unsigned char* p, int length) {
    for (int i = 0; p[i] && (length < 0 || i < length); ++i) {
        if (p[i] >= 0xC2 && p[i] <= 0xDF && Cont(p[i + 1])) return true;
        if (p[i] >= 0xE0 && p[i] <= 0xF4 && Cont(p[i + 1]) && Cont(p[i + 2])) return true;
    }
    return false;
}

// The text as DrawText takes it: UTF-16 when it holds multi-byte sequences and converts,
// else the bytes as they are.
class NativeText {
public:
    NativeText(const char* text, int length) : bytes(text), byteLength(length) {
        if (!HasMultiByte(reinterpret_cast<const unsigned char*>(text), length)) return;
        const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
        wchar_t* target = stackUnits;
        int room = 1023;
        if (n >= 1000) {
            heapUnits = static_cast<wchar_t*>(std::malloc(sizeof(wchar_t) * (static_cast<size_t>(n) + 32)));
            if (!heapUnits) return;
            target = heapUnits;
            room = n + 1;
        }
        const int converted = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, target, room);
        if (converted == 0) return;
        target[converted] = 0;
        units = target;
    }
    ~NativeText() { std::free(heapUnits); }
    NativeText(const NativeText&) = delete;
    NativeText& operator=(const NativeText&) = delete;

    int Draw(HDC dc, RECT* r, int flags) const {
        return units ? DrawTextW(dc, units, -1, r, static_cast<UINT>(flags))
                     : DrawTextA(dc, bytes, byteLength, r, static_cast<UINT>(flags));
    }

private:
    const char* bytes;
    int byteLength;
    const wchar_t* units = nullptr;
    wchar_t* heapUnits = nullptr;
    wchar_t stackUnits[1024];
};

void SetColours(HDC dc, PIX_CachedFont& font) {
    SetTextColor(dc, ToColorRef(font.GetForeColor()));
    SetBkMode(dc, font.GetBackMode());
    if (font.GetBackMode() == 2) SetBkColor(dc, ToColorRef(font.GetBackColor()));
}

constexpr int kAlignFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;
}  // namespace

int PIX_NativeDrawString(PIX_CachedFont& font, PIX_IBitmap* bitmap, const char* text, int length, PIX_Rect* rect,
                         int flags) {
    static_assert(sizeof(RECT) == sizeof(PIX_Rect), "PIX_Rect has the layout of RECT");
    NativeText native(text, length);
    // GDI has no meaning for the font's own bit.
    flags &= ~TextForeAlpha;
    HGDIOBJ font_handle = static_cast<HGDIOBJ>(font.GetHandle());
    HDC dc = bitmap ? static_cast<HDC>(bitmap->DeviceContext()) : nullptr;
    HGDIOBJ previous = nullptr;
    int result = 0;

    if (dc) {
        previous = SelectObject(dc, font_handle);
        SetColours(dc, font);
        RECT r = {rect->left, rect->top, rect->right, rect->bottom};
        result = native.Draw(dc, &r, flags | DT_NOPREFIX);
        GdiFlush();
        if (flags & DT_CALCRECT) *rect = PIX_Rect{r.left, r.top, r.right, r.bottom};
    } else {
        if (!NativeTextSurface) NativeTextSurface = new PIX_SysBitmap(0, 0);
        PIX_IBitmap* surface = NativeTextSurface;
        if (surface->Width() < 4 || surface->Height() < 4) surface->Resize(4, 4);
        dc = static_cast<HDC>(surface->DeviceContext());
        if (!dc) return 0;
        previous = SelectObject(dc, font_handle);
        RECT measured = {0, 0, 0, 0};
        result = native.Draw(dc, &measured, (flags & ~kAlignFlags) | DT_CALCRECT | DT_NOPREFIX);
        if (flags & DT_CALCRECT) {
            rect->right = rect->left + (measured.right - measured.left);
            rect->bottom = rect->top + (measured.bottom - measured.top);
        } else {
            const int w = measured.right, h = measured.bottom;
            int x = (flags & DT_RIGHT)    ? rect->right - w
                    : (flags & DT_CENTER) ? (rect->left + rect->right - w) / 2
                                          : rect->left;
            int y = (flags & DT_BOTTOM)    ? rect->bottom - h
                    : (flags & DT_VCENTER) ? (rect->top + rect->bottom - h) / 2
                                           : rect->top;
            int x2 = std::min(x + w, bitmap->Width()), y2 = std::min(y + h, bitmap->Height());
            int clipLeft = 0, clipTop = 0;
            if (!(flags & DT_NOCLIP)) {
                x2 = std::min(x2, static_cast<int>(rect->right));
                y2 = std::min(y2, static_cast<int>(rect->bottom));
                clipLeft = std::max(static_cast<int>(rect->left), 0);
                clipTop = std::max(static_cast<int>(rect->top), 0);
            }
            int dx = 0, dy = 0;
            if (x < clipLeft) dx = x - clipLeft, x = clipLeft;
            if (y < clipTop) dy = y - clipTop, y = clipTop;
            if (y2 > y && x2 > x) {
                flags &= ~(kAlignFlags | DT_NOCLIP);
                if (surface->Width() < x2 - x || surface->Height() < y2 - y) {
                    SelectObject(dc, previous);
                    surface->Resize(x2 - x, y2 - y);
                    dc = static_cast<HDC>(surface->DeviceContext());
                    previous = SelectObject(dc, font_handle);
                }
                const PIX_Rect under = {x, y, x2, y2};
                PIX_CompositeBitmap(surface, bitmap, 0, 0, &under, 1.0f, PIX_Copy);
                SetColours(dc, font);
                RECT r = {dx, dy, x2, y2};
                result = native.Draw(dc, &r, flags | DT_NOPREFIX);
                GdiFlush();
                const PIX_Rect back = {0, 0, x2 - x, y2 - y};
                PIX_CompositeBitmap(bitmap, surface, x, y, &back, font.GetAlpha(), PIX_Copy);
            }
        }
    }
    if (previous) SelectObject(dc, previous);
    return result;
}
#endif
