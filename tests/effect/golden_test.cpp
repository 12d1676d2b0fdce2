#include "golden_scenarios.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Calls check(scenario, road, output, reference) for every scenario on the models' own block road
// and on every stereo kernel path this processor runs (both channels, so the reference twice).
template <typename Check>
void ForEveryRoad(Check check) {
    for (const GoldenScenario& s : GoldenScenarios()) {
        const std::vector<double> reference = ReadGolden(GoldenPath(TZ_GOLDEN_DIR, s));
        check(s, "models", RunGoldenScenario(s), reference);
        std::vector<double> both = reference;
        both.insert(both.end(), reference.begin(), reference.end());
        for (KernelPath path : kKernelPaths) {
            if (KernelPathAvailable(path)) check(s, KernelPathName(path), RunGoldenScenarioStereo(s, path), both);
        }
    }
}

}  // namespace

// Every target reproduces the native build's output to within a few units in the last place
// of the signal's scale (the 32-bit math libraries differ in the last bit of a few results).
TEST(Golden, EveryTargetReproducesTheReferenceOutput) {
    ForEveryRoad([](const GoldenScenario& s, const char* road, const std::vector<double>& got,
                    const std::vector<double>& expected) {
        ASSERT_EQ(got.size(), expected.size()) << s.name << " " << road;
        const GoldenDifference d = CompareToGolden(got, expected);
        ASSERT_GT(d.peak, 0.0) << s.name;
        std::printf("%-22s %-8s peak %.3f, largest difference %.3g (%.2f ulp of peak)\n", s.name, road, d.peak,
                    d.largest, d.ulps);
        EXPECT_LE(d.ulps, TZ_GOLDEN_ULPS) << s.name << " " << road;
    });
}

// The audio path calls no math library, so every x86-64 target gives the reference's very bits,
// on every road: an output that moved by one bit is a change of the sound (scripts/update-golden).
TEST(Golden, EveryX8664TargetGivesTheReferenceBits) {
#if !defined(__x86_64__)
    GTEST_SKIP() << "references taken on x86-64";
#endif
    ForEveryRoad([](const GoldenScenario& s, const char* road, const std::vector<double>& got,
                    const std::vector<double>& expected) {
        ASSERT_EQ(got.size(), expected.size()) << s.name << " " << road;
        size_t same = 0;
        while (same < got.size() && std::memcmp(&got[same], &expected[same], sizeof(double)) == 0) ++same;
        EXPECT_EQ(same, got.size()) << s.name << " " << road << ": sample " << same << " differs";
    });
}
