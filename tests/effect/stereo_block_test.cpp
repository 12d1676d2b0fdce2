#include "effect/oversampling.h"
#include "effect/stereo_block.h"
#include "effect/zl4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Settings {
    int rate;
    double distortion[2];
    double tone[2];
    double mix[2];
    bool compensation[2];
    bool bypass, saturation, hiss;
};

void Apply(zl4& m, const Settings& s, int lane, uint32_t seed) {
    m.SetSampleRate(s.rate);
    m.SetOversampling(OversamplingForSampleRate(s.rate));
    m.SetChannels(1);
    m.ResetFilters();
    m.SetDistortion(s.distortion[lane]);
    m.SetTone(s.tone[lane]);
    m.SetLevel(0.6);
    m.SetMix(s.mix[lane]);
    m.SetCompensation(s.compensation[lane]);
    m.SetBypass(s.bypass);
    m.SetSaturation(s.saturation);
    m.SetHiss(s.hiss);
    m.SetNoiseSeed(seed);
}

// Equal bits, or both NaN.
bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)); }

}  // namespace

// Every kernel path this processor offers gives each channel exactly what its model gives on
// its own: across block sizes, a parameter change between blocks, a redesign for a new rate,
// non-finite input and the recovery after it, with the two channels set differently.
TEST(StereoBlock, EveryPathMatchesTheModelsBitForBit) {
    const Settings table[] = {
        // rate   distortion  tone        mix         compensation   bypass sat    hiss
        {44100, {0.5, 0.9}, {0.3, 1.0}, {1.0, 0.6}, {true, false}, false, true, true},
        {96000, {0.2, 0.2}, {0.5, 0.0}, {0.8, 1.0}, {true, true}, false, true, false},
        {48000, {1.0, 0.4}, {0.7, 0.2}, {1.0, 1.0}, {true, true}, false, false, true},
        {44100, {0.6, 0.6}, {0.5, 0.5}, {0.5, 1.0}, {false, true}, true, true, true},
        {22050, {0.3, 0.8}, {0.9, 0.1}, {1.0, 0.3}, {true, false}, true, false, false},
    };
    const int blocks[] = {1, 7, 512, 1024, 333, 64, 30};
    int pathsRun = 0;
    for (KernelPath path : kKernelPaths) {
        if (!KernelPathAvailable(path)) continue;
        ++pathsRun;
        for (const Settings& s : table) {
            zl4 refL, refR, l, r;
            Apply(refL, s, 0, 11);
            Apply(l, s, 0, 11);
            Apply(refR, s, 1, 22);
            Apply(r, s, 1, 22);
            int at = 0;
            for (size_t b = 0; b < std::size(blocks); ++b) {
                const int n = blocks[b];
                std::vector<double> xl(n), xr(n);
                for (int i = 0; i < n; ++i, ++at) {
                    xl[i] = 0.9 * std::sin(0.05 * at) + 0.3 * std::sin(1.3 * at);
                    xr[i] = 0.7 * std::sin(0.021 * at);
                }
                if (b == 2) xr[100] = NAN;
                if (b == 3) xl[3] = INFINITY;
                std::vector<double> yl = xl, yr = xr;
                refL.ProcessBlock(xl.data(), n);
                refR.ProcessBlock(xr.data(), n);
                ProcessStereoBlock(l, r, yl.data(), yr.data(), n, path);
                for (int i = 0; i < n; ++i) {
                    ASSERT_TRUE(Same(yl[i], xl[i])) << KernelPathName(path) << " rate " << s.rate << " block " << b
                                                    << " left " << i << ": " << yl[i] << " vs " << xl[i];
                    ASSERT_TRUE(Same(yr[i], xr[i])) << KernelPathName(path) << " rate " << s.rate << " block " << b
                                                    << " right " << i << ": " << yr[i] << " vs " << xr[i];
                }
                if (b == 1)
                    for (zl4* m : {&refL, &l}) m->SetDistortion(0.75);
                if (b == 4)
                    for (zl4* m : {&refL, &refR, &l, &r}) {
                        m->SetSampleRate(s.rate * 2);
                        m->SetOversampling(OversamplingForSampleRate(s.rate * 2));
                        m->ResetFilters();
                    }
            }
        }
    }
    EXPECT_TRUE(KernelPathAvailable(KernelPath::Sse2));
    EXPECT_EQ(pathsRun, 1 + KernelPathAvailable(KernelPath::Avx2) + KernelPathAvailable(KernelPath::Avx512));
}
