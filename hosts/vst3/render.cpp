// Renders raw audio through a VST3 module:
//   tz_vst3_render [--float32] MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]
// Samples are 64-bit little-endian floats, interleaved ("-": the standard streams). The module
// processes them as 64-bit samples, or with --float32 as the 32-bit ones a 32-bit host hands it
// (the output then holds exactly the 32-bit samples it made). Parameters are found by their
// titles and given in plain units (toggles also take on/off); the module converts them.
#include <string>
#include <type_traits>
#include <utility>
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
        if (controller->getParameterInfo(i, info) != kResultOk || info.id == kPresetId || info.id == kBypassId)
            continue;
        out += (out.empty() ? "\"" : ", \"") + FromString128(info.title) + "\"";
    }
    return out;
}

}  // namespace

int Render(const Command& command) {
    const int channels = command.channels;
    RawFile in(HostPath(command.in), command.in, "rb");
    if (!in) return Fail(in.Problem());

    Module module;
    std::string error;
    if (!module.Load(command.module, &error)) return Fail(error);
    Plugin plugin;
    HostApplication host("TavrelZel4 render");
    if (!plugin.Create(module.Factory(), &error)) return Fail(error);
    if (!plugin.Initialize(&host)) return Fail("initialize failed");

    // Every setting goes to the first block as host automation, as a host's would.
    IEditController* controller = plugin.controller;
    ParameterChanges changes;
    const auto find = [&](const std::string& name, Parameter* parameter) {
        ParameterInfo info{};
        if (!FindByTitle(controller, name, &info)) return false;
        *parameter = {info.id, info.stepCount == 1, controller->normalizedParamToPlain(info.id, 0.0),
                      controller->normalizedParamToPlain(info.id, 1.0)};
        return true;
    };
    const auto apply = [&](const Parameter& parameter, double plain) {
        const ParamID id = ParamID(parameter.id);
        changes.Add(id, 0, controller->plainParamToNormalized(id, plain));
    };
    const std::string problem = ApplySettings(
        command.settings, find, [&] { return Titles(controller); }, apply);
    if (!problem.empty()) return Fail(problem);

    if (channels == 1) {
        SpeakerArrangement mono = SpeakerArr::kMono;
        if (plugin.processor->setBusArrangements(&mono, 1, &mono, 1) != kResultOk)
            return Fail("the module refuses mono buses");
        for (BusDirection dir : {kInput, kOutput}) plugin.component->activateBus(kAudio, dir, 0, true);
    }
    if (plugin.Prepare(command.float32 ? kSample32 : kSample64, command.rate, kBlock) != kResultOk)
        return Fail("setupProcessing refused");

    RawFile out(HostPath(command.out), command.out, "wb");
    if (!out) return Fail(out.Problem(), kAudioFileFailed);
    ParameterChanges* pending = &changes;
    const auto process = [&](auto** inputs, auto** outputs, int frames) {
        if constexpr (std::is_same_v<decltype(**inputs), float&>)
            plugin.Process32(inputs, outputs, channels, frames, pending);
        else
            plugin.Process64(inputs, outputs, channels, frames, pending);
        pending = nullptr;
    };
    Totals totals;
    const std::string failure = command.float32 ? Stream<float>(in, out, channels, kBlock, process, &totals)
                                                : Stream<double>(in, out, channels, kBlock, process, &totals);
    if (!failure.empty()) return Fail(failure, kAudioFileFailed);

    std::vector<std::pair<std::string, std::string>> settings;
    for (int32 i = 0; i < plugin.controller->getParameterCount(); ++i) {
        ParameterInfo info{};
        String128 text{};
        if (plugin.controller->getParameterInfo(i, info) != kResultOk || info.id == kPresetId || info.id == kBypassId)
            continue;
        plugin.controller->getParamStringByValue(info.id, plugin.controller->getParamNormalized(info.id), text);
        settings.emplace_back(FromString128(info.title), FromString128(text));
    }
    Report(command, totals, settings);
    plugin.Shutdown();
    return 0;
}

int main(int argc, char** argv) { return Main(argc, argv, Render, true); }
