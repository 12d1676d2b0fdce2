// Renders raw audio through an AAX module:
//   tz_aax_render MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]
// Samples are 64-bit little-endian floats, interleaved (the host hands the plug-in 32-bit
// blocks). Parameters are found by their names and given in plain units (toggles also take
// on/off); the module converts them from text.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "aax_plugin.h"
#include "render_support.h"

using namespace aaxhost;
using namespace render;

namespace {
constexpr int kBlock = 512;
constexpr int kParams = 8;

// A Unix path as Wine sees it (Z: maps the root).
std::string WindowsPath(const std::string& path) { return path.size() && path[0] == '/' ? "Z:" + path : path; }

// The plug-in's own diagnostics (a line per block) stay out of the report while it runs. They
// are buffered meanwhile: unbuffered, a line each to NUL costs milliseconds a block under Wine.
class QuietStdout {
public:
    QuietStdout() : mSaved((std::fflush(stdout), _dup(1))) {
        const int nul = _open("NUL", _O_WRONLY);
        if (nul >= 0) _dup2(nul, 1), _close(nul);
        std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        if (mSaved >= 0) _dup2(mSaved, 1), _close(mSaved);
    }

private:
    int mSaved;
};

// Plain value text -> normalized value through the parameter's own display, with its range.
std::string Convert(Instance& plugin, const std::string& id, const std::string& text, double* normalized) {
    HostString in;
    CallSlot<void>(in.Interface(), 5, text.c_str());
    if (CallSlot<int32_t>(plugin.params, 20, id.c_str(), normalized, in.Interface()) != 0) return "not a value";
    double ends[2];
    for (int e = 0; e < 2; ++e) {
        HostString out;
        CallSlot<int32_t>(plugin.params, 21, id.c_str(), double(e), out.Interface(), int32_t(64));
        ends[e] = std::strtod(out.Text(), nullptr);
    }
    double plain = 0;
    ParseNumber(text, &plain);
    if (plain < std::min(ends[0], ends[1]) || plain > std::max(ends[0], ends[1])) {
        char range[96];
        std::snprintf(range, sizeof range, "outside %g..%g", std::min(ends[0], ends[1]), std::max(ends[0], ends[1]));
        return range;
    }
    return "";
}
}  // namespace

int Render(int argc, char** argv) {
    if (argc < 6) return Fail("usage: tz_aax_render MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]");
    const std::string modulePath = argv[1], inPath = argv[2], outPath = argv[3];
    double rate = 0;
    const int channels = std::atoi(argv[5]);
    if (!ParseNumber(argv[4], &rate) || rate <= 0) return Fail(std::string("bad sample rate ") + argv[4]);
    if (channels < 1 || channels > 2)
        return Fail("only mono and stereo audio can be rendered, not " + std::string(argv[5]) + " channels");

    RawFile in(WindowsPath(inPath), inPath, "rb");
    if (!in) return Fail(in.Problem());

    Module module;
    std::string error;
    if (!module.Load(WindowsPath(modulePath), &error)) return Fail(error);
    Host host;
    host.sampleRate = float(rate);
    host.inputStem = host.outputStem = channels == 1 ? 0x00000001 : 0x00010002;
    {
        Session session(host, module.exports);
        std::unique_ptr<Instance> plugin;
        {
            QuietStdout quiet;
            if (session.Register() != 0) return Fail("the module's description failed");
            plugin = std::make_unique<Instance>(session);
        }
        if (!plugin->Valid()) return Fail("the module made no instance");
        // The host answers every value request at once, as a host echoing an edit does.
        host.onValueRequest = [&](const char* id, double v) { plugin->Update(id, v); };

        std::string names;
        for (int i = 1; i <= kParams; ++i)
            names += (i > 1 ? ", \"" : "\"") + plugin->Text(slot::kName, std::to_string(i).c_str()) + "\"";
        for (int a = 6; a < argc; ++a) {
            const std::string arg = argv[a];
            const size_t eq = arg.find('=');
            if (eq == std::string::npos || eq == 0) return Fail("expected NAME=VALUE, got \"" + arg + "\"");
            const std::string name = arg.substr(0, eq), text = arg.substr(eq + 1);
            std::string id;
            for (int i = 1; i <= kParams && id.empty(); ++i)
                if (Lower(plugin->Text(slot::kName, std::to_string(i).c_str())) == Lower(name)) id = std::to_string(i);
            if (id.empty()) return Fail("unknown parameter \"" + name + "\"; the parameters are " + names);
            int32_t steps = 0;
            CallSlot<int32_t>(plugin->params, slot::kStepCount, id.c_str(), &steps);
            const bool toggle = steps == 2;
            const std::string word = Lower(text);
            const std::string plain = toggle && (word == "on" || word == "off") ? (word == "on" ? "1" : "0") : text;
            double normalized = 0, number = 0;
            if (!ParseNumber(plain, &number))
                return Fail("\"" + text + "\" is not a value for \"" + name + "\"" + (toggle ? " (use on/off or 1/0)" : ""));
            const std::string problem = Convert(*plugin, id, plain, &normalized);
            if (!problem.empty()) return Fail("\"" + name + "\" " + text + " is " + problem);
            plugin->Update(id.c_str(), normalized);
        }

        RawFile out(WindowsPath(outPath), outPath, "wb");
        if (!out) return Fail(out.Problem(), kAudioFileFailed);
        Totals totals;
        std::string failure;
        {
            QuietStdout quiet;
            // The host records every call the plug-in makes; the render reads none of it, so the
            // record is dropped block by block (keeping its capacity) rather than grow with the file.
            failure = Stream<float>(
                in, out, channels, kBlock,
                [&](float** inputs, float** outputs, int frames) {
                    plugin->Render(inputs, outputs, frames);
                    host.log.clear();
                },
                &totals);
        }
        if (!failure.empty()) return Fail(failure, kAudioFileFailed);

        std::printf("rendered %s frames, %d channel%s at %g Hz through %s\n", std::to_string(totals.frames).c_str(),
                    channels, channels > 1 ? "s" : "", rate, modulePath.c_str());
        std::printf("settings:");
        for (int i = 1; i <= kParams; ++i) {
            const std::string id = std::to_string(i);
            std::printf("%s%s=%s", i > 1 ? ", " : " ", plugin->Text(slot::kName, id.c_str()).c_str(),
                        plugin->Text(slot::kValueString, id.c_str()).c_str());
        }
        std::printf("\npeak in %.1f dBFS, peak out %.1f dBFS\n", Db(totals.peakIn), Db(totals.peakOut));
    }
    module.Unload();
    return 0;
}

int main(int argc, char** argv) { return Guarded(Render, argc, argv); }
