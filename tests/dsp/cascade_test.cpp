#include "dsp/cascade_filter.h"
#include "dsp/cpu_features.h"
#include "dsp/layout.h"
#include "response_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace {

struct TestLayout : Dsp::LayoutSpace<6> {
    void Set(std::vector<Dsp::Complex> poles, std::vector<Dsp::Complex> zeros) {
        mPoles.mCount = static_cast<int>(poles.size());
        mZeros.mCount = static_cast<int>(zeros.size());
        for (size_t i = 0; i < poles.size(); ++i) mPoles.mRoots[i] = poles[i];
        for (size_t i = 0; i < zeros.size(); ++i) mZeros.mRoots[i] = zeros[i];
    }
};

struct TestFilter : Dsp::CascadeFilter, Dsp::CascadeSpace<6> {
    explicit TestFilter(int channels = 1) {
        mNumChannels = channels;
        mState = mMemory;
    }
    Dsp::Stage& At(int i) { return mStages[i]; }
    double mMemory[3 * 3 * 4] = {};  // up to three channels
};

// Product of (1 - r e^-iw) over the roots.
Dsp::Complex RootProduct(const Dsp::RootList& roots, double w) {
    const Dsp::Complex e = {std::cos(-w), std::sin(-w)};
    Dsp::Complex p = {1.0, 0.0};
    for (int i = 0; i < roots.mCount; ++i) p = p * (Dsp::Complex{1.0, 0.0} - roots.mRoots[i] * e);
    return p;
}

}  // namespace

// Smith's method: no overflow for huge parts; NaN for a zero or NaN divisor.
TEST(Complex, DivisionBySmithsMethod) {
    for (auto [n, d, re, im] :
         {std::tuple<Dsp::Complex, Dsp::Complex, double, double>{{1, 2}, {3, 4}, 11.0 / 25, 2.0 / 25},
          {{1e300, 1e300}, {1e300, -1e300}, 0.0, 1.0}}) {
        EXPECT_DOUBLE_EQ(Dsp::Divide(n, d).re, re);
        EXPECT_DOUBLE_EQ(Dsp::Divide(n, d).im, im);
    }
    EXPECT_TRUE(std::isnan(Dsp::Divide({1, 1}, {0, 0}).re));
    EXPECT_TRUE(std::isnan(Dsp::Divide({1, 1}, {NAN, 1}).im));
    EXPECT_DOUBLE_EQ(Dsp::Modulus({3e200, 4e200}), 5e200);
}

// Real poles pair up in stage 0 and move out; a mixed layout must still give the response of
// its poles and (unit-circle) zeros, scaled to the normal gain at the normal frequency.
TEST(Cascade, MixedRealAndComplexRootsGiveTheLayoutsResponse) {
    TestLayout layout;
    layout.Set({{0.5, 0}, {-0.3, 0}, {0.2, 0.6}, {0.2, -0.6}, {0.1, 0}},
               {{-1, 0}, {1, 0}, {std::cos(1.0), std::sin(1.0)}, {std::cos(1.0), -std::sin(1.0)}, {-1, 0}});
    layout.mNormalW = 0.3;
    layout.mNormalGain = 2.0;
    TestFilter filter;
    filter.ApplyLayout(layout);

    ASSERT_EQ(filter.StageCount(), 3);
    const double norm =
        2.0 / Dsp::Modulus(Dsp::Divide(RootProduct(layout.mZeros, 0.3), RootProduct(layout.mPoles, 0.3)));
    for (double w = 0.05; w < 3.1; w += 0.1) {
        const double expected =
            norm * Dsp::Modulus(Dsp::Divide(RootProduct(layout.mZeros, w), RootProduct(layout.mPoles, w)));
        EXPECT_NEAR(Dsp::Modulus(filter.Response(w)), expected, 1e-12 * expected) << "w=" << w;
    }
}

// The two-channel forms give each channel what a one-channel cascade gives it: Direct Form I
// exactly, Direct Form II within its extra offset once its coefficient copies have glided onto
// the design. The glide also follows a change of the numerator alone.
TEST(Cascade, TwoChannelFormsMatchOneChannelCascades) {
    if (!Dsp::HasSse3()) GTEST_SKIP() << "no SSE3: the general loop runs";
    TestLayout layout;
    layout.Set({{0.6, 0.3}, {0.6, -0.3}, {0.4, 0}, {-0.2, 0}, {0.1, 0.7}, {0.1, -0.7}},
               {{-1, 0}, {-1, 0}, {0, 1}, {0, -1}, {0.5, 0.866}, {0.5, -0.866}});
    layout.mNormalGain = 1.0;
    for (bool formII : {false, true}) {
        TestFilter two(2), one[2];
        two.ApplyLayout(layout);
        for (TestFilter& f : one) f.ApplyLayout(layout);
        auto run = [formII](Dsp::CascadeFilter& f, int count, double* x, int step) {
            formII ? Dsp::ProcessDirectFormII(f, count, x, step) : Dsp::ProcessDirectFormI(f, count, x, step);
        };
        // Silence first, while the copies glide from pass-through onto the design.
        std::vector<double> silence(2 * 256, 0.0);
        run(two, 256, silence.data(), 0);
        for (int s = 0; formII && s < 3; ++s) EXPECT_NEAR(two.GetStage(s).rampC1, two.GetStage(s).c1, 1e-12) << s;
        // Then frames of two channels and a spare sample (step 1), in two blocks.
        std::vector<double> frames(3 * 300), mono[2] = {std::vector<double>(300), std::vector<double>(300)};
        for (int i = 0; i < 300; ++i) {
            frames[3 * i] = mono[0][i] = std::sin(0.1 * i);
            frames[3 * i + 1] = mono[1][i] = std::cos(0.37 * i);
            frames[3 * i + 2] = 9.0;
        }
        run(two, 256, frames.data(), 1);
        run(two, 44, frames.data() + 3 * 256, 1);
        for (int c = 0; c < 2; ++c) {
            if (formII) {
                std::vector<double> quiet(256, 0.0);
                run(one[c], 256, quiet.data(), 0);
            }
            run(one[c], 256, mono[c].data(), 0);
            run(one[c], 44, mono[c].data() + 256, 0);
        }
        for (int i = 0; i < 300; ++i) {
            for (int c = 0; c < 2; ++c) {
                if (formII)
                    ASSERT_NEAR(frames[3 * i + c], mono[c][i], 1e-12) << i;
                else
                    ASSERT_EQ(frames[3 * i + c], mono[c][i]) << i;
            }
            ASSERT_EQ(frames[3 * i + 2], 9.0);
        }
    }

    TestFilter gain(2);
    gain.At(0).b0 = 2.0;
    std::vector<double> ones(2 * 64, 1.0);
    Dsp::ProcessDirectFormII(gain, 64, ones.data(), 0);
    EXPECT_NEAR(ones[0], 1.0, 0.05);
    EXPECT_NEAR(ones[127], 2.0, 1e-12);
    EXPECT_NEAR(gain.GetStage(0).rampB0, 2.0, 1e-12);
}

// The general loop (here three interleaved channels) and the one-channel path give each channel
// the same bits, in both forms.
TEST(Cascade, GeneralLoopMatchesTheOneChannelPath) {
    TestLayout layout;
    layout.Set({{0.6, 0.3}, {0.6, -0.3}, {0.4, 0}, {-0.2, 0}, {0.1, 0.7}, {0.1, -0.7}},
               {{-1, 0}, {-1, 0}, {0, 1}, {0, -1}, {0.5, 0.866}, {0.5, -0.866}});
    layout.mNormalGain = 1.0;
    for (bool formII : {false, true}) {
        TestFilter three(3), one;
        three.ApplyLayout(layout);
        one.ApplyLayout(layout);
        std::vector<double> frames(3 * 200), mono(200);
        for (int i = 0; i < 200; ++i)
            frames[3 * i] = frames[3 * i + 1] = frames[3 * i + 2] = mono[i] = std::sin(0.3 * i) + (i == 7);
        formII ? Dsp::ProcessDirectFormII(three, 200, frames.data(), 0)
               : Dsp::ProcessDirectFormI(three, 200, frames.data(), 0);
        formII ? Dsp::ProcessDirectFormII(one, 200, mono.data(), 0) : Dsp::ProcessDirectFormI(one, 200, mono.data(), 0);
        for (int i = 0; i < 200; ++i)
            for (int c = 0; c < 3; ++c) ASSERT_EQ(frames[3 * i + c], mono[i]) << formII << " " << i << " " << c;
    }
}
