#pragma once
// The sample formats a render keeps from its input to its result, by the names the tz_sound
// program prints and reads.
#include <string>

namespace sound {

enum class Sample { kPcm8, kPcm16, kPcm24, kPcm32, kFloat32, kFloat64, kCompressed };

// The sample format of a libsndfile format word; compressed ones (Vorbis, MP3, ADPCM) are kCompressed.
Sample SampleOf(int format);
const char* SampleName(Sample sample);
// The sample format named, false for none.
bool ParseSample(const std::string& name, Sample* sample);
inline bool IsFloat(Sample sample) { return sample == Sample::kFloat32 || sample == Sample::kFloat64; }

}  // namespace sound
