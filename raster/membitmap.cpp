#include <climits>
#include <cstdlib>

#include "raster/bitmap.h"

namespace {
// Pixel bytes for w x h with the span rounded up to 4 pixels, or -1 when the count would not fit
// an int together with the 63 bytes of alignment slack (such a request fails like a refused
// allocation instead of wrapping to a small block).
long long PixelBytes(int w, int h) {
    long long bytes = ((static_cast<long long>(w) + 3) & ~3LL) * h * 4;
    return bytes > INT_MAX - 63 ? -1 : bytes;
}
}  // namespace

PIX_MemBitmap::PIX_MemBitmap(int w, int h) {
    if (w <= 0 || h <= 0) return;
    long long needed = PixelBytes(w, h);
    if (needed > 0) {
        allocated = static_cast<int>(needed);
        buffer = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(needed) + 63));
    }
    if (buffer) {
        width = w;
        height = h;
    }
}

PIX_MemBitmap::~PIX_MemBitmap() { std::free(buffer); }

uint32_t* PIX_MemBitmap::Pixels() {
    if (!buffer) return nullptr;
    uintptr_t aligned = (reinterpret_cast<uintptr_t>(buffer) + 63) & ~static_cast<uintptr_t>(63);
    return reinterpret_cast<uint32_t*>(aligned);
}

bool PIX_MemBitmap::Resize(int w, int h) {
    if (w == width && h == height) return false;
    width = w;
    height = h;
    long long needed = w > 0 && h > 0 ? PixelBytes(w, h) : -1;
    if (needed > 0) {
        if (!buffer) {
            allocated = static_cast<int>(needed);
            buffer = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(needed) + 63));
        } else if (allocated < needed) {
            // A quarter more, unless that would pass the size limit.
            long long grown = needed / 4 * 5;
            allocated = static_cast<int>(grown <= INT_MAX - 63 ? grown : needed);
            void* moved = std::realloc(buffer, static_cast<size_t>(allocated) + 63);
            if (moved) {
                buffer = static_cast<unsigned char*>(moved);
            } else {
                std::free(buffer);
                allocated = static_cast<int>(needed);
                buffer = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(needed) + 63));
            }
        }
    } else {
        std::free(buffer);
        buffer = nullptr;
        allocated = 0;
    }
    if (!buffer) {
        width = 0;
        height = 0;
    }
    return true;
}
