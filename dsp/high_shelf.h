#pragma once

#include "dsp/cascade_filter.h"

namespace Dsp {

// A single-stage high shelf with one channel, run in Direct Form I.
class HighShelf : public CascadeFilter, public CascadeSpace<2> {
public:
    HighShelf() {
        mNumChannels = 1;
        mState = mStateStorage;
    }

    // frequency as a fraction of the sample rate; slope as in the shelf-slope form
    // (1 is the steepest monotonic shelf).
    void Setup(double frequency, double gainDb, double slope);

    // Direct Form I, one sample.
    double Process(double x) { return StepDirectFormI(mStages[0], mStateStorage, x); }

private:
    double mStateStorage[4] = {};
};

}  // namespace Dsp
