// Stress host for the AAX deliverable, in the timing modes only (see stress_support.h): one
// instance rendering paced blocks while the editor thread creates the GUI object, hands it a view
// container on a window of its own, updates parameters as the host does while the editor is
// open, takes the container away and releases the GUI object, 20 times (--editor-timing); or,
// with the editor open, saves and restores the chunk through slow host memory while the editor's
// edits reach a host whose value requests are slow (--host-wait). It prints the figures on
// standard error and fails on a non-finite output sample, on a fault on any thread, or when
// nothing moves for ten seconds.
//   tz_aax_stress_host --editor-timing | --host-wait MODULE
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
constexpr uint32_t kChunkId = 0x5A656C34;  // 'Zel4', the plug-in's unique id

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

// The host-wait mode's host answers every value request (an editor edit, or the plug-in's own
// after a restored chunk) in kSlowHostCall, then echoes it.
bool gInChunkRound = false;  // the editor thread's, which makes every such request
void AnswerSlowly(Instance& instance, Counts& counts, const char* id, double normalized) {
    if (!gInChunkRound) ++counts.edits;
    SlowHostCall();
    instance.Update(id, normalized);
}

// Saves the chunk, taking kSlowHostCall to copy it, and restores it from host memory that takes
// as long to read.
void ChunkRound(Instance& instance, Counts& counts) {
    gInChunkRound = true;
    int32_t result = -1;
    const std::vector<uint8_t> saved = instance.GetChunk(kChunkId, &result);
    SlowHostCall();
    const SlowMemory memory(saved.data(), saved.size());
    if (result != 0 || CallSlot<int32_t>(instance.params, slot::kSetChunk, kChunkId, memory.Data()) != 0)
        Fail(counts, "a saved chunk was refused");
    gInChunkRound = false;
}
}  // namespace

int main(int argc, char** argv) {
    StressArgs args;
    if (!ParseStressArgs(argc, argv, "tz_aax_stress_host", &args)) return 2;
    if (!args.editorTiming && !args.hostWait) {
        std::fprintf(stderr, "stress: the AAX stress host has only the --editor-timing and --host-wait modes\n");
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
        if (args.hostWait)
            host.onValueRequest = [&](const char* id, double v) { AnswerSlowly(instance, counts, id, v); };
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
        if (args.hostWait)
            status = HostWait(
                "AAX", counts, [&] { renderer.Block(); }, open, [&] { ChunkRound(instance, counts); }, close);
        else
            status = EditorTiming(
                "AAX", counts, [&] { renderer.Block(); }, open, update, close);
    }
    module.Unload();
    return status;
}
