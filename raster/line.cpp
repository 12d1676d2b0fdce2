#include "raster/line.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <algorithm>

#include "raster/blend.h"

namespace {
inline int Outcode(int x, int y, int width, int height) {
    return (x < 0 ? 1 : 0) | (x >= width ? 2 : 0) | (y < 0 ? 4 : 0) | (y >= height ? 8 : 0);
}

// The clipped point lies between the endpoints, so it fits an int; the limit only guards the cast.
inline int AddTruncated(int base, double offset) {
    double v = static_cast<double>(base) + std::trunc(offset);
    return v <= INT_MIN ? INT_MIN : (v >= INT_MAX ? INT_MAX : static_cast<int>(v));
}

inline int Channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// The per-pixel operation of a blend mode (low byte 0..5) with colour c at weight v.
void Apply(int mode, uint32_t* p, uint32_t c, int v) {
    const int r = Channel(c, 16), g = Channel(c, 8), b = Channel(c, 0), a = Channel(c, 24);
    switch (mode) {
        case PIX_Copy: PIX_MixCopy(p, r, g, b, a, v); break;
        case PIX_Add: PIX_MixAdd(p, r, g, b, a, v); break;
        case PIX_Dodge: PIX_MixDodge(p, r, g, b, a, v); break;
        case PIX_Multiply: PIX_MixMultiply(p, r, g, b, a, v); break;
        case PIX_Overlay: PIX_MixOverlay(p, r, g, b, a, v); break;
        default: PIX_MixHsv(p, r, g, b, a, v); break;
    }
}

// Per-byte (c + d) >> 1.
inline uint32_t Average(uint32_t c, uint32_t d) { return (c & d) + ((c ^ d) >> 1 & 0x7F7F7F7Fu); }
inline uint32_t ThreeQuarters(uint32_t c, uint32_t d) { return PIX_Half(c) + PIX_Quarter(c) + PIX_Quarter(d); }
inline uint32_t OneQuarter(uint32_t c, uint32_t d) { return PIX_Quarter(c) + PIX_Quarter(d) + PIX_Half(d); }

// Mode 0 at weight w without antialiasing: whole colour at 256, the average at 128, else a copy.
inline void CopyPlain(uint32_t* p, uint32_t c, int w) {
    if (w == 256)
        *p = c;
    else if (w == 128)
        *p = Average(c, *p);
    else if (w > 0)
        Apply(PIX_Copy, p, c, w);
}

template <class Op>
void WalkSpan(uint32_t* s, uint32_t* e, int slope, int major, int length, int minor, int w, bool antialias, Op op) {
    const int count = (length + 1) / 2;
    if (!antialias) {
        int err = 0;
        for (int i = 0; i < count; ++i) {
            op(s, w);
            op(e, w);
            err += slope;
            if (err >= 0x8000) {
                s += minor;
                e -= minor;
                err -= 0x10000;
            }
            s += major;
            e -= major;
        }
        if (length % 2 == 0) op(s, w);
        return;
    }
    auto scaled = [w](int v) { return w == 256 ? v : v * w >> 8; };
    op(s, w);
    op(e, w);
    s += major;
    e -= major;
    int err = slope;
    for (int i = 1; i < count; ++i) {
        const int f = err >> 8;
        op(s, scaled(255 - f));
        op(s + minor, scaled(f));
        op(e, scaled(255 - f));
        op(e - minor, scaled(f));
        err += slope;
        if (err >= 0x10000) {
            s += minor;
            e -= minor;
            err -= 0x10000;
        }
        s += major;
        e -= major;
    }
    if (length % 2 == 0) {
        const int f = err >> 8;
        op(s, scaled(255 - f));
        op(s + minor, scaled(f));
    }
}

template <class Op>
void WalkDiagonal(uint32_t* p, int n, int xStep, int rowStep, int u, int v, Op op) {
    for (int i = 0; i < n; ++i, p += xStep + rowStep) {
        op(p, u);
        op(p + xStep, v);
        op(p + rowStep, v);
    }
    op(p, u);
}

void DrawRun(uint32_t* p, int count, intptr_t step, uint32_t c, float alpha, int mode, int w) {
    if (mode == PIX_Copy && (alpha == 1.0f || alpha == 0.5f || alpha == 0.25f || alpha == 0.75f)) {
        for (int i = 0; i < count; ++i, p += step) {
            if (alpha == 1.0f)
                *p = c;
            else if (alpha == 0.5f)
                *p = PIX_Half(c) + PIX_Half(*p);
            else if (alpha == 0.25f)
                *p = OneQuarter(c, *p);
            else
                *p = ThreeQuarters(c, *p);
        }
        return;
    }
    if (mode > PIX_HsvAdjust || w == 0) return;
    for (int i = 0; i < count; ++i, p += step) {
        if (mode == PIX_Copy)
            CopyPlain(p, c, w);
        else
            Apply(mode, p, c, w);
    }
}

void DrawDiagonal(uint32_t* p, int n, int xStep, int rowStep, uint32_t c, float alpha, int mode, int w,
                  bool antialias) {
    if (mode == PIX_Copy && alpha == 1.0f) {
        if (antialias) {
            // Three quarters of the colour on the line, a quarter on the two neighbours.
            WalkDiagonal(p, n, xStep, rowStep, 3, 1, [c](uint32_t* q, int quarters) {
                *q = quarters == 3 ? ThreeQuarters(c, *q) : OneQuarter(c, *q);
            });
        } else {
            for (int i = 0; i <= n; ++i, p += xStep + rowStep) *p = c;
        }
        return;
    }
    if (w == 0 || mode > PIX_HsvAdjust) return;
    if (!antialias) {
        for (int i = 0; i <= n; ++i, p += xStep + rowStep) {
            if (mode == PIX_Copy)
                CopyPlain(p, c, w);
            else
                Apply(mode, p, c, w);
        }
    } else if (mode == PIX_Copy) {
        PIX_DiagonalCopy(p, n, xStep, rowStep, c, w);
    } else if (mode == PIX_Multiply) {
        PIX_DiagonalMultiply(p, n, xStep, rowStep, c, w);
    } else {
        WalkDiagonal(p, n, xStep, rowStep, w * 3 / 4, w / 4, [mode, c](uint32_t* q, int v) { Apply(mode, q, c, v); });
    }
}
}  // namespace

bool PIX_ClipSegment(int* x1, int* y1, int* x2, int* y2, int width, int height) {
    int code1 = Outcode(*x1, *y1, width, height);
    int code2 = Outcode(*x2, *y2, width, height);
    while (code1 | code2) {
        if (code1 & code2) return false;
        const int code = code1 ? code1 : code2;
        const double dx = static_cast<double>(*x2) - *x1, dy = static_cast<double>(*y2) - *y1;
        int x, y;
        if (code & 8) {
            x = AddTruncated(*x1, (static_cast<double>(height) - *y1) * dx / dy);
            y = height - 1;
        } else if (code & 4) {
            x = AddTruncated(*x1, -(static_cast<double>(*y1) * dx / dy));
            y = 0;
        } else if (code & 2) {
            y = AddTruncated(*y1, (static_cast<double>(width) - *x1) * dy / dx);
            x = width - 1;
        } else {
            y = AddTruncated(*y1, -(static_cast<double>(*x1) * dy / dx));
            x = 0;
        }
        if (code == code1) {
            *x1 = x, *y1 = y;
            code1 = Outcode(x, y, width, height);
        } else {
            *x2 = x, *y2 = y;
            code2 = Outcode(x, y, width, height);
        }
    }
    return true;
}

void PIX_DrawSegment(PIX_IBitmap* bitmap, int x1, int y1, int x2, int y2, uint32_t colour, float alpha, int mode,
                     bool antialias) {
    if (!bitmap) return;
    const int height = bitmap->Height();
    if (bitmap->IsBottomUp()) {
        y1 = height - 1 - y1;
        y2 = height - 1 - y2;
    }
    if (!PIX_ClipSegment(&x1, &y1, &x2, &y2, bitmap->Width(), height) || !bitmap->Pixels()) return;
    const int w = PIX_AlphaToWeight(alpha);
    mode &= 0xFF;
    // Rows are stored rows from here on.
    uint32_t* const base = bitmap->Pixels();
    const int span = bitmap->RowSpan();
    auto at = [base, span](int x, int y) { return base + static_cast<intptr_t>(y) * span + x; };

    if (y1 == y2) {
        DrawRun(at(std::min(x1, x2), y1), std::abs(x2 - x1) + 1, 1, colour, alpha, mode, w);
        return;
    }
    if (x1 == x2) {
        DrawRun(at(x1, std::min(y1, y2)), std::abs(y2 - y1) + 1, span, colour, alpha, mode, w);
        return;
    }
    const int dx = x2 - x1, dy = y2 - y1;
    if (std::abs(dx) == std::abs(dy)) {
        DrawDiagonal(at(x1, y1), std::abs(dx), dx > 0 ? 1 : -1, dy > 0 ? span : -span, colour, alpha, mode, w,
                     antialias);
        return;
    }
    if (w == 0 || mode > PIX_HsvAdjust) return;
    const bool xMajor = std::abs(dy) < std::abs(dx);
    // Start at the endpoint with the smaller major coordinate.
    const bool swap = xMajor ? x2 < x1 : y2 < y1;
    if (swap) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int length = xMajor ? x2 - x1 : y2 - y1;
    const int minorDelta = xMajor ? y2 - y1 : x2 - x1;
    const int majorStep = xMajor ? 1 : span;
    const int minorStep = xMajor ? (minorDelta > 0 ? span : -span) : (minorDelta > 0 ? 1 : -1);
    const int slope = static_cast<int>(std::abs(minorDelta) / static_cast<double>(length) * 65536.0);
    uint32_t* s = at(x1, y1);
    uint32_t* e = at(x2, y2);
    switch (mode) {
        case PIX_Copy:
            if (antialias || (w != 256 && w != 128))
                PIX_SpanCopy(s, e, slope, majorStep, length, minorStep, colour, w, antialias);
            else if (w == 256)
                PIX_SpanSolid(s, e, slope, majorStep, length, minorStep, colour, w, antialias);
            else
                PIX_SpanHalf(s, e, slope, majorStep, length, minorStep, colour, w, antialias);
            break;
        case PIX_Add: PIX_SpanAdd(s, e, slope, majorStep, length, minorStep, colour, w, antialias); break;
        case PIX_Dodge: PIX_SpanDodge(s, e, slope, majorStep, length, minorStep, colour, w, antialias); break;
        case PIX_Multiply: PIX_SpanMultiply(s, e, slope, majorStep, length, minorStep, colour, w, antialias); break;
        case PIX_Overlay: PIX_SpanOverlay(s, e, slope, majorStep, length, minorStep, colour, w, antialias); break;
        default: PIX_SpanHsv(s, e, slope, majorStep, length, minorStep, colour, w, antialias); break;
    }
}

#define PIX_SPAN(name, op)                                                                                             \
    void name(uint32_t* start, uint32_t* end, int slope, int majorStep, int length, int minorStep, uint32_t colour,    \
              int w, bool antialias) {                                                                                 \
        WalkSpan(start, end, slope, majorStep, length, minorStep, w, antialias, [colour](uint32_t* p, int v) { op; }); \
    }
PIX_SPAN(PIX_SpanCopy, Apply(PIX_Copy, p, colour, v))
PIX_SPAN(PIX_SpanSolid, (void)v; *p = colour)
PIX_SPAN(PIX_SpanHalf, (void)v; *p = Average(colour, *p))
PIX_SPAN(PIX_SpanAdd, Apply(PIX_Add, p, colour, v))
PIX_SPAN(PIX_SpanDodge, Apply(PIX_Dodge, p, colour, v))
PIX_SPAN(PIX_SpanMultiply, Apply(PIX_Multiply, p, colour, v))
PIX_SPAN(PIX_SpanOverlay, Apply(PIX_Overlay, p, colour, v))
PIX_SPAN(PIX_SpanHsv, Apply(PIX_HsvAdjust, p, colour, v))
#undef PIX_SPAN

void PIX_DiagonalCopy(uint32_t* pixel, int n, int xStep, int rowStep, uint32_t colour, int w) {
    WalkDiagonal(pixel, n, xStep, rowStep, w * 3 / 4, w / 4,
                 [colour](uint32_t* p, int v) { Apply(PIX_Copy, p, colour, v); });
}

void PIX_DiagonalMultiply(uint32_t* pixel, int n, int xStep, int rowStep, uint32_t colour, int w) {
    WalkDiagonal(pixel, n, xStep, rowStep, w * 3 / 4, w / 4,
                 [colour](uint32_t* p, int v) { Apply(PIX_Multiply, p, colour, v); });
}
