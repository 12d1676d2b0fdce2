#include "output_format.h"

#include <sndfile.h>

#include <cctype>

namespace sound {
namespace {

std::string Extension(const std::string& path) {
    const size_t dot = path.rfind('.'), slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

int Container(const std::string& extension) {
    if (extension == "wav") return SF_FORMAT_WAV;
    if (extension == "w64") return SF_FORMAT_W64;
    if (extension == "rf64") return SF_FORMAT_RF64;
    if (extension == "aiff" || extension == "aif") return SF_FORMAT_AIFF;
    if (extension == "flac") return SF_FORMAT_FLAC;
    if (extension == "ogg") return SF_FORMAT_OGG;
    return 0;
}

// The subtype for `sample` in `container`: 8-bit is unsigned in the RIFF family, signed elsewhere;
// a compressed input becomes 24-bit PCM.
int Subtype(int container, Sample sample) {
    const bool riff = container == SF_FORMAT_WAV || container == SF_FORMAT_W64 || container == SF_FORMAT_RF64;
    switch (sample) {
        case Sample::kPcm8: return riff ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_S8;
        case Sample::kPcm16: return SF_FORMAT_PCM_16;
        case Sample::kPcm32: return SF_FORMAT_PCM_32;
        case Sample::kFloat32: return SF_FORMAT_FLOAT;
        case Sample::kFloat64: return SF_FORMAT_DOUBLE;
        default: return SF_FORMAT_PCM_24;
    }
}

}  // namespace

int OutputFormat(const std::string& path, Sample sample) {
    const int container = Container(Extension(path));
    if (container == 0) return 0;
    if (container == SF_FORMAT_OGG) return container | SF_FORMAT_VORBIS;
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 1;
    info.format = container | Subtype(container, sample);
    // FLAC holds integers of at most 24 bits: a wider or float input is written as 24-bit.
    return sf_format_check(&info) ? info.format : container | SF_FORMAT_PCM_24;
}

}  // namespace sound
