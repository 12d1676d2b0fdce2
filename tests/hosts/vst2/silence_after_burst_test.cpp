// A full-scale burst, then digital silence (Dist. Amount 60, hiss off), which leaves the filters'
// memories decaying through subnormal numbers. In the audio floating-point mode every kernel
// path gives the bits the two models give one by one, the VST3 and VST2 modules' entries give
// them too, and each entry hands the host back its own mode.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <pmmintrin.h>

#include "effect/stereo_block.h"
#include "effect/tavrelzel4.h"
#include "effect/zl4.h"
#include "framework/fpmode.h"
#include "vst2_host.h"
#include "vst3_host.h"

namespace {
constexpr int kRate = 44100, kBlock = 512, kFrames = 88 * kBlock, kBurst = kRate / 2;
// Dist. Amount 60 as a VST2 host can send it; the VST3 host sends the same value.
constexpr float kDistAmount = 0.6f;
// Unlike the audio mode in every part: round toward zero, no flushing, two status flags raised.
constexpr unsigned kHostMode = _MM_ROUND_TOWARD_ZERO | _MM_MASK_MASK | _MM_EXCEPT_INVALID | _MM_EXCEPT_INEXACT;

using Channels = std::vector<std::vector<double>>;

// Noise of float precision in both channels for the burst, zeros after it.
Channels Input() {
    Channels x(2, std::vector<double>(kFrames, 0.0));
    uint32_t seed = 1;
    for (int i = 0; i < kBurst; ++i) {
        seed = seed * 1664525u + 1013904223u;
        x[0][i] = static_cast<int32_t>(seed & 0xFFFFFF00u) / 2147483648.0;
        x[1][i] = -x[0][i];
    }
    return x;
}

bool SameBits(const Channels& a, const Channels& b) {
    for (int c = 0; c < 2; ++c)
        if (std::memcmp(a[c].data(), b[c].data(), sizeof(double) * kFrames) != 0) return false;
    return true;
}

// The results a 32-bit road gives back: each sample rounded to float in the audio mode.
Channels RoundedToFloat(Channels x) {
    ScopedAudioFpMode mode;
    for (auto& channel : x)
        for (double& v : channel) v = static_cast<float>(v);
    return x;
}

// The plug-in class in-process, set up as the modules are, its two models run block by block
// by `process`, in the audio mode or, to show the input reaches subnormal numbers, in this
// thread's own mode with its status flags cleared first.
using StereoProcess = std::function<void(zl4&, zl4&, double*, double*, int)>;
Channels Render(const StereoProcess& process, bool audioMode = true) {
    TavrelZel4 plug;
    plug.RestorePresetSlot(0);
    plug.SetSampleRate(kRate);
    plug.ChangeBlockSize(kBlock);
    plug.ResetProcessing();
    plug.GetParam(TavrelZel4::kDistAmount)->AssignNormalized(kDistAmount);
    plug.GetParam(TavrelZel4::kHiss)->AssignNormalized(0.0);
    for (int id : {TavrelZel4::kDistAmount, TavrelZel4::kHiss}) plug.ParameterChanged(id, kSourceHost);
    Channels y = Input();
    if (!audioMode) _mm_setcsr(_mm_getcsr() & ~_MM_EXCEPT_MASK);
    for (int at = 0; at < kFrames; at += kBlock) {
        std::optional<ScopedAudioFpMode> mode;
        if (audioMode) mode.emplace();
        process(*plug.LeftModel(), *plug.RightModel(), &y[0][at], &y[1][at], kBlock);
    }
    return y;
}

// Runs the input through a module's entry in host blocks, the host's mode set before each call.
template <typename Sample>
void ExpectEntry(const char* name, const std::function<void(Sample**, Sample**, int)>& entry,
                 const Channels& expected) {
    const Channels x = Input();
    std::vector<Sample> in[2], out[2];
    for (int c = 0; c < 2; ++c) in[c].assign(x[c].begin(), x[c].end()), out[c].assign(kFrames, 0);
    int modeChanged = 0;
    for (int at = 0; at < kFrames; at += kBlock) {
        Sample* i[] = {&in[0][at], &in[1][at]};
        Sample* o[] = {&out[0][at], &out[1][at]};
        const unsigned own = _mm_getcsr();
        _mm_setcsr(kHostMode);
        entry(i, o, kBlock);
        const unsigned after = _mm_getcsr();
        _mm_setcsr(own);
        modeChanged += after != kHostMode;
    }
    EXPECT_EQ(modeChanged, 0) << name << ": blocks that left the host another floating-point mode";
    EXPECT_TRUE(SameBits({{out[0].begin(), out[0].end()}, {out[1].begin(), out[1].end()}}, expected)) << name;
}
}  // namespace

TEST(SilenceAfterABurst, SameBitsOnEveryPathAndEntryAndTheHostKeepsItsMode) {
    const StereoProcess oneByOne = [](zl4& l, zl4& r, double* a, double* b, int n) {
        l.ProcessBlock(a, n);
        r.ProcessBlock(b, n);
    };
    Render(oneByOne, false);
    ASSERT_TRUE(_mm_getcsr() & _MM_EXCEPT_DENORM) << "the input never reached a subnormal number";
    const Channels models = Render(oneByOne), floats = RoundedToFloat(models);
    for (KernelPath path : kKernelPaths) {
        if (!KernelPathAvailable(path)) continue;
        const Channels onPath =
            Render([path](zl4& l, zl4& r, double* a, double* b, int n) { ProcessStereoBlock(l, r, a, b, n, path); });
        EXPECT_TRUE(SameBits(onPath, models)) << KernelPathName(path);
    }

    std::string error;
    tzhost::Module vst3Module;
    ASSERT_TRUE(vst3Module.Load(TZ_VST3_MODULE, &error)) << error;
    for (bool doubles : {true, false}) {
        tzhost::HostApplication app("silence");
        tzhost::Plugin vst3;
        ASSERT_TRUE(vst3.Create(vst3Module.Factory(), &error)) << error;
        ASSERT_TRUE(vst3.Initialize(&app));
        vst3.Prepare(doubles ? Sdk::Vst::kSample64 : Sdk::Vst::kSample32, kRate, kBlock);
        tzhost::ParameterChanges changes, *first = &changes;
        changes.Add(TavrelZel4::kDistAmount, 0, kDistAmount);
        changes.Add(TavrelZel4::kHiss, 0, 0.0);
        if (doubles)
            ExpectEntry<double>(
                "VST3 64-bit",
                [&](double** i, double** o, int n) { vst3.Process64(i, o, 2, n, std::exchange(first, nullptr)); },
                models);
        else
            ExpectEntry<float>(
                "VST3 32-bit",
                [&](float** i, float** o, int n) { vst3.Process32(i, o, 2, n, std::exchange(first, nullptr)); },
                floats);
        vst3.Shutdown();
    }

    vst2host::Host host;
    vst2host::Module vst2Module;
    ASSERT_TRUE(vst2Module.Load(TZ_VST2_MODULE, &error)) << error;
    for (bool doubles : {true, false}) {
        vst2host::Plugin vst2(vst2Module.entry(vst2host::Host::Callback));
        vst2.Open(kRate, kBlock);
        Vst2::AEffect* e = vst2.effect;
        e->setParameter(e, TavrelZel4::kDistAmount, kDistAmount);
        e->setParameter(e, TavrelZel4::kHiss, 0.0f);
        if (doubles)
            ExpectEntry<double>(
                "VST2 double", [e](double** i, double** o, int n) { e->processDoubleReplacing(e, i, o, n); }, models);
        else
            ExpectEntry<float>(
                "VST2 replacing", [e](float** i, float** o, int n) { e->processReplacing(e, i, o, n); }, floats);
        vst2.Close();
    }
}
