#include "sample_format.h"

#include <sndfile.h>

namespace sound {
namespace {
constexpr const char* kNames[] = {"pcm8", "pcm16", "pcm24", "pcm32", "float32", "float64", "compressed"};
}

Sample SampleOf(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8: return Sample::kPcm8;
        case SF_FORMAT_PCM_16: return Sample::kPcm16;
        case SF_FORMAT_PCM_24: return Sample::kPcm24;
        case SF_FORMAT_PCM_32: return Sample::kPcm32;
        case SF_FORMAT_FLOAT: return Sample::kFloat32;
        case SF_FORMAT_DOUBLE: return Sample::kFloat64;
        default: return Sample::kCompressed;
    }
}

const char* SampleName(Sample sample) { return kNames[int(sample)]; }

bool ParseSample(const std::string& name, Sample* sample) {
    for (int i = 0; i <= int(Sample::kCompressed); ++i)
        if (name == kNames[i]) return *sample = Sample(i), true;
    return false;
}

}  // namespace sound
