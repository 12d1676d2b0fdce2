// Renders raw audio through an AAX module:
//   tz_aax_render MODULE IN.raw OUT.raw RATE CHANNELS [NAME=VALUE ...]
// Samples are 64-bit little-endian floats, interleaved ("-": the standard streams; the host
// hands the plug-in 32-bit blocks). Parameters are found by their names and given in plain units
// (toggles also take on/off); the module converts them from text.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
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

// The module's description writes a line per configuration: it stays out of the report.
class QuietStdout {
public:
    QuietStdout() : mSaved((std::fflush(stdout), _dup(1))) {
        const int nul = _open("NUL", _O_WRONLY);
        if (nul >= 0) _dup2(nul, 1), _close(nul);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        if (mSaved >= 0) _dup2(mSaved, 1), _close(mSaved);
    }

private:
    int mSaved;
};

// The plain value the parameter shows at the normalized value v: one end of its range.
double ShownAt(Instance& plugin, const std::string& id, double v) {
    HostString out;
    CallSlot<int32_t>(plugin.params, 21, id.c_str(), v, out.Interface(), int32_t(64));
    return std::strtod(out.Text(), nullptr);
}

bool IsToggle(Instance& plugin, const std::string& id) {
    int32_t steps = 0;
    CallSlot<int32_t>(plugin.params, slot::kStepCount, id.c_str(), &steps);
    return steps == 2;
}

// The value as the report shows it: a switch off/on, as in the other formats' reports.
std::string Shown(Instance& plugin, const std::string& id) {
    const std::string text = plugin.Text(slot::kValueString, id.c_str());
    if (!IsToggle(plugin, id)) return text;
    return std::strtod(text.c_str(), nullptr) > 0.5 ? "on" : "off";
}

// Sets one parameter from NAME=VALUE through the module's own text conversion; "" or the message.
std::string Apply(Instance& plugin, const std::string& setting, const std::string& names) {
    std::string name, text;
    std::string problem = SplitSetting(setting, &name, &text);
    if (!problem.empty()) return problem;
    std::string id;
    for (int i = 1; i <= kParams && id.empty(); ++i)
        if (Lower(plugin.Text(slot::kName, std::to_string(i).c_str())) == Lower(name)) id = std::to_string(i);
    if (id.empty()) return UnknownParameter(name, names);
    const bool toggle = IsToggle(plugin, id);
    double plain = 0, normalized = 0;
    problem =
        ReadValue(name, text, toggle, toggle ? 0 : ShownAt(plugin, id, 0), toggle ? 1 : ShownAt(plugin, id, 1), &plain);
    if (!problem.empty()) return problem;
    HostString typed;
    CallSlot<void>(typed.Interface(), 5, PlainText(plain).c_str());
    if (CallSlot<int32_t>(plugin.params, 20, id.c_str(), &normalized, typed.Interface()) != 0)
        return "\"" + name + "\" does not take \"" + text + "\"";
    plugin.Update(id.c_str(), normalized);
    return "";
}
}  // namespace

int Render(const Command& command) {
    RawFile in(WindowsPath(command.in), command.in, "rb");
    if (!in) return Fail(in.Problem());

    Module module;
    std::string error;
    if (!module.Load(WindowsPath(command.module), &error)) return Fail(error);
    Host host;
    host.sampleRate = float(command.rate);
    host.inputStem = host.outputStem = command.channels == 1 ? 0x00000001 : 0x00010002;
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
        for (const std::string& setting : command.settings) {
            const std::string problem = Apply(*plugin, setting, names);
            if (!problem.empty()) return Fail(problem);
        }

        RawFile out(WindowsPath(command.out), command.out, "wb");
        if (!out) return Fail(out.Problem(), kAudioFileFailed);
        Totals totals;
        // The host records every call the plug-in makes; the render reads none of it, so the
        // record is dropped block by block (keeping its capacity) rather than grow with the file.
        const std::string failure = Stream<float>(
            in, out, command.channels, kBlock,
            [&](float** inputs, float** outputs, int frames) {
                plugin->Render(inputs, outputs, frames);
                host.log.clear();
            },
            &totals);
        if (!failure.empty()) return Fail(failure, kAudioFileFailed);

        std::vector<std::pair<std::string, std::string>> settings;
        for (int i = 1; i <= kParams; ++i) {
            const std::string id = std::to_string(i);
            settings.emplace_back(plugin->Text(slot::kName, id.c_str()), Shown(*plugin, id));
        }
        Report(command, totals, settings);
    }
    module.Unload();
    return 0;
}

int main(int argc, char** argv) { return Main(argc, argv, Render); }
