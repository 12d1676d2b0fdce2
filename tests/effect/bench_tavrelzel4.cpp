// Renders 10 s of stereo 44.1 kHz audio through the plug-in (default parameters, "Dist. Amount"
// 50) on the 64-bit block road, in blocks of 512 frames. The "realtime" counter is seconds of
// audio per second of processing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "effect/tavrelzel4.h"

static void BM_TavrelZel4_Stereo10s(benchmark::State& state) {
    constexpr int kRate = 44100;
    constexpr int kFrames = kRate * 10;
    constexpr int kBlock = 512;
    TavrelZel4 plug;
    plug.SetSampleRate(kRate);
    plug.ChangeBlockSize(kBlock);
    plug.ResetProcessing();
    plug.GetParam(TavrelZel4::kDistAmount)->SetValue(50.0);
    plug.ResetAllParams(kSourceRestore);
    plug.SetInputsConnected(0, 2, true);
    plug.SetOutputsConnected(0, 2, true);

    std::vector<double> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
    for (int i = 0; i < kFrames; ++i) {
        left[i] = 0.5 * std::sin(0.0627 * i) + 0.2 * std::sin(0.31 * i);
        right[i] = 0.5 * std::sin(0.0411 * i);
    }
    for (auto _ : state) {
        for (int pos = 0; pos < kFrames; pos += kBlock) {
            const int n = std::min(kBlock, kFrames - pos);
            double* ins[] = {left.data() + pos, right.data() + pos};
            double* outs[] = {outLeft.data() + pos, outRight.data() + pos};
            plug.AttachInputs(0, 2, ins);
            plug.AttachOutputs(0, 2, outs);
            plug.ProcessAttached(n);
        }
        benchmark::DoNotOptimize(outLeft.data());
    }
    state.counters["realtime"] = benchmark::Counter(10.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TavrelZel4_Stereo10s)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
