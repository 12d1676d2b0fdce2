// Stress host for the AAX deliverable, in the editor-timing mode only (see stress_support.h): one
// instance rendering paced blocks while the editor thread creates the GUI object, hands it a view
// container on a window of its own, updates parameters as the host does while the editor is
// open, takes the container away and releases the GUI object, 20 times. It prints the figures on
// standard error and fails on a non-finite output sample, on a fault on any thread, or when
// nothing moves for ten seconds.
//   tz_aax_stress_host --editor-timing MODULE
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "aax_plugin.h"
#include "stress_support.h"

using namespace aaxhost;
using namespace stress;

namespace {
constexpr int kChannels = 2;
constexpr int kParams = 8;

// The process thread renders; parameter updates come from the host's thread, which is also the
// editor's here (the host's user-interface thread).
class Renderer {
public:
    Renderer(Instance& instance, Counts& counts) : mInstance(instance), mCounts(counts) {
        for (int c = 0; c < kChannels; ++c) mIn[c].resize(kTimedFrames), mOut[c].resize(kTimedFrames);
    }
    void Block() {
        float* in[kChannels];
        float* out[kChannels];
        for (int c = 0; c < kChannels; ++c) {
            for (int k = 0; k < kTimedFrames; ++k)
                mIn[c][k] = static_cast<float>(0.9 * std::sin(0.013 * (mPosition + k) * (c + 1)));
            in[c] = mIn[c].data();
            out[c] = mOut[c].data();
        }
        mInstance.Render(in, out, kTimedFrames);
        for (int c = 0; c < kChannels; ++c)
            for (float v : mOut[c]) mCounts.nonFinite += !std::isfinite(v);
        mPosition += kTimedFrames;
    }

private:
    Instance& mInstance;
    Counts& mCounts;
    std::vector<float> mIn[kChannels], mOut[kChannels];
    long mPosition = 0;
};
}  // namespace

int main(int argc, char** argv) {
    StressArgs args;
    if (!ParseStressArgs(argc, argv, "tz_aax_stress_host", &args)) return 2;
    if (!args.editorTiming) {
        std::fprintf(stderr, "stress: the AAX stress host has only the --editor-timing mode\n");
        return 2;
    }

    Module module;
    std::string error;
    if (!module.Load(args.module, &error)) {
        std::fprintf(stderr, "stress: %s\n", error.c_str());
        return 2;
    }
    Host host;
    host.sampleRate = static_cast<float>(kTimedRate);
    host.recording = false;
    int status = 2;
    {
        Session session(host, module.exports);
        if (session.Register() != 0) {
            std::fprintf(stderr, "stress: the module's description failed\n");
            return 2;
        }
        Instance instance(session);
        if (!instance.Valid()) {
            std::fprintf(stderr, "stress: the module made no instance\n");
            return 2;
        }
        Counts counts;
        Renderer renderer(instance, counts);
        std::unique_ptr<Gui> gui;
        auto open = [&](HWND parent) {
            if (!parent) return false;
            gui = std::make_unique<Gui>(session, instance);
            if (!gui->Valid()) return false;
            if (gui->Open(parent) != 0) Fail(counts, "the GUI refused its view container");
            return true;
        };
        auto close = [&] {
            if (gui->Close() != 0) Fail(counts, "the GUI refused to give up its view container");
            gui.reset();
        };
        std::mt19937 rng(1);
        auto update = [&] { instance.Update(std::to_string(1 + rng() % kParams).c_str(), (rng() % 1001) / 1000.0); };
        status = EditorTiming(
            "AAX", counts, [&] { renderer.Block(); }, open, update, close);
    }
    module.Unload();
    return status;
}
