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

// Width, height and the pixels row by row: the layout of the .argb files.
std::vector<uint32_t> Image(PIX_IBitmap& b) {
    std::vector<uint32_t> v = {static_cast<uint32_t>(b.Width()), static_cast<uint32_t>(b.Height())};
    for (uint32_t p : Snapshot(b)) v.push_back(p);
    return v;
}

std::vector<uint32_t> ReadExpected(const std::string& name) {
    std::vector<unsigned char> raw = ReadFile(Case(name, ".argb"));
    std::vector<uint32_t> words(raw.size() / 4);
    std::memcpy(words.data(), raw.data(), words.size() * 4);
    return words;
}

std::unique_ptr<PIX_MemBitmap> Decode(const std::vector<unsigned char>& png, size_t n) {
    return std::unique_ptr<PIX_MemBitmap>(PIX_ReadPngMemory(png.data(), static_cast<int>(n)));
}

const char* const kDecodable[] = {"rgb8",     "rgba8",        "gray8",      "grayalpha8", "gray1",    "gray2",
                                  "gray4",    "gray16",       "graya16",    "rgb16",      "rgba16",   "palette8",
                                  "palette4", "palette_trns", "gray8_trns", "rgb8_trns",  "wide1x300"};
const char* const kBad[] = {"bad_crc",  "bad_huge",  "bad_large",     "bad_overlimit",
                            "bad_zero", "bad_depth", "bad_short_rows"};

TEST(PngMemory, DecodesLikePillow) {
    for (const char* name : kDecodable) {
        const std::vector<uint32_t> expected = ReadExpected(name);
        ASSERT_GT(expected.size(), 2u) << name << ": run make_png_cases.py";
        std::vector<unsigned char> png = ReadFile(Case(name));
        std::unique_ptr<PIX_MemBitmap> b = Decode(png, png.size());
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(Image(*b), expected) << name;
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
    EXPECT_EQ(Decode(png, png.size()), nullptr);
    for (const char* name : kBad) {
        std::vector<unsigned char> bad = ReadFile(Case(name));
        ASSERT_GT(bad.size(), 8u) << name;
        EXPECT_EQ(Decode(bad, bad.size()), nullptr) << name;
    }
}

// Every truncation and a byte flipped at every position must fail or give a bitmap of the
// header's size; the sanitizers check that nothing is read or written out of bounds or leaked.
TEST(PngMemory, TruncatedAndCorruptedDataFailCleanly) {
    for (const char* name : {"rgba8", "palette_trns", "gray2", "rgb16"}) {
        std::vector<unsigned char> png = ReadFile(Case(name));
        const std::vector<uint32_t> e = ReadExpected(name);
        for (size_t n = 0; n < png.size(); ++n) {
            // An exact-size block; only the trailing chunk may be missing: the rows are complete without it.
            const std::vector<unsigned char> cut(png.begin(), png.begin() + n);
            if (Decode(cut, n)) {
                EXPECT_GE(n, png.size() - 12) << name << " cut at " << n;
            }
        }
        for (size_t i = 8; i < png.size(); ++i) {
            std::vector<unsigned char> flipped = png;
            flipped[i] ^= 0xA5;
            if (auto b = Decode(flipped, flipped.size())) {
                EXPECT_EQ(uint32_t(b->Width() * b->Height()), e[0] * e[1]) << name << " at " << i;
            }
        }
    }
}

// Into a new bitmap, the caller's bitmap (resized) or a bottom-up one, all with the same image.
TEST(PngFile, NewBitmapOrTheGivenOne) {
    const std::vector<uint32_t> e = ReadExpected("palette_trns");
    const std::string path = Case("palette_trns");
    std::unique_ptr<PIX_IBitmap> made(PIX_ReadPngFile(path.c_str(), nullptr));
    PIX_MemBitmap given(3, 40);
    BottomUpBitmap up(1, 1);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(PIX_ReadPngFile(path.c_str(), &given), &given);
    EXPECT_EQ(PIX_ReadPngFile(path.c_str(), &up), &up);
    for (PIX_IBitmap* b : {made.get(), static_cast<PIX_IBitmap*>(&given), static_cast<PIX_IBitmap*>(&up)})
        EXPECT_EQ(Image(*b), e);

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
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        std::unique_ptr<PIX_IBitmap> checked(PIX_PngLoaderProbe(path.c_str(), true, nullptr)),
            unchecked(PIX_PngLoaderProbe(path.c_str(), false, nullptr));
        EXPECT_EQ(checked != nullptr, path.back() == 'G') << path;
        EXPECT_NE(unchecked, nullptr) << path;
        std::remove(path.c_str());
    }
    for (const char* path : {"image.png.bak", "png", "dir.png/file", "", "a\\b.pn", "x.pngx", ".png"})
        EXPECT_EQ(PIX_PngLoaderProbe(path, true, nullptr), nullptr) << path;

    // A file-dialog filter: description, pattern, and a double NUL at the end.
    const char* types = PIX_PngLoaderTypes();
    EXPECT_EQ(std::string(types, 25), std::string("PNG files (*.PNG)\0*.PNG\0\0", 25));
    bool found = false;
    for (PIX_ImageLoader* l = ImageLoaderList; l; l = l->next)
        found |= l->probe == PIX_PngLoaderProbe && l->types == PIX_PngLoaderTypes;
    EXPECT_TRUE(found);
}
}  // namespace
