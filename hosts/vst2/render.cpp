// Renders raw audio through a VST2 module:
//   tz_vst2_render MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]
// Samples are 64-bit little-endian floats, interleaved. Parameters are found by their names and
// given in plain units (toggles also take on/off); the plug-in reads them as typed-in text.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "render_support.h"
#include "vst2_host.h"

using namespace vst2host;
using namespace render;

namespace {
constexpr int kBlock = 512;

// Sets one parameter from NAME=VALUE; an error message, or "" when it was set.
std::string Apply(Plugin& plug, const std::string& arg) {
    const size_t eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) return "expected NAME=VALUE, got \"" + arg + "\"";
    const std::string name = arg.substr(0, eq), text = arg.substr(eq + 1);
    std::string names;
    for (int i = 0; i < plug.effect->numParams; ++i) {
        const std::string title = plug.Text(EffectOp::kGetParamName, i);
        names += (names.empty() ? "\"" : ", \"") + title + "\"";
        if (Lower(title) != Lower(name)) continue;
        const bool toggle = plug.Dispatch(EffectOp::kVendorSpecific, 8, i) != 0;
        std::string typed = Lower(text);
        double plain = 0;
        if (toggle && (typed == "1" || typed == "0")) typed = typed == "1" ? "on" : "off";
        if (!(toggle && (typed == "on" || typed == "off")) && !ParseNumber(text, &plain))
            return "\"" + text + "\" is not a value for \"" + name + "\"" + (toggle ? " (use on/off or 1/0)" : "");
        if (!plug.Dispatch(EffectOp::kString2Parameter, i, 0, const_cast<char*>(typed.c_str())))
            return "\"" + name + "\" does not take \"" + text + "\"";
        // The plug-in clamps into range: a value that did not stay as given was outside it.
        double shown = 0;
        if (!toggle && (!ParseNumber(plug.Text(EffectOp::kGetParamDisplay, i), &shown) || std::fabs(shown - plain) > 0.051))
            return "\"" + name + "\" " + text + " is outside its range";
        return "";
    }
    return "unknown parameter \"" + name + "\"; the parameters are " + names;
}
}  // namespace

int Render(int argc, char** argv) {
    if (argc < 6) return Fail("usage: tz_vst2_render MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]");
    const std::string modulePath = argv[1], inPath = argv[2], outPath = argv[3];
    double rate = 0;
    const int channels = std::atoi(argv[5]);
    if (!ParseNumber(argv[4], &rate) || rate <= 0) return Fail(std::string("bad sample rate ") + argv[4]);
    if (channels < 1 || channels > 2) return Fail("only mono and stereo audio can be rendered, not " + std::string(argv[5]) + " channels");

    RawFile in(WindowsPath(inPath), inPath, "rb");
    if (!in) return Fail(in.Problem());

    Host host;
    host.productString = "TavrelZel4 render";
    Module module;
    std::string error;
    if (!module.Load(modulePath, &error)) return Fail(error);
    Plugin plug(module.entry(Host::Callback));
    if (!plug.effect) return Fail("VSTPluginMain made no plug-in");
    plug.Open(static_cast<float>(rate), kBlock);
    if (channels == 1) {
        VstSpeakerArrangement mono{};
        mono.type = kArrangementMono;
        mono.numChannels = 1;
        plug.Dispatch(EffectOp::kSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), &mono);
    }
    for (int i = 6; i < argc; ++i) {
        const std::string message = Apply(plug, argv[i]);
        if (!message.empty()) return Fail(message);
    }

    RawFile out(WindowsPath(outPath), outPath, "wb");
    if (!out) return Fail(out.Problem(), kAudioFileFailed);
    Totals totals;
    const std::string failure = Stream<double>(
        in, out, channels, kBlock,
        [&](double** inputs, double** outputs, int frames) {
            plug.effect->processDoubleReplacing(plug.effect, inputs, outputs, frames);
        },
        &totals);
    if (!failure.empty()) return Fail(failure, kAudioFileFailed);

    std::printf("rendered %s frames, %d channel%s at %g Hz through %s\nsettings:", std::to_string(totals.frames).c_str(),
                channels, channels > 1 ? "s" : "", rate, modulePath.c_str());
    for (int i = 0; i < plug.effect->numParams; ++i)
        std::printf("%s%s=%s", i ? ", " : " ", plug.Text(EffectOp::kGetParamName, i).c_str(),
                    plug.Text(EffectOp::kGetParamDisplay, i).c_str());
    std::printf("\npeak in %.1f dBFS, peak out %.1f dBFS\n", Db(totals.peakIn), Db(totals.peakOut));
    plug.Close();
    return 0;
}

int main(int argc, char** argv) { return Guarded(Render, argc, argv); }
