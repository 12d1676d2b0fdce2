#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "raster/png.h"
#include "tests/raster/testbitmaps.h"

// Test images and the pixels Pillow decodes from them, written by make_png_cases.py into
// pngcases/ beside the test program's working directory.
namespace {
std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::string Case(const std::string& name, const char* ext = ".png") { return "pngcases/" + name + ext; }

struct Expected {
    int width = 0, height = 0;
    std::vector<uint32_t> words;
};

Expected ReadExpected(const std::string& name) {
    std::vector<unsigned char> raw = ReadFile(Case(name, ".argb"));
    Expected e;
    if (raw.size() < 8) return e;
    uint32_t header[2];
    std::memcpy(header, raw.data(), 8);
    e.width = static_cast<int>(header[0]);
    e.height = static_cast<int>(header[1]);
    e.words.resize((raw.size() - 8) / 4);
    std::memcpy(e.words.data(), raw.data() + 8, e.words.size() * 4);
    return e;
}

const char* const kDecodable[] = {"rgb8",   "rgba8",        "gray8",      "grayalpha8", "gray1",
                                  "gray2",  "gray4",        "gray16",     "graya16",    "rgb16",
                                  "rgba16", "palette8",     "palette4",   "palette_trns",
                                  "gray8_trns", "rgb8_trns", "wide1x300"};
const char* const kBad[] = {"bad_crc",  "bad_huge",  "bad_large",     "bad_overlimit",
                            "bad_zero", "bad_depth", "bad_short_rows"};

TEST(PngMemory, DecodesLikePillow) {
    for (const char* name : kDecodable) {
        Expected e = ReadExpected(name);
        ASSERT_FALSE(e.words.empty()) << name << ": run make_png_cases.py";
        std::vector<unsigned char> png = ReadFile(Case(name));
        std::unique_ptr<PIX_MemBitmap> b(PIX_ReadPngMemory(png.data(), static_cast<int>(png.size())));
        ASSERT_NE(b, nullptr) << name;
        ASSERT_EQ(b->Width(), e.width) << name;
        ASSERT_EQ(b->Height(), e.height) << name;
        EXPECT_EQ(Snapshot(*b), e.words) << name;
    }
}

TEST(PngMemory, RefusesShortWrongAndDamagedData) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_EQ(PIX_ReadPngMemory(signature, 7), nullptr);
    EXPECT_EQ(PIX_ReadPngMemory(signature, 8), nullptr);  // libpng reads zeros past the end
    EXPECT_EQ(PIX_ReadPngMemory(signature, -1), nullptr);
    EXPECT_EQ(PIX_ReadPngMemory(nullptr, 100), nullptr);
    std::vector<unsigned char> png = ReadFile(Case("rgb8"));
    png[0] = 0x88;
    EXPECT_EQ(PIX_ReadPngMemory(png.data(), static_cast<int>(png.size())), nullptr);
    for (const char* name : kBad) {
        std::vector<unsigned char> bad = ReadFile(Case(name));
        ASSERT_GT(bad.size(), 8u) << name;
        EXPECT_EQ(PIX_ReadPngMemory(bad.data(), static_cast<int>(bad.size())), nullptr) << name;
    }
}

// Every truncation and a byte flipped at every position must fail or give a bitmap of the
// header's size; the sanitizers check that nothing is read or written out of bounds or leaked.
TEST(PngMemory, TruncatedAndCorruptedDataFailCleanly) {
    for (const char* name : {"rgba8", "palette_trns", "gray2", "rgb16"}) {
        std::vector<unsigned char> png = ReadFile(Case(name));
        Expected e = ReadExpected(name);
        for (size_t n = 0; n < png.size(); ++n) {
            std::vector<unsigned char> cut(png.begin(), png.begin() + n);  // exact-size block
            std::unique_ptr<PIX_MemBitmap> b(PIX_ReadPngMemory(cut.data(), static_cast<int>(n)));
            // Only the trailing chunk may be missing: the rows are complete without it.
            if (b) {
                EXPECT_GE(n, png.size() - 12) << name << " cut at " << n;
            }
        }
        for (size_t i = 8; i < png.size(); ++i) {
            std::vector<unsigned char> flipped = png;
            flipped[i] ^= 0xA5;
            std::unique_ptr<PIX_MemBitmap> b(PIX_ReadPngMemory(flipped.data(), static_cast<int>(flipped.size())));
            if (b) {
                EXPECT_EQ(b->Width() * b->Height(), e.width * e.height) << name << " at " << i;
            }
        }
    }
}

TEST(PngFile, NewBitmapOrTheGivenOne) {
    Expected e = ReadExpected("palette_trns");
    std::unique_ptr<PIX_IBitmap> b(PIX_ReadPngFile(Case("palette_trns").c_str(), nullptr));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Snapshot(*b), e.words);

    PIX_MemBitmap given(3, 40);
    EXPECT_EQ(PIX_ReadPngFile(Case("palette_trns").c_str(), &given), &given);
    EXPECT_EQ(given.Width(), e.width);
    EXPECT_EQ(Snapshot(given), e.words);

    // A bottom-up target receives the same image.
    BottomUpBitmap up(1, 1);
    EXPECT_EQ(PIX_ReadPngFile(Case("palette_trns").c_str(), &up), &up);
    EXPECT_EQ(Snapshot(up), e.words);

    EXPECT_EQ(PIX_ReadPngFile("pngcases/no-such-file.png", nullptr), nullptr);
    EXPECT_EQ(PIX_ReadPngFile("pngcases/bad_crc.png", nullptr), nullptr);
    EXPECT_EQ(PIX_ReadPngFile("pngcases/bad_huge.png", &given), nullptr);  // stays the caller's
    EXPECT_EQ(PIX_ReadPngFile("pngcases/bad_short_rows.png", &given), nullptr);
}

TEST(PngLoader, ExtensionProbeAndRegistration) {
    // The same file under an upper-case extension, so the probe's case rule is checked on a real
    // load, and without an extension, loaded only when the check is off.
    const std::vector<unsigned char> bytes = ReadFile(Case("rgb8"));
    for (std::string path : {"pngcases/copy of rgb8.PNG", "pngcases/rgb8-noext"}) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        const bool hasExtension = path.back() == 'G';
        std::unique_ptr<PIX_IBitmap> b(PIX_PngLoaderProbe(path.c_str(), true, nullptr));
        EXPECT_EQ(b != nullptr, hasExtension) << path;
        b.reset(PIX_PngLoaderProbe(path.c_str(), false, nullptr));
        EXPECT_NE(b, nullptr) << path;
        std::remove(path.c_str());
    }
    for (const char* path : {"image.png.bak", "png", "dir.png/file", "", "a\\b.pn", "x.pngx", ".png"})
        EXPECT_EQ(PIX_PngLoaderProbe(path, true, nullptr), nullptr) << path;

    const char* types = PIX_PngLoaderTypes();
    EXPECT_STREQ(types, "PNG files (*.PNG)");
    EXPECT_STREQ(types + std::strlen(types) + 1, "*.PNG");
    EXPECT_EQ(types[std::strlen(types) + 1 + 5 + 1], '\0');
    bool found = false;
    for (PIX_ImageLoader* l = ImageLoaderList; l; l = l->next) found |= l->probe == PIX_PngLoaderProbe && l->types == PIX_PngLoaderTypes;
    EXPECT_TRUE(found);
}
}  // namespace
