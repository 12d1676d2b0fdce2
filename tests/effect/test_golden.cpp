#include "golden_scenarios.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

std::vector<double> ReadGolden(const std::string& path)
{
    std::vector<double> data;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        double buffer[256];
        size_t n;
        while ((n = std::fread(buffer, sizeof(double), 256, f)) > 0)
            data.insert(data.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return data;
}

} // namespace

// Every target reproduces the native build's output to within a few units in the last place
// of the signal's scale (the math libraries differ in the last bit of a few results), on the
// models' own block road and on every stereo kernel path, both channels.
TEST(Golden, EveryTargetReproducesTheReferenceOutput)
{
    for (const GoldenScenario& s : GoldenScenarios()) {
        for (int road = -1; road < static_cast<int>(std::size(kKernelPaths)); ++road) {
            if (road >= 0 && !KernelPathAvailable(kKernelPaths[road]))
                continue;
            std::vector<double> expected = ReadGolden(GoldenPath(TZ_GOLDEN_DIR, s));
            const std::vector<double> got = road < 0 ? RunGoldenScenario(s) : RunGoldenScenarioStereo(s, kKernelPaths[road]);
            if (road >= 0)
                expected.insert(expected.end(), expected.begin(), expected.end());
            const char* name = road < 0 ? "models" : KernelPathName(kKernelPaths[road]);
            ASSERT_EQ(got.size(), expected.size()) << s.name;
            double peak = 0.0;
            for (double v : expected)
                peak = std::fmax(peak, std::fabs(v));
            ASSERT_GT(peak, 0.0) << s.name;
            double worst = 0.0;
            for (size_t i = 0; i < got.size(); ++i)
                worst = std::fmax(worst, std::fabs(got[i] - expected[i]));
            const double ulp = std::nextafter(peak, 1.0) - peak;
            std::printf("%-22s %-8s peak %.3f, largest difference %.3g (%.2f ulp of peak)\n", s.name, name, peak, worst, worst / ulp);
            EXPECT_LE(worst, TZ_GOLDEN_ULPS * ulp) << s.name << " " << name;
        }
    }
}
