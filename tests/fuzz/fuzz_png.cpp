// PNG decoding from memory: any bytes give either null or a bitmap whose every pixel can be read.
#include <cstdint>

#include "fuzz_check.h"
#include "raster/png.h"

namespace {
uint32_t BigEndian(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Headers that claim big images only cost time in pixel storage and the zero rows that follow a
// short input; the size limit itself is checked by the raster tests.
bool ClaimsBigImage(const uint8_t* data, size_t size) {
    if (size < 24) return false;
    return uint64_t(BigEndian(data + 16)) * BigEndian(data + 20) > (1u << 16);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20) || ClaimsBigImage(data, size)) return 0;
    PIX_MemBitmap* bitmap = PIX_ReadPngMemory(data, static_cast<int>(size));
    if (!bitmap) return 0;
    const int w = bitmap->Width(), h = bitmap->Height();
    FUZZ_CHECK(w > 0 && h > 0 && static_cast<long long>(w) * h <= PIX_PngMaxPixels);
    const uint32_t* pixels = bitmap->Pixels();
    uint32_t all = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) all |= pixels[static_cast<long long>(y) * bitmap->RowSpan() + x];
    delete bitmap;
    return static_cast<int>(all & 0);
}
