#include "effect/oversampling.h"

int OversamplingForSampleRate(double sampleRate) {
    if (sampleRate < 88200) return 4;
    if (sampleRate < 192000) return 2;
    return 1;
}
