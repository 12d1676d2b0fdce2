// Renders raw audio through the LV2 bundle:
//   tz_lv2_render [--float32] BUNDLE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]
// the command line of tz_vst3_render, with the bundle folder as its module. Samples are 64-bit
// little-endian floats, interleaved ("-": the standard streams); the stereo or the mono plug-in,
// as CHANNELS says, processes them as the 32-bit samples LV2 carries (--float32 is therefore
// the only road, and accepted for the same command line). Parameters are the control inputs,
// found by their names and given in plain units (switches also take on/off).
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "lv2_host.h"
#include "render_support.h"

using namespace render;

namespace {
constexpr int kBlock = 512;

bool IsParameter(const tzlv2::Port& port) { return !port.audio && port.input; }

std::string Names(const std::vector<tzlv2::Port>& ports) {
    std::string out;
    for (const tzlv2::Port& port : ports)
        if (IsParameter(port)) out += (out.empty() ? "\"" : ", \"") + port.name + "\"";
    return out;
}

// A control value as the settings line shows it: switches on/off, numbers as they are.
std::string ValueText(const tzlv2::Port& port, float value) {
    if (port.toggle) return value > 0.5f ? "on" : "off";
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}
}  // namespace

int Render(const Command& command) {
    RawFile in(command.in, command.in, "rb");
    if (!in) return Fail(in.Problem());

    tzlv2::World world(command.module);
    tzlv2::Instance plugin;
    std::string error;
    if (!plugin.Create(world, command.channels == 1 ? tzlv2::kMonoUri : tzlv2::kStereoUri, command.rate, &error))
        return Fail(error + " in " + command.module);

    // Every setting is in the control ports before the first block, as a host's would be.
    const auto find = [&](const std::string& name, Parameter* parameter) {
        for (size_t i = 0; i < plugin.ports.size(); ++i) {
            const tzlv2::Port& port = plugin.ports[i];
            if (!IsParameter(port) || Lower(port.name) != Lower(name)) continue;
            *parameter = {i, port.toggle, port.lo, port.hi};
            return true;
        }
        return false;
    };
    const auto apply = [&](const Parameter& parameter, double plain) {
        plugin.SetControl(int(parameter.id), float(plain));
    };
    const std::string problem = ApplySettings(
        command.settings, find, [&] { return Names(plugin.ports); }, apply);
    if (!problem.empty()) return Fail(problem);

    RawFile out(command.out, command.out, "wb");
    if (!out) return Fail(out.Problem(), kAudioFileFailed);
    Totals totals;
    const std::string failure = Stream<float>(
        in, out, command.channels, kBlock,
        [&](float** inputs, float** outputs, int frames) { plugin.Run(inputs, outputs, uint32_t(frames)); }, &totals);
    if (!failure.empty()) return Fail(failure, kAudioFileFailed);

    std::vector<std::pair<std::string, std::string>> settings;
    for (size_t i = 0; i < plugin.ports.size(); ++i)
        if (IsParameter(plugin.ports[i]))
            settings.emplace_back(plugin.ports[i].name, ValueText(plugin.ports[i], plugin.Control(int(i))));
    Report(command, totals, settings);
    return 0;
}

int main(int argc, char** argv) { return Main(argc, argv, Render, true); }
