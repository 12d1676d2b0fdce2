// The stereo kernel with 8-lane wide passes; this file is compiled for its instruction set alone.
#define TZ_STEREO_KERNEL ProcessStereoAvx512
#define TZ_WIDE 8
#include "effect/stereo_kernel.inc"
