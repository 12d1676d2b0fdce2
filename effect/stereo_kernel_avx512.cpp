// The stereo kernel with 8-lane wide passes; this file is compiled for its instruction set alone.
// GCC 12's own AVX-512 intrinsics trip its uninitialized-use warning (a known false alarm).
#ifndef __clang__
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#define TZ_STEREO_KERNEL ProcessStereoAvx512
#define TZ_WIDE 8
#include "effect/stereo_kernel.inc"
