#pragma once
// The small records the GUI framework shares: rectangles, colours, blends, text styles, image
// strips, auxiliary parameter bindings and the modifier keys of a mouse event.
#include <cstdint>

class PIX_IBitmap;
class PIX_CachedFont;

// Rectangle in client pixels; right and bottom exclusive. Empty means all four are 0.
struct IBounds {
    int32_t L = 0, T = 0, R = 0, B = 0;

    bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
    bool Contains(int x, int y) const { return x >= L && x < R && y >= T && y < B; }
    int W() const { return R - L; }
    int H() const { return B - T; }
    bool operator==(const IBounds& o) const { return L == o.L && T == o.T && R == o.R && B == o.B; }
};

// Overlap test of painting: the right and bottom edges count as touching.
inline bool BoundsTouch(const IBounds& a, const IBounds& b) {
    return a.R >= b.L && a.L < b.R && a.B >= b.T && a.T < b.B;
}
// Empty when either is empty or they do not touch; otherwise the common part (possibly 0 wide).
IBounds IntersectBounds(const IBounds& a, const IBounds& b);
// The smallest rectangle holding both; an empty operand is ignored.
IBounds UnionBounds(const IBounds& a, const IBounds& b);

struct IArgb {
    int32_t A = 255, R = 0, G = 0, B = 0;

    uint32_t Packed() const {
        return (static_cast<uint32_t>(A) << 24) | (static_cast<uint32_t>(R & 255) << 16) |
               (static_cast<uint32_t>(G & 255) << 8) | static_cast<uint32_t>(B & 255);
    }
};

// How a control is composited: method 1 opaque copy, 2 add, 3 dodge, else copy by source alpha.
struct IBlend {
    int32_t method = 0;
    float weight = 1.0f;
};
// The blit mode word for a blend (null: copy weighted by source alpha).
int BlendModeWord(const IBlend* blend);
inline float BlendAlpha(const IBlend* blend) { return blend ? blend->weight : 1.0f; }

constexpr int kFaceSize = 32;

struct ITextStyle {
    char face[kFaceSize] = "Arial";
    int32_t size = 12;
    IArgb colour{255, 0, 0, 0};
    IArgb entryBackground{255, 255, 255, 255};
    IArgb entryForeground{255, 0, 0, 0};
    int32_t style = 0;                     // 0 normal, 1 bold, 2 italic
    int32_t align = 1;                     // 0 left, 1 centre, 2 right
    int32_t orientation = 0;               // degrees
    int32_t quality = 0;                   // 0 default, 1 non-antialiased, 2 antialiased, 3 ClearType
    PIX_CachedFont* cachedFont = nullptr;  // found in the font cache; not owned
};

// An image used as one or more frames; the bitmap belongs to the process-wide bitmap cache.
struct IBitmapStrip {
    PIX_IBitmap* bitmap = nullptr;
    int width = 0, height = 0;
    int frames = 1;
    bool horizontal = false;

    int FrameWidth() const { return horizontal && frames > 0 ? width / frames : width; }
    int FrameHeight() const { return !horizontal && frames > 0 ? height / frames : height; }
};

// The rectangle of one frame of strip with its top-left corner at (x, y).
inline IBounds StripFrameBounds(int x, int y, const IBitmapStrip& strip) {
    return {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()};
}

struct IAuxParam {
    double value;
    int paramIdx;
};

struct IMouseKeys {
    bool L = false, R = false, S = false, C = false, A = false;
};
