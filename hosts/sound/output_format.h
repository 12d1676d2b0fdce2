#pragma once
// The libsndfile format a result is written in: the container from OUT's extension, the input's
// sample format where that container holds it.
#include <string>

#include "sample_format.h"

namespace sound {

// The extensions OUT may end in, for messages.
constexpr const char* kOutputExtensions = ".wav, .flac, .aiff, .w64, .rf64 or .ogg";

// The format word for a result at `path` keeping `sample`, or 0 when the extension is none of
// kOutputExtensions.
int OutputFormat(const std::string& path, Sample sample);

}  // namespace sound
