// Renders raw audio through a VST3 module:
//   tz_vst3_render MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]
// Samples are 64-bit little-endian floats, interleaved. Parameters are found by their titles
// and given in plain units (toggles also take on/off); the module converts them.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "render_support.h"
#include "vst3_host.h"

using namespace tzhost;
using namespace render;

namespace {
constexpr int kBlock = 512;

// The plug-in's own parameter of that title before the host's program and bypass ones.
bool FindByTitle(IEditController* controller, const std::string& title, ParameterInfo* found) {
    bool any = false;
    for (int32 i = 0; i < controller->getParameterCount(); ++i) {
        ParameterInfo info{};
        if (controller->getParameterInfo(i, info) != kResultOk || Lower(FromString128(info.title)) != Lower(title))
            continue;
        const bool hostSide = info.id == kPresetId || info.id == kBypassId;
        if (!any || !hostSide) *found = info;
        any = true;
        if (!hostSide) break;
    }
    return any;
}

std::string Titles(IEditController* controller) {
    std::string out;
    for (int32 i = 0; i < controller->getParameterCount(); ++i) {
        ParameterInfo info{};
        if (controller->getParameterInfo(i, info) != kResultOk || info.id == kPresetId || info.id == kBypassId) continue;
        out += (out.empty() ? "\"" : ", \"") + FromString128(info.title) + "\"";
    }
    return out;
}

}  // namespace

int Render(int argc, char** argv) {
    if (argc < 6) return Fail("usage: tz_vst3_render MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]");
    const std::string modulePath = argv[1], inPath = argv[2], outPath = argv[3];
    double rate = 0;
    const int channels = std::atoi(argv[5]);
    if (!ParseNumber(argv[4], &rate) || rate <= 0) return Fail(std::string("bad sample rate ") + argv[4]);
    if (channels < 1 || channels > 2) return Fail("only mono and stereo audio can be rendered, not " + std::string(argv[5]) + " channels");

    RawFile in(WindowsPath(inPath), inPath, "rb");
    if (!in) return Fail(in.Problem());

    Module module;
    std::string error;
    if (!module.Load(modulePath, &error)) return Fail(error);
    Plugin plugin;
    HostApplication host("TavrelZel4 render");
    if (!plugin.Create(module.Factory(), &error)) return Fail(error);
    if (!plugin.Initialize(&host)) return Fail("initialize failed");

    // Every setting goes to the first block as host automation, as a host's would.
    ParameterChanges changes;
    for (int i = 6; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) return Fail("expected NAME=VALUE, got \"" + arg + "\"");
        const std::string name = arg.substr(0, eq), text = arg.substr(eq + 1);
        ParameterInfo info{};
        if (!FindByTitle(plugin.controller, name, &info))
            return Fail("unknown parameter \"" + name + "\"; the parameters are " + Titles(plugin.controller));
        const bool toggle = info.stepCount == 1;
        double plain = 0;
        const std::string word = Lower(text);
        if (toggle && (word == "on" || word == "off")) {
            plain = word == "on" ? 1 : 0;
        } else if (!ParseNumber(text, &plain)) {
            return Fail("\"" + text + "\" is not a value for \"" + name + "\"" + (toggle ? " (use on/off or 1/0)" : ""));
        }
        const double lo = plugin.controller->normalizedParamToPlain(info.id, 0.0);
        const double hi = plugin.controller->normalizedParamToPlain(info.id, 1.0);
        if (plain < std::min(lo, hi) || plain > std::max(lo, hi)) {
            char range[96];
            std::snprintf(range, sizeof range, " is outside %g..%g", std::min(lo, hi), std::max(lo, hi));
            return Fail("\"" + name + "\" " + text + range);
        }
        changes.Add(info.id, 0, plugin.controller->plainParamToNormalized(info.id, plain));
    }

    if (channels == 1) {
        SpeakerArrangement mono = SpeakerArr::kMono;
        if (plugin.processor->setBusArrangements(&mono, 1, &mono, 1) != kResultOk) return Fail("the module refuses mono buses");
        for (BusDirection dir : {kInput, kOutput}) plugin.component->activateBus(kAudio, dir, 0, true);
    }
    if (plugin.Prepare(kSample64, rate, kBlock) != kResultOk) return Fail("setupProcessing refused");

    RawFile out(WindowsPath(outPath), outPath, "wb");
    if (!out) return Fail(out.Problem(), kAudioFileFailed);
    ParameterChanges* pending = &changes;
    Totals totals;
    const std::string failure = Stream<double>(
        in, out, channels, kBlock,
        [&](double** inputs, double** outputs, int frames) {
            plugin.Process64(inputs, outputs, channels, frames, pending);
            pending = nullptr;
        },
        &totals);
    if (!failure.empty()) return Fail(failure, kAudioFileFailed);

    std::printf("rendered %s frames, %d channel%s at %g Hz through %s\n", std::to_string(totals.frames).c_str(), channels,
                channels > 1 ? "s" : "", rate, modulePath.c_str());
    std::printf("settings:");
    const char* separator = " ";
    for (int32 i = 0; i < plugin.controller->getParameterCount(); ++i) {
        ParameterInfo info{};
        String128 text{};
        if (plugin.controller->getParameterInfo(i, info) != kResultOk || info.id == kPresetId || info.id == kBypassId) continue;
        plugin.controller->getParamStringByValue(info.id, plugin.controller->getParamNormalized(info.id), text);
        std::printf("%s%s=%s", separator, FromString128(info.title).c_str(), FromString128(text).c_str());
        separator = ", ";
    }
    std::printf("\npeak in %.1f dBFS, peak out %.1f dBFS\n", Db(totals.peakIn), Db(totals.peakOut));
    plugin.Shutdown();
    return 0;
}

int main(int argc, char** argv) { return Guarded(Render, argc, argv); }
