// The process call: both sample roads against the effect driven directly, parameter queues,
// bypass, and blocks whose buses are missing, inactive or longer than announced.
#include <gtest/gtest.h>

#include <cmath>

#include "host_doubles.h"
#include "sdk/vst3/processcontext.h"

using namespace testhost;

namespace {
constexpr int kFrames = 1000;
constexpr int kMaxBlock = 256;

template <typename Sample>
std::vector<Sample> Signal(int channel) {
    std::vector<Sample> v(kFrames);
    for (int i = 0; i < kFrames; ++i)
        v[i] = static_cast<Sample>(0.6 * std::sin(0.031 * i * (channel + 1)) + 0.2 * std::sin(0.7 * i));
    return v;
}

// The reference: the same plug-in set up the same way, its ProcessDoubles called in pieces of
// the set-up block size.
std::vector<std::vector<double>> Reference(const std::vector<std::vector<double>>& input) {
    Plugin ref;
    ref.Setup(kSample64, kMaxBlock);
    std::vector<std::vector<double>> out(2, std::vector<double>(kFrames));
    for (int at = 0; at < kFrames; at += kMaxBlock) {
        double* in[] = {const_cast<double*>(input[0].data()) + at, const_cast<double*>(input[1].data()) + at};
        double* o[] = {out[0].data() + at, out[1].data() + at};
        ScopedPlugLock lock(ref.plug->GetMutex());
        ref.plug->ProcessDoubles(in, o, std::min(kMaxBlock, kFrames - at));
    }
    return out;
}
}  // namespace

TEST(Vst3Process, SixtyFourBitRoadEqualsTheEffect) {
    std::vector<std::vector<double>> input{Signal<double>(0), Signal<double>(1)};
    const auto expected = Reference(input);
    Plugin p;
    p.Setup(kSample64, kMaxBlock);
    std::vector<std::vector<double>> out(2, std::vector<double>(kFrames));
    double* in[] = {input[0].data(), input[1].data()};
    double* o[] = {out[0].data(), out[1].data()};
    p.Process<double>(nullptr, in, o, kFrames);  // one block longer than announced
    EXPECT_EQ(out, expected);
    EXPECT_GT(std::fabs(out[0][500] - input[0][500]), 1e-6);  // the effect did something
}

TEST(Vst3Process, ThirtyTwoBitRoadEqualsTheEffect) {
    std::vector<std::vector<float>> input{Signal<float>(0), Signal<float>(1)};
    std::vector<std::vector<double>> wide{{input[0].begin(), input[0].end()}, {input[1].begin(), input[1].end()}};
    const auto expected = Reference(wide);
    Plugin p;
    p.Setup(kSample32, kMaxBlock);
    std::vector<std::vector<float>> out(2, std::vector<float>(kFrames));
    for (int at = 0; at < kFrames; at += kMaxBlock) {
        float* in[] = {input[0].data() + at, input[1].data() + at};
        float* o[] = {out[0].data() + at, out[1].data() + at};
        testing::internal::CaptureStdout();  // the road's diagnostics
        p.Process(nullptr, in, o, std::min(kMaxBlock, kFrames - at));
        EXPECT_NE(testing::internal::GetCapturedStdout().find("done\n"), std::string::npos);
    }
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kFrames; ++i) ASSERT_EQ(out[c][i], static_cast<float>(expected[c][i])) << c << " " << i;
}

TEST(Vst3Process, BypassIsBitExactOnBothRoads) {
    Plugin p;
    p.Setup(kSample64);
    Changes on;
    on.Add(IFxVST3::kBypassTag, {0.51});
    std::vector<double> a = Signal<double>(0), b = Signal<double>(1), oa(kFrames), ob(kFrames);
    double* in[] = {a.data(), b.data()};
    double* out[] = {oa.data(), ob.data()};
    p.Process<double>(&on, in, out, 200);
    EXPECT_EQ(p.plug->getParamNormalized(IFxVST3::kBypassTag), 1.0);
    EXPECT_TRUE(std::equal(a.begin(), a.begin() + 200, oa.begin()));
    EXPECT_TRUE(std::equal(b.begin(), b.begin() + 200, ob.begin()));

    Plugin q;
    q.Setup(kSample32);
    std::vector<float> fa = Signal<float>(0), fb = Signal<float>(1), foa(kFrames), fob(kFrames);
    float* fin[] = {fa.data(), fb.data()};
    float* fout[] = {foa.data(), fob.data()};
    testing::internal::CaptureStdout();
    q.Process(&on, fin, fout, 200);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::equal(fa.begin(), fa.begin() + 200, foa.begin()));
    EXPECT_TRUE(std::equal(fb.begin(), fb.begin() + 200, fob.begin()));
}

TEST(Vst3Process, QueuesApplyTheirLastPoint) {
    Plugin p;
    p.Setup(kSample64);
    Changes changes;
    changes.Add(TavrelZel4::kTone, {0.1, 0.9, 0.3});
    changes.Add(IFxVST3::kBypassTag, {1.0, 0.5});
    changes.Add(TavrelZel4::kLevel, {});
    changes.Add(9999, {0.7});
    p.Process(&changes, nullptr, nullptr, 64);
    EXPECT_NEAR(p.plug->GetParam(TavrelZel4::kTone)->NormalizedValue(), 0.3, 1e-3);
    EXPECT_FALSE(p.plug->IsBypassed());  // exactly 0.5 is off
    EXPECT_EQ(changes.queues[2].badReads, 0);  // an empty queue is not read

    // The top preset value selects the last (here the only) preset.
    Changes preset;
    preset.Add(IFxVST3::kPresetTag, {1.0});
    p.Process(&preset, nullptr, nullptr, 64);
    EXPECT_DOUBLE_EQ(p.plug->GetParam(TavrelZel4::kTone)->Value(), 25.0);
}

TEST(Vst3Process, MissingAndInactiveBuses) {
    Plugin p;
    p.Setup(kSample64);
    Changes on;
    on.Add(IFxVST3::kBypassTag, {1.0});
    std::vector<double> oa(64, 7.0), ob(64, 7.0);
    double* out[] = {oa.data(), ob.data()};
    {
        std::vector<double> a(64, 0.5), b(64, 0.5);
        double* in[] = {a.data(), b.data()};
        p.Process<double>(&on, in, out, 64);
    }
    // No input bus: the inputs read silence, never the last block's buffers.
    p.Process<double>(nullptr, nullptr, out, 64);
    EXPECT_EQ(oa, std::vector<double>(64, 0.0));
    EXPECT_EQ(ob, std::vector<double>(64, 0.0));

    // An inactive output bus leaves the host's buffers as they are.
    p.plug->activateBus(kAudio, kOutput, 0, false);
    std::vector<double> a(64, 0.5), b(64, 0.5), sa(64, 7.0), sb(64, 7.0);
    double* in[] = {a.data(), b.data()};
    double* sink[] = {sa.data(), sb.data()};
    p.Process<double>(nullptr, in, sink, 64);
    EXPECT_EQ(sa, std::vector<double>(64, 7.0));

    // Buses without channel arrays and flush blocks are harmless; the queues still apply.
    ProcessData data{};
    AudioBusBuffers bare[2] = {{2, 0, {}}, {2, 0, {}}};
    data.symbolicSampleSize = kSample64;
    data.numSamples = 64;
    data.numInputs = data.numOutputs = 2;
    data.inputs = bare;
    data.outputs = bare;
    EXPECT_EQ(p.plug->process(data), kResultOk);
    Changes off;
    off.Add(IFxVST3::kBypassTag, {0.0});
    data.numSamples = 0;
    data.inputParameterChanges = &off;
    EXPECT_EQ(p.plug->process(data), kResultOk);
    EXPECT_FALSE(p.plug->IsBypassed());
}

TEST(Vst3Process, SetupAndTransport) {
    Plugin p;
    p.Setup(kSample64, 128);
    ProcessSetup bad{kOffline, 2, 512, 96000.0};
    EXPECT_EQ(p.plug->setupProcessing(bad), kResultFalse);
    bad.symbolicSampleSize = -1;
    EXPECT_EQ(p.plug->setupProcessing(bad), kResultFalse);
    EXPECT_EQ(p.plug->GetBlockSize(), 128);
    EXPECT_FALSE(p.plug->IsOfflineProcessing());
    EXPECT_EQ(p.plug->canProcessSampleSize(kSample32), kResultOk);
    EXPECT_EQ(p.plug->canProcessSampleSize(2), kResultFalse);

    // A bypass set before a new set-up (e.g. by a restored state) survives it.
    p.plug->SetBypassed(true);
    ProcessSetup offline{kOffline, kSample32, 512, 96000.0};
    EXPECT_EQ(p.plug->setupProcessing(offline), kResultOk);
    EXPECT_TRUE(p.plug->IsBypassed());
    EXPECT_TRUE(p.plug->IsOfflineProcessing());
    EXPECT_EQ(p.plug->GetSampleRate(), 96000.0);

    ProcessContext context{};
    context.state = ProcessContext::kPlaying | ProcessContext::kCycleActive;
    context.projectTimeSamples = (int64{1} << 32) + 5;
    context.tempo = 133.0;
    context.timeSigNumerator = 7;
    context.timeSigDenominator = 8;
    context.cycleEndMusic = 16.0;
    ProcessData data{};
    data.processContext = &context;
    p.plug->process(data);
    ITimeInfo info;
    p.plug->HostTimeInfo(&info);
    EXPECT_EQ(info.samplePos, 4294967301.0);
    EXPECT_EQ(p.plug->HostSamplePosition(), 5);
    EXPECT_EQ(info.tempo, 133.0);
    EXPECT_EQ(info.cycleEnd, 16.0);
    EXPECT_TRUE(info.playing);
    EXPECT_TRUE(info.looping);
    int num = 0, den = 0;
    p.plug->HostTimeSignature(&num, &den);
    EXPECT_EQ(num * 100 + den, 708);
}
