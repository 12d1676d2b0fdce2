#include "golden_scenarios.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <cstdio>
#include <vector>

namespace {

std::vector<double> ReadGolden(const std::string& path) {
    std::vector<double> data;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        double buffer[256];
        size_t n;
        while ((n = std::fread(buffer, sizeof(double), 256, f)) > 0) data.insert(data.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return data;
}

}  // namespace

// Every target reproduces the native build's output to within a few units in the last place
// of the signal's scale (the math libraries differ in the last bit of a few results), on the
// models' own block road and on every stereo kernel path, both channels.
TEST(Golden, EveryTargetReproducesTheReferenceOutput) {
    for (const GoldenScenario& s : GoldenScenarios()) {
        for (int road = -1; road < static_cast<int>(std::size(kKernelPaths)); ++road) {
            if (road >= 0 && !KernelPathAvailable(kKernelPaths[road])) continue;
            std::vector<double> expected = ReadGolden(GoldenPath(TZ_GOLDEN_DIR, s));
            const std::vector<double> got =
                road < 0 ? RunGoldenScenario(s) : RunGoldenScenarioStereo(s, kKernelPaths[road]);
            if (road >= 0) expected.insert(expected.end(), expected.begin(), expected.end());
            const char* name = road < 0 ? "models" : KernelPathName(kKernelPaths[road]);
            ASSERT_EQ(got.size(), expected.size()) << s.name;
            double peak = 0.0;
            for (double v : expected) peak = std::fmax(peak, std::fabs(v));
            ASSERT_GT(peak, 0.0) << s.name;
            double worst = 0.0;
            for (size_t i = 0; i < got.size(); ++i) worst = std::fmax(worst, std::fabs(got[i] - expected[i]));
            const double ulp = std::nextafter(peak, 1.0) - peak;
            std::printf("%-22s %-8s peak %.3f, largest difference %.3g (%.2f ulp of peak)\n", s.name, name, peak, worst,
                        worst / ulp);
            EXPECT_LE(worst, TZ_GOLDEN_ULPS * ulp) << s.name << " " << name;
        }
    }
}

namespace {

// Bits of every output sample, folded (FNV-1a).
uint64_t Digest(const std::vector<double>& x) {
    uint64_t h = 1469598103934665603ull;
    for (double v : x) {
        uint64_t u;
        std::memcpy(&u, &v, sizeof u);
        for (int b = 0; b < 8; ++b) {
            h ^= (u >> (8 * b)) & 0xFF;
            h *= 1099511628211ull;
        }
    }
    return h;
}

}  // namespace

// The audio path calls no math library, so a kernel path gives the same bits in the native and
// the Windows x86-64 builds: the digests of the native build's stereo outputs.
TEST(Golden, KernelPathsGiveTheSameBitsOnEveryX8664Target) {
#if !defined(__x86_64__)
    GTEST_SKIP() << "digests taken on x86-64";
#endif
    const std::map<std::string, uint64_t> digests = {
        {"r44100_drive", 0xe9332174a018489full},  {"r48000_hard_clip", 0x38aa7673f83e5d6bull},
        {"r96000_bright", 0xc5ac90dbd1a1ef1bull}, {"r192000_no_resample", 0xb82e3f15fd59716full},
        {"r44100_bypass", 0x55568bf0621cd21bull}, {"r8000_low_rate", 0x89fdc5c3c6133003ull},
        {"r44100_hiss", 0x064e77b6cd528b93ull},
    };
    for (const GoldenScenario& s : GoldenScenarios()) {
        for (KernelPath path : kKernelPaths) {
            if (KernelPathAvailable(path)) {
                EXPECT_EQ(Digest(RunGoldenScenarioStereo(s, path)), digests.at(s.name))
                    << s.name << " " << KernelPathName(path);
            }
        }
    }
}
