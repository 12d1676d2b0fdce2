#include "effect/oversampling.h"
#include "effect/zl4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void Prepare(zl4& m, int rate)
{
    m.SetSampleRate(rate);
    m.SetOversampling(OversamplingForSampleRate(rate));
    m.SetChannels(1);
    m.ResetFilters();
}

std::vector<double> Signal(size_t n, double amplitude)
{
    std::vector<double> x(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = amplitude * (std::sin(0.031 * i) + 0.5 * std::sin(0.77 * i));
    return x;
}

std::vector<double> Process(zl4& m, std::vector<double> x)
{
    m.ProcessBlock(x.data(), static_cast<int>(x.size()));
    return x;
}

} // namespace

TEST(zl4, ConstructionValuesAndDistortionMapping)
{
    zl4 m;
    EXPECT_EQ(m.Drive(), 0.0);
    EXPECT_EQ(m.DriveCutoff(), 20000.0);
    EXPECT_EQ(m.Distortion4(), 1.0);
    EXPECT_EQ(m.Level(), 1.0);
    EXPECT_TRUE(m.Hiss() && m.Saturation() && m.Compensation() && !m.Bypass());

    m.SetDistortion(0.0);
    EXPECT_NEAR(m.Drive(), 11.2202, 1e-4);
    EXPECT_EQ(m.DriveCutoff(), 20000.0);
    m.SetDistortion(1.0);
    EXPECT_NEAR(m.Drive(), 123.4220, 1e-4);
    EXPECT_EQ(m.DriveCutoff(), 8000.0);
    m.SetDistortion(0.5);
    EXPECT_EQ(m.Distortion4(), 0.0625);
}

TEST(zl4, BypassedModelIsCleanOrSaturatesOnly)
{
    zl4 m;
    Prepare(m, 192000);
    m.SetBypass(true);
    m.SetHiss(false);
    m.SetSaturation(false);
    const std::vector<double> x = Signal(300, 0.9);
    EXPECT_EQ(Process(m, x), x);

    // The output stage alone: a curve limited to +-0.33, odd, with 0.7604 * 0.33 where its
    // argument 33.275 * x reaches 1.
    m.SetSaturation(true);
    const double one = 1.0 / (3 * std::exp(2.40620142217873));
    std::vector<double> y = Process(m, {one, -one, 0.5, -0.5, 1e6, NAN});
    EXPECT_NEAR(y[0], 0.33 * 0.7604, 1e-4);
    EXPECT_EQ(y[1], -y[0]);
    EXPECT_EQ(y[2], 0.33);
    EXPECT_EQ(y[3], -0.33);
    EXPECT_EQ(y[4], 0.33);
    EXPECT_TRUE(std::isnan(y[5]));
}

// Compensation scales the chain by 1 - 0.7 d^4 before the output stage.
TEST(zl4, OutputCompensationFollowsTheDistortion)
{
    const std::vector<double> x = Signal(400, 0.3);
    for (double d : {1.0, 0.0}) {
        zl4 on, off;
        for (zl4* m : {&on, &off}) {
            Prepare(*m, 192000);
            m->SetHiss(false);
            m->SetSaturation(false);
            m->SetDistortion(d);
        }
        off.SetCompensation(false);
        const std::vector<double> a = Process(on, x), b = Process(off, x);
        for (size_t i = 0; i < x.size(); ++i)
            ASSERT_EQ(a[i], (1 - d * 0.7) * b[i]) << "d=" << d << " i=" << i;
    }
}

TEST(zl4, HissIsFaintUniformAndRepeatable)
{
    zl4 a, b, c;
    for (zl4* m : {&a, &b, &c}) {
        Prepare(*m, 192000);
        m->SetBypass(true);
        m->SetSaturation(false);
    }
    a.SetNoiseSeed(7);
    b.SetNoiseSeed(7);
    const std::vector<double> silence(20000, 0.0);
    const std::vector<double> ya = Process(a, silence), yb = Process(b, silence), yc = Process(c, silence);
    EXPECT_EQ(ya, yb);
    EXPECT_NE(ya, yc) << "models made one after the other must not share their hiss";

    double lo = 0, hi = 0, sum = 0;
    for (double v : ya) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        sum += v;
    }
    EXPECT_GE(lo, -1e-5);
    EXPECT_LE(hi, 1e-5);
    EXPECT_LT(lo, -0.99e-5);
    EXPECT_GT(hi, 0.99e-5);
    EXPECT_NEAR(sum / ya.size(), 0.0, 2e-7);
}

// At low host rates the x4 shelf corner would pass half the oversampled rate; the model must
// stay stable there and afterwards.
TEST(zl4, StableAtLowSampleRates)
{
    for (int rate : {8000, 11025, 12000}) {
        zl4 m;
        Prepare(m, rate);
        m.SetHiss(false);
        m.SetDistortion(0.7);
        m.SetTone(1.0);
        const std::vector<double> y = Process(m, Signal(2 * rate, 0.8));
        for (double v : y)
            ASSERT_TRUE(std::isfinite(v) && std::fabs(v) <= 1.0) << rate << ": " << v;
        Prepare(m, 44100);
        EXPECT_LE(std::fabs(Process(m, Signal(1000, 0.8)).back()), 1.0);
    }
}

// A single NaN or infinity in the input costs only the block that carries it; afterwards the
// model sounds as a fresh one.
TEST(zl4, RecoversFromNonFiniteInput)
{
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
