// A full-scale burst, then digital silence (Dist. Amount 60, hiss off), which leaves the filters'
// memories decaying through subnormal numbers. In the audio floating-point mode (spelled out
// here: round to nearest, exceptions masked, flush-to-zero, denormals-are-zero) every kernel
// path gives the bits the two models give one by one; every audio entry of the VST3, VST2 and
// AAX modules gives them too, writes nothing to standard output, and hands the host back its own
// mode. The AAX render, which calls its host during the block, is seen to run in that mode.
#include <gtest/gtest.h>

#include <cstdio>
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
#include "vst2_host.h"
#include "vst3_host.h"
#ifdef TZ_AAX_MODULE
#include "aax_plugin.h"
#endif

namespace {
constexpr int kRate = 44100, kBlock = 512, kFrames = 88 * kBlock, kBurst = kRate / 2;
// Dist. Amount 60 as a VST2 host can send it; the VST3 host sends the same value.
constexpr float kDistAmount = 0.6f;
// Unlike the audio mode in every part: round toward zero, no flushing, two status flags raised.
constexpr unsigned kHostMode = _MM_ROUND_TOWARD_ZERO | _MM_MASK_MASK | _MM_EXCEPT_INVALID | _MM_EXCEPT_INEXACT;
// The mode every block must run in, written out rather than taken from the framework.
constexpr unsigned kAudioMode = _MM_ROUND_NEAREST | _MM_MASK_MASK | _MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON;

class ScopedMode {
public:
    explicit ScopedMode(unsigned mode) : mOwn(_mm_getcsr()) { _mm_setcsr(mode); }
    ~ScopedMode() { _mm_setcsr(mOwn); }

private:
    unsigned mOwn;
};

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
    ScopedMode mode(kAudioMode);
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
        std::optional<ScopedMode> mode;
        if (audioMode) mode.emplace(kAudioMode);
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
    testing::internal::CaptureStdout();
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
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << name << ": the audio thread wrote to standard output";
    EXPECT_EQ(modeChanged, 0) << name << ": blocks that left the host another floating-point mode";
    EXPECT_TRUE(SameBits({{out[0].begin(), out[0].end()}, {out[1].begin(), out[1].end()}}, expected)) << name;
}

// The models one by one: in 64 bits, and as a 32-bit entry gives them back.
const StereoProcess kOneByOne = [](zl4& l, zl4& r, double* a, double* b, int n) {
    l.ProcessBlock(a, n);
    r.ProcessBlock(b, n);
};
const Channels& Models() {
    static const Channels models = Render(kOneByOne);
    return models;
}
const Channels& Floats() {
    static const Channels floats = RoundedToFloat(Models());
    return floats;
}

void Vst3Entry(bool doubles) {
    std::string error;
    tzhost::Module module;
    ASSERT_TRUE(module.Load(TZ_VST3_MODULE, &error)) << error;
    tzhost::HostApplication app("silence");
    tzhost::Plugin vst3;
    ASSERT_TRUE(vst3.Create(module.Factory(), &error)) << error;
    ASSERT_TRUE(vst3.Initialize(&app));
    vst3.Prepare(doubles ? Sdk::Vst::kSample64 : Sdk::Vst::kSample32, kRate, kBlock);
    tzhost::ParameterChanges changes, *first = &changes;
    changes.Add(TavrelZel4::kDistAmount, 0, kDistAmount);
    changes.Add(TavrelZel4::kHiss, 0, 0.0);
    if (doubles)
        ExpectEntry<double>(
            "VST3 64-bit",
            [&](double** i, double** o, int n) { vst3.Process64(i, o, 2, n, std::exchange(first, nullptr)); },
            Models());
    else
        ExpectEntry<float>(
            "VST3 32-bit",
            [&](float** i, float** o, int n) { vst3.Process32(i, o, 2, n, std::exchange(first, nullptr)); }, Floats());
    vst3.Shutdown();
}

void Vst2Entry(vst2host::Plugin::Mode mode) {
    std::string error;
    vst2host::Host host;
    vst2host::Module module;
    ASSERT_TRUE(module.Load(TZ_VST2_MODULE, &error)) << error;
    vst2host::Plugin vst2(module.entry(vst2host::Host::Callback));
    vst2.Open(kRate, kBlock);
    Vst2::AEffect* e = vst2.effect;
    e->setParameter(e, TavrelZel4::kDistAmount, kDistAmount);
    e->setParameter(e, TavrelZel4::kHiss, 0.0f);
    using Mode = vst2host::Plugin::Mode;
    if (mode == Mode::kDouble)
        ExpectEntry<double>(
            "VST2 double", [e](double** i, double** o, int n) { e->processDoubleReplacing(e, i, o, n); }, Models());
    else if (mode == Mode::kReplacing)
        ExpectEntry<float>(
            "VST2 replacing", [e](float** i, float** o, int n) { e->processReplacing(e, i, o, n); }, Floats());
    else  // the outputs start at zero, so what it adds is the result
        ExpectEntry<float>(
            "VST2 accumulating", [e](float** i, float** o, int n) { e->process(e, i, o, n); }, Floats());
    vst2.Close();
}

#ifdef TZ_AAX_MODULE
void AaxEntry() {
    std::string error;
    aaxhost::Module module;
    ASSERT_TRUE(module.Load(TZ_AAX_MODULE, &error)) << error;
    aaxhost::Host host;
    host.sampleRate = kRate;
    host.recording = false;
    {
        aaxhost::Session session(host, module.exports);
        ASSERT_EQ(session.Register(), 0);  // the description's own lines come before the capture
        aaxhost::Instance instance(session);
        instance.Update("2", double(kDistAmount));  // AAX ids count from 1
        instance.Update("6", 0.0);
        ExpectEntry<float>(
            "AAX render", [&](float** i, float** o, int n) { instance.Render(i, o, n); }, Floats());
        EXPECT_EQ(host.renderFpMode & ~_MM_EXCEPT_MASK, kAudioMode) << "the mode inside the render";
    }
    module.Unload();
}
#endif

// Every audio entry of the modules, each from a fresh instance.
const struct EntryCase {
    const char* name;
    std::function<void()> run;
} kEntries[] = {
    {"Vst3Process64", [] { Vst3Entry(true); }},
    {"Vst3Process32", [] { Vst3Entry(false); }},
    {"Vst2DoubleReplacing", [] { Vst2Entry(vst2host::Plugin::Mode::kDouble); }},
    {"Vst2Replacing", [] { Vst2Entry(vst2host::Plugin::Mode::kReplacing); }},
    {"Vst2Accumulating", [] { Vst2Entry(vst2host::Plugin::Mode::kAccumulating); }},
#ifdef TZ_AAX_MODULE
    {"AaxRender", AaxEntry},
#endif
};
void PrintTo(const EntryCase& entry, std::ostream* out) { *out << entry.name; }
}  // namespace

TEST(SilenceAfterABurst, SameBitsOnEveryKernelPath) {
    Render(kOneByOne, false);
    ASSERT_TRUE(_mm_getcsr() & _MM_EXCEPT_DENORM) << "the input never reached a subnormal number";
    for (KernelPath path : kKernelPaths) {
        if (!KernelPathAvailable(path)) continue;
        const Channels onPath =
            Render([path](zl4& l, zl4& r, double* a, double* b, int n) { ProcessStereoBlock(l, r, a, b, n, path); });
        EXPECT_TRUE(SameBits(onPath, Models())) << KernelPathName(path);
    }
}

class SilenceAfterABurstEntry : public testing::TestWithParam<EntryCase> {};

TEST_P(SilenceAfterABurstEntry, SameBitsNothingWrittenAndTheHostKeepsItsMode) { GetParam().run(); }

std::string EntryName(const testing::TestParamInfo<EntryCase>& entry) { return entry.param.name; }
INSTANTIATE_TEST_SUITE_P(Modules, SilenceAfterABurstEntry, testing::ValuesIn(kEntries), EntryName);
