#pragma once

#include "dsp/cascade_filter.h"

namespace Dsp {

// A single-stage high shelf with one channel, run in Direct Form I.
class HighShelf : public CascadeFilter, public CascadeSpace<2> {
public:
    HighShelf()
    {
        mNumChannels = 1;
        mState = mStateStorage;
    }

    // frequency as a fraction of the sample rate; slope as in the shelf-slope form
    // (1 is the steepest monotonic shelf).
    void Setup(double frequency, double gainDb, double slope);

    // Direct Form I, one sample.
    double Process(double x)
    {
        const Stage& st = mStages[0];
        double* m = mStateStorage;
        const double y = (st.b1 * m[0] + st.b0 * x) + st.b2 * m[1] + st.c1 * m[2] + st.c2 * m[3];
        m[1] = m[0];
        m[0] = x;
        m[3] = m[2];
        m[2] = y;
        return y;
    }

private:
    double mStateStorage[4] = {};
};

} // namespace Dsp
