#include "dsp/cascade_filter.h"

#include <cmath>

namespace Dsp {

bool CascadeFilter::StateIsFinite() const
{
    for (int i = 0; i < StateSize(); ++i)
        if (!std::isfinite(mState[i]))
            return false;
    return true;
}

void CascadeFilter::ClearState()
{
    for (int i = 0; i < StateSize(); ++i)
        mState[i] = 0.0;
}

void ProcessDirectFormI(CascadeFilter& filter, int count, double* samples, int step)
{
    const int channels = filter.mNumChannels;
    const int stages = filter.mNumStages;
    const int stride = filter.mMaxStages * 4;
    for (int n = 0; n < count; ++n) {
        for (int ch = 0; ch < channels; ++ch) {
            double x = samples[ch];
            double* m = filter.mState + ch * stride;
            for (int s = 0; s < stages; ++s, m += 4) {
                const Stage& st = filter.mStages[s];
                const double y = (st.b1 * m[0] + st.b0 * x) + st.b2 * m[1] + st.c1 * m[2] + st.c2 * m[3];
                m[1] = m[0];
                m[0] = x;
                m[3] = m[2];
                m[2] = y;
                x = y;
            }
            samples[ch] = x;
        }
        samples += channels + step;
    }
}

namespace {

// The tiny offset keeps the recursion out of subnormal numbers when the input falls silent.
constexpr double kOffset = 1e-25;

// One channel of N stages with coefficients and memories held in locals, so that the stages'
// recursions overlap instead of waiting on memory; the arithmetic is that of the general loop.
template <int N>
void ProcessMonoFormII(const Stage* stages, double* m, int count, double* samples, int frameStep)
{
    Stage st[N];
    double w1[N], w2[N];
    for (int s = 0; s < N; ++s) {
        st[s] = stages[s];
        w1[s] = m[s * 4];
        w2[s] = m[s * 4 + 1];
    }
    for (int n = 0; n < count; ++n, samples += frameStep) {
        double x = *samples;
        for (int s = 0; s < N; ++s) {
            const double w = ((st[s].c1 * w1[s] + x) + st[s].c2 * w2[s]) + kOffset;
            x = (st[s].b1 * w1[s] + st[s].b0 * w) + st[s].b2 * w2[s];
            w2[s] = w1[s];
            w1[s] = w;
        }
        *samples = x;
    }
    for (int s = 0; s < N; ++s) {
        m[s * 4] = w1[s];
        m[s * 4 + 1] = w2[s];
    }
}

} // namespace

void ProcessDirectFormII(CascadeFilter& filter, int count, double* samples, int step)
{
    if (filter.mNumChannels == 1 && filter.mNumStages == 3) {
        ProcessMonoFormII<3>(filter.mStages, filter.mState, count, samples, 1 + step);
        return;
    }
    const int channels = filter.mNumChannels;
    const int stages = filter.mNumStages;
    const int stride = filter.mMaxStages * 4;
    for (int n = 0; n < count; ++n) {
        for (int ch = 0; ch < channels; ++ch) {
            double x = samples[ch];
            double* m = filter.mState + ch * stride;
            for (int s = 0; s < stages; ++s, m += 4) {
                const Stage& st = filter.mStages[s];
                const double w = ((st.c1 * m[0] + x) + st.c2 * m[1]) + kOffset;
                x = (st.b1 * m[0] + st.b0 * w) + st.b2 * m[1];
                m[1] = m[0];
                m[0] = w;
            }
            samples[ch] = x;
        }
        samples += channels + step;
    }
}

} // namespace Dsp
