#include "dsp/cascade_filter.h"
#include "dsp/layout.h"
#include "response_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct TestLayout : Dsp::LayoutSpace<6> {
    void Set(std::vector<Dsp::Complex> poles, std::vector<Dsp::Complex> zeros)
    {
        mPoles.mCount = static_cast<int>(poles.size());
        mZeros.mCount = static_cast<int>(zeros.size());
        for (size_t i = 0; i < poles.size(); ++i)
            mPoles.mRoots[i] = poles[i];
        for (size_t i = 0; i < zeros.size(); ++i)
            mZeros.mRoots[i] = zeros[i];
    }
};

struct TestFilter : Dsp::CascadeFilter, Dsp::CascadeSpace<6> {
    TestFilter()
    {
        mNumChannels = 1;
        mState = mMemory;
    }
    double mMemory[12] = {};
};

// Product of (1 - r e^-iw) over the roots.
Dsp::Complex RootProduct(const Dsp::RootList& roots, double w)
{
    const Dsp::Complex e = {std::cos(-w), std::sin(-w)};
    Dsp::Complex p = {1.0, 0.0};
    for (int i = 0; i < roots.mCount; ++i)
        p = p * (Dsp::Complex{1.0, 0.0} - roots.mRoots[i] * e);
    return p;
}

} // namespace

TEST(Complex, DivisionBySmithsMethod)
{
    const Dsp::Complex q = Dsp::Divide({1, 2}, {3, 4});
    EXPECT_DOUBLE_EQ(q.re, 11.0 / 25);
    EXPECT_DOUBLE_EQ(q.im, 2.0 / 25);
    const Dsp::Complex big = Dsp::Divide({1e300, 1e300}, {1e300, -1e300});
    EXPECT_DOUBLE_EQ(big.re, 0.0);
    EXPECT_DOUBLE_EQ(big.im, 1.0);
    EXPECT_TRUE(std::isnan(Dsp::Divide({1, 1}, {0, 0}).re));
    EXPECT_TRUE(std::isnan(Dsp::Divide({1, 1}, {NAN, 1}).im));
    EXPECT_DOUBLE_EQ(Dsp::Modulus({3e200, 4e200}), 5e200);
}

// Real poles pair up in stage 0 and move out; a mixed layout must still give the response of
// its poles and (unit-circle) zeros, scaled to the normal gain at the normal frequency.
TEST(Cascade, MixedRealAndComplexRootsGiveTheLayoutsResponse)
{
    TestLayout layout;
    layout.Set({{0.5, 0}, {-0.3, 0}, {0.2, 0.6}, {0.2, -0.6}, {0.1, 0}},
               {{-1, 0}, {1, 0}, {std::cos(1.0), std::sin(1.0)}, {std::cos(1.0), -std::sin(1.0)}, {-1, 0}});
    layout.mNormalW = 0.3;
    layout.mNormalGain = 2.0;
    TestFilter filter;
    filter.ApplyLayout(layout);

    ASSERT_EQ(filter.StageCount(), 3);
    const double norm = 2.0 / Dsp::Modulus(Dsp::Divide(RootProduct(layout.mZeros, 0.3), RootProduct(layout.mPoles, 0.3)));
    for (double w = 0.05; w < 3.1; w += 0.1) {
        const double expected = norm * Dsp::Modulus(Dsp::Divide(RootProduct(layout.mZeros, w), RootProduct(layout.mPoles, w)));
        EXPECT_NEAR(Dsp::Modulus(filter.Response(w)), expected, 1e-12 * expected) << "w=" << w;
    }
}

TEST(Cascade, IdentityPassesSamplesPlusTheAntiDenormalOffset)
{
    TestFilter filter;
    filter.SetIdentity();
    double samples[3] = {0.0, 0.5, -1.0};
    Dsp::ProcessDirectFormII(filter, 3, samples, 0);
    EXPECT_DOUBLE_EQ(samples[0], 3e-25);
    EXPECT_EQ(samples[1], 0.5);
    EXPECT_EQ(samples[2], -1.0);

    double x = 0.25;
    Dsp::ProcessDirectFormI(filter, 1, &x, 0);
    EXPECT_EQ(x, 0.25);
}
