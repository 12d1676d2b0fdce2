#include "dsp/cascade.h"

#include "dsp/layout.h"

#include <algorithm>
#include <cmath>

namespace Dsp {

namespace {

bool IsReal(Complex c) { return std::fabs(c.im) < 1e-6 || c.im == 0.0; }

}  // namespace

void Cascade::SetIdentity() {
    for (int i = 0; i < mNumStages; ++i) mStages[i].SetPassThrough();
}

Complex Cascade::Response(double w) const {
    const Complex e1 = {std::cos(-w), std::sin(-w)};
    const Complex e2 = {std::cos(-2 * w), std::sin(-2 * w)};
    Complex num = {1.0, 0.0};
    Complex den = {1.0, 0.0};
    for (int i = 0; i < mNumStages; ++i) {
        const Stage& s = mStages[i];
        num = num * (Complex{s.b0, 0.0} + s.b1 * e1 + s.b2 * e2);
        den = den * (Complex{1.0, 0.0} - s.c1 * e1 - s.c2 * e2);
    }
    return Divide(num, den);
}

void Cascade::ApplyLayout(const Layout& digital) {
    const int poles = digital.mPoles.mCount;
    const int zeros = digital.mZeros.mCount;
    mNumStages = std::min(mMaxStages, std::max((poles + 1) / 2, (zeros + 1) / 2));
    SetIdentity();
    const int last = mNumStages - 1;

    // Complex pairs fill the stages from the last one down; real roots collect in stage 0
    // and move out as soon as it holds two of them. A malformed layout (unpaired roots)
    // would run out of stages; the excess is dropped.
    int i = 0;
    for (int k = 0; k < poles; ++k) {
        const Complex p = digital.mPoles.mRoots[k];
        Stage& first = mStages[0];
        if (IsReal(p)) {
            const double c = first.c1;
            first.c1 = c + p.re;
            first.c2 = -(c * p.re);
            if (first.c2 != 0.0 && last - i > 0) {
                mStages[last - i].c1 = first.c1;
                mStages[last - i].c2 = first.c2;
                first.c1 = 0.0;
                first.c2 = 0.0;
                ++i;
            }
        } else if (p.im > 0 && last - i >= 0) {
            mStages[last - i].c1 = 2 * p.re;
            mStages[last - i].c2 = -(p.re * p.re + p.im * p.im);
            ++i;
        }
    }

    i = 0;
    for (int k = 0; k < zeros; ++k) {
        const Complex q = digital.mZeros.mRoots[k];
        Stage& first = mStages[0];
        if (IsReal(q)) {
            const double b0 = first.b0 * -q.re;
            const double b1 = first.b0 + first.b1 * -q.re;
            const double b2 = first.b1;
            if (b2 != 0.0 && last - i > 0) {
                mStages[last - i].b0 = b0;
                mStages[last - i].b1 = b1;
                mStages[last - i].b2 = b2;
                first.b0 = 1.0;
                first.b1 = 0.0;
                first.b2 = 0.0;
                ++i;
            } else {
                first.b0 = b0;
                first.b1 = b1;
                first.b2 = b2;
            }
        } else if (q.im > 0 && last - i >= 0) {
            mStages[last - i].b0 = q.re * q.re + q.im * q.im;
            mStages[last - i].b1 = -2 * q.re;
            mStages[last - i].b2 = 1.0;
            ++i;
        }
    }

    if (mNumStages > 0) {
        const double scale = digital.mNormalGain / Modulus(Response(digital.mNormalW));
        mStages[0].b0 *= scale;
        mStages[0].b1 *= scale;
        mStages[0].b2 *= scale;
    }
}

}  // namespace Dsp
