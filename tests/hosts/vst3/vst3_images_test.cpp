// The editor images inside the built module: PNG resources 100 to 104 that decode, with strips
// whose frames fit the 410 x 460 editor where it places them, the three large knobs apart.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "raster/png.h"

TEST(Vst3Images, StripsDecodeAndFitTheEditor) {
    HMODULE module = LoadLibraryExA(TZ_VST3_MODULE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    struct Strip {
        int id, frames;
        std::vector<POINT> at;
    };
    const Strip strips[] = {{100, 1, {{0, 0}}},
                            {101, 100, {{116, 60}, {25, 13}, {209, 13}}},
                            {102, 2, {{314, 64}, {314, 139}, {314, 210}}},
                            {103, 2, {{148, 17}}},
                            {104, 100, {{342, 281}}}};
    std::vector<RECT> knobs;
    for (const Strip& strip : strips) {
        SCOPED_TRACE(strip.id);
        HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(strip.id), "PNG");
        ASSERT_NE(res, nullptr);
        std::unique_ptr<PIX_MemBitmap> bitmap(
            PIX_ReadPngMemory(LockResource(LoadResource(module, res)), int(SizeofResource(module, res))));
        ASSERT_NE(bitmap, nullptr);
        const int w = bitmap->Width(), h = bitmap->Height() / strip.frames;
        EXPECT_EQ(bitmap->Height() % strip.frames, 0);
        EXPECT_TRUE(strip.id != 100 || (w == 410 && h == 460)) << w << " x " << h;
        for (POINT p : strip.at) {
            EXPECT_TRUE(p.x + w <= 410 && p.y + h <= 460) << w << " x " << h << " at " << p.x << ", " << p.y;
            if (strip.id == 101) knobs.push_back({p.x, p.y, p.x + w, p.y + h});
        }
    }
    for (size_t i = 0; i < knobs.size(); ++i)
        for (size_t j = i + 1; j < knobs.size(); ++j) {
            const RECT &a = knobs[i], &b = knobs[j];
            EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) << i << j;
        }
    FreeLibrary(module);
}
