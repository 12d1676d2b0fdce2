#include "effect/stereo_block.h"

#include "dsp/cpu_features.h"
#include "effect/stereo_kernel.h"
#include "effect/zl4.h"

namespace {

using Kernel = void (*)(StereoJob&);

Kernel KernelFor(KernelPath path) {
    switch (path) {
        case KernelPath::Sse2: return ProcessStereoSse2;
#if TZ_WIDE_KERNELS
        case KernelPath::Avx2: return Dsp::HasAvx2() ? ProcessStereoAvx2 : nullptr;
        case KernelPath::Avx512: return Dsp::HasAvx512() ? ProcessStereoAvx512 : nullptr;
#endif
        default: return nullptr;
    }
}

// Highest factor the kernels take: a chunk holds at least 16 host frames.
constexpr int kMaxFactor = 16;

}  // namespace

const char* KernelPathName(KernelPath path) {
    switch (path) {
        case KernelPath::Sse2: return "SSE2";
        case KernelPath::Avx2: return "AVX2";
        case KernelPath::Avx512: return "AVX-512";
    }
    return "?";
}

bool KernelPathAvailable(KernelPath path) { return KernelFor(path) != nullptr; }

KernelPath BestKernelPath() {
    static const KernelPath best = KernelPathAvailable(KernelPath::Avx512) ? KernelPath::Avx512
                                   : KernelPathAvailable(KernelPath::Avx2) ? KernelPath::Avx2
                                                                           : KernelPath::Sse2;
    return best;
}

void ProcessStereoBlock(zl4& left, zl4& right, double* leftBuffer, double* rightBuffer, int frames) {
    ProcessStereoBlock(left, right, leftBuffer, rightBuffer, frames, BestKernelPath());
}

void ProcessStereoBlock(zl4& left, zl4& right, double* leftBuffer, double* rightBuffer, int frames, KernelPath path) {
    if (frames < 1) return;
    const Kernel kernel = KernelFor(path);
    const int factor = left.Oversampling();
    if (!kernel || factor < 2 || factor > kMaxFactor || !left.SharesStructureWith(right)) {
        left.ProcessBlock(leftBuffer, frames);
        right.ProcessBlock(rightBuffer, frames);
        return;
    }
    StereoJob job;
    job.in[0] = job.out[0] = leftBuffer;
    job.in[1] = job.out[1] = rightBuffer;
    job.frames = frames;
    job.factor = factor;
    left.ExportLane(job, 0);
    right.ExportLane(job, 1);
    kernel(job);
    left.ImportLane(job, 0);
    right.ImportLane(job, 1);
}
