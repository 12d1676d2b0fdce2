#pragma once

class zl4;

// The instruction sets the stereo kernels are built for, narrowest first.
enum class KernelPath { Sse2, Avx2, Avx512 };

constexpr KernelPath kKernelPaths[] = {KernelPath::Sse2, KernelPath::Avx2, KernelPath::Avx512};

const char* KernelPathName(KernelPath path);
// Whether this build has the kernel and this processor runs it.
bool KernelPathAvailable(KernelPath path);
// The widest available path, the one ProcessStereoBlock uses.
KernelPath BestKernelPath();

// Runs the left model over left and the right model over right, in place, frames frames each.
// Each channel's output is bit-identical to its model's own ProcessBlock. Models whose
// structure differs (oversampling, bypass, saturation or hiss, channel count) run one by one.
void ProcessStereoBlock(zl4& left, zl4& right, double* leftBuffer, double* rightBuffer, int frames);
// The same on a given path; an unavailable path runs the models one by one.
void ProcessStereoBlock(zl4& left, zl4& right, double* leftBuffer, double* rightBuffer, int frames, KernelPath path);
