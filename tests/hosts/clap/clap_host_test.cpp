// The CLAP module through the raw-slot host, against the VST3 module of the same build: the
// entry, factory and descriptor walked by layout, the lifecycle with calls out of order, the
// parameters, ports and latency, blocks with events at random frames (the same bits as VST3 with
// its blocks split at those frames), and the state moving both ways.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "clap_host.h"
#include "clap_layout.h"
#include "sdk/clap/entry.h"
#include "sdk/clap/ext_audio_ports.h"
#include "sdk/clap/ext_audio_ports_config.h"
#include "sdk/clap/ext_params.h"
#include "sdk/clap/host.h"
#include "sdk/clap/process.h"
#include "test_module.h"

namespace {
using tzclap::ParamEvent;

// The host's layout table for this target against our declarations of the format (each pinned
// to the same numbers on its own): two transcriptions that must agree wherever the host reads.
using tzclap::L;
constexpr size_t kSameLayout[][2] = {
    {L.host.size, sizeof(Clap::Host)},
    {L.process.size, sizeof(Clap::Process)},
    {L.buffer.size, sizeof(Clap::AudioBuffer)},
    {L.paramValue.size, sizeof(Clap::EventParamValue)},
    {L.paramInfo.size, sizeof(Clap::ParamInfo)},
    {L.portInfo.size, sizeof(Clap::AudioPortInfo)},
    {L.entry.init, offsetof(Clap::PluginEntry, init)},
    {L.entry.deinit, offsetof(Clap::PluginEntry, deinit)},
    {L.entry.getFactory, offsetof(Clap::PluginEntry, get_factory)},
    {L.descriptor.strings, offsetof(Clap::PluginDescriptor, id)},
    {L.descriptor.features, offsetof(Clap::PluginDescriptor, features)},
    {L.host.data, offsetof(Clap::Host, host_data)},
    {L.host.getExtension, offsetof(Clap::Host, get_extension)},
    {L.host.requestCallback, offsetof(Clap::Host, request_callback)},
    {L.process.transport, offsetof(Clap::Process, transport)},
    {L.process.inputs, offsetof(Clap::Process, audio_inputs)},
    {L.process.inputCount, offsetof(Clap::Process, audio_inputs_count)},
    {L.process.outEvents, offsetof(Clap::Process, out_events)},
    {L.process.inEvents, offsetof(Clap::Process, in_events)},
    {L.buffer.data64, offsetof(Clap::AudioBuffer, data64)},
    {L.buffer.channels, offsetof(Clap::AudioBuffer, channel_count)},
    {L.buffer.constantMask, offsetof(Clap::AudioBuffer, constant_mask)},
    {L.paramValue.cookie, offsetof(Clap::EventParamValue, cookie)},
    {L.paramValue.noteId, offsetof(Clap::EventParamValue, note_id)},
    {L.paramValue.key, offsetof(Clap::EventParamValue, key)},
    {L.paramValue.value, offsetof(Clap::EventParamValue, value)},
    {L.paramInfo.module, offsetof(Clap::ParamInfo, module)},
    {L.paramInfo.name, offsetof(Clap::ParamInfo, name)},
    {L.paramInfo.min, offsetof(Clap::ParamInfo, min_value)},
    {L.paramInfo.def, offsetof(Clap::ParamInfo, default_value)},
    {L.portInfo.type, offsetof(Clap::AudioPortInfo, port_type)},
    {L.portInfo.flags, offsetof(Clap::AudioPortInfo, flags)},
    {L.portInfo.channels, offsetof(Clap::AudioPortInfo, channel_count)},
    {L.portInfo.inPlacePair, offsetof(Clap::AudioPortInfo, in_place_pair)},
    {L.portsConfig.size, sizeof(Clap::AudioPortsConfig)},
    {L.portsConfig.inType, offsetof(Clap::AudioPortsConfig, main_input_port_type)},
    {L.portsConfig.hasOut, offsetof(Clap::AudioPortsConfig, has_main_output)},
    {L.portsConfig.outChannels, offsetof(Clap::AudioPortsConfig, main_output_channel_count)},
    {L.portsConfig.outType, offsetof(Clap::AudioPortsConfig, main_output_port_type)}};
constexpr int FirstDifference() {
    for (int k = 0; k < int(std::size(kSameLayout)); ++k)
        if (kSameLayout[k][0] != kSameLayout[k][1]) return k;
    return -1;
}
static_assert(FirstDifference() < 0, "the host's layout table and sdk/clap differ (FirstDifference() is the row)");

constexpr const char* kPluginId = "invalid.tavrel.tavrelzel4";
constexpr uint32_t kMaxBlock = 4096;
enum Param { kBypass, kDistAmount, kTone, kLevel, kSaturation, kHiss, kDryWet, kCompensation, kNumParams };

tzclap::Module& ClapModule() {
    static tzclap::Module module;
    static const bool loaded = [] {
        std::string error;
        const bool ok = module.Load(TZ_CLAP_MODULE, &error);
        EXPECT_TRUE(ok) << error;
        return ok;
    }();
    (void)loaded;
    return module;
}

// A created CLAP instance; mono selects the ports config 0 before activation.
struct Instance {
    tzclap::Plugin plugin;
    bool created;
    explicit Instance(uint32_t channels = 2) {
        std::string error;
        created = plugin.Create(ClapModule(), kPluginId, &error);
        EXPECT_TRUE(created) << error;
        if (created && channels == 1) {
            EXPECT_TRUE(plugin.SelectPortsConfig(0));
        }
    }
    std::vector<uint8_t> State(size_t chunk = SIZE_MAX) {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(plugin.SaveState(&bytes, chunk));
        return bytes;
    }
};

// One VST3 instance of the same build, processing `sampleSize` samples.
struct Vst3 {
    tzhost::HostApplication host;
    tzhost::Plugin plugin;
    explicit Vst3(uint32_t channels = 2, double rate = 48000, int32_t sampleSize = tzhost::kSample32) {
        std::string error;
        EXPECT_TRUE(plugin.Create(TheModule().Factory(), &error)) << error;
        EXPECT_TRUE(plugin.Initialize(&host));
        tzhost::SpeakerArrangement layout = channels == 1 ? tzhost::SpeakerArr::kMono : tzhost::SpeakerArr::kStereo;
        EXPECT_EQ(plugin.processor->setBusArrangements(&layout, 1, &layout, 1), tzhost::kResultOk);
        EXPECT_EQ(plugin.Prepare(sampleSize, rate, kMaxBlock), tzhost::kResultOk);
    }
    double Plain(uint32_t id, double normalized) { return plugin.controller->normalizedParamToPlain(id, normalized); }
    // The exported parameter of that id.
    bool Info(uint32_t id, tzhost::ParameterInfo* info) {
        for (int32_t k = 0; k < plugin.controller->getParameterCount(); ++k)
            if (plugin.controller->getParameterInfo(k, *info) == tzhost::kResultOk && info->id == id) return true;
        return false;
    }
    std::vector<uint8_t> State() {
        tzhost::MemoryStream stream;
        EXPECT_EQ(plugin.component->getState(&stream), tzhost::kResultOk);
        return {stream.data.begin(), stream.data.end()};
    }
    bool Restore(const std::vector<uint8_t>& bytes) {
        tzhost::MemoryStream stream({bytes.begin(), bytes.end()});
        return plugin.component->setState(&stream) == tzhost::kResultOk;
    }
};

TEST(ClapHost, EntryFactoryAndDescriptorByLayout) {
    tzclap::Module& module = ClapModule();
    ASSERT_TRUE(module.Entry());  // found, and its version major 1 or more
    EXPECT_EQ(module.Factory("clap.no-such-factory"), nullptr);
    ASSERT_EQ(module.PluginCount(), 1u);
    tzclap::Descriptor d;
    ASSERT_TRUE(module.GetDescriptor(0, &d));
    EXPECT_GE(d.version[0], 1u);
    EXPECT_EQ(d.id, kPluginId);
    EXPECT_EQ(d.name, "TavrelZel4");
    EXPECT_EQ(d.vendor, "Tavrel");
    EXPECT_EQ(d.url, "https://tavrel.invalid");
    EXPECT_EQ(d.versionText, "1.1.1");
    EXPECT_EQ(d.features, (std::vector<std::string>{"audio-effect", "distortion", "stereo", "mono"}));
    EXPECT_FALSE(module.GetDescriptor(1, &d));

    // init again is counted: after its deinit the module still serves.
    EXPECT_TRUE(module.Init());
    module.Deinit();
    tzclap::Plugin unknown;
    std::string error;
    EXPECT_FALSE(unknown.Create(module, "invalid.tavrel.other", &error));
    Instance clap;
    ASSERT_TRUE(clap.created);
    for (const char* id : {"clap.params", "clap.state", "clap.audio-ports", "clap.audio-ports-config", "clap.latency"})
        EXPECT_NE(clap.plugin.Extension(id), nullptr) << id;
    for (const char* id : {"clap.note-ports", "", "clap.params.x"}) EXPECT_EQ(clap.plugin.Extension(id), nullptr) << id;
}

// Lifecycle calls in and out of the order the format sets: each answer as expected, no crash.
enum Op { kActivate, kActivateNoRate, kActivateNoFrames, kDeactivate, kStart, kStop, kReset, kProcess, kSelectMono };
enum Answer { kFalse, kTrue, kNone };
struct Step {
    Op op;
    Answer answer;
};
struct LifecycleCase {
    const char* name;
    std::vector<Step> steps;
};

Answer Call(Instance& clap, Op op, uint32_t* channels) {
    float samples[2][64] = {};
    float* buffers[] = {samples[0], samples[1]};
    tzclap::Plugin& p = clap.plugin;
    switch (op) {
        case kActivate: return Answer(p.Activate(48000, 1, kMaxBlock));
        case kActivateNoRate: return Answer(p.Activate(0, 1, kMaxBlock));
        case kActivateNoFrames: return Answer(p.Activate(48000, 1, 0));
        case kDeactivate: p.Deactivate(); return kNone;
        case kStart: return Answer(p.StartProcessing());
        case kStop: p.StopProcessing(); return kNone;
        case kReset: p.Reset(); return kNone;
        case kProcess: return Answer(p.Process(buffers, buffers, *channels, 64) != tzclap::kProcessError);
        case kSelectMono: return p.SelectPortsConfig(0) ? (*channels = 1, kTrue) : kFalse;
    }
    return kNone;
}

TEST(ClapHost, LifecycleInAndOutOfOrder) {
    const LifecycleCase cases[] = {
        {"in order, twice",
         {{kActivate, kTrue},
          {kStart, kTrue},
          {kProcess, kTrue},
          {kReset, kNone},
          {kProcess, kTrue},
          {kStop, kNone},
          {kDeactivate, kNone},
          {kActivate, kTrue},
          {kStart, kTrue},
          {kProcess, kTrue}}},
        {"nothing runs before activate",
         {{kStart, kFalse},
          {kProcess, kFalse},
          {kStop, kNone},
          {kReset, kNone},
          {kDeactivate, kNone},
          {kActivate, kTrue},
          {kStart, kTrue},
          {kProcess, kTrue}}},
        {"no activation without a rate or frames",
         {{kActivateNoRate, kFalse}, {kActivateNoFrames, kFalse}, {kStart, kFalse}, {kActivate, kTrue}}},
        {"activate and start twice",
         {{kActivate, kTrue}, {kActivate, kFalse}, {kStart, kTrue}, {kStart, kFalse}, {kProcess, kTrue}}},
        {"process only between start and stop",
         {{kActivate, kTrue},
          {kProcess, kFalse},
          {kStart, kTrue},
          {kStop, kNone},
          {kProcess, kFalse},
          {kStart, kTrue},
          {kProcess, kTrue}}},
        {"deactivate while processing is ignored",
         {{kActivate, kTrue},
          {kStart, kTrue},
          {kDeactivate, kNone},
          {kProcess, kTrue},
          {kStop, kNone},
          {kDeactivate, kNone},
          {kStart, kFalse},
          {kProcess, kFalse}}},
        {"ports chosen only while deactivated",
         {{kActivate, kTrue},
          {kSelectMono, kFalse},
          {kDeactivate, kNone},
          {kSelectMono, kTrue},
          {kActivate, kTrue},
          {kStart, kTrue},
          {kProcess, kTrue}}},
    };
    for (const LifecycleCase& c : cases) {
        Instance clap;
        ASSERT_TRUE(clap.created);
        uint32_t channels = 2;
        for (size_t k = 0; k < c.steps.size(); ++k)
            EXPECT_EQ(Call(clap, c.steps[k].op, &channels), c.steps[k].answer) << c.name << ", step " << k;
    }
}

// Parameters: ids 0..7 in order, ranges and defaults in the plain units the VST3 module converts
// to, stepped exactly on the switches, the VST3 module's value texts, which read back.
TEST(ClapHost, ParametersMatchTheVst3Module) {
    const bool isSwitch[kNumParams] = {true, false, false, false, true, true, false, true};
    Instance clap;
    Vst3 vst3;
    ASSERT_TRUE(clap.created);
    ASSERT_EQ(clap.plugin.ParamCount(), uint32_t(kNumParams));
    tzclap::ParamInfo info;
    EXPECT_FALSE(clap.plugin.GetParamInfo(kNumParams, &info));
    for (uint32_t i = 0; i < kNumParams; ++i) {
        ASSERT_TRUE(clap.plugin.GetParamInfo(i, &info));
        tzhost::ParameterInfo v{};
        ASSERT_TRUE(vst3.Info(i, &v));
        EXPECT_EQ(info.id, i);
        EXPECT_EQ(info.name, tzhost::FromString128(v.title));
        EXPECT_EQ(info.min, vst3.Plain(i, 0)) << i;
        EXPECT_EQ(info.max, vst3.Plain(i, 1)) << i;
        EXPECT_EQ(info.def, vst3.Plain(i, v.defaultNormalizedValue)) << i;
        EXPECT_EQ((info.flags & tzclap::kParamIsStepped) != 0, isSwitch[i]) << i;
        double value = -1;
        EXPECT_TRUE(clap.plugin.GetParamValue(i, &value));
        EXPECT_EQ(value, info.def) << i;
        for (double plain : {info.min, info.def, info.max, (info.min + info.max) / 2}) {
            std::string text, again;
            double parsed = -1;
            ASSERT_TRUE(clap.plugin.ValueToText(i, plain, &text)) << i;
            tzhost::String128 reference{};
            vst3.plugin.controller->getParamStringByValue(i, vst3.plugin.controller->plainParamToNormalized(i, plain),
                                                          reference);
            EXPECT_EQ(text, tzhost::FromString128(reference)) << i << " at " << plain;
            ASSERT_TRUE(clap.plugin.TextToValue(i, text, &parsed)) << text;
            ASSERT_TRUE(clap.plugin.ValueToText(i, parsed, &again));
            EXPECT_EQ(again, text) << i;
        }
    }
}

// Ports: the configurations offered, one main input and output, stereo by default, as the chosen
// config after a selection; the latency of the VST3 module at each rate.
TEST(ClapHost, PortsConfigsAndLatency) {
    {
        Instance clap;
        ASSERT_EQ(clap.plugin.PortsConfigCount(), 2u);
        const char* names[] = {"Mono", "Stereo"};
        const char* types[] = {"mono", "stereo"};
        for (uint32_t k = 0; k < 2; ++k) {
            tzclap::PortsConfig c;
            ASSERT_TRUE(clap.plugin.GetPortsConfig(k, &c));
            EXPECT_EQ(std::vector<uint32_t>({c.id, c.inputs, c.outputs, c.inChannels, c.outChannels}),
                      std::vector<uint32_t>({k, 1, 1, k + 1, k + 1}));
            EXPECT_TRUE(c.hasMainIn && c.hasMainOut);
            EXPECT_EQ(c.name + c.inType + c.outType, std::string(names[k]) + types[k] + types[k]);
        }
        tzclap::PortsConfig none;
        EXPECT_FALSE(clap.plugin.GetPortsConfig(2, &none));
    }
    struct Row {
        int config;  // -1: none chosen
        bool chosen;
        uint32_t channels;
        const char* type;
    } rows[] = {{-1, false, 2, "stereo"}, {0, true, 1, "mono"}, {1, true, 2, "stereo"}, {2, false, 2, "stereo"}};
    for (const Row& row : rows) {
        Instance clap;
        ASSERT_TRUE(clap.created);
        if (row.config >= 0) {
            EXPECT_EQ(clap.plugin.SelectPortsConfig(uint32_t(row.config)), row.chosen) << row.config;
        }
        for (bool input : {true, false}) {
            ASSERT_EQ(clap.plugin.PortCount(input), 1u);
            tzclap::PortInfo port;
            EXPECT_FALSE(clap.plugin.GetPort(input, 1, &port));
            ASSERT_TRUE(clap.plugin.GetPort(input, 0, &port));
            EXPECT_EQ(port.id, 0u);
            EXPECT_EQ(port.flags, tzclap::kPortIsMain | tzclap::kPortSupports64Bits);
            EXPECT_EQ(port.channels, row.channels) << row.config;
            EXPECT_EQ(port.type, row.type) << row.config;
            EXPECT_EQ(port.inPlacePair, 0u);
        }
    }
    for (double rate : {44100.0, 96000.0}) {
        Instance clap;
        Vst3 vst3(2, rate);
        ASSERT_TRUE(clap.plugin.Activate(rate, 1, kMaxBlock));
        EXPECT_EQ(clap.plugin.Latency(), vst3.plugin.processor->getLatencySamples()) << rate;
    }
}

// Blocks of 1 to 4096 frames with parameter events at random frames, hiss off: the VST3 module,
// its blocks split at the event frames and each change at the start of its piece, gives the same
// bits.
struct Layout {
    uint32_t channels;
    bool doubles;
    double rate;
};
class ClapAudio : public ::testing::TestWithParam<Layout> {};

// The events of one block: up to three parameters (never the hiss, never one twice) at random
// frames, in plain units within their ranges, sorted by frame.
std::vector<ParamEvent> RandomEvents(std::mt19937& random, uint32_t frames, const tzclap::ParamInfo* infos) {
    std::vector<uint32_t> params = {kBypass, kDistAmount, kTone, kLevel, kSaturation, kDryWet, kCompensation};
    std::shuffle(params.begin(), params.end(), random);
    std::vector<ParamEvent> events;
    for (uint32_t k = 0, n = random() % 4; k < n; ++k) {
        const tzclap::ParamInfo& info = infos[params[k]];
        double plain = std::uniform_real_distribution<double>(info.min, info.max)(random);
        if (info.flags & tzclap::kParamIsStepped) plain = std::round(plain);
        events.push_back({uint32_t(random() % frames), params[k], plain});
    }
    std::stable_sort(events.begin(), events.end(), [](auto& a, auto& b) { return a.time < b.time; });
    return events;
}

template <class T>
void CompareBlocks(const Layout setup) {
    const int32_t sampleSize = setup.doubles ? tzhost::kSample64 : tzhost::kSample32;
    Instance clap(setup.channels);
    Vst3 vst3(setup.channels, setup.rate, sampleSize);
    ASSERT_TRUE(clap.created);
    tzclap::ParamInfo infos[kNumParams];
    for (uint32_t i = 0; i < kNumParams; ++i) ASSERT_TRUE(clap.plugin.GetParamInfo(i, &infos[i]));
    ASSERT_TRUE(clap.plugin.Activate(setup.rate, 1, kMaxBlock));
    ASSERT_TRUE(clap.plugin.StartProcessing());
    const uint32_t blocks[] = {1, 2, 3, 64, kMaxBlock, 17, 511, 1, 1000, 4095, 128, 7, kMaxBlock, 300, 33};
    std::mt19937 random(20261209);
    std::uniform_real_distribution<float> noise(-0.3f, 0.3f);
    long long at = 0;
    for (size_t b = 0; b < std::size(blocks); ++b) {
        const uint32_t frames = blocks[b];
        std::vector<ParamEvent> events = RandomEvents(random, frames, infos);
        if (b == 0) events.insert(events.begin(), {0, kHiss, 0});
        std::vector<T> in[2], out[2][2];
        T *ip[2], *op[2][2];
        for (uint32_t c = 0; c < 2; ++c) {
            for (uint32_t k = 0; k < frames; ++k)
                in[c].push_back(T(0.8f * std::sin(float(at + k) * (0.02f + 0.03f * float(c))) + noise(random)));
            ip[c] = in[c].data();
            for (int h = 0; h < 2; ++h) out[h][c].assign(frames, T(0)), op[h][c] = out[h][c].data();
        }
        ASSERT_NE(clap.plugin.Process(ip, op[0], setup.channels, frames, events), tzclap::kProcessError);
        // The VST3 module in pieces [start, next event frame), each change at its piece's start.
        for (uint32_t start = 0, e = 0; start < frames;) {
            tzhost::ParameterChanges changes;
            for (; e < events.size() && events[e].time <= start; ++e)
                changes.Add(events[e].id, 0,
                            vst3.plugin.controller->plainParamToNormalized(events[e].id, events[e].value));
            const uint32_t end = e < events.size() ? events[e].time : frames;
            T* pin[2] = {ip[0] + start, ip[1] + start};
            T* pout[2] = {op[1][0] + start, op[1][1] + start};
            tzhost::tresult r;
            if constexpr (sizeof(T) == 8)
                r = vst3.plugin.Process64(pin, pout, int(setup.channels), int(end - start), &changes);
            else
                r = vst3.plugin.Process32(pin, pout, int(setup.channels), int(end - start), &changes);
            ASSERT_EQ(r, tzhost::kResultOk);
            start = end;
        }
        for (uint32_t c = 0; c < setup.channels; ++c)
            ASSERT_EQ(out[0][c], out[1][c]) << "block " << b << " (" << frames << " frames), channel " << c;
        at += frames;
    }
}

TEST_P(ClapAudio, SameBitsAsTheVst3Module) {
    if (GetParam().doubles)
        CompareBlocks<double>(GetParam());
    else
        CompareBlocks<float>(GetParam());
}

INSTANTIATE_TEST_SUITE_P(EveryLayoutAndSampleSize, ClapAudio,
                         ::testing::Values(Layout{2, false, 48000}, Layout{2, true, 44100}, Layout{1, false, 96000},
                                           Layout{1, true, 48000}),
                         [](const ::testing::TestParamInfo<Layout>& test) {
                             return std::string(test.param.channels == 1 ? "mono" : "stereo") +
                                    (test.param.doubles ? "64_" : "32_") + std::to_string(int(test.param.rate));
                         });

// A state set through flush with every parameter away from its default, saved in short writes.
std::vector<uint8_t> SetState(Instance* clap) {
    const double plain[kNumParams] = {1, 33.5, 80, 12.5, 0, 0, 64.25, 0};
    std::vector<ParamEvent> events;
    for (uint32_t i = 0; i < kNumParams; ++i) events.push_back({0, i, plain[i]});
    clap->plugin.Flush(events);
    for (uint32_t i = 0; i < kNumParams; ++i) {
        double value = -1;
        EXPECT_TRUE(clap->plugin.GetParamValue(i, &value));
        EXPECT_DOUBLE_EQ(value, plain[i]) << "parameter " << i;
    }
    return clap->State(7);
}

TEST(ClapHost, StateMovesToVst3AndBackUnchanged) {
    Instance from;
    ASSERT_TRUE(from.created);
    const std::vector<uint8_t> saved = SetState(&from);
    EXPECT_EQ(from.State(), saved);
    Vst3 vst3;
    ASSERT_TRUE(vst3.Restore(saved));
    EXPECT_EQ(vst3.State(), saved);
    Instance back(1);
    ASSERT_TRUE(back.plugin.LoadState(vst3.State(), 5));
    EXPECT_GT(back.plugin.rescans, 0);  // the host reads the values again
    EXPECT_EQ(back.State(3), saved);
    for (uint32_t i = 0; i < kNumParams; ++i) {
        double a = -1, b = -2;
        EXPECT_TRUE(from.plugin.GetParamValue(i, &a) && back.plugin.GetParamValue(i, &b));
        EXPECT_EQ(a, b) << "parameter " << i;
    }
}

// Garbage is refused, and applies nothing beyond what the VST3 module applies of the same bytes:
// the state stays as it was or becomes the VST3 module's.
TEST(ClapHost, GarbageStateIsRefusedAsTheVst3ModuleRefusesIt) {
    std::vector<uint8_t> saved;
    {
        Instance source;
        ASSERT_TRUE(source.created);
        saved = SetState(&source);
    }
    std::mt19937 random(3);
    std::vector<uint8_t> noise(37);
    for (uint8_t& byte : noise) byte = uint8_t(random());
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } rows[] = {
        {"empty", {}},
        {"short by the flag", {saved.begin(), saved.end() - 4}},
        {"cut in the parameters", {saved.begin(), saved.begin() + 21}},
        {"random bytes", noise},
    };
    for (const auto& row : rows) {
        Instance clap;
        Vst3 vst3;
        ASSERT_TRUE(clap.plugin.LoadState(saved, 3));
        ASSERT_TRUE(vst3.Restore(saved));
        EXPECT_FALSE(clap.plugin.LoadState(row.bytes, 3)) << row.name;
        EXPECT_FALSE(vst3.Restore(row.bytes)) << row.name;
        const std::vector<uint8_t> after = clap.State();
        EXPECT_TRUE(after == saved || after == vst3.State()) << row.name;
    }
}
}  // namespace
