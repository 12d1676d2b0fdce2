#include "dsp/cascade_filter.h"

#include "dsp/cpu_features.h"

#include <cmath>

#if defined(__i386__) || defined(__x86_64__)
#include <pmmintrin.h>
#define TZ_TWO_CHANNEL_FORMS 1
#endif

namespace Dsp {

bool CascadeFilter::StateIsFinite() const {
    for (int i = 0; i < StateSize(); ++i)
        if (!std::isfinite(mState[i])) return false;
    return true;
}

void CascadeFilter::ClearState() {
    for (int i = 0; i < StateSize(); ++i) mState[i] = 0.0;
}

namespace {

#if TZ_TWO_CHANNEL_FORMS
// Two channels, interleaved, one stage at a time over the block; the arithmetic of the general
// loop. m0 and m1: the memories of channel 0 and channel 1.
__attribute__((target("sse3"))) void ProcessTwoChannelFormI(const Stage* stages, int numStages, double* m0, double* m1,
                                                            int count, double* samples, int step) {
    const int frameStep = 2 + step;
    for (int s = 0; s < numStages; ++s, m0 += 4, m1 += 4) {
        const Stage& st = stages[s];
        const __m128d b0 = _mm_loaddup_pd(&st.b0), b1 = _mm_loaddup_pd(&st.b1), b2 = _mm_loaddup_pd(&st.b2);
        const __m128d c1 = _mm_loaddup_pd(&st.c1), c2 = _mm_loaddup_pd(&st.c2);
        __m128d x1 = _mm_set_pd(m1[0], m0[0]), x2 = _mm_set_pd(m1[1], m0[1]);
        __m128d y1 = _mm_set_pd(m1[2], m0[2]), y2 = _mm_set_pd(m1[3], m0[3]);
        double* p = samples;
        for (int n = 0; n < count; ++n, p += frameStep) {
            const __m128d x = _mm_loadu_pd(p);
            __m128d y = _mm_add_pd(_mm_mul_pd(b1, x1), _mm_mul_pd(b0, x));
            y = _mm_add_pd(_mm_add_pd(_mm_add_pd(y, _mm_mul_pd(b2, x2)), _mm_mul_pd(c1, y1)), _mm_mul_pd(c2, y2));
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            _mm_storeu_pd(p, y);
        }
        _mm_storel_pd(&m0[0], x1);
        _mm_storeh_pd(&m1[0], x1);
        _mm_storel_pd(&m0[1], x2);
        _mm_storeh_pd(&m1[1], x2);
        _mm_storel_pd(&m0[2], y1);
        _mm_storeh_pd(&m1[2], y1);
        _mm_storel_pd(&m0[3], y2);
        _mm_storeh_pd(&m1[3], y2);
    }
}

// Two channels, interleaved, one stage at a time over the block. The stage runs on its ramped
// copy of the coefficients, moved by (current - copy) / count per frame while any of the five
// still differs, and keeps what the copy reached. Every input sample of a stage gets 1e-18.
__attribute__((target("sse3"))) void ProcessTwoChannelFormII(Stage* stages, int numStages, double* m0, double* m1,
                                                             int count, double* samples, int step) {
    const int frameStep = 2 + step;
    const __m128d inputOffset = _mm_set1_pd(1e-18);
    const __m128d offset = _mm_set1_pd(kFormIIOffset);
    for (int s = 0; s < numStages; ++s, m0 += 4, m1 += 4) {
        Stage& st = stages[s];
        double c[5] = {st.rampC1, st.rampC2, st.rampB0, st.rampB1, st.rampB2};
        const double target[5] = {st.c1, st.c2, st.b0, st.b1, st.b2};
        double delta[5];
        for (int k = 0; k < 5; ++k) delta[k] = (target[k] - c[k]) / count;
        __m128d w1 = _mm_set_pd(m1[0], m0[0]), w2 = _mm_set_pd(m1[1], m0[1]);
        double* p = samples;
        for (int n = 0; n < count; ++n, p += frameStep) {
            if (c[0] != target[0] || c[1] != target[1] || c[2] != target[2] || c[3] != target[3] || c[4] != target[4])
                for (int k = 0; k < 5; ++k) c[k] += delta[k];
            const __m128d c1 = _mm_loaddup_pd(&c[0]), c2 = _mm_loaddup_pd(&c[1]);
            const __m128d b0 = _mm_loaddup_pd(&c[2]), b1 = _mm_loaddup_pd(&c[3]), b2 = _mm_loaddup_pd(&c[4]);
            const __m128d x = _mm_add_pd(_mm_loadu_pd(p), inputOffset);
            __m128d w = _mm_add_pd(_mm_add_pd(_mm_mul_pd(c1, w1), x), _mm_mul_pd(c2, w2));
            w = _mm_add_pd(w, offset);
            const __m128d y = _mm_add_pd(_mm_add_pd(_mm_mul_pd(b1, w1), _mm_mul_pd(b0, w)), _mm_mul_pd(b2, w2));
            w2 = w1;
            w1 = w;
            _mm_storeu_pd(p, y);
        }
        st.rampC1 = c[0];
        st.rampC2 = c[1];
        st.rampB0 = c[2];
        st.rampB1 = c[3];
        st.rampB2 = c[4];
        _mm_storel_pd(&m0[0], w1);
        _mm_storeh_pd(&m1[0], w1);
        _mm_storel_pd(&m0[1], w2);
        _mm_storeh_pd(&m1[1], w2);
    }
}
#endif

// Each form's two-channel loop, where the target has one.
#if TZ_TWO_CHANNEL_FORMS
constexpr auto kTwoChannelFormI = ProcessTwoChannelFormI;
constexpr auto kTwoChannelFormII = ProcessTwoChannelFormII;
#else
constexpr auto kTwoChannelFormI = nullptr;
constexpr auto kTwoChannelFormII = nullptr;
#endif

typedef double (*StageStep)(const Stage&, double*, double);

// One channel of N stages with coefficients and memories held in locals, so that the stages'
// recursions overlap instead of waiting on memory; the arithmetic is that of the general loop.
template <StageStep kStep, int N>
void ProcessMono(const Stage* stages, double* memories, int count, double* samples, int frameStep) {
    Stage st[N];
    double m[N][4];
    for (int s = 0; s < N; ++s) {
        st[s] = stages[s];
        for (int k = 0; k < 4; ++k) m[s][k] = memories[s * 4 + k];
    }
    for (int n = 0; n < count; ++n, samples += frameStep) {
        double x = *samples;
        for (int s = 0; s < N; ++s) x = kStep(st[s], m[s], x);
        *samples = x;
    }
    for (int s = 0; s < N; ++s)
        for (int k = 0; k < 4; ++k) memories[s * 4 + k] = m[s][k];
}

// What the loops need of a cascade filter.
struct Run {
    Stage* stages;
    int numStages;
    int channels;
    int stride;  // doubles from one channel's memories to the next's
    double* state;
};

// Every channel of every frame through every stage.
template <StageStep kStep>
void ProcessEachChannel(const Run& r, int count, double* samples, int step) {
    if (r.channels == 1 && r.numStages == 3) {
        ProcessMono<kStep, 3>(r.stages, r.state, count, samples, 1 + step);
        return;
    }
    for (int n = 0; n < count; ++n) {
        for (int ch = 0; ch < r.channels; ++ch) {
            double x = samples[ch];
            double* m = r.state + ch * r.stride;
            for (int s = 0; s < r.numStages; ++s, m += 4) x = kStep(r.stages[s], m, x);
            samples[ch] = x;
        }
        samples += r.channels + step;
    }
}

// Two channels on a processor with SSE3 run the two-channel loop, where the target has one;
// everything else the general loop.
template <StageStep kStep, auto kTwoChannels>
void Process(const Run& r, int count, double* samples, int step) {
    if constexpr (kTwoChannels != nullptr) {
        if (r.channels == 2 && HasSse3()) {
            if (count > 0) kTwoChannels(r.stages, r.numStages, r.state, r.state + r.stride, count, samples, step);
            return;
        }
    }
    ProcessEachChannel<kStep>(r, count, samples, step);
}

}  // namespace

void ProcessDirectFormI(CascadeFilter& filter, int count, double* samples, int step) {
    const Run r{filter.mStages, filter.mNumStages, filter.mNumChannels, filter.mMaxStages * 4, filter.mState};
    Process<StepDirectFormI, kTwoChannelFormI>(r, count, samples, step);
}

void ProcessDirectFormII(CascadeFilter& filter, int count, double* samples, int step) {
    const Run r{filter.mStages, filter.mNumStages, filter.mNumChannels, filter.mMaxStages * 4, filter.mState};
    Process<StepDirectFormII, kTwoChannelFormII>(r, count, samples, step);
}

}  // namespace Dsp
