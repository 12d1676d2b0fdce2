#pragma once

#include <cstdint>

// Uniform pseudo-random integers 0..32767 from a 32-bit linear congruential generator.
// Kept per model and computed in unsigned 32-bit arithmetic, so a given seed yields the same
// sequence on every target and on every thread.
class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed = 1) : mState(seed) {}

    void Seed(uint32_t seed) { mState = seed; }
    uint32_t State() const { return mState; }

    int Next()
    {
        mState = mState * 214013u + 2531011u;
        return static_cast<int>((mState >> 16) & 0x7FFF);
    }

private:
    uint32_t mState;
};
