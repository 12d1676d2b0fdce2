#include "raster/png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "raster/pathopen.h"

static_assert(PNG_LIBPNG_VER_MAJOR == 1 && PNG_LIBPNG_VER_MINOR == 6, "libpng 1.6 is required");

namespace {
struct PngMemorySource {
    const unsigned char* next;
    int remaining;
};

// A read that runs past the end of the block is padded with zero bytes, and libpng's own checks
// then raise its error. A read that starts at the end raises it at once: a chunk that claims
// gigabytes would otherwise be skipped zero byte by zero byte.
void PngMemoryReader(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<PngMemorySource*>(png_get_io_ptr(png));
    if (source->remaining <= 0 && count > 0) png_error(png, "read past the end of the data");
    std::memset(out, 0, count);
    size_t n = count < static_cast<size_t>(source->remaining) ? count : static_cast<size_t>(source->remaining);
    std::memcpy(out, source->next, n);
    source->next += n;
    source->remaining -= static_cast<int>(n);
}

// Everything one load owns. It lives in the caller of Decode, so a longjmp back into Decode finds
// the values as they were last stored.
struct PngLoad {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PIX_IBitmap* given = nullptr;  // the caller's bitmap, never deleted here
    PIX_IBitmap* created = nullptr;
    png_bytep* rows = nullptr;
    FILE* file = nullptr;
    bool honourBottomUp = false;
};

void Release(PngLoad& load) {
    if (load.png) png_destroy_read_struct(&load.png, load.info ? &load.info : nullptr, nullptr);
    load.png = nullptr;
    load.info = nullptr;
    if (load.file) std::fclose(load.file);
    load.file = nullptr;
    std::free(load.rows);
    load.rows = nullptr;
}

void Fail(PngLoad& load) {
    Release(load);
    delete load.created;
    load.created = nullptr;
}

// Runs the common decoding on a load whose libpng structures exist and whose input is set.
// Kept free of objects with destructors: libpng leaves it by longjmp on errors.
PIX_IBitmap* Decode(PngLoad& load) {
    if (setjmp(png_jmpbuf(load.png))) {
        Fail(load);
        return nullptr;
    }
    png_structp png = load.png;
    png_infop info = load.info;
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, type = 0, interlace = 0, compression = 0, filter = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &type, &interlace, &compression, &filter);

    int ct = type;
    if (ct == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (ct == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
        ct |= PNG_COLOR_MASK_ALPHA;
    }
    if (depth == 16) png_set_strip_16(png);
    if (depth < 8) png_set_packing(png);
    if (ct == PNG_COLOR_TYPE_GRAY || ct == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (ct & PNG_COLOR_MASK_ALPHA)
        png_set_swap_alpha(png);
    else
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);

    // A header can claim up to 10^12 pixels; refuse absurd sizes before reserving any storage.
    if (static_cast<long long>(width) * height > PIX_PngMaxPixels) {
        Fail(load);
        return nullptr;
    }
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    PIX_IBitmap* target = load.given;
    if (target)
        target->Resize(w, h);
    else
        target = load.created = new (std::nothrow) PIX_MemBitmap(w, h);
    if (!target || target->Width() != w || target->Height() != h || !target->Pixels()) {
        Fail(load);
        return nullptr;
    }

    load.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * h));
    if (!load.rows) {
        Fail(load);
        return nullptr;
    }
    const bool bottomUp = load.honourBottomUp && target->IsBottomUp();
    for (int i = 0; i < h; ++i) {
        const int stored = bottomUp ? h - 1 - i : i;
        load.rows[i] =
            reinterpret_cast<png_bytep>(target->Pixels() + static_cast<intptr_t>(stored) * target->RowSpan());
    }
    png_read_image(png, load.rows);
    png_destroy_read_struct(&load.png, &load.info, nullptr);
    if (load.file) std::fclose(load.file);
    load.file = nullptr;

    // libpng wrote A, R, G, B bytes; make each pixel the word 0xAARRGGBB.
    for (int i = 0; i < h; ++i) {
        unsigned char* p = load.rows[i];
        for (int x = 0; x < w; ++x, p += 4) {
            const uint32_t word = (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
                                  (static_cast<uint32_t>(p[2]) << 8) | p[3];
            std::memcpy(p, &word, 4);
        }
    }
    std::free(load.rows);
    load.rows = nullptr;
    return target;
}

// The ancillary chunks that libpng reads into a buffer of the size the chunk claims; none of them
// changes the pixels decoded here, and a damaged length could claim gigabytes.
const png_byte kSkippedChunks[] = "iCCP\0iTXt\0pCAL\0sCAL\0sPLT\0tEXt\0zTXt";

bool CreateReader(PngLoad& load) {
    load.png = png_create_read_struct("1.6.8", nullptr, nullptr, nullptr);
    if (!load.png) return false;
    png_set_keep_unknown_chunks(load.png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, 7);
    load.info = png_create_info_struct(load.png);
    return load.info != nullptr;
}

const unsigned char kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
}  // namespace

PIX_MemBitmap* PIX_ReadPngMemory(const void* data, int length) {
    if (!data || length < 8 || std::memcmp(data, kSignature, 8) != 0) return nullptr;
    PngMemorySource source = {static_cast<const unsigned char*>(data), length};
    PngLoad load;
    if (!CreateReader(load)) {
        Release(load);
        return nullptr;
    }
    png_set_read_fn(load.png, &source, PngMemoryReader);
    return static_cast<PIX_MemBitmap*>(Decode(load));
}

PIX_IBitmap* PIX_ReadPngFile(const char* path, PIX_IBitmap* into) {
    if (!path) return nullptr;
    PngLoad load;
    load.file = PIX_OpenFileUtf8(path, "rb");
    if (!load.file) return nullptr;
    if (!CreateReader(load)) {
        Release(load);
        return nullptr;
    }
    load.given = into;
    load.honourBottomUp = true;
    png_init_io(load.png, load.file);
    return Decode(load);
}

PIX_IBitmap* PIX_PngLoaderProbe(const char* path, bool checkExtension, PIX_IBitmap* into) {
    if (checkExtension) {
        if (!path) return nullptr;
        // The last '.', '/' or '\\' after the first character starts the extension.
        const char* end = path + std::strlen(path);
        const char* p = end;
        while (p > path + 1 && p[-1] != '.' && p[-1] != '/' && p[-1] != '\\') --p;
        const char* ext = p > path + 1 ? p - 1 : path;
        static const char kPng[] = ".png";
        if (end - ext != 4) return nullptr;
        for (int i = 0; i < 4; ++i) {
            char c = ext[i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != kPng[i]) return nullptr;
        }
    }
    return PIX_ReadPngFile(path, into);
}

const char* PIX_PngLoaderTypes() { return "PNG files (*.PNG)\0*.PNG\0"; }

PIX_ImageLoader* ImageLoaderList = nullptr;

namespace {
PIX_ImageLoader gPngLoader = {PIX_PngLoaderProbe, PIX_PngLoaderTypes, nullptr};

struct RegisterPngLoader {
    RegisterPngLoader() {
        gPngLoader.next = ImageLoaderList;
        ImageLoaderList = &gPngLoader;
    }
} gRegisterPngLoader;
}  // namespace
