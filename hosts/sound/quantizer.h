#pragma once
// Rounds samples to an integer result's steps, clipping at full scale, with triangular dither of
// one step for 8 and 16-bit results. The dither's noise starts from a fixed seed: the same samples
// give the same file every time.
#include <cstdint>

#include "sample_format.h"

namespace sound {

class Quantizer {
public:
    explicit Quantizer(Sample sample);

    // Rounds `count` samples in place; a float or compressed result's pass unchanged.
    void Apply(double* samples, long long count);
    long long clipped() const { return mClipped; }

private:
    double Noise();

    double mSteps = 0;  // steps per unit: 2^(bits-1); 0 for no rounding
    bool mDither = false;
    uint64_t mState = 0x9E3779B97F4A7C15u;
    long long mClipped = 0;
};

}  // namespace sound
