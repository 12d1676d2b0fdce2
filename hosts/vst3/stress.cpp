// Stress host for the VST3 deliverable: one instance driven as a busy host would, for a given
// time, from three threads at once.
//   process thread: random block sizes (0, 1, the announced size, up to four times larger),
//                   random automation of every parameter at random offsets, bypass and preset
//                   switches, and now and then a new set-up (sample rate, sample size, a maximum
//                   block size from 0 to the largest an int holds); some blocks come in the other
//                   sample size than the set-up's;
//   state thread:   saves the state and restores an earlier one, again and again;
//   editor thread:  creates the editor view, attaches it to a window and removes it, where the
//                   module offers one.
// It fails on a non-finite output sample from finite input (the outputs hold NaN before each block,
// so a processed block that leaves any sample unwritten shows too), on a block the plug-in may not
// process (the other sample size, or no block size in the set-up) that leaves anything but silence,
// on a refused call, on a reference left over at the end, on a fault on any thread, or when a round
// takes more than ten seconds (a deadlock). It prints what it did on standard error.
// With --editor-timing it times paced blocks instead while the editor opens and closes 20 times,
// with --host-wait while states are saved and restored through a slow stream and the editor's
// edits reach a slow component handler (see stress_support.h).
//   tz_vst3_stress_host [--editor-timing | --host-wait] MODULE [SECONDS] [SEED]
#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <thread>
#include <vector>

#include "sdk/vst3/plugview.h"
#include "stress_support.h"
#include "vst3_host.h"

using namespace tzhost;
using namespace stress;

namespace {
constexpr int kParams = 8;
constexpr int kMaxChannels = 2;
const double kRates[] = {22050, 44100, 48000, 88200, 96000, 192000};
const int32 kBlockSizes[] = {0, 32, 64, 256, 512, 1024, 1 << 24, INT32_MAX};
constexpr int kBufferFrames = 4 * 1024;  // the longest block sent

// A new set-up between blocks, as a host does when the user changes the rate or the engine.
void Reconfigure(Plugin& plugin, std::mt19937& rng, int32* sampleSize, int32* maxBlock, Counts& counts) {
    plugin.processor->setProcessing(false);
    plugin.component->setActive(false);
    *sampleSize = rng() % 2 ? kSample64 : kSample32;
    *maxBlock = kBlockSizes[rng() % std::size(kBlockSizes)];
    ProcessSetup setup{kRealtime, *sampleSize, *maxBlock, kRates[rng() % 6]};
    if (plugin.processor->setupProcessing(setup) != kResultOk) Fail(counts, "setupProcessing refused");
    plugin.component->setActive(true);
    plugin.processor->setProcessing(true);
    ++counts.setups;
}

// A block the plug-in does not process must leave silence; a processed one must write every sample.
template <typename Sample>
void RunBlock(Plugin& plugin, std::vector<Sample> (&in)[kMaxChannels], std::vector<Sample> (&out)[kMaxChannels],
              int frames, ParameterChanges* changes, long position, bool processed, Counts& counts) {
    Sample* ip[kMaxChannels];
    Sample* op[kMaxChannels];
    for (int c = 0; c < kMaxChannels; ++c) {
        for (int k = 0; k < frames; ++k)
            in[c][k] = static_cast<Sample>(0.9 * std::sin(0.013 * (position + k) * (c + 1)));
        std::fill_n(out[c].begin(), frames, std::numeric_limits<Sample>::quiet_NaN());
        ip[c] = in[c].data();
        op[c] = out[c].data();
    }
    tresult r;
    if constexpr (sizeof(Sample) == 8)
        r = plugin.Process64(ip, op, kMaxChannels, frames, changes);
    else
        r = plugin.Process32(ip, op, kMaxChannels, frames, changes);
    if (r != kResultOk) Fail(counts, "process refused a block");
    bool silent = true;
    for (int c = 0; c < kMaxChannels; ++c)
        for (int k = 0; k < frames; ++k) {
            counts.nonFinite += processed && !std::isfinite(out[c][k]);
            silent = silent && out[c][k] == 0;
        }
    if (!processed && !silent) Fail(counts, "a block the plug-in does not process left its outputs unsilenced");
    counts.unprocessed += !processed;
}

void ProcessLoop(Plugin& plugin, std::mt19937 rng, const std::atomic<bool>& stop, Counts& counts) {
    int32 sampleSize = kSample64, maxBlock = 256;
    Reconfigure(plugin, rng, &sampleSize, &maxBlock, counts);
    std::vector<double> in64[kMaxChannels], out64[kMaxChannels];
    std::vector<float> in32[kMaxChannels], out32[kMaxChannels];
    for (int c = 0; c < kMaxChannels; ++c) {
        in64[c].resize(kBufferFrames), out64[c].resize(kBufferFrames);
        in32[c].resize(kBufferFrames), out32[c].resize(kBufferFrames);
    }
    ParameterChanges changes;
    long position = 0;
    while (!stop) {
        if (rng() % 200 == 0) Reconfigure(plugin, rng, &sampleSize, &maxBlock, counts);
        const int pick = rng() % 4;
        const int announced = std::clamp<int32>(maxBlock, 1, kBufferFrames / 4);
        const int frames = pick == 0   ? static_cast<int>(rng() % 2)
                           : pick == 1 ? announced
                                       : 1 + static_cast<int>(rng() % (4 * announced));
        changes.Clear();
        for (int n = rng() % 6; n > 0; --n) {
            const ParamID id = rng() % kParams;
            changes.Add(id, frames ? static_cast<int32>(rng() % frames) : 0, (rng() % 1001) / 1000.0);
            ++counts.automation;
        }
        if (rng() % 50 == 0) changes.Add(kBypassId, 0, rng() % 2 ? 1.0 : 0.0);
        if (rng() % 100 == 0) changes.Add(kPresetId, 0, 0.0);
        // Now and then a block in the other sample size, which the plug-in does not process.
        const int32 blockSize = rng() % 16 == 0 ? kSample32 + kSample64 - sampleSize : sampleSize;
        const bool processed = blockSize == sampleSize && maxBlock > 0;
        if (blockSize == kSample64)
            RunBlock(plugin, in64, out64, frames, &changes, position, processed, counts);
        else
            RunBlock(plugin, in32, out32, frames, &changes, position, processed, counts);
        position += frames;
        ++counts.blocks;
        counts.frames += frames;
        Progress();
    }
}

void StateLoop(Plugin& plugin, const std::atomic<bool>& stop, Counts& counts) {
    std::vector<char> earlier;
    while (!stop) {
        MemoryStream saved;
        if (plugin.component->getState(&saved) != kResultOk) Fail(counts, "getState refused");
        if (!earlier.empty()) {
            MemoryStream restore(earlier);
            if (plugin.component->setState(&restore) != kResultOk) Fail(counts, "setState refused a saved state");
            MemoryStream again(earlier);
            if (plugin.controller->setComponentState(&again) != kResultOk) Fail(counts, "setComponentState refused");
        }
        earlier = saved.data;
        ++counts.states;
        Progress();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The window type the host's parent window is of.
#ifdef _WIN32
constexpr FIDString kPlatformType = kPlatformTypeHWND;
#else
constexpr FIDString kPlatformType = kPlatformTypeX11EmbedWindowID;
#endif

// The editor thread's calls: a view created and attached to the stress host's window (where
// there is one), then removed and released.
class EditorCalls {
public:
    EditorCalls(Plugin& plugin, Counts& counts) : mPlugin(plugin), mCounts(counts) {}
    bool Open(ParentWindow parent) {
        mParent = parent;
        mView = mPlugin.controller->createView("editor");
        if (!mView) return false;  // a module without an editor
        if (parent && mView->attached(parent, kPlatformType) != kResultOk) Fail(mCounts, "the view refused its parent");
        return true;
    }
    void Close() {
        if (mParent) mView->removed();
        if (mView->release() != 0) Fail(mCounts, "the view outlived its last release");
    }

private:
    Plugin& mPlugin;
    Counts& mCounts;
    ParentWindow mParent = nullptr;
    IEditorView* mView = nullptr;
};

void EditorThread(Plugin& plugin, const std::atomic<bool>& stop, Counts& counts) {
    EditorCalls calls(plugin, counts);
    stress::EditorLoop(
        stop, counts, 0, [&](ParentWindow parent) { return calls.Open(parent); }, [] {}, [&] { calls.Close(); });
}

// Each timed block: an automation point on one parameter, then the block.
class TimedBlock {
public:
    TimedBlock(Plugin& plugin, Counts& counts) : mPlugin(plugin), mCounts(counts) {
        for (int c = 0; c < kMaxChannels; ++c) mIn[c].resize(kTimedFrames), mOut[c].resize(kTimedFrames);
    }
    void operator()() {
        mChanges.Clear();
        mChanges.Add(mRng() % kParams, 0, (mRng() % 1001) / 1000.0);
        RunBlock(mPlugin, mIn, mOut, kTimedFrames, &mChanges, mPosition, true, mCounts);
        mPosition += kTimedFrames;
    }

private:
    Plugin& mPlugin;
    Counts& mCounts;
    std::vector<float> mIn[kMaxChannels], mOut[kMaxChannels];
    std::mt19937 mRng{1};
    ParameterChanges mChanges;
    long mPosition = 0;
};

int RunEditorTiming(Plugin& plugin) {
    Counts counts;
    TimedBlock block(plugin, counts);
    EditorCalls calls(plugin, counts);
    return stress::EditorTiming(
        "VST3", counts, [&] { block(); }, [&](ParentWindow parent) { return parent && calls.Open(parent); }, [] {},
        [&] { calls.Close(); });
}

// The host-wait mode's host: a stream whose every call and a component handler whose every
// answer take kSlowHostCall.
class SlowStream : public MemoryStream {
public:
    using MemoryStream::MemoryStream;
    tresult PLUGIN_API read(void* buffer, int32 n, int32* got) override {
        SlowHostCall();
        return MemoryStream::read(buffer, n, got);
    }
    tresult PLUGIN_API write(void* buffer, int32 n, int32* written) override {
        SlowHostCall();
        return MemoryStream::write(buffer, n, written);
    }
    tresult PLUGIN_API seek(int64 pos, int32 mode, int64* result) override {
        SlowHostCall();
        return MemoryStream::seek(pos, mode, result);
    }
    tresult PLUGIN_API tell(int64* pos) override {
        SlowHostCall();
        return MemoryStream::tell(pos);
    }
};
class SlowHandler : public HostObject<IComponentHandler> {
public:
    explicit SlowHandler(Counts& counts) : mCounts(counts) {}
    tresult PLUGIN_API beginEdit(ParamID) override { return Slow(); }
    tresult PLUGIN_API performEdit(ParamID, ParamValue) override {
        ++mCounts.edits;
        return Slow();
    }
    tresult PLUGIN_API endEdit(ParamID) override { return Slow(); }
    tresult PLUGIN_API restartComponent(int32) override { return Slow(); }

private:
    static tresult Slow() {
        SlowHostCall();
        return kResultOk;
    }
    Counts& mCounts;
};

// Each round saves the state, then restores it through the component and the controller.
int RunHostWait(Plugin& plugin) {
    Counts counts;
    TimedBlock block(plugin, counts);
    SlowHandler handler(counts);
    plugin.controller->setComponentHandler(&handler);
    auto round = [&] {
        SlowStream saved;
        if (plugin.component->getState(&saved) != kResultOk) Fail(counts, "getState refused");
        SlowStream restore(saved.data), again(saved.data);
        if (plugin.component->setState(&restore) != kResultOk) Fail(counts, "setState refused a saved state");
        if (plugin.controller->setComponentState(&again) != kResultOk) Fail(counts, "setComponentState refused");
    };
    EditorCalls calls(plugin, counts);
    const int status = stress::HostWait(
        "VST3", counts, [&] { block(); }, [&](ParentWindow parent) { return parent && calls.Open(parent); }, round,
        [&] { calls.Close(); });
    plugin.controller->setComponentHandler(nullptr);
    return status;
}
}  // namespace

int main(int argc, char** argv) {
    StressArgs args;
    if (!ParseStressArgs(argc, argv, "tz_vst3_stress_host", &args)) return 2;

    Module module;
    std::string error;
    if (!module.Load(args.module, &error)) {
        std::fprintf(stderr, "stress: %s\n", error.c_str());
        return 2;
    }
    HostApplication host("TavrelZel4 stress");
    Plugin plugin;
    if (!plugin.Create(module.Factory(), &error) || !plugin.Initialize(&host)) {
        std::fprintf(stderr, "stress: could not create the plug-in: %s\n", error.c_str());
        return 2;
    }

    if (args.editorTiming || args.hostWait) {
        int status = plugin.Prepare(kSample32, kTimedRate, kTimedFrames) != kResultOk ? 2
                     : args.hostWait                                                  ? RunHostWait(plugin)
                                                                                      : RunEditorTiming(plugin);
        if (!plugin.Shutdown()) status = 1;
        return status;
    }

    Counts counts;
    std::atomic<bool> stop{false};
    Progress();
    const long long start = NowMs();
    std::thread process(ProcessLoop, std::ref(plugin), std::mt19937(args.seed), std::cref(stop), std::ref(counts));
    std::thread state(StateLoop, std::ref(plugin), std::cref(stop), std::ref(counts));
    std::thread editor(EditorThread, std::ref(plugin), std::cref(stop), std::ref(counts));
    Watch(args.seconds, start, counts);
    stop = true;
    process.join();
    state.join();
    editor.join();
    if (!plugin.Shutdown()) Fail(counts, "the plug-in outlived its last release");
    if (host.References() != 1) Fail(counts, "the plug-in kept a reference to the host application");

    std::fprintf(stderr,
                 "stress: %.1f s, %ld blocks (%ld frames, %ld not to be processed), %ld automation points, "
                 "%ld set-ups, %ld state rounds, %ld editor opens, %ld non-finite samples, %ld failures\n",
                 (NowMs() - start) / 1000.0, counts.blocks.load(), counts.frames.load(), counts.unprocessed.load(),
                 counts.automation.load(), counts.setups.load(), counts.states.load(), counts.editors.load(),
                 counts.nonFinite.load(), counts.failures.load());
    return counts.nonFinite == 0 && counts.failures == 0 ? 0 : 1;
}
