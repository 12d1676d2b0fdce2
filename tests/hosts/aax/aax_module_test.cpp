// The AAX deliverable as a host meets it: loaded through its seven exports, described, rendering
// audio that matches the VST3 deliverable, restoring its chunk, hosting its editor in a view
// container, and unloadable once every object is released.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "aax_plugin.h"
#include "tests/host_window_win.h"
#include "vst3_host.h"

namespace {
using aaxhost::CallSlot;
constexpr double kRate = 48000;

// Normalized values of parameters by index, hiss off: the first block leaves every other
// parameter at its default, later ones move them all.
struct Setting {
    int index;
    double value;
};
std::vector<Setting> Settings(int step) {
    if (step == 0) return {{5, 0.0}};
    return {{0, 0.0},
            {1, 0.3 + 0.1 * (step % 5)},
            {2, 0.6 - 0.05 * step},
            {3, 0.5},
            {4, step % 2 ? 0.0 : 1.0},
            {5, 0.0},
            {6, 0.9},
            {7, 1.0}};
}

std::vector<float> Tone(int frames, double freq, long offset) {
    std::vector<float> x(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i)
        x[size_t(i)] = float(0.6 * std::sin(6.283185307179586 * freq * double(i + offset) / kRate));
    return x;
}

// The whole of one instance through the module: registration, instance, shutdown.
struct AaxSide {
    aaxhost::Module module;
    aaxhost::Host host;
    std::unique_ptr<aaxhost::Session> session;
    std::unique_ptr<aaxhost::Instance> instance;
    AaxSide() {
        std::string error;
        EXPECT_TRUE(module.Load(TZ_AAX_MODULE, &error)) << error;
        session = std::make_unique<aaxhost::Session>(host, module.exports);
        EXPECT_EQ(session->Register(), 0);
        instance = std::make_unique<aaxhost::Instance>(*session);
        host.onValueRequest = [this](const char* id, double v) { instance->Update(id, v); };
    }
    ~AaxSide() {
        instance.reset();
        session.reset();
    }
    void Apply(const std::vector<Setting>& settings) {
        for (const Setting& s : settings) instance->Update(std::to_string(s.index + 1).c_str(), s.value);
    }
    void Block(float** in, float** out, int frames) { instance->Render(in, out, frames); }
};

struct Vst3Side {
    tzhost::Module module;
    tzhost::HostApplication app;
    tzhost::Plugin plugin;
    tzhost::ParameterChanges changes;
    Vst3Side() {
        std::string error;
        EXPECT_TRUE(module.Load(TZ_VST3_MODULE, &error)) << error;
        EXPECT_TRUE(plugin.Create(module.Factory(), &error)) << error;
        EXPECT_TRUE(plugin.Initialize(&app));
    }
    void Prepare(int maxBlock) {
        plugin.component->setActive(false);
        EXPECT_EQ(plugin.Prepare(tzhost::kSample32, kRate, maxBlock), tzhost::kResultOk);
    }
    void Apply(const std::vector<Setting>& settings) {
        changes.Clear();
        for (const Setting& s : settings) changes.Add(tzhost::ParamID(s.index), 0, s.value);
    }
    void Block(float** in, float** out, int frames) {
        EXPECT_EQ(plugin.Process32(in, out, 2, frames, &changes), tzhost::kResultOk);
        changes.Clear();
    }
};

// Renders `blocks` blocks of `frames` on both sides with the parameters moving every block.
void RenderBoth(AaxSide& aax, Vst3Side& vst3, int frames, int blocks, long* offset) {
    for (int b = 0; b < blocks; ++b) {
        const std::vector<Setting> settings = Settings(b);
        aax.Apply(settings);
        vst3.Apply(settings);
        std::vector<float> in[2] = {Tone(frames, 220, *offset), Tone(frames, 1330, *offset)};
        std::vector<float> a[2] = {std::vector<float>(size_t(frames)), std::vector<float>(size_t(frames))};
        std::vector<float> v[2] = {a[0], a[1]};
        std::vector<float> inCopy[2] = {in[0], in[1]};
        float* ip[] = {in[0].data(), in[1].data()};
        float* ap[] = {a[0].data(), a[1].data()};
        aax.Block(ip, ap, frames);
        float* ic[] = {inCopy[0].data(), inCopy[1].data()};
        float* vp[] = {v[0].data(), v[1].data()};
        vst3.Block(ic, vp, frames);
        for (int c = 0; c < 2; ++c) {
            ASSERT_EQ(a[c], v[c]) << "channel " << c << ", block " << b << " of " << frames << " frames";
            EXPECT_NE(a[c], std::vector<float>(size_t(frames), 0.f));
        }
        *offset += frames;
    }
}

}  // namespace

// Everything the registration declares, in order, as the host recorded it.
TEST(AaxModule, DescriptionAndLifecycle) {
    aaxhost::Module module;
    std::string error;
    ASSERT_TRUE(module.Load(TZ_AAX_MODULE, &error)) << error;
    const aaxhost::Exports& e = module.exports;
    uint64_t version = 0;
    EXPECT_EQ(e.getSDKVersion(&version), 0);
    EXPECT_EQ(version, 0x00000201007756BFull);
    void* out = &version;
    EXPECT_EQ(e.registerComponent(nullptr, 0, &out), 0);
    EXPECT_EQ(out, nullptr);
    out = &version;
    EXPECT_EQ(e.getClassFactory(nullptr, aaxhost::id::kUnknown, aaxhost::id::kUnknown, &out), -20009);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(e.canUnloadNow(nullptr), 0);

    aaxhost::Host host;
    {
        aaxhost::Session session(host, e);
        ASSERT_EQ(session.Register(), 0);
        EXPECT_NE(session.definition, nullptr);
        std::vector<std::string> expected = {"effect1.DeclareName(TavrelZel4)",
                                             "definition1.DeclarePackageName(TavrelZel4)",
                                             "effect1.DeclareCategory(64)"};
        auto code = [](const char* c) {
            return std::to_string(uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 |
                                  uint32_t(uint8_t(c[2])) << 8 | uint32_t(uint8_t(c[3])));
        };
        for (int k = 1; k <= 2; ++k) {
            const std::string c = "component" + std::to_string(k) + ".", m = "map" + std::to_string(k) + ".";
            const std::string stem = k == 1 ? "1" : "65538";
            for (const char* call :
                 {"DeclarePrivateData(6,4,0)", "DeclarePrivateData(5,4,0)", "DeclareMidiNode(7,3,Transport,65535)",
                  "DeclareAudioInput(0)", "DeclareAudioOutput(1)", "DeclareFrameCountField(3)",
                  "DeclarePrivateData(9,4,0)", "DeclarePrivateData(8,8,0)"})
                expected.push_back(c + call);
            for (const std::string& p :
                 {std::string("56,0"), "51," + stem, "52," + stem, std::string("60,1"), "11," + code("TvRl"),
                  "12," + code("Zel4"), "13," + code(k == 1 ? "EFN1" : "EFN2"), "14," + code(k == 1 ? "EFA1" : "EFA2")})
                expected.push_back(m + "WriteProperty(" + p + ")");
            expected.push_back(c + "DeclareProcessProcedure(map" + std::to_string(k) + ")");
            expected.push_back("effect1.DeclareComponent(component" + std::to_string(k) + ")");
        }
        for (const char* call :
             {"effect1.DeclareProcedure(0)", "effect1.DeclareProcedure(1)",
              "definition1.DeclareEffect(com.Tavrel.aax.TavrelZel4,effect1)",
              "definition1.DeclareManufacturerName(Tavrel)", "definition1.DeclarePackageVersion(65793)"})
            expected.push_back(call);
        EXPECT_EQ(host.Operations(), expected);

        // Live objects: the effect parameters, then its GUI object, then none.
        {
            aaxhost::Instance instance(session);
            ASSERT_TRUE(instance.Valid());
            EXPECT_EQ(e.canUnloadNow(nullptr), 1);
            {
                aaxhost::Gui gui(session, instance);
                ASSERT_TRUE(gui.Valid());
                EXPECT_EQ(e.canUnloadNow(nullptr), 2);
            }
            EXPECT_EQ(e.canUnloadNow(nullptr), 1);
        }
        EXPECT_EQ(e.canUnloadNow(nullptr), 0);
    }
    std::string report;
    EXPECT_TRUE(host.Balanced(&report)) << report;
    module.Unload();
}

// Fresh instances per block size, including a first block longer than the initial 1024 frames,
// then one instance whose block size changes between renders (each render re-prepares VST3).
TEST(AaxModule, AudioMatchesTheVst3Deliverable) {
    for (int frames : {512, 2048, 333}) {
        SCOPED_TRACE(frames);
        AaxSide aax;
        Vst3Side vst3;
        vst3.Prepare(frames);
        long offset = 0;
        RenderBoth(aax, vst3, frames, 4, &offset);
    }
    AaxSide aax;
    Vst3Side vst3;
    long offset = 0;
    for (int frames : {256, 4096, 100, 8192}) {
        SCOPED_TRACE(frames);
        vst3.Prepare(frames);
        RenderBoth(aax, vst3, frames, 3, &offset);
    }
}

// A chunk saved from one instance makes another sound the same.
TEST(AaxModule, ChunkCarriesTheSound) {
    AaxSide a, b;
    a.Apply(Settings(3));
    b.Apply(Settings(1));
    int32_t result = -1;
    const std::vector<uint8_t> chunk = a.instance->GetChunk(0x5A656C34, &result);
    ASSERT_EQ(result, 0);
    EXPECT_EQ(aaxhost::ChunkDataOf(chunk).size(), 64u);
    EXPECT_EQ(b.instance->SetChunk(0x5A656C34, chunk), 0);
    std::vector<float> in[2] = {Tone(1024, 330, 0), Tone(1024, 550, 0)};
    std::vector<float> outA[2] = {std::vector<float>(1024), std::vector<float>(1024)}, outB[2] = {outA[0], outA[1]};
    for (auto* pair : {&outA, &outB}) {
        std::vector<float> copy[2] = {in[0], in[1]};
        float* ip[] = {copy[0].data(), copy[1].data()};
        float* op[] = {(*pair)[0].data(), (*pair)[1].data()};
        (pair == &outA ? a : b).Block(ip, op, 1024);
    }
    EXPECT_EQ(outA[0], outB[0]);
    EXPECT_EQ(outA[1], outB[1]);
}

// The editor opens as a child of the container's native window and closes with it.
TEST(AaxModule, EditorInTheViewContainer) {
    AaxSide side;
    HWND parent = testwin::HostWindow(600, 600);
    ASSERT_NE(parent, nullptr);
    {
        aaxhost::Gui gui(*side.session, *side.instance);
        ASSERT_TRUE(gui.Valid());
        EXPECT_EQ(gui.Open(parent), 0);
        testwin::Pump(200);
        HWND editor = FindWindowExA(parent, nullptr, "IFxWndClass", nullptr);
        ASSERT_NE(editor, nullptr);
        RECT r{};
        GetClientRect(editor, &r);
        EXPECT_EQ(r.right - r.left, 410);
        EXPECT_EQ(r.bottom - r.top, 460);
        EXPECT_EQ(gui.Close(), 0);
        testwin::Pump(50);
        EXPECT_EQ(FindWindowExA(parent, nullptr, "IFxWndClass", nullptr), nullptr);
    }
    testwin::ReturnHostWindow(parent);
}
