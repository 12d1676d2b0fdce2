#include "raster/blend.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
inline int Clamp(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
inline int B(uint32_t p) { return static_cast<int>(p & 0xFF); }
inline int G(uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int R(uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int A(uint32_t p) { return static_cast<int>(p >> 24); }
inline uint32_t Pack(int r, int g, int b, int a) {
    return (static_cast<uint32_t>(a & 0xFF) << 24) | (static_cast<uint32_t>(r & 0xFF) << 16) |
           (static_cast<uint32_t>(g & 0xFF) << 8) | static_cast<uint32_t>(b & 0xFF);
}

inline int Dodge(int d, int s, int w) {
    int t = s * w / 256;
    return t < 255 ? Clamp(d * 256 / (256 - t)) : Clamp(d * 256);
}
inline int Multiply(int d, int s, int w) { return ((s * w + (256 - w) * 256) * d) >> 16; }
inline int Overlay(int d, int s, int w) {
    int S = s * w + (256 - w) * 128;
    return Clamp((((32768 - S) * d) / 256 + S) * d >> 15);
}
inline int CopyAt(int d, int s, int w) { return s + (d - s) * (256 - w) / 256; }
}  // namespace

void PIX_PutClamped(uint32_t* pixel, int r, int g, int b, int a) {
    *pixel = Pack(Clamp(r), Clamp(g), Clamp(b), Clamp(a));
}

void PIX_MixOver(uint32_t* pixel, int r, int g, int b, int a) {
    if (a == 0) return;
    if (a == 255) {
        *pixel = Pack(r, g, b, 255);
        return;
    }
    uint32_t d = *pixel;
    int keep = 255 - a;
    *pixel = Pack(r + (R(d) - r) * keep / 256, g + (G(d) - g) * keep / 256, b + (B(d) - b) * keep / 256,
                  std::min(A(d) + a, 255));
}

void PIX_MixAdd(uint32_t* pixel, int r, int g, int b, int a, int w) {
    uint32_t d = *pixel;
    *pixel = Pack(Clamp(R(d) + r * w / 256), Clamp(G(d) + g * w / 256), Clamp(B(d) + b * w / 256),
                  Clamp(A(d) + a * w / 256));
}

void PIX_MixDodge(uint32_t* pixel, int r, int g, int b, int a, int w) {
    uint32_t d = *pixel;
    *pixel = Pack(Dodge(R(d), r, w), Dodge(G(d), g, w), Dodge(B(d), b, w), Dodge(A(d), a, w));
}

void PIX_MixDodgeAlpha(uint32_t* pixel, int r, int g, int b, int a, int w) {
    PIX_MixDodge(pixel, r, g, b, a, w * (a + 1) / 256);
}

void PIX_MixMultiply(uint32_t* pixel, int r, int g, int b, int a, int w) {
    uint32_t d = *pixel;
    *pixel = Pack(Multiply(R(d), r, w), Multiply(G(d), g, w), Multiply(B(d), b, w), Multiply(A(d), a, w));
}

void PIX_MixMultiplyAlpha(uint32_t* pixel, int r, int g, int b, int a, int w) {
    if (a == 0) return;
    PIX_MixMultiply(pixel, r, g, b, a, w * (a + 1) / 256);
}

void PIX_MixOverlay(uint32_t* pixel, int r, int g, int b, int a, int w) {
    uint32_t d = *pixel;
    *pixel = Pack(Overlay(R(d), r, w), Overlay(G(d), g, w), Overlay(B(d), b, w), Overlay(A(d), a, w));
}

void PIX_MixCopy(uint32_t* pixel, int r, int g, int b, int a, int w) {
    uint32_t d = *pixel;
    *pixel = Pack(CopyAt(R(d), r, w), CopyAt(G(d), g, w), CopyAt(B(d), b, w), CopyAt(A(d), a, w));
}

void PIX_MixHsv(uint32_t* pixel, int r, int g, int b, int a, int w) {
    uint32_t d = *pixel;
    int dr = R(d), dg = G(d), db = B(d);
    // Hue wheel of 384 steps: 0 red, 64 yellow, 128 green, 192 cyan, 256 blue, 320 magenta.
    int maximum, base, diff, chroma;
    if (dg > dr) {
        if (dg > db) {
            maximum = dg, base = 128, diff = db - dr, chroma = dg - std::min(db, dr);
        } else {
            maximum = db, base = 256, diff = dr - dg, chroma = db - dr;
        }
    } else if (dr > db) {
        maximum = dr, diff = dg - db, chroma = dr - std::min(dg, db), base = dg < db ? 383 : 0;
    } else {
        maximum = db, base = 256, diff = dr - dg, chroma = db - std::min(dg, dr);
    }
    int hue = base + diff * (PIX_ReciprocalTable[chroma] + 1) / 1024 + w * (r + r / 2 - 192) / 256;
    if (hue < 0)
        hue += 384;
    else if (hue >= 384)
        hue -= 384;
    int sat = Clamp(chroma * PIX_ReciprocalTable[maximum] / 256 + w * (g - 128) / 128);
    int value = Clamp(maximum + w * (b - 128) / 128);
    int low = ((256 - sat) * value / 256) & 0xFF;
    int nr, ng, nb;
    if (hue < 64) {
        nr = value, ng = value * (16384 + sat * (hue - 64)) / 16384, nb = low;
    } else if (hue < 128) {
        nr = (16384 - sat * (hue - 64)) * value / 16384, ng = value, nb = low;
    } else if (hue < 192) {
        nr = low, ng = value, nb = value * (16384 + sat * (hue - 192)) / 16384;
    } else if (hue < 256) {
        nr = low, ng = (16384 - sat * (hue - 192)) * value / 16384, nb = value;
    } else if (hue < 320) {
        nr = value * (16384 + sat * (hue - 320)) / 16384, ng = low, nb = value;
    } else {
        nr = value, ng = low, nb = (16384 - sat * (hue - 320)) * value / 16384;
    }
    *pixel = Pack(nr, ng, nb, a);
}

void PIX_CompositeBitmap(PIX_IBitmap* dest, PIX_IBitmap* src, int x, int y, const PIX_Rect* rect, float alpha,
                         int mode) {
    if (!dest || !src || alpha == 0.0f) return;
    // Window of source columns [sx0, sx1) and rows [sy0, sy1); 64-bit so extreme offsets cannot wrap.
    long long dx = x, dy = y;
    long long sx0 = 0, sy0 = 0, sx1 = src->Width(), sy1 = src->Height();
    if (rect) {
        sx1 = std::min<long long>(rect->right, sx1);
        sy1 = std::min<long long>(rect->bottom, sy1);
        if (rect->left < 0)
            dx -= rect->left;
        else
            sx0 = rect->left;
        if (rect->top < 0)
            dy -= rect->top;
        else
            sy0 = rect->top;
    }
    if (dx < 0) sx0 -= dx;
    if (dy < 0) sy0 -= dy;
    dx = std::max(dx, 0LL);
    dy = std::max(dy, 0LL);
    int destW = dest->Width(), destH = dest->Height();
    if (sx0 >= sx1 || sy0 >= sy1 || dx >= destW || dy >= destH) return;
    sx1 = std::min(sx0 + destW - dx, sx1);
    sy1 = std::min(sy0 + destH - dy, sy1);
    if (sx1 <= sx0 || sy1 <= sy0 || !dest->Pixels() || !src->Pixels()) return;

    const int cols = static_cast<int>(sx1 - sx0), rows = static_cast<int>(sy1 - sy0);
    uint32_t* d = PIX_PixelAt(dest, static_cast<int>(dx), static_cast<int>(dy));
    const uint32_t* s = PIX_PixelAt(src, static_cast<int>(sx0), static_cast<int>(sy0));
    const intptr_t dStep = PIX_RowStep(dest), sStep = PIX_RowStep(src);

    if ((mode & 0xFF) >= PIX_ChannelCopy) {
        const int from = mode & 3, to = (mode >> 2) & 3;
        for (int j = 0; j < rows; ++j, d += dStep, s += sStep)
            for (int i = 0; i < cols; ++i)
                reinterpret_cast<uint8_t*>(d + i)[to] = reinterpret_cast<const uint8_t*>(s + i)[from];
        return;
    }
    mode &= 0x100FF;
    if (mode == PIX_Copy && alpha == 1.0f) {
        for (int j = 0; j < rows; ++j, d += dStep, s += sStep) std::memmove(d, s, static_cast<size_t>(cols) * 4);
        return;
    }
    if (mode == PIX_Copy && alpha == 0.5f) {
        for (int j = 0; j < rows; ++j, d += dStep, s += sStep)
            for (int i = 0; i < cols; ++i) d[i] = PIX_Half(d[i]) + PIX_Half(s[i]);
        return;
    }
    const int w = PIX_AlphaToWeight(alpha);
    if (w == 0) return;
    for (int j = 0; j < rows; ++j, d += dStep, s += sStep) {
        for (int i = 0; i < cols; ++i) {
            uint32_t* p = d + i;
            const uint32_t sp = s[i];
            const int sr = R(sp), sg = G(sp), sb = B(sp), sa = A(sp);
            switch (mode) {
                case PIX_Copy:
                    if (w == 256)
                        *p = sp;
                    else
                        PIX_MixCopy(p, sr, sg, sb, sa, w);
                    break;
                case PIX_Add: PIX_MixAdd(p, sr, sg, sb, sa, w); break;
                case PIX_Dodge: PIX_MixDodge(p, sr, sg, sb, sa, w); break;
                case PIX_Multiply: PIX_MixMultiply(p, sr, sg, sb, sa, w); break;
                case PIX_Overlay: PIX_MixOverlay(p, sr, sg, sb, sa, w); break;
                case PIX_HsvAdjust: PIX_MixHsv(p, sr, sg, sb, sa, w); break;
                case PIX_UseSourceAlpha | PIX_Copy:
                    if (w == 256) {
                        PIX_MixOver(p, sr, sg, sb, sa);
                    } else if (sa != 0) {
                        const int P = w * (sa + 1) / 256;
                        const uint32_t dp = *p;
                        *p = Pack(CopyAt(R(dp), sr, P), CopyAt(G(dp), sg, P), CopyAt(B(dp), sb, P),
                                  std::min(A(dp) + P, 255));
                    }
                    break;
                case PIX_UseSourceAlpha | PIX_Add:
                    if (sa != 0) {
                        const int N = w * (sa + 1) / 256;
                        const uint32_t dp = *p;
                        PIX_PutClamped(p, R(dp) + N * sr / 256, G(dp) + N * sg / 256, B(dp) + N * sb / 256,
                                       A(dp) + sa * N / 256);
                    }
                    break;
                case PIX_UseSourceAlpha | PIX_Dodge: PIX_MixDodgeAlpha(p, sr, sg, sb, sa, w); break;
                case PIX_UseSourceAlpha | PIX_Multiply: PIX_MixMultiplyAlpha(p, sr, sg, sb, sa, w); break;
                case PIX_UseSourceAlpha | PIX_Overlay: PIX_MixOverlay(p, sr, sg, sb, sa, w * (sa + 1) / 256); break;
                case PIX_UseSourceAlpha | PIX_HsvAdjust: PIX_MixHsv(p, sr, sg, sb, sa, w * (sa + 1) / 256); break;
                default: return;
            }
        }
    }
}

void PIX_FillArea(PIX_IBitmap* bitmap, int x, int y, int w, int h, uint32_t colour, float alpha, int mode) {
    if (!bitmap) return;
    if (mode & PIX_UseSourceAlpha) alpha = alpha * (static_cast<float>(colour >> 24) / 255.0f);
    if (alpha == 0.0f || !bitmap->Pixels() || bitmap->RowSpan() == 0) return;
    long long cw = w, ch = h;
    if (x < 0) cw += x;
    if (y < 0) ch += y;
    if (cw < 1 || ch < 1) return;
    x = std::max(x, 0);
    y = std::max(y, 0);
    const int width = bitmap->Width(), height = bitmap->Height();
    if (x >= width || y >= height) return;
    const int rows = static_cast<int>(std::min<long long>(height - y, ch));
    const int cols = static_cast<int>(std::min<long long>(width - x, cw));
    // Rows are independent, so a bottom-up bitmap is filled over the same stored rows in any order.
    const int firstRow = bitmap->IsBottomUp() ? height - y - rows : y;
    uint32_t* row = bitmap->Pixels() + static_cast<intptr_t>(firstRow) * bitmap->RowSpan() + x;
    const intptr_t span = bitmap->RowSpan();

    const int o = PIX_AlphaToWeight(alpha);
    const int low = mode & 0xFF;
    if (low == PIX_Copy && (o == 256 || o == 128 || o == 64 || o == 192)) {
        for (int j = 0; j < rows; ++j, row += span) {
            for (int i = 0; i < cols; ++i) {
                uint32_t& p = row[i];
                switch (o) {
                    case 256: p = colour; break;
                    case 128: p = PIX_Half(colour) + PIX_Half(p); break;
                    case 64: p = PIX_Half(p) + PIX_Quarter(colour) + PIX_Quarter(p); break;
                    default: p = PIX_Quarter(colour) + PIX_Quarter(p) + PIX_Half(colour); break;
                }
            }
        }
        return;
    }
    if (low > PIX_HsvAdjust || o == 0) return;
    const int r = R(colour), g = G(colour), b = B(colour);
    for (int j = 0; j < rows; ++j, row += span) {
        for (int i = 0; i < cols; ++i) {
            uint32_t* p = row + i;
            switch (low) {
                case PIX_Copy: PIX_MixCopy(p, r, g, b, o, o); break;
                case PIX_Add: PIX_MixAdd(p, r, g, b, o, o); break;
                case PIX_Dodge: PIX_MixDodge(p, r, g, b, o, o); break;
                case PIX_Multiply: PIX_MixMultiply(p, r, g, b, o, o); break;
                case PIX_Overlay: PIX_MixOverlay(p, r, g, b, o, o); break;
                default: PIX_MixHsv(p, r, g, b, o, o); break;
            }
        }
    }
}

void PIX_SoftenBitmap(PIX_IBitmap* bitmap, int w, int h) {
    if (!bitmap || !bitmap->Pixels()) return;
    w = std::min(w, bitmap->Width());
    h = std::min(h, bitmap->Height());
    if (w < 2 || h < 2) return;

    // Saved copies of the last two rows, so an interior row reads the row above as it was.
    uint32_t stackRows[2 * 1024];
    uint32_t* saved = w <= 1024 ? stackRows : static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * 2 * w));
    const intptr_t step = PIX_RowStep(bitmap);
    uint32_t* row = PIX_PixelAt(bitmap, 0, 0);
    for (int i = 0; i < h; ++i, row += step) {
        const bool first = i == 0, last = i == h - 1;
        const uint32_t* above = nullptr;
        if (!first) above = saved && !last ? saved + ((i - 1) & 1) * w : row - step;
        const uint32_t* below = last ? nullptr : row + step;
        if (saved) std::memcpy(saved + (i & 1) * w, row, sizeof(uint32_t) * w);

        uint32_t left = 0;
        for (int j = 0; j < w; ++j) {
            const uint32_t centre = row[j];
            uint32_t out = PIX_Half(centre);
            const bool firstCol = j == 0, lastCol = j == w - 1;
            // An edge row or column gives its one neighbour a quarter, others two an eighth each.
            if (first || last)
                out += PIX_Quarter(first ? below[j] : above[j]);
            else
                out += PIX_Eighth(above[j]) + PIX_Eighth(below[j]);
            if (firstCol)
                out += PIX_Quarter(row[j + 1]);
            else if (lastCol)
                out += PIX_Quarter(left);
            else
                out += PIX_Eighth(left) + PIX_Eighth(row[j + 1]);
            left = centre;
            row[j] = out;
        }
    }
    if (saved != stackRows) std::free(saved);
}
