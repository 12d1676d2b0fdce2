#pragma once
// What every render program shares: streaming raw 64-bit sample files through the plug-in in
// blocks, number and name parsing, the peak levels of the report and the exit statuses. The
// program's own host does the rest.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace render {

// Exit statuses scripts/render tells apart: the command was wrong; reading or writing the audio
// failed; memory ran out (3 is what an abort leaves).
constexpr int kBadCommand = 2;
constexpr int kAudioFileFailed = 4;
constexpr int kOutOfMemory = 5;
constexpr int kMaxChannels = 2;

inline int Fail(const std::string& message, int status = kBadCommand) {
    std::fprintf(stderr, "render: %s\n", message.c_str());
    return status;
}

// Runs a program's body; an allocation failure anywhere in it ends the program with a message
// and kOutOfMemory rather than an abort.
inline int Guarded(int (*body)(int, char**), int argc, char** argv) {
    try {
        return body(argc, argv);
    } catch (const std::bad_alloc&) {
        return Fail("out of memory", kOutOfMemory);
    }
}

// A raw file opened for reading or writing; `name` is the path as given, for messages.
class RawFile {
public:
    RawFile(const std::string& openPath, const std::string& displayName, const char* mode)
        : name(displayName), file(std::fopen(openPath.c_str(), mode)), mReading(mode[0] == 'r') {}
    ~RawFile() {
        if (file) std::fclose(file);
    }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;
    explicit operator bool() const { return file != nullptr; }

    // Closes the file; false, with errno set, when data still buffered could not be written.
    bool Close() {
        const int result = std::fclose(file);
        file = nullptr;
        return result == 0;
    }

    // What the last failed call on the file means, from errno.
    std::string Problem() const {
        return (mReading ? "cannot read " : "cannot write ") + name + ": " + std::strerror(errno);
    }

    const std::string name;
    FILE* file;

private:
    const bool mReading;
};

// What went through a stream: frames, and the peak magnitude of the input and of the output.
struct Totals {
    long long frames = 0;
    double peakIn = 0, peakOut = 0;
};

inline double Db(double peak) { return peak > 0 ? 20 * std::log10(peak) : -INFINITY; }

// Streams interleaved 64-bit samples from `in` to `out`, `block` frames at a time: each block is
// split into one Sample buffer per channel (kMaxChannels of them, unused ones silent), handed to
// process(inputs, outputs, frames) with the outputs cleared, and interleaved back. Memory stays at
// a few blocks whatever the length. Everything runs on the calling thread, which the plug-in sees
// as its audio thread. Returns "" or what failed; `out` is closed either way.
template <typename Sample, typename Process>
std::string Stream(RawFile& in, RawFile& out, int channels, int block, Process process, Totals* totals) {
    std::vector<double> interleaved(size_t(block) * size_t(channels));
    std::vector<Sample> buffers[2][kMaxChannels];
    Sample* pointers[2][kMaxChannels];
    for (int side = 0; side < 2; ++side)
        for (int c = 0; c < kMaxChannels; ++c) {
            buffers[side][c].assign(size_t(block), Sample(0));
            pointers[side][c] = buffers[side][c].data();
        }
    std::string error;
    for (;;) {
        const size_t count = std::fread(interleaved.data(), sizeof(double), interleaved.size(), in.file);
        const int frames = int(count / size_t(channels));
        if (frames == 0) break;
        for (int k = 0; k < frames; ++k)
            for (int c = 0; c < channels; ++c) {
                const double v = interleaved[size_t(k * channels + c)];
                totals->peakIn = std::max(totals->peakIn, std::fabs(v));
                buffers[0][c][size_t(k)] = static_cast<Sample>(v);
            }
        for (auto& buffer : buffers[1]) std::fill(buffer.begin(), buffer.end(), Sample(0));
        process(pointers[0], pointers[1], frames);
        for (int k = 0; k < frames; ++k)
            for (int c = 0; c < channels; ++c) {
                const double v = buffers[1][c][size_t(k)];
                totals->peakOut = std::max(totals->peakOut, std::fabs(v));
                interleaved[size_t(k * channels + c)] = v;
            }
        totals->frames += frames;
        const size_t samples = size_t(frames) * size_t(channels);
        if (std::fwrite(interleaved.data(), sizeof(double), samples, out.file) != samples) {
            // Under Wine a write cut short by a full disk may leave an unrelated errno.
            error = out.Problem() + (errno == ENOSPC ? "" : " (a short write: is the disk full?)");
            break;
        }
    }
    if (error.empty() && std::ferror(in.file)) error = in.Problem();
    if (!out.Close() && error.empty()) error = out.Problem();
    return error;
}

inline bool ParseNumber(const std::string& text, double* value) {
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == 0 && std::isfinite(*value);
}

inline std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace render
