// The stereo kernel with 2-lane wide passes; runs on every x86-64 processor and on x86 with SSE2.
#define TZ_STEREO_KERNEL ProcessStereoSse2
#define TZ_WIDE 2
#include "effect/stereo_kernel.inc"
