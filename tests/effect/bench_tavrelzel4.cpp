// Renders 10 s of stereo audio through the plug-in (default parameters, "Dist. Amount" 50).
// "Plugin" runs the whole 64-bit block road at 44.1 kHz in blocks of 512 frames; the others run
// the plug-in's two models on one stereo kernel path each, at 44.1 kHz (x4 oversampling) and
// 96 kHz (x2), in host blocks of 64, 128, 256 and 1024 frames ("AVX2/x4_44k1/64"). The
// "realtime" counter is seconds of audio per second of processing, by the wall clock (under
// Wine the process CPU clock ticks too coarsely for these short runs). "SSE2/x4_44k1/silence"
// and ".../noise" run one path on silence after a loud burst and on noise, under the floating-point
// mode of the process entries.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "effect/stereo_block.h"
#include "effect/tavrelzel4.h"
#include "framework/fpmode.h"

namespace {

constexpr int kSeconds = 10;
constexpr int kBlock = 512;

struct Render {
    TavrelZel4 plug;
    std::vector<double> left, right, outLeft, outRight;

    explicit Render(int rate)
        : left(rate * kSeconds), right(rate * kSeconds), outLeft(left.size()), outRight(left.size()) {
        plug.SetSampleRate(rate);
        plug.ChangeBlockSize(kBlock);
        plug.ResetProcessing();
        plug.GetParam(TavrelZel4::kDistAmount)->SetValue(50.0);
        plug.ResetAllParams(kSourceRestore);
        plug.SetInputsConnected(0, 2, true);
        plug.SetOutputsConnected(0, 2, true);
        for (size_t i = 0; i < left.size(); ++i) {
            const double t = i * (44100.0 / rate);
            left[i] = 0.5 * std::sin(0.0627 * t) + 0.2 * std::sin(0.31 * t);
            right[i] = 0.5 * std::sin(0.0411 * t);
        }
    }
    int Frames() const { return static_cast<int>(left.size()); }
    void ProcessOnPath(KernelPath path, int block) {
        for (int pos = 0; pos < Frames(); pos += block)
            ProcessStereoBlock(*plug.LeftModel(), *plug.RightModel(), outLeft.data() + pos, outRight.data() + pos,
                               std::min(block, Frames() - pos), path);
    }
};

void BM_Plugin(benchmark::State& state) {
    Render r(44100);
    for (auto _ : state) {
        for (int pos = 0; pos < r.Frames(); pos += kBlock) {
            const int n = std::min(kBlock, r.Frames() - pos);
            double* ins[] = {r.left.data() + pos, r.right.data() + pos};
            double* outs[] = {r.outLeft.data() + pos, r.outRight.data() + pos};
            r.plug.AttachInputs(0, 2, ins);
            r.plug.AttachOutputs(0, 2, outs);
            r.plug.ProcessAttached(n);
        }
        benchmark::DoNotOptimize(r.outLeft.data());
    }
    state.counters["realtime"] = benchmark::Counter(kSeconds * state.iterations(), benchmark::Counter::kIsRate);
}

// Times r's input through one kernel path in blocks of `block` frames.
void TimeOnPath(benchmark::State& state, Render& r, KernelPath path, int block) {
    for (auto _ : state) {
        r.outLeft = r.left;
        r.outRight = r.right;
        r.ProcessOnPath(path, block);
        benchmark::DoNotOptimize(r.outLeft.data());
    }
    state.counters["realtime"] = benchmark::Counter(kSeconds * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_Path(benchmark::State& state, KernelPath path, int rate, int block) {
    Render r(rate);
    TimeOnPath(state, r, path, block);
}

// Dist. Amount 60, hiss off, blocks of 512 frames: full-scale noise, or digital silence after
// half a second of it. After the burst the filters' memories decay toward zero, where they
// would stay as subnormal numbers without the entries' flush-to-zero mode.
void BM_AfterBurst(benchmark::State& state, KernelPath path, int rate, bool silence) {
    Render r(rate);
    r.plug.GetParam(TavrelZel4::kDistAmount)->SetValue(60.0);
    r.plug.GetParam(TavrelZel4::kHiss)->SetValue(0.0);
    r.plug.ResetAllParams(kSourceRestore);
    uint32_t seed = 1;
    for (size_t i = 0; i < r.left.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        r.left[i] = r.right[i] = seed / 2147483648.0 - 1.0;
    }
    ScopedAudioFpMode mode;
    if (silence) {
        r.outLeft.assign(r.left.begin(), r.left.begin() + rate / 2);
        r.outRight = r.outLeft;
        ProcessStereoBlock(*r.plug.LeftModel(), *r.plug.RightModel(), r.outLeft.data(), r.outRight.data(), rate / 2,
                           path);
        std::fill(r.left.begin(), r.left.end(), 0.0);
        std::fill(r.right.begin(), r.right.end(), 0.0);
    }
    TimeOnPath(state, r, path, kBlock);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("Plugin/x4_44k1", BM_Plugin)->Unit(benchmark::kMillisecond)->UseRealTime();
    for (KernelPath path : kKernelPaths) {
        if (!KernelPathAvailable(path)) continue;
        for (int rate : {44100, 96000})
            for (int block : {64, 128, 256, 1024}) {
                const std::string name = std::string(KernelPathName(path)) +
                                         (rate == 44100 ? "/x4_44k1/" : "/x2_96k/") + std::to_string(block);
                benchmark::RegisterBenchmark(name.c_str(), BM_Path, path, rate, block)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
            }
        for (int rate : {44100, 96000})
            for (bool silence : {false, true}) {
                const std::string name = std::string(KernelPathName(path)) +
                                         (rate == 44100 ? "/x4_44k1/" : "/x2_96k/") + (silence ? "silence" : "noise");
                benchmark::RegisterBenchmark(name.c_str(), BM_AfterBurst, path, rate, silence)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
            }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
