#include "dsp/chebyshev_lowpass.h"
#include "response_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using LowPass = Dsp::ChebyIILowPass<6, 1>;

double GainDb(const LowPass& f, double frequency)
{
    return Db(Dsp::Modulus(f.Response(kTwoPi * frequency)));
}

std::vector<double> Filter(LowPass& f, std::vector<double> x)
{
    Dsp::ProcessDirectFormII(f, static_cast<int>(x.size()), x.data(), 0);
    return x;
}

} // namespace

TEST(ChebyIILowPass, ResamplerDesignAtAnEighth)
{
    LowPass f;
    f.Setup(0.125, 9.0);
    ASSERT_EQ(f.StageCount(), 3);
    for (int s = 0; s < 3; ++s) {
        const Dsp::Stage& st = f.GetStage(s);
        EXPECT_NEAR(st.b2 / st.b0, 1.0, 1e-12) << "zeros of stage " << s << " off the unit circle";
        EXPECT_GT(st.c2, -1.0) << "poles of stage " << s << " not inside the unit circle";
    }
    EXPECT_NEAR(GainDb(f, 0.0), 0.0, 1e-12);
    for (double fr = 0.0; fr <= 0.1; fr += 0.001)
        EXPECT_NEAR(GainDb(f, fr), 0.0, 0.02) << fr;
    EXPECT_NEAR(GainDb(f, 0.125), -9.0, 1e-9);
    for (double fr = 0.125; fr <= 0.5; fr += 0.0005)
        EXPECT_LE(GainDb(f, fr), -9.0 + 1e-9) << fr;
}

TEST(ChebyIILowPass, CutoffAtAQuarterAndAtNyquist)
{
    LowPass f;
    f.Setup(0.25, 9.0);
    EXPECT_NEAR(GainDb(f, 0.25), -9.0, 1e-9);
    EXPECT_NEAR(GainDb(f, 0.0), 0.0, 1e-12);

    // Degenerate but finite: every root lands next to -1.
    f.Setup(0.5, 9.0);
    for (int s = 0; s < f.StageCount(); ++s) {
        const Dsp::Stage& st = f.GetStage(s);
        for (double c : {st.c1, st.c2, st.b0, st.b1, st.b2})
            EXPECT_TRUE(std::isfinite(c)) << "stage " << s;
    }
}

// The Direct Form II loop must realise the designed response.
TEST(ChebyIILowPass, ImpulseResponseMatchesTheDesign)
{
    LowPass f;
    f.Setup(0.125, 9.0);
    std::vector<double> impulse(8192, 0.0);
    impulse[0] = 1.0;
    const std::vector<double> h = Filter(f, impulse);
    for (double fr : {0.0, 0.03, 0.1, 0.125, 0.2, 0.37, 0.5}) {
        const Dsp::Complex expected = f.Response(kTwoPi * fr);
        const Dsp::Complex got = Dtft(h, kTwoPi * fr);
        EXPECT_NEAR(got.re, expected.re, 1e-9) << fr;
        EXPECT_NEAR(got.im, expected.im, 1e-9) << fr;
    }
}

TEST(ChebyIILowPass, RedesignKeepsTheSampleMemories)
{
    std::vector<double> x(400);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = std::sin(0.05 * i) + ((i % 7) - 3) * 0.1;
    LowPass whole;
    whole.Setup(0.125, 9.0);
    const std::vector<double> expected = Filter(whole, x);

    LowPass split;
    split.Setup(0.125, 9.0);
    std::vector<double> a(x.begin(), x.begin() + 200), b(x.begin() + 200, x.end());
    a = Filter(split, a);
    split.Setup(0.125, 9.0);
    b = Filter(split, b);
    a.insert(a.end(), b.begin(), b.end());
    EXPECT_EQ(a, expected);
}
