#pragma once

#include <cstdint>

// Uniform pseudo-random integers 0..32767 from a 32-bit linear congruential generator.
// Kept per model and computed in unsigned 32-bit arithmetic, so a given seed yields the same
// sequence on every target and on every thread.
class NoiseSource {
public:
    // One step: state := state * kMultiplier + kIncrement; a draw is bits 16 to 30 of the state.
    static constexpr uint32_t kMultiplier = 214013u;
    static constexpr uint32_t kIncrement = 2531011u;

    template <class T>
    static T DrawOf(T state) {
        return (state >> 16) & 0x7FFF;
    }

    explicit NoiseSource(uint32_t seed = 1) : mState(seed) {}

    void Seed(uint32_t seed) { mState = seed; }
    uint32_t State() const { return mState; }

    int Next() {
        mState = mState * kMultiplier + kIncrement;
        return static_cast<int>(DrawOf(mState));
    }

private:
    uint32_t mState;
};
