// Renders raw audio through a CLAP module:
//   tz_clap_render [--float32] MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]
// the command line and the report of tz_vst3_render. Samples are 64-bit little-endian floats,
// interleaved ("-": the standard streams). The plug-in processes them as 64-bit samples, or with
// --float32 as 32-bit ones. Parameters are found by their names and given in plain units
// (switches also take on/off), the values CLAP's parameter events carry.
#include <string>
#include <utility>
#include <vector>

#include "clap_host.h"
#include "module_loader.h"
#include "render_support.h"

using namespace render;
using tzhost::HostPath;

namespace {
constexpr int kBlock = 512;
constexpr uint32_t kMonoConfig = 0;  // the audio-ports configuration "Mono" (1-1)

std::vector<tzclap::ParamInfo> Params(tzclap::Plugin& plugin) {
    std::vector<tzclap::ParamInfo> params(plugin.ParamCount());
    for (uint32_t i = 0; i < params.size(); ++i) plugin.GetParamInfo(i, &params[i]);
    return params;
}

std::string Names(const std::vector<tzclap::ParamInfo>& params) {
    std::string out;
    for (const tzclap::ParamInfo& param : params) out += (out.empty() ? "\"" : ", \"") + param.name + "\"";
    return out;
}
}  // namespace

int Render(const Command& command) {
    RawFile in(HostPath(command.in), command.in, "rb");
    if (!in) return Fail(in.Problem());

    tzclap::Module module;
    std::string error;
    if (!module.Load(command.module, &error)) return Fail(error);
    tzclap::Descriptor descriptor;
    if (!module.GetDescriptor(0, &descriptor)) return Fail("the factory offers no plug-in");
    tzclap::Plugin plugin;
    if (!plugin.Create(module, descriptor.id.c_str(), &error)) return Fail(error);

    // Every setting goes to the first block as a parameter event at its first frame, as a
    // host's automation would.
    const std::vector<tzclap::ParamInfo> params = Params(plugin);
    std::vector<tzclap::ParamEvent> events;
    const auto find = [&](const std::string& name, Parameter* parameter) {
        for (const tzclap::ParamInfo& param : params) {
            if (Lower(param.name) != Lower(name)) continue;
            *parameter = {param.id, (param.flags & tzclap::kParamIsStepped) != 0, param.min, param.max};
            return true;
        }
        return false;
    };
    const auto apply = [&](const Parameter& parameter, double plain) {
        events.push_back({0, uint32_t(parameter.id), plain});
    };
    const std::string problem = ApplySettings(
        command.settings, find, [&] { return Names(params); }, apply);
    if (!problem.empty()) return Fail(problem);

    if (command.channels == 1 && !plugin.SelectPortsConfig(kMonoConfig)) return Fail("the module refuses mono buses");
    if (!plugin.Activate(command.rate, 1, kBlock) || !plugin.StartProcessing())
        return Fail("activate or start_processing refused");

    RawFile out(HostPath(command.out), command.out, "wb");
    if (!out) return Fail(out.Problem(), kAudioFileFailed);
    bool failed = false;
    const auto process = [&](auto** inputs, auto** outputs, int frames) {
        const int32_t status = plugin.Process(inputs, outputs, uint32_t(command.channels), uint32_t(frames), events);
        failed |= status == tzclap::kProcessError;
        events.clear();
    };
    Totals totals;
    const std::string failure = command.float32 ? Stream<float>(in, out, command.channels, kBlock, process, &totals)
                                                : Stream<double>(in, out, command.channels, kBlock, process, &totals);
    if (!failure.empty()) return Fail(failure, kAudioFileFailed);
    if (failed) return Fail("the plug-in's process reported an error", kAudioFileFailed);

    std::vector<std::pair<std::string, std::string>> settings;
    for (const tzclap::ParamInfo& param : params) {
        double value = 0;
        std::string text;
        plugin.GetParamValue(param.id, &value);
        plugin.ValueToText(param.id, value, &text);
        settings.emplace_back(param.name, text);
    }
    Report(command, totals, settings);
    return 0;
}

int main(int argc, char** argv) { return Main(argc, argv, Render, true); }
