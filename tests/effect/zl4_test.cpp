#include "effect/oversampling.h"
#include "effect/zl4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

void Prepare(zl4& m, int rate, bool hiss = true, bool saturation = true) {
    m.SetSampleRate(rate);
    m.SetOversampling(OversamplingForSampleRate(rate));
    m.SetChannels(1);
    m.ResetFilters();
    m.SetHiss(hiss);
    m.SetSaturation(saturation);
}

std::vector<double> Signal(size_t n, double amplitude) {
    std::vector<double> x(n);
    for (size_t i = 0; i < n; ++i) x[i] = amplitude * (std::sin(0.031 * i) + 0.5 * std::sin(0.77 * i));
    return x;
}

std::vector<double> Process(zl4& m, std::vector<double> x) {
    m.ProcessBlock(x.data(), static_cast<int>(x.size()));
    return x;
}

}  // namespace

// The drive mapping, the output curve and the compensation are pinned by the golden outputs;
// these tests cover what those cannot: clean bypass, the hiss of separate models, the mended faults.
TEST(zl4, BypassIsCleanAndHissIsFaintUniformAndRepeatable) {
    zl4 a, b, c, clean;
    for (zl4* m : {&a, &b, &c, &clean}) {
        Prepare(*m, 192000, m != &clean, false);
        m->SetBypass(true);
    }
    const std::vector<double> x = Signal(300, 0.9);
    EXPECT_EQ(Process(clean, x), x);
    a.SetNoiseSeed(7);
    b.SetNoiseSeed(7);
    const std::vector<double> silence(20000, 0.0);
    const std::vector<double> ya = Process(a, silence), yb = Process(b, silence), yc = Process(c, silence);
    EXPECT_EQ(ya, yb);
    EXPECT_NE(ya, yc) << "models made one after the other must not share their hiss";

    // Uniform over +-1e-5: both ends reached, never passed, mean zero.
    const auto [lo, hi] = std::minmax_element(ya.begin(), ya.end());
    EXPECT_TRUE(*lo >= -1e-5 && *lo < -0.99e-5) << *lo;
    EXPECT_TRUE(*hi <= 1e-5 && *hi > 0.99e-5) << *hi;
    EXPECT_NEAR(std::accumulate(ya.begin(), ya.end(), 0.0) / ya.size(), 0.0, 2e-7);
}

// At low host rates the x4 shelf corner would pass half the oversampled rate; the model must
// stay stable there and afterwards.
TEST(zl4, StableAtLowSampleRates) {
    for (int rate : {8000, 11025, 12000}) {
        zl4 m;
        Prepare(m, rate, false);
        m.SetDistortion(0.7);
        m.SetTone(1.0);
        const std::vector<double> y = Process(m, Signal(2 * rate, 0.8));
        for (double v : y) ASSERT_TRUE(std::isfinite(v) && std::fabs(v) <= 1.0) << rate << ": " << v;
        Prepare(m, 44100, false);
        EXPECT_LE(std::fabs(Process(m, Signal(1000, 0.8)).back()), 1.0);
    }
}

// A single NaN or infinity in the input costs only the block that carries it; afterwards the
// model sounds as a fresh one.
TEST(zl4, RecoversFromNonFiniteInput) {
    for (double poison : {NAN, INFINITY, -INFINITY}) {
        for (int rate : {44100, 192000}) {
            zl4 hit, fresh;
            for (zl4* m : {&hit, &fresh}) {
                Prepare(*m, rate);
                m->SetDistortion(0.4);
                m->SetNoiseSeed(3);
            }
            std::vector<double> bad(128, 0.0);
            bad[5] = poison;
            Process(hit, bad);
            hit.SetNoiseSeed(3);
            const std::vector<double> x = Signal(512, 0.5);
            EXPECT_EQ(Process(hit, x), Process(fresh, x)) << poison << " at " << rate;
        }
    }
}
