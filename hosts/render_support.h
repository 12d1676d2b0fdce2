#pragma once
// What every render program shares: its command line, streaming raw 64-bit samples through the
// plug-in in blocks (from files or the standard streams), reading parameter values, the report
// and the exit statuses. The program's own host does the rest.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>

#include <csignal>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>
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

inline bool ParseNumber(const std::string& text, double* value) {
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == 0 && std::isfinite(*value);
}

inline std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// What the program was asked: PROGRAM [--float32] MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...].
// IN "-" is standard input, OUT "-" standard output; --float32 (where the program offers it)
// has the plug-in process 32-bit samples.
struct Command {
    std::string module, in, out;
    double rate = 0;
    int channels = 0;
    bool float32 = false;
    std::vector<std::string> settings;
};

// The standard streams carry raw bytes: Windows would otherwise translate line ends.
#ifdef _WIN32
inline bool BinaryMode(int fd) { return _setmode(fd, _O_BINARY) >= 0; }
inline int DupDescriptor(int fd) { return _dup(fd); }
inline void MoveDescriptor(int from, int to) { _dup2(from, to); }
inline FILE* OpenDescriptor(int fd, const char* mode) { return _fdopen(fd, mode); }
#else
inline bool BinaryMode(int) { return true; }
inline int DupDescriptor(int fd) { return dup(fd); }
inline void MoveDescriptor(int from, int to) { dup2(from, to); }
inline FILE* OpenDescriptor(int fd, const char* mode) { return fdopen(fd, mode); }
#endif

// The descriptor the audio goes to when OUT is "-"; standard output itself then carries the
// report (and whatever the plug-in prints) to standard error, so neither mixes into the audio.
inline int gAudioOut = -1;

// A raw file opened for reading or writing; `name` is the path as given, for messages.
class RawFile {
public:
    RawFile(const std::string& openPath, const std::string& displayName, const char* mode)
        : name(displayName), file(Open(openPath, displayName, mode)), mReading(mode[0] == 'r') {}
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
    static FILE* Open(const std::string& openPath, const std::string& name, const char* mode) {
        if (name != "-") return std::fopen(openPath.c_str(), mode);
        if (mode[0] == 'r') return BinaryMode(0) ? stdin : nullptr;
        return gAudioOut >= 0 && BinaryMode(gAudioOut) ? OpenDescriptor(gAudioOut, mode) : nullptr;
    }

    const bool mReading;
};

// Reads the command into *command (RATE and CHANNELS as decimal numbers), taking --float32 first
// when the program offers it; "" or the message.
inline std::string ReadCommand(int argc, char** argv, bool offersFloat32, Command* command) {
    command->float32 = offersFloat32 && argc > 1 && std::strcmp(argv[1], "--float32") == 0;
    const int skip = command->float32 ? 1 : 0;
    char** args = argv + skip;  // args[1] is MODULE
    if (argc - skip < 6)
        return std::string("usage: ") + argv[0] + (offersFloat32 ? " [--float32]" : "") +
               " MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]";
    command->module = args[1];
    command->in = args[2];
    command->out = args[3];
    double channels = 0;
    if (!ParseNumber(args[4], &command->rate) || command->rate <= 0) return std::string("bad sample rate ") + args[4];
    if (!ParseNumber(args[5], &channels) || (channels != 1 && channels != 2))
        return std::string("only mono and stereo audio can be rendered, not ") + args[5] + " channels";
    command->channels = int(channels);
    command->settings.assign(args + 6, argv + argc);
    return "";
}

// The entry of every render program: reads the command (offersFloat32: the program takes
// --float32), keeps standard output for the audio when OUT is "-", and runs body. An allocation
// failure anywhere ends the program with a message and kOutOfMemory rather than an abort.
inline int Main(int argc, char** argv, int (*body)(const Command&), bool offersFloat32 = false) {
    Command command;
    const std::string problem = ReadCommand(argc, argv, offersFloat32, &command);
    if (!problem.empty()) return Fail(problem);
#ifndef _WIN32
    // A reader that went away fails the write (a message and kAudioFileFailed, as on Windows)
    // rather than ending the program by its signal.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    if (command.out == "-") {
        std::fflush(stdout);
        gAudioOut = DupDescriptor(1);
        MoveDescriptor(2, 1);
    }
    try {
        return body(command);
    } catch (const std::bad_alloc&) {
        return Fail("out of memory", kOutOfMemory);
    }
}

// One NAME=VALUE setting split at its first '='; "" or the message.
inline std::string SplitSetting(const std::string& setting, std::string* name, std::string* text) {
    const size_t eq = setting.find('=');
    if (eq == std::string::npos || eq == 0) return "expected NAME=VALUE, got \"" + setting + "\"";
    *name = setting.substr(0, eq);
    *text = setting.substr(eq + 1);
    return "";
}

inline std::string UnknownParameter(const std::string& name, const std::string& names) {
    return "unknown parameter \"" + name + "\"; the parameters are " + names;
}

// A parameter as a render program's host finds it by name: the host's id for it, whether it is a
// switch, and its range in plain units.
struct Parameter {
    unsigned long id = 0;
    bool toggle = false;
    double lo = 0, hi = 0;
};

// A decimal number: sign, digits with at most one point, an optional exponent; nothing else.
inline bool ParseDecimal(const std::string& text, double* value) {
    size_t i = text.size() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    size_t digits = 0, points = 0;
    for (; i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.'); ++i)
        (text[i] == '.' ? points : digits) += 1;
    if (digits == 0 || points > 1) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        i += i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-') ? 2 : 1;
        const size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        if (i == start) return false;
    }
    return i == text.size() && ParseNumber(text, value);
}

// A value typed for a parameter in plain units: a decimal number within lo..hi, or for a switch
// on/off, 1/0. Sets *plain and returns "", or returns the message.
inline std::string ReadValue(const std::string& name, const std::string& text, bool toggle, double lo, double hi,
                             double* plain) {
    const std::string word = Lower(text);
    if (toggle) {
        if (word == "on" || word == "off") return *plain = word == "on" ? 1 : 0, "";
        if (ParseDecimal(text, plain) && (*plain == 0 || *plain == 1)) return "";
        return "\"" + text + "\" is not a value for \"" + name + "\"; use on/off or 1/0";
    }
    char range[64];
    std::snprintf(range, sizeof range, "%g..%g", std::min(lo, hi), std::max(lo, hi));
    if (!ParseDecimal(text, plain))
        return "\"" + text + "\" is not a value for \"" + name + "\"; give a number in " + range;
    if (*plain < std::min(lo, hi) || *plain > std::max(lo, hi))
        return "\"" + name + "\" " + text + " is outside " + range + "; give a number in that range";
    return "";
}

// Reads every NAME=VALUE setting in order: find(name, &parameter) looks the name up (false: no
// such parameter), names() lists them all for the message, apply(parameter, plain) takes the
// value. "" or the first problem.
template <typename Find, typename Names, typename Apply>
std::string ApplySettings(const std::vector<std::string>& settings, Find find, Names names, Apply apply) {
    for (const std::string& setting : settings) {
        std::string name, text;
        std::string problem = SplitSetting(setting, &name, &text);
        if (!problem.empty()) return problem;
        Parameter parameter;
        if (!find(name, &parameter)) return UnknownParameter(name, names());
        double plain = 0;
        problem = ReadValue(name, text, parameter.toggle, parameter.lo, parameter.hi, &plain);
        if (!problem.empty()) return problem;
        apply(parameter, plain);
    }
    return "";
}

// A plain value as text a plug-in's own parser reads back exactly.
inline std::string PlainText(double plain) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", plain);
    return text;
}

// What went through a stream: frames, and the peak magnitude of the input and of the output.
struct Totals {
    long long frames = 0;
    double peakIn = 0, peakOut = 0;
};

inline double Db(double peak) { return peak > 0 ? 20 * std::log10(peak) : -INFINITY; }

// The closing report: what was rendered, every setting as the plug-in shows it, the peaks.
inline void Report(const Command& command, const Totals& totals,
                   const std::vector<std::pair<std::string, std::string>>& settings) {
    std::printf(
        "rendered %s frames, %d channel%s at %g Hz through %s\nsettings:", std::to_string(totals.frames).c_str(),
        command.channels, command.channels > 1 ? "s" : "", command.rate, command.module.c_str());
    for (size_t i = 0; i < settings.size(); ++i)
        std::printf("%s%s=%s", i ? ", " : " ", settings[i].first.c_str(), settings[i].second.c_str());
    std::printf("\npeak in %.1f dBFS, peak out %.1f dBFS\n", Db(totals.peakIn), Db(totals.peakOut));
}

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
#ifdef _WIN32
            // Under Wine a write cut short by a full disk may leave an unrelated errno.
            error = out.Problem() + (errno == ENOSPC ? "" : " (a short write: is the disk full?)");
#else
            error = out.Problem();
#endif
            break;
        }
    }
    if (error.empty() && std::ferror(in.file)) error = in.Problem();
    if (!out.Close() && error.empty()) error = out.Problem();
    return error;
}

}  // namespace render
