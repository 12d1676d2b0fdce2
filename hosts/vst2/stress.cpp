// Stress host for the VST2 deliverable: one instance driven as a busy host would, for a given
// time, from three threads at once.
//   process thread: random block sizes (0, 1, the announced size, up to four times larger) through
//                   the three process entries, parameter changes between blocks, program switches,
//                   and now and then a new sample rate and block size;
//   state thread:   saves the program and bank chunks, restores earlier ones, and automates;
//   editor thread:  opens the editor in a window of its own, idles it and closes it.
// It fails on a non-finite output sample from finite input, on a refused chunk, on a fault on any
// thread, or when nothing moves for ten seconds (a deadlock). It prints what it did on standard error.
// With --editor-timing it times paced blocks instead while the editor opens and closes 20 times,
// with --host-wait while chunks are saved and restored through slow host memory and the editor's
// edits reach a slow automate callback (see stress_support.h).
// The host-wait mode runs on Windows only.
//   tz_vst2_stress_host [--editor-timing | --host-wait] MODULE [SECONDS] [SEED]
#include <atomic>
#include <cmath>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

#include "stress_support.h"
#include "vst2_host.h"

using namespace vst2host;
using namespace stress;

namespace {
constexpr int kChannels = 2;
constexpr int kMaxFrames = 4 * 1024;
const float kRates[] = {22050, 44100, 48000, 88200, 96000, 192000};
const int kBlockSizes[] = {32, 64, 256, 512, 1024};

// A new rate and block size between blocks, with the effect switched off around them.
int Reconfigure(Plugin& plugin, std::mt19937& rng, Counts& counts) {
    const int block = kBlockSizes[rng() % 5];
    plugin.Dispatch(EffectOp::kMainsChanged, 0, 0);
    plugin.Dispatch(EffectOp::kSetSampleRate, 0, 0, nullptr, kRates[rng() % 6]);
    plugin.Dispatch(EffectOp::kSetBlockSize, 0, block);
    plugin.Dispatch(EffectOp::kMainsChanged, 0, 1);
    ++counts.setups;
    return block;
}

template <typename Sample>
void RunBlock(AEffect* effect, int entry, std::vector<Sample> (&in)[kChannels], std::vector<Sample> (&out)[kChannels],
              int frames, long position, Counts& counts) {
    Sample* ip[kChannels];
    Sample* op[kChannels];
    for (int c = 0; c < kChannels; ++c) {
        for (int k = 0; k < frames; ++k) {
            in[c][k] = static_cast<Sample>(0.9 * std::sin(0.013 * (position + k) * (c + 1)));
            out[c][k] = 0;
        }
        ip[c] = in[c].data();
        op[c] = out[c].data();
    }
    if constexpr (sizeof(Sample) == 8)
        effect->processDoubleReplacing(effect, ip, op, frames);
    else if (entry == 0)
        effect->processReplacing(effect, ip, op, frames);
    else
        effect->process(effect, ip, op, frames);
    for (int c = 0; c < kChannels; ++c)
        for (int k = 0; k < frames; ++k) counts.nonFinite += !std::isfinite(out[c][k]);
}

void ProcessLoop(Plugin& plugin, std::mt19937 rng, const std::atomic<bool>& stop, Counts& counts) {
    AEffect* effect = plugin.effect;
    int block = Reconfigure(plugin, rng, counts);
    std::vector<double> in64[kChannels], out64[kChannels];
    std::vector<float> in32[kChannels], out32[kChannels];
    for (int c = 0; c < kChannels; ++c) {
        in64[c].resize(kMaxFrames), out64[c].resize(kMaxFrames);
        in32[c].resize(kMaxFrames), out32[c].resize(kMaxFrames);
    }
    long position = 0;
    while (!stop) {
        if (rng() % 200 == 0) block = Reconfigure(plugin, rng, counts);
        if (rng() % 100 == 0) plugin.Dispatch(EffectOp::kSetProgram, 0, 0);
        for (int n = rng() % 4; n > 0; --n) {
            effect->setParameter(effect, static_cast<int32_t>(rng() % effect->numParams), (rng() % 1001) / 1000.0f);
            ++counts.automation;
        }
        const int pick = rng() % 4;
        const int frames = pick == 0   ? static_cast<int>(rng() % 2)
                           : pick == 1 ? block
                                       : 1 + static_cast<int>(rng() % (4 * block));
        const int entry = rng() % 3;
        if (entry == 2)
            RunBlock(effect, entry, in64, out64, frames, position, counts);
        else
            RunBlock(effect, entry, in32, out32, frames, position, counts);
        position += frames;
        ++counts.blocks;
        counts.frames += frames;
        Progress();
    }
}

void StateLoop(Plugin& plugin, std::mt19937 rng, const std::atomic<bool>& stop, Counts& counts) {
    AEffect* effect = plugin.effect;
    std::vector<unsigned char> program, bank;
    while (!stop) {
        const bool isProgram = rng() % 2;
        std::vector<unsigned char>& earlier = isProgram ? program : bank;
        std::vector<unsigned char> saved = plugin.GetChunk(isProgram);
        if (saved.empty()) Fail(counts, "the plug-in saved an empty chunk");
        if (!earlier.empty() && plugin.SetChunk(earlier, isProgram) == 0) Fail(counts, "a saved chunk was refused");
        earlier = saved;
        effect->setParameter(effect, static_cast<int32_t>(rng() % effect->numParams), (rng() % 1001) / 1000.0f);
        ++counts.automation;
        ++counts.states;
        Progress();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The editor thread's calls: open in the stress host's window, idle (outside Windows also the
// editor's loop), close.
bool OpenEditor(Plugin& plugin, void* parent, Counts& counts) {
    if (!parent || !(plugin.effect->flags & kFlagHasEditor)) return false;
    if (plugin.Dispatch(EffectOp::kEditOpen, 0, 0, parent) != 1) Fail(counts, "the editor did not open");
    return true;
}
void IdleEditor(Plugin& plugin) { plugin.Dispatch(EffectOp::kEditIdle); }
void CloseEditor(Plugin& plugin) { plugin.Dispatch(EffectOp::kEditClose); }

void EditorThread(Plugin& plugin, const std::atomic<bool>& stop, Counts& counts) {
    stress::EditorLoop(
        stop, counts, 0, [&](void* parent) { return OpenEditor(plugin, parent, counts); }, [&] { IdleEditor(plugin); },
        [&] { CloseEditor(plugin); });
}

// Each timed block: a parameter change, then the block through processReplacing.
class TimedBlock {
public:
    TimedBlock(AEffect* effect, Counts& counts) : mEffect(effect), mCounts(counts) {
        for (int c = 0; c < kChannels; ++c) mIn[c].resize(kTimedFrames), mOut[c].resize(kTimedFrames);
    }
    void operator()() {
        mEffect->setParameter(mEffect, static_cast<int32_t>(mRng() % mEffect->numParams), (mRng() % 1001) / 1000.0f);
        RunBlock(mEffect, 0, mIn, mOut, kTimedFrames, mPosition, mCounts);
        mPosition += kTimedFrames;
    }

private:
    AEffect* mEffect;
    Counts& mCounts;
    std::vector<float> mIn[kChannels], mOut[kChannels];
    std::mt19937 mRng{1};
    long mPosition = 0;
};

int RunEditorTiming(Plugin& plugin) {
    Counts counts;
    TimedBlock block(plugin.effect, counts);
    return stress::EditorTiming(
        "VST2", counts, [&] { block(); }, [&](void* parent) { return OpenEditor(plugin, parent, counts); },
        [&] { IdleEditor(plugin); }, [&] { CloseEditor(plugin); });
}

#ifdef _WIN32
// Each round saves a program and a bank chunk (the host's copy of each takes kSlowHostCall) and
// restores them from host memory that takes kSlowHostCall to read; the host's answers to the
// editor's gestures take as long.
int RunHostWait(Host& host, Plugin& plugin) {
    Counts counts;
    TimedBlock block(plugin.effect, counts);
    host.onCall = [&](AEffect*, int32_t opcode) {
        if (opcode == HostOp::kAutomate) ++counts.edits;
        if (opcode == HostOp::kAutomate || opcode == HostOp::kBeginEdit || opcode == HostOp::kEndEdit) SlowHostCall();
    };
    auto round = [&] {
        for (const bool isProgram : {true, false}) {
            const std::vector<unsigned char> saved = plugin.GetChunk(isProgram);
            SlowHostCall();
            const SlowMemory memory(saved.data(), saved.size());
            const void* data = memory.Data();
            if (saved.empty() || plugin.Dispatch(EffectOp::kSetChunk, isProgram, static_cast<intptr_t>(saved.size()),
                                                 const_cast<void*>(data)) == 0)
                Fail(counts, "a saved chunk was refused");
        }
    };
    const int status = stress::HostWait(
        "VST2", counts, [&] { block(); }, [&](void* parent) { return OpenEditor(plugin, parent, counts); }, round,
        [&] { CloseEditor(plugin); });
    host.onCall = nullptr;
    return status;
}
#else
int RunHostWait(Host&, Plugin&) {
    std::fprintf(stderr, "stress: --host-wait runs on Windows only\n");
    return 2;
}
#endif
}  // namespace

int main(int argc, char** argv) {
    StressArgs args;
    if (!ParseStressArgs(argc, argv, "tz_vst2_stress_host", &args)) return 2;

    Host host;
    Module module;
    std::string error;
    if (!module.Load(args.module, &error)) {
        std::fprintf(stderr, "stress: %s\n", error.c_str());
        return 2;
    }
    Plugin plugin(module.entry(&Host::Callback));
    if (!plugin.effect || plugin.effect->magic != kEffectMagic) {
        std::fprintf(stderr, "stress: the module gave no effect record\n");
        return 2;
    }
    if (args.editorTiming || args.hostWait) {
        plugin.Open(static_cast<float>(kTimedRate), kTimedFrames);
        const int status = args.hostWait ? RunHostWait(host, plugin) : RunEditorTiming(plugin);
        plugin.Close();
        return status;
    }
    plugin.Open(44100.0f, 256);

    Counts counts;
    std::atomic<bool> stop{false};
    Progress();
    const long long start = NowMs();
    std::thread process(ProcessLoop, std::ref(plugin), std::mt19937(args.seed), std::cref(stop), std::ref(counts));
    std::thread state(StateLoop, std::ref(plugin), std::mt19937(args.seed + 1), std::cref(stop), std::ref(counts));
    std::thread editor(EditorThread, std::ref(plugin), std::cref(stop), std::ref(counts));
    Watch(args.seconds, start, counts);
    stop = true;
    process.join();
    state.join();
    editor.join();
    plugin.Close();

    std::fprintf(stderr,
                 "stress: %.1f s, %ld blocks (%ld frames), %ld parameter changes, %ld set-ups, %ld chunk rounds, "
                 "%ld editor opens, %ld non-finite samples, %ld failures\n",
                 (NowMs() - start) / 1000.0, counts.blocks.load(), counts.frames.load(), counts.automation.load(),
                 counts.setups.load(), counts.states.load(), counts.editors.load(), counts.nonFinite.load(),
                 counts.failures.load());
    return counts.nonFinite == 0 && counts.failures == 0 ? 0 : 1;
}
