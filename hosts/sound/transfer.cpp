#include "transfer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include "quantizer.h"

namespace sound {
namespace {
constexpr long long kBlockFrames = 8192;

double Peak(const double* samples, size_t count, double peak) {
    for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::fabs(samples[i]));
    return peak;
}

// Reads until `size` bytes or the end; the bytes read, or -1 on a failure.
ssize_t ReadFully(int fd, char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = read(fd, data + done, size - done);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        done += size_t(n);
    }
    return ssize_t(done);
}

// Writes all `size` bytes; false on a failure (errno set).
bool WriteFully(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

// Sets *problem to `what` and the system's reason, for kFailed.
Ending SystemFailure(const char* what, std::string* problem) {
    *problem = std::string(what) + ": " + std::strerror(errno);
    return Ending::kFailed;
}

}  // namespace

Ending Decode(SoundFile& in, int out, Totals* totals, std::string* problem) {
    const int channels = in.channels();
    std::vector<double> block(size_t(kBlockFrames * channels));
    for (;;) {
        const long long frames = in.Read(block.data(), kBlockFrames);
        if (frames <= 0) break;
        const size_t count = size_t(frames * channels);
        totals->peak = Peak(block.data(), count, totals->peak);
        if (!WriteFully(out, reinterpret_cast<const char*>(block.data()), count * sizeof(double)))
            return errno == EPIPE ? Ending::kReaderGone : SystemFailure("cannot pass on the audio", problem);
        totals->frames += frames;
    }
    *problem = in.ReadProblem();
    return problem->empty() ? Ending::kDone : Ending::kFailed;
}

Ending Encode(int in, int channels, SoundFile& out, Sample sample, Totals* totals, std::string* problem,
              void (*progress)(long long frames)) {
    const size_t frameBytes = sizeof(double) * size_t(channels);
    std::vector<double> block(size_t(kBlockFrames * channels));
    Quantizer quantizer(sample);
    for (;;) {
        const ssize_t bytes = ReadFully(in, reinterpret_cast<char*>(block.data()), block.size() * sizeof(double));
        if (bytes < 0) return SystemFailure("cannot read the audio", problem);
        if (size_t(bytes) % frameBytes) {
            *problem = "the audio stream ended in the middle of a frame";
            return Ending::kFailed;
        }
        const long long frames = bytes / ssize_t(frameBytes);
        if (frames == 0) break;
        const size_t count = size_t(frames) * size_t(channels);
        totals->peak = Peak(block.data(), count, totals->peak);
        quantizer.Apply(block.data(), (long long)count);
        *problem = out.Write(block.data(), frames);
        if (!problem->empty()) return Ending::kFailed;
        totals->frames += frames;
        if (progress) progress(totals->frames);
    }
    totals->clipped = quantizer.clipped();
    *problem = out.Close();
    return problem->empty() ? Ending::kDone : Ending::kFailed;
}

}  // namespace sound
