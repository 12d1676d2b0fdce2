#include "dsp/cascade_filter.h"
#include "dsp/layout.h"
#include "response_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
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

// Smith's method: no overflow for huge parts; NaN for a zero or NaN divisor.
TEST(Complex, DivisionBySmithsMethod)
{
    for (auto [n, d, re, im] : {std::tuple<Dsp::Complex, Dsp::Complex, double, double>{{1, 2}, {3, 4}, 11.0 / 25, 2.0 / 25},
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
