#pragma once

#include <cstdint>

// One block of two circuit models run together: every value below is a pair (left, right),
// so both channels' arithmetic shares the lanes of a vector register. The models copy their
// coefficients and memories in, a kernel runs the block, the models copy the memories back.
// The kernels do the models' arithmetic in the models' order, so each channel's output is
// bit-identical to the model's own ProcessBlock.

struct alignas(16) LanePair {
    double v[2];
};

// Three Direct Form II stages.
struct StereoCascade {
    LanePair c1[3], c2[3], b0[3], b1[3], b2[3];
    LanePair w1[3], w2[3];
};

// y = a1 * x1 + a0 * x + b1 * y1.
struct StereoOnePole {
    LanePair a0, a1, b1;
    LanePair x1, y1;
};

// One Direct Form I stage.
struct StereoShelf {
    LanePair b0, b1, b2, c1, c2;
    LanePair x1, x2, y1, y2;
};

struct StereoJob {
    // Host-rate samples of each channel, processed in place (input may equal output).
    const double* in[2];
    double* out[2];
    int frames;
    int factor;  // oversampling, 2 or more
    bool bypass;
    bool saturation;
    bool hiss;

    StereoCascade up;
    StereoCascade down;
    StereoOnePole inputHighPass;
    StereoOnePole driveLowPass;
    StereoOnePole postLowPass;
    StereoOnePole toneHighPass;
    StereoShelf shelf;
    LanePair drive;
    LanePair tone;
    LanePair level;
    LanePair compensation;  // 1 - distortion^4 * 0.7, or exactly 1 when off
    LanePair mix;
    uint32_t noise[2];  // hiss generator states
};

// The kernels, one per instruction set; each needs a processor that has its instructions.
void ProcessStereoSse2(StereoJob& job);
void ProcessStereoAvx2(StereoJob& job);
void ProcessStereoAvx512(StereoJob& job);
