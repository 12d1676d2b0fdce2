// The built VST3 module driven end to end by the stand-in host, checked against the plug-in
// class driven directly (built into this program on the test binding).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "effect/product.h"
#include "effect/tavrelzel4.h"
#include "test_module.h"
#include "vst3_host.h"

using namespace tzhost;

namespace {
constexpr double kRate = 48000;
constexpr int kBlock = 128;
constexpr double kPi = 3.14159265358979323846;

// A fresh, initialized instance with active buses.
struct Instance {
    HostApplication host;
    Plugin plugin;
    explicit Instance(int32 sampleSize = -1) {
        std::string error;
        EXPECT_TRUE(plugin.Create(TheModule().Factory(), &error)) << error;
        EXPECT_TRUE(plugin.Initialize(&host));
        if (sampleSize >= 0) {
            EXPECT_EQ(plugin.Prepare(sampleSize, kRate, kBlock), kResultOk);
        }
    }
    std::vector<char> State() {
        MemoryStream s;
        EXPECT_EQ(plugin.component->getState(&s), kResultOk);
        return s.data;
    }
};

std::vector<double> Tone(int frames, double freq, int offset = 0) {
    std::vector<double> x(frames);
    for (int i = 0; i < frames; ++i) x[i] = 0.6 * std::sin(2 * kPi * freq * (i + offset) / kRate);
    return x;
}

// Runs blocks through the module on either road; returns the two output channels.
struct Runner {
    Plugin& plugin;
    int32 sampleSize;
    std::vector<double> Block(std::vector<double> in[2], std::vector<double> out[2], ParameterChanges* changes) {
        const int n = static_cast<int>(in[0].size());
        out[0].assign(n, 0), out[1].assign(n, 0);
        if (sampleSize == kSample64) {
            double* ip[] = {in[0].data(), in[1].data()};
            double* op[] = {out[0].data(), out[1].data()};
            EXPECT_EQ(plugin.Process64(ip, op, 2, n, changes), kResultOk);
        } else {
            std::vector<float> fi[2], fo[2];
            for (int c = 0; c < 2; ++c) fi[c].assign(in[c].begin(), in[c].end()), fo[c].assign(n, 0.f);
            float* ip[] = {fi[0].data(), fi[1].data()};
            float* op[] = {fo[0].data(), fo[1].data()};
            EXPECT_EQ(plugin.Process32(ip, op, 2, n, changes), kResultOk);
            for (int c = 0; c < 2; ++c) out[c].assign(fo[c].begin(), fo[c].end());
        }
        return out[0];
    }
};

// Automation for block b: a few parameters move, some queues carry several points.
void Automate(int b, ParameterChanges* changes) {
    changes->Clear();
    if (b == 0) changes->Add(TavrelZel4::kHiss, 0, 0.0);
    changes->Add(TavrelZel4::kDistAmount, 0, 0.9);  // overridden by the last point below
    changes->Add(TavrelZel4::kDistAmount, 17, 0.1 + 0.08 * b);
    if (b % 2) changes->Add(TavrelZel4::kTone, 5, 0.2 + 0.05 * b);
    if (b % 3 == 2) changes->Add(TavrelZel4::kLevel, 0, 0.3 + 0.04 * b);
    if (b == 4) changes->Add(TavrelZel4::kDryWet, 9, 0.7);
    if (b == 5) changes->Add(TavrelZel4::kSaturation, 0, 0.0);
    if (b == 6) changes->Add(TavrelZel4::kCompensation, 0, 0.0);
}
}  // namespace

TEST(Vst3Module, FactoryAndClassInformation) {
    IClassFactory* factory = TheModule().Factory();
    ASSERT_NE(factory, nullptr);
    PFactoryInfo fi{};
    ASSERT_EQ(factory->getFactoryInfo(&fi), kResultOk);
    EXPECT_STREQ(fi.vendor, "Tavrel");
    EXPECT_EQ(fi.flags, PFactoryInfo::kUnicode);
    ASSERT_EQ(factory->countClasses(), 1);

    void* obj = nullptr;
    ASSERT_EQ(factory->queryInterface(IClassFactory2::iid, &obj), kResultOk);
    auto* factory2 = static_cast<IClassFactory2*>(obj);
    PClassInfo2 ci;
    std::memset(&ci, 0x55, sizeof ci);
    ASSERT_EQ(factory2->getClassInfo2(0, &ci), kResultOk);
    factory2->release();
    // The class id's first two words in the platform's byte order.
#ifdef _WIN32
    const unsigned char cid[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                   'T',  'v',  'R',  'l',  'Z',  'e',  'l',  '4'};
#else
    const unsigned char cid[16] = {0xF2, 0xAE, 0xE7, 0x0D, 0x00, 0xDE, 0x4F, 0x4E,
                                   'T',  'v',  'R',  'l',  'Z',  'e',  'l',  '4'};
#endif
    EXPECT_EQ(std::memcmp(ci.cid, cid, 16), 0);
    EXPECT_EQ(ci.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(ci.category, "Audio Module Class");
    EXPECT_STREQ(ci.name, "TavrelZel4");
    EXPECT_EQ(ci.classFlags, 2u);
    EXPECT_STREQ(ci.subCategories, "Fx|Distortion");
    EXPECT_EQ(std::string(ci.vendor, sizeof ci.vendor), std::string(sizeof ci.vendor, '\0'));
    EXPECT_STREQ(ci.version, Product::kVersionText);
    EXPECT_STREQ(ci.sdkVersion, "VST 3.5.2");

    // A second GetPluginFactory hands out the same factory with one more reference.
    using GetFactory = IClassFactory*(PLUGIN_API*)();
    auto getFactory = reinterpret_cast<GetFactory>(TheModule().Symbol("GetPluginFactory"));
    ASSERT_NE(getFactory, nullptr);
    IClassFactory* again = getFactory();
    EXPECT_EQ(again, factory);
    again->release();

    obj = reinterpret_cast<void*>(1);
    const char wrong[16] = {1, 2, 3};
    EXPECT_EQ(factory->createInstance(wrong, IComponent::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
}

TEST(Vst3Module, BusesAndParametersAsAHostSeesThem) {
    Instance inst;
    IComponent* comp = inst.plugin.component;
    EXPECT_EQ(comp->getBusCount(kEvent, kInput), 0);
    for (BusDirection dir : {kInput, kOutput}) {
        ASSERT_EQ(comp->getBusCount(kAudio, dir), 1);
        BusInfo bus{};
        ASSERT_EQ(comp->getBusInfo(kAudio, dir, 0, bus), kResultOk);
        EXPECT_EQ(FromString128(bus.name), dir == kInput ? "Main Input" : "Output");
        EXPECT_EQ(bus.channelCount, 2);
        EXPECT_EQ(bus.busType, kMain);
        EXPECT_EQ(bus.flags, BusInfo::kDefaultActive);
    }

    IEditController* ctl = inst.plugin.controller;
    ASSERT_EQ(ctl->getParameterCount(), 10);
    const ParamID ids[] = {kPresetId, kBypassId, 0, 1, 2, 3, 4, 5, 6, 7};
    const char* titles[] = {"Preset",
                            "Bypass",
                            "Bypass",
                            "Dist. Amount",
                            "Tone",
                            "Level",
                            "Analog Saturation",
                            "Analog Hiss",
                            "Dry/Wet",
                            "Output compensation"};
    for (int i = 0; i < 10; ++i) {
        ParameterInfo info{};
        ASSERT_EQ(ctl->getParameterInfo(i, info), kResultOk);
        EXPECT_EQ(info.id, ids[i]);
        EXPECT_EQ(FromString128(info.title), titles[i]);
        const bool toggle = i == 1 || i == 2 || i == 6 || i == 7 || i == 9;
        if (i >= 2) {
            EXPECT_EQ(info.flags, toggle ? 0x9 : 0x1) << titles[i];
        }
        if (toggle) {
            EXPECT_EQ(info.stepCount, 1) << titles[i];
        }
    }
    ParameterInfo info{};
    ctl->getParameterInfo(1, info);
    EXPECT_EQ(info.flags, 0x10009);
    ctl->getParameterInfo(0, info);
    EXPECT_EQ(info.flags, 0x8000);

    EXPECT_DOUBLE_EQ(ctl->plainParamToNormalized(TavrelZel4::kDistAmount, 60), 0.6);
    EXPECT_DOUBLE_EQ(ctl->plainParamToNormalized(TavrelZel4::kTone, 25), 0.5);
    EXPECT_DOUBLE_EQ(ctl->getParamNormalized(TavrelZel4::kLevel), 0.5);
    EXPECT_DOUBLE_EQ(ctl->getParamNormalized(TavrelZel4::kDryWet), 1.0);
    String128 text{};
    ASSERT_EQ(ctl->getParamStringByValue(TavrelZel4::kHiss, 1.0, text), kResultOk);
    EXPECT_EQ(FromString128(text), "on");

    inst.plugin.Shutdown();
    EXPECT_EQ(inst.host.References(), 1);  // terminate gave the context back
}

class Vst3Audio : public ::testing::TestWithParam<int32> {};

TEST_P(Vst3Audio, MatchesThePluginDrivenDirectly) {
    const int32 sampleSize = GetParam();
    Instance inst(sampleSize);
    Runner run{inst.plugin, sampleSize};

    // The reference, in the host's order: preset restored at initialize, then the set-up.
    TavrelZel4 ref;
    ref.RestorePresetSlot(0);
    ref.SetSampleRate(kRate);
    ref.ChangeBlockSize(kBlock);
    ref.ResetProcessing();

    ParameterChanges changes;
    for (int b = 0; b < 8; ++b) {
        Automate(b, &changes);
        std::vector<double> in[2] = {Tone(kBlock, 220, b * kBlock), Tone(kBlock, 1330, b * kBlock)}, out[2];
        run.Block(in, out, &changes);

        for (int32 q = 0; q < changes.getParameterCount(); ++q) {
            IParamValueQueue* queue = changes.getParameterData(q);
            int32 offset;
            ParamValue value;
            queue->getPoint(queue->getPointCount() - 1, offset, value);
            ref.GetParam(queue->getParameterId())->AssignNormalized(value);
            ref.ParameterChanged(queue->getParameterId(), kSourceHost);
        }
        std::vector<double> expected[2];
        for (int c = 0; c < 2; ++c) {
            // The 32-bit road sees inputs rounded to float and rounds the results again.
            expected[c] = in[c];
            if (sampleSize == kSample32)
                for (double& v : expected[c]) v = static_cast<float>(v);
        }
        std::vector<double> refIn[2] = {expected[0], expected[1]};
        double* ip[] = {refIn[0].data(), refIn[1].data()};
        double* op[] = {expected[0].data(), expected[1].data()};
        ref.ProcessDoubles(ip, op, kBlock);
        for (int c = 0; c < 2; ++c) {
            if (sampleSize == kSample32)
                for (double& v : expected[c]) v = static_cast<float>(v);
            ASSERT_EQ(out[c], expected[c]) << "block " << b << " channel " << c;
        }
    }
    EXPECT_DOUBLE_EQ(inst.plugin.controller->getParamNormalized(TavrelZel4::kDistAmount), 0.1 + 0.08 * 7);
}

TEST_P(Vst3Audio, HostBypassPassesInputThroughBitExact) {
    const int32 sampleSize = GetParam();
    Instance inst(sampleSize);
    Runner run{inst.plugin, sampleSize};
    ParameterChanges changes;
    changes.Add(kBypassId, 0, 0.51);
    changes.Add(TavrelZel4::kDistAmount, 0, 0.8);
    std::vector<double> in[2] = {Tone(kBlock, 440), Tone(kBlock, 660)}, out[2];
    for (auto& channel : in)
        for (double& v : channel) v = static_cast<float>(v);  // the same samples on both roads
    run.Block(in, out, &changes);
    EXPECT_EQ(out[0], in[0]);
    EXPECT_EQ(out[1], in[1]);
    EXPECT_EQ(inst.plugin.controller->getParamNormalized(kBypassId), 1.0);

    changes.Clear();
    changes.Add(kBypassId, 0, 0.5);  // exactly one half is not bypassed
    run.Block(in, out, &changes);
    EXPECT_NE(out[0], in[0]);
    EXPECT_EQ(inst.plugin.controller->getParamNormalized(kBypassId), 0.0);

    // A program change to the only preset brings its values back.
    changes.Clear();
    changes.Add(kPresetId, 0, 0.0);
    run.Block(in, out, &changes);
    EXPECT_DOUBLE_EQ(inst.plugin.controller->getParamNormalized(TavrelZel4::kDistAmount), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Roads, Vst3Audio, ::testing::Values(kSample32, kSample64),
                         [](const auto& test) { return test.param == kSample32 ? "Float32" : "Float64"; });

TEST(Vst3State, RoundTripsParametersAndBypass) {
    Instance a(kSample64);
    Runner run{a.plugin, kSample64};
    ParameterChanges changes;
    changes.Add(TavrelZel4::kDistAmount, 0, 0.7);
    changes.Add(TavrelZel4::kTone, 0, 0.3);
    changes.Add(TavrelZel4::kHiss, 0, 0.0);
    changes.Add(kBypassId, 0, 1.0);
    std::vector<double> in[2] = {Tone(kBlock, 300), Tone(kBlock, 500)}, out[2];
    run.Block(in, out, &changes);

    const std::vector<char> saved = a.State();
    ASSERT_EQ(saved.size(), 68u);
    double values[8];
    int32_t bypass;
    std::memcpy(values, saved.data(), 64);
    std::memcpy(&bypass, saved.data() + 64, 4);
    EXPECT_DOUBLE_EQ(values[TavrelZel4::kDistAmount], 70.0);
    EXPECT_DOUBLE_EQ(values[TavrelZel4::kTone], 9.0);  // shape 2: 100 * 0.3^2
    EXPECT_EQ(values[TavrelZel4::kHiss], 0.0);
    EXPECT_EQ(bypass, 1);

    // Through the component on one instance and through the controller on another.
    for (bool viaController : {false, true}) {
        Instance b(kSample64);
        MemoryStream stream(saved);
        IBStream* s = &stream;
        EXPECT_EQ(viaController ? b.plugin.controller->setState(s) : b.plugin.component->setState(s), kResultOk);
        EXPECT_EQ(b.State(), saved);
        EXPECT_EQ(b.plugin.controller->getParamNormalized(kBypassId), 1.0);
        EXPECT_DOUBLE_EQ(b.plugin.controller->getParamNormalized(TavrelZel4::kTone), 0.3);
        Runner runB{b.plugin, kSample64};
        runB.Block(in, out, nullptr);
        EXPECT_EQ(out[0], in[0]);  // restored bypass
    }
}

TEST(Vst3State, ShortCorruptAndEmptyStreamsAreRefusedCleanly) {
    Instance a(kSample64);
    const std::vector<char> defaults = a.State();
    std::vector<char> good = defaults;
    const double dist = 40.0;
    std::memcpy(good.data() + 8 * TavrelZel4::kDistAmount, &dist, 8);

    auto restore = [&](std::vector<char> bytes, bool failReads = false) {
        MemoryStream s(std::move(bytes));
        s.failReads = failReads;
        return a.plugin.component->setState(&s);
    };
    EXPECT_NE(restore({}), kResultOk);
    EXPECT_NE(restore(good, true), kResultOk);
    EXPECT_EQ(a.State(), defaults);  // nothing was read, nothing changed
    EXPECT_NE(restore(std::vector<char>(good.begin(), good.begin() + 30)), kResultOk);
    EXPECT_NE(restore(std::vector<char>(good.begin(), good.begin() + 64)), kResultOk);  // no bypass flag

    // Bytes that are no numbers at all still leave every parameter in range and the audio finite.
    EXPECT_EQ(restore(std::vector<char>(68, '\xFF')), kResultOk);
    for (int i = 0; i < TavrelZel4::kNumParams; ++i) {
        const double v = a.plugin.controller->getParamNormalized(i);
        EXPECT_TRUE(v >= 0.0 && v <= 1.0) << i;
    }
    Runner run{a.plugin, kSample64};
    std::vector<double> in[2] = {Tone(kBlock, 300), Tone(kBlock, 500)}, out[2];
    run.Block(in, out, nullptr);
    for (int c = 0; c < 2; ++c)
        for (double v : out[c]) ASSERT_TRUE(std::isfinite(v));

    EXPECT_EQ(restore(good), kResultOk);
    EXPECT_EQ(a.State(), good);
}

TEST(Vst3Module, MonoBusesOnRequest) {
    Instance inst;
    SpeakerArrangement mono = SpeakerArr::kMono;
    ASSERT_EQ(inst.plugin.processor->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    BusInfo bus{};
    ASSERT_EQ(inst.plugin.component->getBusInfo(kAudio, kOutput, 0, bus), kResultOk);
    EXPECT_EQ(bus.channelCount, 1);
    for (BusDirection dir : {kInput, kOutput}) inst.plugin.component->activateBus(kAudio, dir, 0, true);
    ASSERT_EQ(inst.plugin.Prepare(kSample64, kRate, kBlock), kResultOk);
    std::vector<double> in = Tone(kBlock, 300), out(kBlock, 0.0);
    double* ip[] = {in.data()};
    double* op[] = {out.data()};
    ParameterChanges changes;
    changes.Add(TavrelZel4::kDistAmount, 0, 0.6);
    EXPECT_EQ(inst.plugin.Process64(ip, op, 1, kBlock, &changes), kResultOk);
    EXPECT_NE(out, in);
    for (double v : out) ASSERT_TRUE(std::isfinite(v));
}
