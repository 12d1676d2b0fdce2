// The stereo kernel with 4-lane wide passes; this file is compiled for its instruction set alone.
#define TZ_STEREO_KERNEL ProcessStereoAvx2
#define TZ_WIDE 4
#include "effect/stereo_kernel.inc"
