// The product on the AAX binding, linked in and entered through its exports by the stand-in
// host, which calls every plug-in slot by number.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

#include "aax_plugin.h"
#include "effect/aax/describe_plugin.h"
#include "effect/tavrelzel4.h"
#include "framework/igraphicswin.h"
#include "tests/framework/lock_probe.h"
#include "linked_exports.h"

using namespace aaxhost;
using aaxtest::Linked;

namespace {
// Before any instance loads them: the headless editor reads the images from the source tree.
const bool kImageFolderSet = (IGraphicsWin::SetImageFolder(TZ_SOURCE_DIR), true);
constexpr uint32_t kChunkId = 0x5A656C34;  // 'Zel4'

// A registered module and one instance whose host answers every value request at once, as a
// host echoing an edit does; the plug-in object itself is found the way the GUI object finds
// it, through custom data 8.
struct Fixture {
    Fixture() {
        host.onValueRequest = [this](const char* id, double v) { instance.Update(id, v); };
    }
    Host host;
    Session session{host, Linked()};
    int32_t registered = session.Register();
    Instance instance{session};
    TavrelZel4* Plug() {
        void* found = nullptr;
        CallSlot<int32_t>(instance.params, slot::kCustomData, uint32_t(8), &found, uint32_t(sizeof found));
        return dynamic_cast<TavrelZel4*>(static_cast<AAX_CIFxParameters*>(found));
    }
    double Normalized(const char* id) {
        double v = -1;
        CallSlot<int32_t>(instance.params, slot::kNormalized, id, &v);
        return v;
    }
};

std::vector<float> Ramp(int frames, float scale) {
    std::vector<float> x(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) x[size_t(i)] = scale * std::sin(0.05f * float(i));
    return x;
}
}  // namespace

TEST(AaxBinding, ParametersAsTheHostSeesThem) {
    Fixture f;
    ASSERT_EQ(f.registered, 0);
    ASSERT_TRUE(f.instance.Valid());
    int32_t count = 0;
    CallSlot<int32_t>(f.instance.params, slot::kParameterCount, &count);
    ASSERT_EQ(count, 9);
    const char* names[] = {"Master Bypass", "Bypass",  "Dist. Amount",       "Tone", "Level", "Analog Saturation",
                           "Analog Hiss",   "Dry/Wet", "Output compensation"};
    for (int32_t i = 0; i < count; ++i) {
        HostString id;
        CallSlot<int32_t>(f.instance.params, slot::kIdAtIndex, i, id.Interface());
        EXPECT_EQ(std::string(id.Text()), i == 0 ? "" : std::to_string(i));
        EXPECT_EQ(f.instance.Text(slot::kName, id.Text()), names[i]);
    }
    // No parameter carries the library's bypass id, so the host is told of none.
    HostString bypassId;
    CallSlot<int32_t>(f.instance.params, slot::kMasterBypassId, bypassId.Interface());
    EXPECT_STREQ(bypassId.Text(), "");
    EXPECT_EQ(f.instance.Text(slot::kValueString, ""), "bypass");
    EXPECT_EQ(f.instance.Update("", 1.0), 0);
    EXPECT_EQ(f.instance.Text(slot::kValueString, ""), "on");
    // A switch shows the state the effect acts on (0 or 1); a continuous parameter its value.
    const struct {
        const char* id;
        double value;
        const char* text;
    } texts[] = {{"1", 0.0, "0.00"}, {"1", 0.4, "0.00"}, {"1", 0.6, "1.00"}, {"1", 1.0, "1.00"}, {"7", 0.6, "60.00"}};
    for (const auto& t : texts) {
        f.instance.Update(t.id, t.value);
        EXPECT_EQ(f.instance.Text(slot::kValueString, t.id), t.text) << t.id << " " << t.value;
    }
    EXPECT_EQ(f.Plug()->GetHostCode(), kHostProTools);
    EXPECT_EQ(f.Plug()->GetApiCode(), kApiAAX);
    EXPECT_EQ(f.Plug()->GetSampleRate(), 48000.0);
}

// The parameter the host receives from slot 16, called by the numbers of its own table (slot 0
// would destroy it): id, name (a host string), automatable, normalized value, step count, type
// and orientation.
TEST(AaxBinding, ParameterSlotsAsTheHostNumbersThem) {
    Fixture f;
    f.instance.Update("", 1.0);
    f.instance.Update("3", 0.5);
    enum { kId = 1, kName = 3, kAutomatable = 7, kNormalized = 12, kSteps = 17, kType = 37, kOrientation = 39 };
    const struct {
        const char* id;
        const char* name;
        double normalized;
        int32_t steps, type;
    } cases[] = {{"", "Master Bypass", 1.0, 2, 0}, {"3", "Tone", 0.5, 128, 1}, {"5", "Analog Saturation", 1.0, 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        void* p = nullptr;
        ASSERT_EQ(CallSlot<int32_t>(f.instance.params, slot::kParameterById, c.id, &p), 0);
        ASSERT_NE(p, nullptr);
        EXPECT_STREQ(CallSlot<const char*>(p, kId), c.id);
        EXPECT_STREQ(CallSlot<const char*>(CallSlot<void*>(p, kName), 3), c.name);
        EXPECT_TRUE(CallSlot<bool>(p, kAutomatable));
        EXPECT_DOUBLE_EQ(CallSlot<double>(p, kNormalized), c.normalized);
        EXPECT_EQ(CallSlot<int32_t>(p, kSteps), c.steps);
        EXPECT_EQ(CallSlot<int32_t>(p, kType), c.type);
        EXPECT_EQ(CallSlot<int32_t>(p, kOrientation), 0);
    }
}

// Host values reach the framework parameter by id; out-of-range values are clamped there, and
// the host reads back the same clamped value.
TEST(AaxBinding, HostUpdatesReachTheFrameworkParameter) {
    Fixture f;
    TavrelZel4* plug = f.Plug();
    ASSERT_NE(plug, nullptr);
    struct Case {
        const char* id;
        double value, expected;
        int32_t result;
    } cases[] = {
        {"3", 0.5, 0.5, 0},
        {"2", -3.0, 0.0, 0},
        {"2", 7.0, 1.0, 0},
        {"2", std::numeric_limits<double>::quiet_NaN(), 0.0, 0},
        {"3", -1.0, 0.0, 0},  // Tone's curve squares -1 back into range
        {"4", 4.0, 1.0, 0},
        {"9", 0.5, -1, kAAXUnknownParameter},
        {"x", 0.5, -1, kAAXUnknownParameter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.id) + " " + std::to_string(c.value));
        EXPECT_EQ(f.instance.Update(c.id, c.value), c.result);
        if (c.result == 0) {
            EXPECT_DOUBLE_EQ(plug->GetParam(c.id[0] - '1')->NormalizedValue(), c.expected);
            EXPECT_DOUBLE_EQ(f.Normalized(c.id), c.expected);
        }
    }
    int32_t changes = 0;
    CallSlot<int32_t>(f.instance.params, slot::kChanges, &changes);
    EXPECT_EQ(changes, 6);
    // The master bypass is only stored: no framework parameter moves.
    const double before = plug->GetParam(TavrelZel4::kBypass)->Value();
    f.instance.Update("", 1.0);
    EXPECT_EQ(plug->GetParam(TavrelZel4::kBypass)->Value(), before);
}

// The plug-in marks its state changed on a thread of its own while the host updates parameters
// and polls the change count: the count never goes back and loses no change.
TEST(AaxBinding, StateChangesCountedFromTwoThreads) {
    constexpr int kEach = 2000;
    Fixture f;
    TavrelZel4* plug = f.Plug();
    auto changes = [&] {
        int32_t n = -1;
        CallSlot<int32_t>(f.instance.params, slot::kChanges, &n);
        return n;
    };
    const int32_t before = changes();
    std::thread editor([&] {
        for (int i = 0; i < kEach; ++i) plug->MarkStateChanged();
    });
    int32_t last = before, wentBack = 0;
    for (int i = 0; i < kEach; ++i) {
        f.instance.Update("1", (i % 10) / 10.0);
        const int32_t now = changes();
        wentBack += now < last;
        last = now;
    }
    editor.join();
    EXPECT_EQ(wentBack, 0);
    EXPECT_EQ(changes(), before + 2 * kEach);
}

// Blocks shorter and longer than the 1024 frames prepared at construction: the block size stays
// (a longer block runs in pieces of it), and with the bypass on the input comes out unchanged.
TEST(AaxBinding, BlocksOfAnySizeKeepTheirInput) {
    Fixture f;
    f.instance.Update("", 1.0);
    for (int frames : {512, 512, 4096, 100, 8192}) {
        SCOPED_TRACE(frames);
        std::vector<float> in[2] = {Ramp(frames, 0.5f), Ramp(frames, -0.25f)};
        std::vector<float> out[2] = {std::vector<float>(size_t(frames), 9.f), std::vector<float>(size_t(frames), 9.f)};
        float* ip[] = {in[0].data(), in[1].data()};
        float* op[] = {out[0].data(), out[1].data()};
        f.instance.Render(ip, op, frames);
        EXPECT_EQ(out[0], in[0]);
        EXPECT_EQ(out[1], in[1]);
        EXPECT_EQ(f.Plug()->GetBlockSize(), 1024);
    }
}

// A mono stem on the stereo plug-in: only the first channel is connected and written.
TEST(AaxBinding, MonoStemsUseOneChannel) {
    Fixture f;
    f.host.inputStem = f.host.outputStem = 0x00000001;
    f.instance.Update("6", 0.0);
    std::vector<float> in = Ramp(256, 0.5f), out(256, 0.f), guard(4, 7.f);
    float* ip[] = {in.data()};
    float* op[] = {out.data(), guard.data()};  // a host that reads past the stem would touch guard
    f.instance.Render(ip, op, 256);
    EXPECT_NE(out, std::vector<float>(256, 0.f));
    EXPECT_EQ(guard, std::vector<float>(4, 7.f));
}

// Arrays or input channels the host leaves null: a missing input reads silence, a missing
// output is not written, and the other channels run as usual (the bypass copies in to out).
TEST(AaxBinding, NullBuffersInTheRenderContext) {
    Fixture f;
    f.instance.Update("", 1.0);
    const struct {
        bool inArray, outArray;
        int nullIn, nullOut;  // a channel whose pointer is null, or -1
    } cases[] = {{false, true, -1, -1}, {true, false, -1, -1}, {false, false, -1, -1},
                 {true, true, 0, -1},   {true, true, 1, -1},   {true, true, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inArray << c.outArray << c.nullIn << c.nullOut);
        std::vector<float> in[2] = {Ramp(256, 0.5f), Ramp(256, -0.25f)};
        std::vector<float> out[2] = {std::vector<float>(256, 9.f), std::vector<float>(256, 9.f)};
        float* ip[] = {in[0].data(), in[1].data()};
        float* op[] = {out[0].data(), out[1].data()};
        if (c.nullIn >= 0) ip[c.nullIn] = nullptr;
        if (c.nullOut >= 0) op[c.nullOut] = nullptr;
        f.instance.Render(c.inArray ? ip : nullptr, c.outArray ? op : nullptr, 256);
        for (int ch = 0; ch < 2; ++ch) {
            const bool silent = !c.inArray || ch == c.nullIn, written = c.outArray && ch != c.nullOut;
            EXPECT_EQ(out[ch], !written ? std::vector<float>(256, 9.f)
                               : silent ? std::vector<float>(256, 0.f)
                                        : in[ch])
                << "channel " << ch;
        }
    }
}

TEST(AaxBinding, ChunkRoundTripsAndBadChunksAreRefused) {
    Fixture a;
    a.instance.Update("2", 0.25);
    a.instance.Update("4", 0.75);
    uint32_t id = 0;
    EXPECT_EQ(CallSlot<int32_t>(a.instance.params, slot::kChunkId, int32_t(0), &id), 0);
    EXPECT_EQ(id, kChunkId);
    EXPECT_EQ(CallSlot<int32_t>(a.instance.params, slot::kChunkId, int32_t(1), &id), kAAXBadChunkIndex);
    int32_t result = -1;
    const std::vector<uint8_t> saved = a.instance.GetChunk(kChunkId, &result);
    ASSERT_EQ(result, 0);
    ASSERT_EQ(ChunkDataOf(saved).size(), 64u);

    Fixture b;
    b.instance.Update("", 1.0);
    bool equal = true;
    CallSlot<int32_t>(b.instance.params, slot::kCompareChunk, static_cast<const void*>(saved.data()), &equal);
    EXPECT_FALSE(equal);
    EXPECT_EQ(b.instance.SetChunk(kChunkId, saved), 0);
    CallSlot<int32_t>(b.instance.params, slot::kCompareChunk, static_cast<const void*>(saved.data()), &equal);
    EXPECT_TRUE(equal);
    EXPECT_DOUBLE_EQ(b.Normalized("2"), 0.25);
    EXPECT_DOUBLE_EQ(b.Normalized("4"), 0.75);
    EXPECT_DOUBLE_EQ(b.Normalized(""), 1.0);  // the master bypass is not part of the chunk

    // Refusals: another id, a negative size, data too short for every parameter.
    const std::vector<uint8_t> data = ChunkDataOf(saved);
    const std::vector<uint8_t> foreign = ChunkRecord(0x61626364, data, 64);
    CallSlot<int32_t>(b.instance.params, slot::kCompareChunk, static_cast<const void*>(foreign.data()), &equal);
    EXPECT_TRUE(equal);
    EXPECT_EQ(b.instance.SetChunk(0x61626364, foreign), kAAXBadChunkId);
    int32_t size = 5;
    EXPECT_EQ(CallSlot<int32_t>(b.instance.params, slot::kChunkSize, uint32_t(0x61626364), &size), kAAXBadChunkId);
    EXPECT_EQ(size, 0);

    b.instance.Update("3", 0.9);
    EXPECT_EQ(b.instance.SetChunk(kChunkId, ChunkRecord(kChunkId, data, -8)), kAAXBadChunkSize);
    EXPECT_DOUBLE_EQ(b.Normalized("3"), 0.9);  // refused untouched

    std::vector<uint8_t> shortData(data.begin(), data.begin() + 16);
    const double amount = 40.0;  // Dist. Amount, the second value
    std::memcpy(shortData.data() + 8, &amount, 8);
    const std::vector<uint8_t> truncated = ChunkRecord(kChunkId, shortData, 16);
    CallSlot<int32_t>(b.instance.params, slot::kCompareChunk, static_cast<const void*>(truncated.data()), &equal);
    EXPECT_FALSE(equal);
    EXPECT_EQ(b.instance.SetChunk(kChunkId, truncated), kAAXBadChunkSize);
    EXPECT_DOUBLE_EQ(b.Plug()->GetParam(TavrelZel4::kDistAmount)->Value(), 40.0);  // applied as far as it goes
}

// The GUI object finds the plug-in's editor through the instance's own interface.
TEST(AaxBinding, GuiReportsTheEditorSize) {
    Fixture f;
    EXPECT_EQ(ACFCanUnloadNow(nullptr), 1);
    {
        Gui gui(f.session, f.instance);
        ASSERT_TRUE(gui.Valid());
        EXPECT_EQ(ACFCanUnloadNow(nullptr), 2);
        float size[2] = {0, 0};
        EXPECT_EQ(CallSlot<int32_t>(gui.gui, slot::kReportViewSize, size), 0);
        EXPECT_EQ(size[0], 460.f);
        EXPECT_EQ(size[1], 410.f);

        // Resize requests go to the container the editor is open in, and nowhere once closed.
        gui.Open(reinterpret_cast<void*>(uintptr_t(0x1234)));
        f.Plug()->RequestEditorResize(500, 300);
        gui.Close();
        f.Plug()->RequestEditorResize(600, 400);
        EXPECT_EQ(f.host.Calls("view.ResizeView"), std::vector<std::string>{"view.ResizeView(300,500)"});
    }
    EXPECT_EQ(ACFCanUnloadNow(nullptr), 1);
}

namespace {
// A plug-in on the AAX binding whose editor window is pretended (the parent stands for it). It
// notes what happens to the editor and whether another thread could take the plug-in mutex then.
class EditorProbe : public IFxAAX {
public:
    EditorProbe() : IFxAAX(Options()) { BindGraphics(new Window(this)); }
    static IFxOptions Options() {
        IFxOptions options;
        options.nPresets = 0;
        options.effectName = "Probe";
        return options;
    }
    void EditorOpened() override { Note("opened"); }
    void EditorClosed() override { Note("closed"); }
    void Note(const char* what) {
        log += std::string(what) + (FreeForAnotherThread(GetMutex()) ? " free, " : " held, ");
    }
    std::string log;

private:
    struct Window : IGraphicsWin {
        explicit Window(EditorProbe* plug) : IGraphicsWin(plug, 20, 10, 0), probe(plug) {}
        IWindowHandle OpenGuiWindow(IWindowHandle parent) override {
            probe->Note("window opened");
            return parent;
        }
        void CloseGuiWindow() override { probe->Note("window closed"); }
        EditorProbe* probe;
    };
};
}  // namespace

// The GUI object tells the plug-in of the editor it opens and closes, holding the plug-in mutex
// only for that: the window is made and destroyed with it free. Ending the GUI object's use with
// the editor open closes it too.
TEST(AaxBinding, GuiTellsThePluginOfItsEditor) {
    Host host;
    auto* probe = new EditorProbe;
    void* params = nullptr;
    ASSERT_EQ(probe->QueryInterface(kIID_EffectParameters, &params), 0);
    void* gui = nullptr;
    ASSERT_EQ(CallSlot<int32_t>(NewEffectGuiInstance(), 0, &id::kEffectGui, &gui), 0);
    Object* unknown = host.InstanceUnknown({id::kController, id::kTransport});
    host.AnswerForeign(unknown, id::kEffectParameters, params);
    CallSlot<int32_t>(gui, slot::kGuiInitialize, static_cast<void*>(unknown));
    Object* container = host.Make(Kind::kViewContainer, "view");
    host.Answer(container, id::kViewContainer, container);

    const std::string open = "window opened free, opened held, ", close = "closed held, window closed free, ";
    CallSlot<int32_t>(gui, slot::kSetViewContainer, static_cast<void*>(container));
    EXPECT_EQ(probe->log, open);
    CallSlot<int32_t>(gui, slot::kSetViewContainer, static_cast<void*>(nullptr));
    EXPECT_EQ(probe->log, open + close);
    CallSlot<int32_t>(gui, slot::kSetViewContainer, static_cast<void*>(container));
    CallSlot<int32_t>(gui, slot::kGuiUninitialize);
    EXPECT_EQ(probe->log, open + close + open + close);
    CallSlot<uint32_t>(gui, 2);
    CallSlot<uint32_t>(params, 2);
}

// The transport queries read the block being rendered; before the first block they answer
// nothing and leave their outputs alone.
TEST(AaxBinding, TransportOfTheRenderedBlock) {
    Fixture f;
    TavrelZel4* plug = f.Plug();
    ITimeInfo info;
    info.tempo = -1;
    plug->HostTimeInfo(&info);
    EXPECT_EQ(info.tempo, -1);
    EXPECT_EQ(plug->HostTempo(), 0.0);
    EXPECT_EQ(plug->HostSamplePosition(), 0);

    std::vector<float> in(64, 0.f), out(64, 0.f);
    float* io[] = {in.data(), in.data()};
    float* oo[] = {out.data(), out.data()};
    f.host.samplePosition = (int64_t(1) << 32) + 4096;  // only the low 32 bits reach the plug-in
    f.instance.Render(io, oo, 64);
    plug->HostTimeInfo(&info);
    EXPECT_EQ(info.tempo, 120.0);
    EXPECT_TRUE(info.playing);
    EXPECT_EQ(info.numerator, 3);
    EXPECT_EQ(info.denominator, 4);
    EXPECT_EQ(info.ppqPos, 1.0);
    EXPECT_TRUE(info.looping);
    EXPECT_EQ(info.cycleStart, 0.0);
    EXPECT_EQ(info.cycleEnd, 2.0);
    EXPECT_EQ(plug->HostSamplePosition(), 4096);
    int n = 0, d = 0;
    plug->HostTimeSignature(&n, &d);
    EXPECT_EQ(n * 10 + d, 34);
}

// A host without a controller: the sample rate stays the plug-in's own, no channel is connected,
// and rendering writes nothing. Custom data 8 needs room for a pointer.
TEST(AaxBinding, HostWithoutControllerOrRoom) {
    Host host;
    Session session(host, Linked());
    ASSERT_EQ(session.Register(), 0);
    Instance instance(session, {id::kAutomation});
    ASSERT_TRUE(instance.Valid());
    std::vector<float> in(128, 0.5f), out(128, 3.f);
    float* io[] = {in.data(), in.data()};
    float* oo[] = {out.data(), out.data()};
    instance.Render(io, oo, 128);
    EXPECT_EQ(out, std::vector<float>(128, 3.f));

    // One byte short of a pointer, whatever the architecture: zeroed, no pointer written.
    std::vector<uint8_t> small(sizeof(void*) - 1, 0xA5);
    EXPECT_EQ(CallSlot<int32_t>(instance.params, slot::kCustomData, uint32_t(8), static_cast<void*>(small.data()),
                                uint32_t(small.size())),
              0);
    EXPECT_EQ(small, std::vector<uint8_t>(sizeof(void*) - 1, 0));
}

// The exports' own answers: startup keeps its first host services, a null host deletes them,
// a registration host without the component factory gets -20004, one whose factory query
// succeeds with a null pointer gets the catch-all's code; a failed registration hands back null.
TEST(AaxBinding, ExportsAnswerAsSpecifiedForTheHost) {
    Host host;
    auto* registration = reinterpret_cast<IACFUnknown*>(host.RegistrationUnknown(FactoryMode::kOffered));
    EXPECT_EQ(ACFShutdown(nullptr), 0);
    EXPECT_EQ(ACFStartup(registration), 0);
    EXPECT_EQ(ACFStartup(registration), 0);
    EXPECT_EQ(host.Calls("factory.Create").size(), 1u);
    EXPECT_EQ(ACFStartup(nullptr), 0);
    EXPECT_TRUE(host.Balanced());
    EXPECT_EQ(ACFShutdown(nullptr), 0);

    struct Case {
        FactoryMode mode;
        int32_t result;
    } cases[] = {{FactoryMode::kAbsent, kAAXNoHostInterface}, {FactoryMode::kNullPointer, kACFUnexpected}};
    for (const Case& c : cases) {
        Host other;
        void* definition = &other;
        EXPECT_EQ(ACFRegisterPlugin(reinterpret_cast<IACFUnknown*>(other.RegistrationUnknown(c.mode)),
                                    reinterpret_cast<IACFUnknown**>(&definition)),
                  c.result);
        EXPECT_EQ(definition, nullptr);
        EXPECT_TRUE(other.Balanced());
    }
}

// A host that ends the GUI object's use (Uninitialize) and releases the plug-in before it
// releases the GUI object: the editor is closed while the plug-in still lives, and the GUI
// object's end touches nothing of it.
TEST(AaxBinding, GuiOutlivingItsPlugin) {
    Host host;
    Session session(host, Linked());
    ASSERT_EQ(session.Register(), 0);
    auto instance = std::make_unique<Instance>(session);
    auto gui = std::make_unique<Gui>(session, *instance);
    ASSERT_TRUE(gui->Valid());
    EXPECT_EQ(gui->Open(reinterpret_cast<void*>(uintptr_t(0x1234))), 0);
    CallSlot<int32_t>(gui->gui, slot::kGuiUninitialize);
    instance.reset();
    EXPECT_EQ(ACFCanUnloadNow(nullptr), 1);
    gui.reset();
    EXPECT_EQ(ACFCanUnloadNow(nullptr), 0);
}

// The description's line per configuration; the render writes nothing.
TEST(AaxBinding, DiagnosticsOnStandardOutputOnlyAtDescription) {
    Host host;
    Session session(host, Linked());
    testing::internal::CaptureStdout();
    ASSERT_EQ(session.Register(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "***** inputs 1 *****\n***** inputs 2 *****\n");
    Instance instance(session);
    std::vector<float> in(32, 0.f), out(32, 0.f);
    float* io[] = {in.data(), in.data()};
    float* oo[] = {out.data(), out.data()};
    testing::internal::CaptureStdout();
    instance.Render(io, oo, 32);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// The host's answers to an editor edit and to a restored chunk come while the plug-in lock is
// free, so the audio thread never waits on the host.
TEST(AaxBinding, HostIsAskedOutsideThePluginLock) {
    Fixture f;
    int requests = 0, locked = 0;
    f.host.onValueRequest = [&](const char* id, double v) {
        ++requests;
        locked += f.Plug()->GetMutex().IsHeldByCurrentThread();
        f.instance.Update(id, v);
    };
    f.Plug()->SetParameterFromGUI(1, 0.3);
    int32_t result = -1;
    EXPECT_EQ(f.instance.SetChunk(kChunkId, f.instance.GetChunk(kChunkId, &result)), 0);
    EXPECT_EQ(requests, 1 + f.Plug()->NParams());
    EXPECT_EQ(locked, 0);
}

// The audio thread renders while the host thread automates and restores chunks (its value
// requests answered at once): every call returns and the chunk last restored is in force.
TEST(AaxBinding, RenderWhileTheHostAutomatesAndRestores) {
    Fixture f;
    int32_t result = -1;
    const std::vector<uint8_t> chunk = f.instance.GetChunk(kChunkId, &result);
    ASSERT_EQ(result, 0);
    std::thread audio([&] {
        std::vector<float> in = Ramp(256, 0.5f), out(256);
        float* io[] = {in.data(), in.data()};
        float* oo[] = {out.data(), out.data()};
        for (int b = 0; b < 300; ++b) f.instance.Render(io, oo, 128 + (b % 3) * 64);
    });
    for (int i = 0; i < 300; ++i) {
        f.instance.Update(std::to_string(1 + i % 8).c_str(), (i % 10) / 10.0);
        if (i % 25 == 0) {
            EXPECT_EQ(f.instance.SetChunk(kChunkId, chunk), 0);
        }
    }
    audio.join();
    EXPECT_EQ(f.instance.SetChunk(kChunkId, chunk), 0);
    bool equal = false;
    CallSlot<int32_t>(f.instance.params, slot::kCompareChunk, static_cast<const void*>(chunk.data()), &equal);
    EXPECT_TRUE(equal);
}
