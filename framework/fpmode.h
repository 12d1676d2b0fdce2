#pragma once
// ScopedAudioFpMode: the floating-point mode every audio block runs in, set for the guard's
// lifetime and the caller's own mode given back afterwards. Each process entry holds one.
//
// Filter memories that decay after loud input reach subnormal numbers, which the processor
// handles many times slower; flush-to-zero and denormals-are-zero turn them into zeros. The
// rest of the mode is fixed too (round to nearest, every exception masked), so a block gives
// the same bits whatever mode the host left set, and a host's unmasked exception never fires
// inside the plug-in. Only the SSE control register (MXCSR) is concerned: the 32-bit x86 build
// computes with SSE2 as well.
#include <pmmintrin.h>

class ScopedAudioFpMode {
public:
    // Round to nearest, all exceptions masked, no status flags, flush-to-zero, denormals-are-zero.
    static constexpr unsigned kBlockMode =
        _MM_ROUND_NEAREST | _MM_MASK_MASK | _MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON;

    ScopedAudioFpMode() : mHostMode(_mm_getcsr()) { _mm_setcsr(kBlockMode); }
    ~ScopedAudioFpMode() { _mm_setcsr(mHostMode); }
    ScopedAudioFpMode(const ScopedAudioFpMode&) = delete;
    ScopedAudioFpMode& operator=(const ScopedAudioFpMode&) = delete;

private:
    unsigned mHostMode;
};
