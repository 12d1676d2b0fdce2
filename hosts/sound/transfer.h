#pragma once
// Moves audio between a sound file and a stream of raw interleaved 64-bit little-endian floats
// (a pipe to or from the Windows host program), a block at a time: memory stays flat whatever
// the length.
#include <string>

#include "sound_file.h"

namespace sound {

// What went through: frames, the peak magnitude, and samples clipped at an integer result's full scale.
struct Totals {
    long long frames = 0;
    double peak = 0;
    long long clipped = 0;
};

// How a transfer ended.
enum class Ending { kDone, kReaderGone, kFailed };

// Writes every frame of `in` to the descriptor `out`; kReaderGone when the stream's reader closed
// it early, kFailed with *problem set when reading failed.
Ending Decode(SoundFile& in, int out, Totals* totals, std::string* problem);

// Writes the stream on descriptor `in` (`channels` samples a frame) into `out`, rounded to the
// result's sample format `sample`, calling progress(frames so far), if given, after each block;
// kFailed with *problem set when writing or reading failed.
Ending Encode(int in, int channels, SoundFile& out, Sample sample, Totals* totals, std::string* problem,
              void (*progress)(long long frames) = nullptr);

}  // namespace sound
