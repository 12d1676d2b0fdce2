// Renders raw audio through a VST2 module:
//   tz_vst2_render MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]
// Samples are 64-bit little-endian floats, interleaved ("-": the standard streams). Parameters
// are found by their names and given in plain units (toggles also take on/off); the plug-in
// reads them as typed-in text.
#include <string>
#include <utility>
#include <vector>

#include "render_support.h"
#include "vst2_host.h"

using namespace vst2host;
using namespace render;

namespace {
constexpr int kBlock = 512;

// What parameter i shows at the normalized value v: one end of its range. The format has no
// range query; the setting that follows replaces the value.
double ShownAt(Plugin& plug, int i, float v) {
    plug.effect->setParameter(plug.effect, i, v);
    double shown = 0;
    ParseNumber(plug.Text(EffectOp::kGetParamDisplay, i), &shown);
    return shown;
}

// Sets one parameter from NAME=VALUE; an error message, or "" when it was set.
std::string Apply(Plugin& plug, const std::string& setting) {
    std::string name, text;
    std::string problem = SplitSetting(setting, &name, &text);
    if (!problem.empty()) return problem;
    std::string names;
    for (int i = 0; i < plug.effect->numParams; ++i) {
        const std::string title = plug.Text(EffectOp::kGetParamName, i);
        names += (names.empty() ? "\"" : ", \"") + title + "\"";
        if (Lower(title) != Lower(name)) continue;
        const bool toggle = plug.Dispatch(EffectOp::kVendorSpecific, 8, i) != 0;
        double plain = 0;
        problem =
            ReadValue(name, text, toggle, toggle ? 0 : ShownAt(plug, i, 0), toggle ? 1 : ShownAt(plug, i, 1), &plain);
        if (!problem.empty()) return problem;
        std::string typed = toggle ? (plain != 0 ? "on" : "off") : PlainText(plain);
        if (!plug.Dispatch(EffectOp::kString2Parameter, i, 0, const_cast<char*>(typed.c_str())))
            return "\"" + name + "\" does not take \"" + text + "\"";
        return "";
    }
    return UnknownParameter(name, names);
}

int Render(const Command& command) {
    RawFile in(WindowsPath(command.in), command.in, "rb");
    if (!in) return Fail(in.Problem());

    Host host;
    host.productString = "TavrelZel4 render";
    Module module;
    std::string error;
    if (!module.Load(command.module, &error)) return Fail(error);
    Plugin plug(module.entry(Host::Callback));
    if (!plug.effect) return Fail("VSTPluginMain made no plug-in");
    plug.Open(static_cast<float>(command.rate), kBlock);
    if (command.channels == 1) {
        VstSpeakerArrangement mono{};
        mono.type = kArrangementMono;
        mono.numChannels = 1;
        plug.Dispatch(EffectOp::kSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), &mono);
    }
    for (const std::string& setting : command.settings) {
        const std::string message = Apply(plug, setting);
        if (!message.empty()) return Fail(message);
    }

    RawFile out(WindowsPath(command.out), command.out, "wb");
    if (!out) return Fail(out.Problem(), kAudioFileFailed);
    Totals totals;
    const std::string failure = Stream<double>(
        in, out, command.channels, kBlock,
        [&](double** inputs, double** outputs, int frames) {
            plug.effect->processDoubleReplacing(plug.effect, inputs, outputs, frames);
        },
        &totals);
    if (!failure.empty()) return Fail(failure, kAudioFileFailed);

    std::vector<std::pair<std::string, std::string>> settings;
    for (int i = 0; i < plug.effect->numParams; ++i)
        settings.emplace_back(plug.Text(EffectOp::kGetParamName, i), plug.Text(EffectOp::kGetParamDisplay, i));
    Report(command, totals, settings);
    plug.Close();
    return 0;
}
}  // namespace

int main(int argc, char** argv) { return Main(argc, argv, Render); }
