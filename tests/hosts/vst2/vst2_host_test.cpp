// The built VST2 module (TavrelZel4.dll, or TavrelZel4.so on Linux) as a VST2 host loads it: the
// effect record's raw bytes, audio equal to the VST3 module's in all three process modes, the
// plug-in's chunks, and the editor in the host's window (Win32, or X11 under Xvfb).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "vst2_host.h"
#include "vst3_host.h"
// last: Xlib's macros would break the declarations above
#include "tests/hosts/editor_host.h"

using namespace Vst2;

namespace {
struct Loaded : ::testing::Test {
    vst2host::Host host;
    vst2host::Module module;
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(module.Load(TZ_VST2_MODULE, &error)) << error;
    }
    vst2host::Plugin Create() { return vst2host::Plugin(module.entry(vst2host::Host::Callback)); }
};
using Vst2Module = Loaded;

uint32_t U32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
}  // namespace

// Read at the offsets of this build's architecture, never through the declarations.
TEST_F(Vst2Module, EffectRecordBytesAtFixedOffsets) {
    const bool x64 = sizeof(void*) == 8;
    struct Field {
        const char* name;
        int off32, off64;
        uint32_t value;
    } fields[] = {
        {"magic", 0, 0, 0x56737450},     {"numPrograms", 20, 40, 1},        {"numParams", 24, 44, 8},
        {"numInputs", 28, 48, 2},        {"numOutputs", 32, 52, 2},         {"flags", 36, 56, 0x1019},
        {"initialDelay", 48, 80, 0},     {"realQualities", 52, 84, 0},      {"offQualities", 56, 88, 0},
        {"ioRatio", 60, 92, 0x3F800000}, {"uniqueID", 72, 112, 0x5A656C34}, {"version", 76, 116, 10101},
    };
    const int pointers32[] = {4, 8, 12, 16, 64, 80, 84}, pointers64[] = {8, 16, 24, 32, 96, 120, 128};
    // The older entry name is a Windows module's alone.
#ifdef _WIN32
    const std::vector<EntryProc> entries = {module.entry, module.mainEntry};
#else
    const std::vector<EntryProc> entries = {module.entry};
    EXPECT_EQ(module.mainEntry, nullptr);
#endif
    for (EntryProc entry : entries) {
        ASSERT_NE(entry, nullptr);
        vst2host::Plugin plug(entry(vst2host::Host::Callback));
        ASSERT_NE(plug.effect, nullptr);
        const auto* bytes = reinterpret_cast<const unsigned char*>(plug.effect);
        const unsigned char magic[] = {0x50, 0x74, 0x73, 0x56};
        EXPECT_EQ(std::memcmp(bytes, magic, 4), 0);
        for (const Field& f : fields) EXPECT_EQ(U32(bytes + (x64 ? f.off64 : f.off32)), f.value) << f.name;
        for (int i = 0; i < 7; ++i) {
            void* p;
            std::memcpy(&p, bytes + (x64 ? pointers64[i] : pointers32[i]), sizeof p);
            EXPECT_NE(p, nullptr) << "pointer at " << (x64 ? pointers64[i] : pointers32[i]);
        }
        const int userAt = x64 ? 104 : 68, futureAt = x64 ? 136 : 88, resvdAt = x64 ? 64 : 40;
        for (int k = 0; k < 56; ++k) ASSERT_EQ(bytes[futureAt + k], 0) << "future byte " << k;
        for (int k = 0; k < static_cast<int>(2 * sizeof(void*)); ++k) ASSERT_EQ(bytes[resvdAt + k], 0);
        for (int k = 0; k < static_cast<int>(sizeof(void*)); ++k) ASSERT_EQ(bytes[userAt + k], 0);

        // The editor rectangle {top 0, left 0, bottom 460, right 410} as bytes.
        const unsigned char* rect = nullptr;
        EXPECT_EQ(plug.Dispatch(EffectOp::kEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);
        const unsigned char rectBytes[] = {0, 0, 0, 0, 0xCC, 0x01, 0x9A, 0x01};
        EXPECT_EQ(std::memcmp(rect, rectBytes, 8), 0);
        EXPECT_EQ(plug.Text(EffectOp::kGetEffectName), "TavrelZel4");
        EXPECT_EQ(plug.Text(EffectOp::kGetParamName, 7), "Output compensation");
        plug.Close();
    }
}

// Same parameters (hiss off, values a float holds exactly) and the same audio through both
// modules; the VST2 host hands blocks longer than it announced.
TEST_F(Vst2Module, AudioEqualsTheVst3Module) {
    constexpr int kFrames = 3000, kAnnounced = 256, kHostBlock = 1000;
    constexpr double kRate = 48000, kTwoPi = 6.283185307179586;
    const std::pair<int, double> params[] = {{1, 0.5}, {2, 0.75}, {3, 0.5}, {5, 0.0}, {6, 0.75}, {7, 0.0}};
    std::vector<std::vector<double>> input(2, std::vector<double>(kFrames));
    for (int k = 0; k < kFrames; ++k) {
        input[0][k] = 0.8 * std::sin(kTwoPi * 220 * k / kRate);
        input[1][k] = 0.5 * std::sin(kTwoPi * 1234 * k / kRate) + 0.1 * ((k * 7919) % 13 - 6) / 6.0;
    }

    tzhost::Module vst3Module;
    std::string error;
    ASSERT_TRUE(vst3Module.Load(TZ_VST3_MODULE, &error)) << error;
    auto reference = [&](bool doubles) {
        tzhost::Plugin vst3;
        tzhost::HostApplication app("reference");
        EXPECT_TRUE(vst3.Create(vst3Module.Factory(), &error)) << error;
        EXPECT_TRUE(vst3.Initialize(&app));
        vst3.Prepare(doubles ? Sdk::Vst::kSample64 : Sdk::Vst::kSample32, kRate, kAnnounced);
        tzhost::ParameterChanges changes;
        for (auto [id, value] : params) changes.Add(static_cast<uint32_t>(id), 0, value);
        std::vector<std::vector<double>> out(2, std::vector<double>(kFrames));
        std::vector<float> in32[2], out32[2];
        std::vector<double> in64[2], out64[2];
        for (int c = 0; c < 2; ++c)
            in32[c].resize(kFrames), out32[c].resize(kFrames), in64[c] = input[c], out64[c].resize(kFrames);
        for (int c = 0; c < 2; ++c)
            for (int k = 0; k < kFrames; ++k) in32[c][k] = static_cast<float>(input[c][k]);
        for (int start = 0; start < kFrames; start += kHostBlock) {
            if (doubles) {
                double* i[2] = {in64[0].data() + start, in64[1].data() + start};
                double* o[2] = {out64[0].data() + start, out64[1].data() + start};
                vst3.Process64(i, o, 2, kHostBlock, start == 0 ? &changes : nullptr);
            } else {
                float* i[2] = {in32[0].data() + start, in32[1].data() + start};
                float* o[2] = {out32[0].data() + start, out32[1].data() + start};
                vst3.Process32(i, o, 2, kHostBlock, start == 0 ? &changes : nullptr);
            }
        }
        for (int c = 0; c < 2; ++c)
            for (int k = 0; k < kFrames; ++k) out[c][k] = doubles ? out64[c][k] : out32[c][k];
        vst3.Shutdown();
        return out;
    };
    const auto floats = reference(false), doubles = reference(true);

    using Mode = vst2host::Plugin::Mode;
    for (Mode mode : {Mode::kReplacing, Mode::kAccumulating, Mode::kDouble}) {
        vst2host::Plugin plug = Create();
        plug.Open(static_cast<float>(kRate), kAnnounced);
        for (auto [index, value] : params) plug.effect->setParameter(plug.effect, index, static_cast<float>(value));
        const auto out = plug.Run(input, 2, kHostBlock, mode);
        const auto& expected = mode == Mode::kDouble ? doubles : floats;
        double energy = 0;
        for (int c = 0; c < 2; ++c)
            for (int k = 0; k < kFrames; ++k) {
                ASSERT_EQ(out[c][k], expected[c][k])
                    << "mode " << static_cast<int>(mode) << " channel " << c << " frame " << k;
                energy += out[c][k] * out[c][k];
            }
        EXPECT_GT(energy, 1.0);  // real output, not two silences
        plug.Close();
    }
    EXPECT_TRUE(host.unexpected.empty());
    EXPECT_EQ(host.Count(HostOp::kGetProductString), 3);  // once per instance, at open
}

// The editor in a parent window of the host's: open, idle, a knob drag that reaches the host as
// one begin-edit, automate, end-edit gesture, and close.
TEST_F(Vst2Module, EditorOpensInTheHostWindowAndReportsDrags) {
    vst2host::Plugin plug = Create();
    plug.Open(48000, 256);
    EditorHost window;
    const auto idle = [&plug] { plug.Dispatch(EffectOp::kEditIdle); };
    ASSERT_NE(window.Parent(), nullptr);
    ASSERT_EQ(plug.Dispatch(EffectOp::kEditOpen, 0, 0, window.Parent()), 1);
    ASSERT_TRUE(window.FindEditor());
    EXPECT_EQ(window.EditorSize(), 410460);
    plug.Dispatch(EffectOp::kEditIdle);
    window.Loop(idle);

    // "Dist. Amount" (its knob at 70, 58) dragged 90 px up: a quarter of its range.
    host.calls.clear();
    window.Drag(70, 58, -32);
    window.Loop(idle);
    EXPECT_EQ(host.Opcodes(), (std::vector<int32_t>{HostOp::kBeginEdit, HostOp::kAutomate, HostOp::kEndEdit}));
    for (const vst2host::HostCall& call : host.calls) EXPECT_EQ(call.index, 1);
    ASSERT_EQ(host.calls.size(), 3u);
    EXPECT_EQ(host.calls[1].opt, 0.25f);
    EXPECT_EQ(plug.effect->getParameter(plug.effect, 1), 0.25f);

    EXPECT_EQ(plug.Dispatch(EffectOp::kEditClose), 1);
    EXPECT_FALSE(window.FindEditor());
    plug.Close();
}

TEST_F(Vst2Module, ProgramAndBankChunks) {
    vst2host::Plugin a = Create();
    a.Open(44100, 512);
    a.effect->setParameter(a.effect, 1, 0.25f);
    a.effect->setParameter(a.effect, 5, 0.0f);
    const auto program = a.GetChunk(true);
    const auto bank = a.GetChunk(false);
    ASSERT_EQ(program.size(), 72u);
    const unsigned char header[] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
    EXPECT_EQ(std::memcmp(program.data(), header, 8), 0);
    ASSERT_EQ(bank.size(), 78u);
    EXPECT_EQ(std::memcmp(bank.data(), header, 8), 0);
    EXPECT_EQ(U32(bank.data() + 8), 1u);
    EXPECT_EQ(bank[12], '-');
    EXPECT_EQ(bank[13], 1);
    EXPECT_EQ(std::memcmp(bank.data() + 14, program.data() + 8, 64), 0);
    a.Close();

    for (bool isProgram : {true, false}) {
        vst2host::Plugin b = Create();
        b.Open(44100, 512);
        EXPECT_EQ(b.SetChunk(isProgram ? program : bank, isProgram), 1);
        EXPECT_EQ(b.effect->getParameter(b.effect, 1), 0.25f);
        EXPECT_EQ(b.Text(EffectOp::kGetParamDisplay, 5), "off");
        EXPECT_EQ(b.GetChunk(true), program);
        EXPECT_EQ(b.Text(EffectOp::kGetProgramName), "-");
        b.Close();
    }
}
