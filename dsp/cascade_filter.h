#pragma once

#include "dsp/cascade.h"

namespace Dsp {

// The running part of a cascade: per-channel sample memories, four doubles per stage, laid
// out channel by channel and within a channel stage by stage. Direct Form I keeps
// x1, x2, y1, y2 in them, Direct Form II w1, w2. They start at zero and survive redesigns.
class CascadeFilter : public virtual Cascade {
public:
    int ChannelCount() const { return mNumChannels; }

    // False when any memory holds NaN or infinity.
    bool StateIsFinite() const;
    void ClearState();

    // The memories of channel ch: four doubles per stage.
    double* ChannelState(int ch) { return mState + ch * mMaxStages * 4; }
    const double* ChannelState(int ch) const { return mState + ch * mMaxStages * 4; }

protected:
    CascadeFilter() = default;
    ~CascadeFilter() = default;

    int StateSize() const { return mNumChannels * mMaxStages * 4; }

    int mNumChannels = 0;
    double* mState = nullptr;

    friend void ProcessDirectFormI(CascadeFilter&, int, double*, int);
    friend void ProcessDirectFormII(CascadeFilter&, int, double*, int);
};

// The tiny offset Direct Form II adds to every stage's internal value: it keeps the recursion
// out of subnormal numbers when the input falls silent.
constexpr double kFormIIOffset = 1e-25;

// One stage of Direct Form I on x, with the memories m: x1, x2, y1, y2.
inline double StepDirectFormI(const Stage& st, double* m, double x) {
    const double y = (st.b1 * m[0] + st.b0 * x) + st.b2 * m[1] + st.c1 * m[2] + st.c2 * m[3];
    m[1] = m[0];
    m[0] = x;
    m[3] = m[2];
    m[2] = y;
    return y;
}

// One stage of Direct Form II on x, with the memories m: w1, w2.
inline double StepDirectFormII(const Stage& st, double* m, double x) {
    const double w = ((st.c1 * m[0] + x) + st.c2 * m[1]) + kFormIIOffset;
    const double y = (st.b1 * m[0] + st.b0 * w) + st.b2 * m[1];
    m[1] = m[0];
    m[0] = w;
    return y;
}

// Filter count frames of ChannelCount() samples in place; after each frame the pointer moves
// on by step further samples. A cascade of two channels on a processor with SSE3 runs a
// two-channel form, one stage at a time over the whole block: Direct Form I with the same
// arithmetic, Direct Form II adding 1e-18 to every sample a stage takes in and running on the
// stages' ramped coefficient copies (Stage::rampC1 and on).
void ProcessDirectFormI(CascadeFilter& filter, int count, double* samples, int step);
void ProcessDirectFormII(CascadeFilter& filter, int count, double* samples, int step);

}  // namespace Dsp
