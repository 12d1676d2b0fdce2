// The LV2 bundle, found through LV2_PATH and driven by the lilv host, against the Linux VST3
// module driven by its stand-in host: the same bits for the same settings, and one state.
#include <gtest/gtest.h>
#include <lv2/atom/atom.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "lv2_host.h"
#include "test_module.h"

using namespace tzhost;

namespace {
constexpr int kMaxBlock = 4096;
// The parameters by index: the VST3 id and the LV2 port index both.
enum Param { kBypass, kDistAmount, kTone, kLevel, kSaturation, kHiss, kDryWet, kCompensation, kNumParams };

// One VST3 instance processing 32-bit samples, as LV2 carries them.
struct Vst3 {
    HostApplication host;
    Plugin plugin;
    Vst3(int channels, double rate) {
        std::string error;
        EXPECT_TRUE(plugin.Create(TheModule().Factory(), &error)) << error;
        EXPECT_TRUE(plugin.Initialize(&host));
        SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
        EXPECT_EQ(plugin.processor->setBusArrangements(&arrangement, 1, &arrangement, 1), kResultOk);
        EXPECT_EQ(plugin.Prepare(kSample32, rate, kMaxBlock), kResultOk);
    }
    void Set(ParameterChanges* changes, int param, double plain) {
        changes->Add(ParamID(param), 0, plugin.controller->plainParamToNormalized(ParamID(param), plain));
    }
    std::vector<uint8_t> State() {
        MemoryStream stream;
        EXPECT_EQ(plugin.component->getState(&stream), kResultOk);
        return {stream.data.begin(), stream.data.end()};
    }
    tresult Restore(const std::vector<uint8_t>& bytes) {
        MemoryStream stream({bytes.begin(), bytes.end()});
        return plugin.component->setState(&stream);
    }
};

// One LV2 instance of the plug-in for that many channels, found through LV2_PATH.
struct Lv2 {
    tzlv2::World world;
    tzlv2::Instance instance;
    bool created;
    Lv2(int channels, double rate) {
        std::string error;
        created = instance.Create(world, channels == 1 ? tzlv2::kMonoUri : tzlv2::kStereoUri, rate, &error);
        EXPECT_TRUE(created) << error;
    }
    std::vector<uint8_t> State() {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(instance.SaveState(&bytes));
        return bytes;
    }
};

// Before block b: a few parameters move (plain units).
struct Change {
    int block, param;
    double plain;
};
const Change kChanges[] = {
    {0, kHiss, 0},         {0, kDistAmount, 72.5}, {1, kTone, 12.25},     {2, kLevel, 60},
    {3, kDryWet, 37.5},    {4, kSaturation, 0},    {5, kDistAmount, 100}, {6, kBypass, 1},
    {7, kCompensation, 0}, {8, kBypass, 0},        {9, kTone, 90},        {10, kDistAmount, 5},
};
const int kBlocks[] = {1, 2, 3, 64, kMaxBlock, 17, 511, 1, 1000, 4095, 128, 7};

struct Layout {
    int channels;
    double rate;
};
class Lv2Audio : public ::testing::TestWithParam<Layout> {};

TEST_P(Lv2Audio, SameBitsAsTheVst3Module) {
    const Layout setup = GetParam();
    Lv2 lv2(setup.channels, setup.rate);
    Vst3 vst3(setup.channels, setup.rate);
    ASSERT_TRUE(lv2.created);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-0.3f, 0.3f);
    long long at = 0;
    for (int b = 0; b < int(std::size(kBlocks)); ++b) {
        ParameterChanges changes;
        for (const Change& change : kChanges) {
            if (change.block != b) continue;
            lv2.instance.SetControl(change.param, float(change.plain));
            vst3.Set(&changes, change.param, change.plain);
        }
        const int frames = kBlocks[b];
        std::vector<float> in[2], out[2][2];
        float *ip[2], *op[2][2];
        for (int c = 0; c < 2; ++c) {
            for (int k = 0; k < frames; ++k)
                in[c].push_back(0.8f * std::sin(float(at + k) * (0.02f + 0.03f * float(c))) + noise(random));
            ip[c] = in[c].data();
            for (int h = 0; h < 2; ++h) out[h][c].assign(size_t(frames), 0.f), op[h][c] = out[h][c].data();
        }
        // Odd blocks run the LV2 plug-in in place, as a host may.
        if (b % 2) out[0][0] = in[0], out[0][1] = in[1];
        lv2.instance.Run(b % 2 ? op[0] : ip, op[0], uint32_t(frames));
        ASSERT_EQ(vst3.plugin.Process32(ip, op[1], setup.channels, frames, &changes), kResultOk);
        for (int c = 0; c < setup.channels; ++c)
            ASSERT_EQ(out[0][c], out[1][c]) << "block " << b << " (" << frames << " frames), channel " << c;
        at += frames;
    }
    EXPECT_EQ(lv2.instance.Latency(), float(vst3.plugin.processor->getLatencySamples()));
}

INSTANTIATE_TEST_SUITE_P(BothPluginsEveryRate, Lv2Audio,
                         ::testing::Values(Layout{2, 44100}, Layout{2, 48000}, Layout{2, 96000}, Layout{1, 44100},
                                           Layout{1, 48000}, Layout{1, 96000}),
                         [](const ::testing::TestParamInfo<Layout>& test) {
                             return (test.param.channels == 1 ? "mono" : "stereo") +
                                    std::to_string(int(test.param.rate));
                         });

// A state set on the LV2 side: a block run with every parameter away from its default.
std::vector<uint8_t> SetState(Lv2* lv2) {
    const double plain[] = {1, 33.5, 80, 12.5, 0, 0, 64.25, 0};
    for (int i = 0; i < kNumParams; ++i) lv2->instance.SetControl(i, float(plain[i]));
    float buffer[2][1] = {};
    float* pointers[] = {buffer[0], buffer[1]};
    lv2->instance.Run(pointers, pointers, 1);
    return lv2->State();
}

TEST(Lv2State, MovesToVst3AndBackUnchanged) {
    Lv2 from(2, 48000);
    ASSERT_TRUE(from.created);
    const std::vector<uint8_t> saved = SetState(&from);
    Vst3 vst3(2, 48000);
    ASSERT_EQ(vst3.Restore(saved), kResultOk);
    for (int i = 0; i < kNumParams; ++i) {
        const double normalized = vst3.plugin.controller->getParamNormalized(ParamID(i));
        const double plain = vst3.plugin.controller->normalizedParamToPlain(ParamID(i), normalized);
        EXPECT_EQ(float(plain), from.instance.Control(i)) << "parameter " << i;
    }
    EXPECT_EQ(vst3.State(), saved);
    Lv2 back(1, 96000);
    ASSERT_EQ(back.instance.RestoreState(vst3.State()), 0);
    EXPECT_EQ(back.State(), saved);
}

// Garbage is refused: what the LV2 state holds afterwards is what the VST3 state holds after the
// same bytes (the rules of a short parameter block are the core's), or for a wrong type, the
// state as it was.
TEST(Lv2State, GarbageIsRefusedByTheVst3Rules) {
    std::vector<uint8_t> saved;
    {
        Lv2 source(2, 48000);
        ASSERT_TRUE(source.created);
        saved = SetState(&source);
    }
    std::mt19937 random(3);
    std::vector<uint8_t> noise(37);
    for (uint8_t& byte : noise) byte = uint8_t(random());
    struct Row {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* type;
    } rows[] = {
        {"wrong type", saved, LV2_ATOM__String},
        {"empty", {}, nullptr},
        {"short by the flag", {saved.begin(), saved.end() - 4}, nullptr},
        {"cut in the parameters", {saved.begin(), saved.begin() + 21}, nullptr},
        {"random bytes", noise, nullptr},
    };
    for (const Row& row : rows) {
        Lv2 lv2(2, 48000);
        Vst3 vst3(2, 48000);
        ASSERT_EQ(lv2.instance.RestoreState(saved), 0);
        ASSERT_EQ(vst3.Restore(saved), kResultOk);
        EXPECT_NE(lv2.instance.RestoreState(row.bytes, row.type), 0) << row.name;
        if (!row.type) {
            EXPECT_NE(vst3.Restore(row.bytes), kResultOk) << row.name;
        }
        EXPECT_EQ(lv2.State(), vst3.State()) << row.name;
    }
}

// A host that offers no feature at all (the command-line applier among them) still runs the
// plug-in; only its state needs the map.
TEST(Lv2Instantiate, WithoutAUridMapRunsButKeepsNoState) {
    tzlv2::World world;
    for (const char* uri : {tzlv2::kStereoUri, tzlv2::kMonoUri}) {
        tzlv2::Instance instance;
        std::string error;
        ASSERT_TRUE(instance.Create(world, uri, 48000, &error, false)) << uri << ": " << error;
        std::vector<uint8_t> bytes;
        EXPECT_FALSE(instance.SaveState(&bytes)) << uri;
        EXPECT_NE(instance.RestoreState(std::vector<uint8_t>(68, 0)), 0) << uri;
    }
}
}  // namespace
