// The designs at an eighth and a quarter are compared with SciPy by check_design.py; these tests
// cover what that cannot see: the processing loop, redesign with running state, the Nyquist edge.
#include "dsp/chebyshev_lowpass.h"
#include "response_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using LowPass = Dsp::ChebyIILowPass<6, 1>;

std::vector<double> Filter(LowPass& f, std::vector<double> x) {
    Dsp::ProcessDirectFormII(f, static_cast<int>(x.size()), x.data(), 0);
    return x;
}

}  // namespace

// The Direct Form II loop must realise the designed response.
TEST(ChebyIILowPass, ImpulseResponseMatchesTheDesign) {
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

TEST(ChebyIILowPass, RedesignKeepsTheSampleMemoriesAndNyquistStaysFinite) {
    std::vector<double> x(400);
    for (size_t i = 0; i < x.size(); ++i) x[i] = std::sin(0.05 * i) + ((i % 7) - 3) * 0.1;
    LowPass whole, split;
    whole.Setup(0.125, 9.0);
    split.Setup(0.125, 9.0);
    const std::vector<double> expected = Filter(whole, x);
    std::vector<double> a = Filter(split, std::vector<double>(x.begin(), x.begin() + 200));
    split.Setup(0.125, 9.0);
    const std::vector<double> b = Filter(split, std::vector<double>(x.begin() + 200, x.end()));
    a.insert(a.end(), b.begin(), b.end());
    EXPECT_EQ(a, expected);

    // Degenerate but finite: every root lands next to -1.
    whole.Setup(0.5, 9.0);
    for (int s = 0; s < whole.StageCount(); ++s) {
        const Dsp::Stage& st = whole.GetStage(s);
        for (double c : {st.c1, st.c2, st.b0, st.b1, st.b2}) EXPECT_TRUE(std::isfinite(c)) << "stage " << s;
    }
}
