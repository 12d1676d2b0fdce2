#include "quantizer.h"

#include <cmath>

namespace sound {

Quantizer::Quantizer(Sample sample) {
    const int bits = sample == Sample::kPcm8    ? 8
                     : sample == Sample::kPcm16 ? 16
                     : sample == Sample::kPcm24 ? 24
                     : sample == Sample::kPcm32 ? 32
                                                : 0;
    mSteps = bits ? std::ldexp(1.0, bits - 1) : 0;
    mDither = bits && bits <= 16;
}

// A uniform number in [0, 1) from a xorshift generator.
double Quantizer::Noise() {
    mState ^= mState << 13;
    mState ^= mState >> 7;
    mState ^= mState << 17;
    return double(mState >> 11) * 0x1p-53;
}

void Quantizer::Apply(double* samples, long long count) {
    if (mSteps == 0) return;
    for (long long i = 0; i < count; ++i) {
        double step = samples[i] * mSteps;
        if (mDither) step += Noise() - Noise();
        step = std::nearbyint(step);
        if (step > mSteps - 1 || step < -mSteps) {
            step = step > 0 ? mSteps - 1 : -mSteps;
            ++mClipped;
        }
        samples[i] = step / mSteps;
    }
}

}  // namespace sound
