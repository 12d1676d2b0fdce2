// The native side of scripts/render, between the user's sound files and the Windows host program's
// raw samples (64-bit little-endian floats, interleaved):
//   tz_sound info IN                         prints "RATE CHANNELS FRAMES SAMPLE" for a file a render takes
//   tz_sound decode IN                       IN's samples to standard output; "(cut short)" in its figures
//                                          when IN ends before its header says
//   tz_sound encode OUT SAMPLE RATE CHANNELS standard input into OUT, in OUT's extension's format
//                                            keeping SAMPLE (a name info prints) where it can
// Every message goes to standard error as one line; decode and encode end with one line of
// figures. Statuses: 2 a file or command refused, 3 decode's reader stopped reading, 4 reading
// or writing failed.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "output_format.h"
#include "transfer.h"

using namespace sound;

namespace {
constexpr int kRefused = 2, kReaderGone = 3, kFailed = 4;

int Fail(const std::string& message, int status) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return status;
}

int Info(const std::string& path) {
    SoundFile file;
    const std::string problem = OpenInput(path, &file);
    if (!problem.empty()) return Fail(problem, kRefused);
    std::printf("%d %d %lld %s\n", file.rate(), file.channels(), file.frames(), SampleName(file.sample()));
    return 0;
}

int DecodeFile(const std::string& path) {
    SoundFile file;
    std::string problem = OpenInput(path, &file);
    if (!problem.empty()) return Fail(problem, kRefused);
    Totals totals;
    const Ending ending = Decode(file, STDOUT_FILENO, &totals, &problem);
    if (ending == Ending::kReaderGone) return kReaderGone;
    if (ending == Ending::kFailed) return Fail(problem, kFailed);
    std::fprintf(stderr, "decoded %lld frames%s, peak %.17g\n", totals.frames, file.CutShort() ? " (cut short)" : "",
                 totals.peak);
    return 0;
}

// A line now and then for scripts/render's progress display.
void ShowProgress(long long frames) {
    constexpr long long kEvery = 1 << 18;
    static long long shown = 0;
    if (frames - shown < kEvery) return;
    shown = frames;
    std::fprintf(stderr, "at %lld frames\n", frames);
}

int EncodeFile(const std::string& path, const std::string& sampleName, const char* rateText, const char* channelsText) {
    Sample sample{};
    const int rate = std::atoi(rateText), channels = std::atoi(channelsText);
    if (!ParseSample(sampleName, &sample) || rate <= 0 || channels < 1 || channels > 2)
        return Fail("encode: bad sample format, rate or channel count", kRefused);
    const int format = OutputFormat(path, sample);
    if (format == 0) return Fail(path + ": give OUT a name ending in " + kOutputExtensions, kRefused);
    SoundFile file;
    std::string problem = file.OpenWrite(path, format, rate, channels);
    if (!problem.empty()) return Fail(problem, kFailed);
    Totals totals;
    const Sample written = SampleOf(format);
    if (Encode(STDIN_FILENO, channels, file, written, &totals, &problem, ShowProgress) != Ending::kDone)
        return Fail(problem, kFailed);
    std::fprintf(stderr, "encoded %lld frames as %s, peak %.17g, clipped %lld\n", totals.frames, SampleName(written),
                 totals.peak, totals.clipped);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that stops early is told apart from a failure by EPIPE, not killed by the signal.
    signal(SIGPIPE, SIG_IGN);
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "info" && argc == 3) return Info(argv[2]);
    if (verb == "decode" && argc == 3) return DecodeFile(argv[2]);
    if (verb == "encode" && argc == 6) return EncodeFile(argv[2], argv[3], argv[4], argv[5]);
    return Fail("usage: tz_sound info IN | decode IN | encode OUT SAMPLE RATE CHANNELS", kRefused);
}
