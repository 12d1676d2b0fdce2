// The VST2 binding through its effect record, as a host drives it: the record, the opcodes,
// the host callback, the process entries and the editor opcodes.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "framework/igraphicswin.h"
#include "test_plugin.h"

using namespace Vst2;
using vst2host::Host;
using vst2host::Plugin;
using namespace std::chrono_literals;

TestConfig TestVst::next;

namespace {
struct Fixture : ::testing::Test {
    Host host;
    Plugin plug;
    TestVst* Object() { return TestVst::Of(plug.effect); }
    void Make(const TestConfig& config = TestConfig()) {
        plug.effect = TestVst::Create(config);
        ASSERT_NE(plug.effect, nullptr);
    }
    void TearDown() override { plug.Close(); }
};
using BindingTest = Fixture;
}  // namespace

TEST(EffectRecord, FieldsFollowTheConfiguration) {
    struct Case {
        TestConfig config;
        int32_t flags, numPrograms, numInputs;
    } cases[] = {
        {{}, 0x1018, 1, 2},
        {{"2-2"}, 0x1010, 1, 2},
        {{"1-1 2-2", 0}, 0x1018, 1, 2},  // no presets still shows one program
        {{"3-3", 4, true, true, true}, 0x1130, 4, 3},
    };
    Host host;
    for (const Case& c : cases) {
        Plugin plug(TestVst::Create(c.config));
        const AEffect* e = plug.effect;
        EXPECT_EQ(e->magic, 0x56737450);
        EXPECT_EQ(e->flags, c.flags) << c.config.channelIo;
        EXPECT_EQ(e->numPrograms, c.numPrograms);
        EXPECT_EQ(e->numParams, 3);
        EXPECT_EQ(e->numInputs, c.numInputs);
        EXPECT_EQ(e->version, 10101);
        EXPECT_EQ(e->uniqueID, FourCC("TvT2"));
        EXPECT_EQ(e->ioRatio, 1.0f);
        EXPECT_EQ(TestVst::Of(plug.effect)->GetBlockSize(), 1024);
        EXPECT_TRUE(TestVst::Of(plug.effect)->GetInChannel(c.numInputs - 1)->connected);
        plug.Close();
    }
}

TEST(EffectRecord, UnnamedPresetsAreFilledAsEmpty) {
    Host host;
    TestConfig config;
    config.presets = 2;
    config.namePresets = false;
    Plugin plug(TestVst::Create(config));
    EXPECT_EQ(plug.Text(EffectOp::kGetProgramNameIndexed, 1), "Empty");
    plug.Close();
}

TEST_F(BindingTest, AnswersFixedOpcodes) {
    Make();
    struct Case {
        int32_t opcode, index;
        intptr_t value, result;
    } cases[] = {
        {EffectOp::kIdentify, 0, 0, 0x4E764566},
        {EffectOp::kCanBeAutomated, 2, 0, 1},
        {EffectOp::kGetPlugCategory, 0, 0, 1},
        {EffectOp::kGetVendorVersion, 0, 0, 10101},
        {EffectOp::kGetTailSize, 0, 0, 0},
        {EffectOp::kGetVstVersion, 0, 0, 2400},
        {EffectOp::kGetProgram, 0, 0, 0},
        {EffectOp::kVendorSpecific, 8, TestVst::kGain, 0},
        {EffectOp::kVendorSpecific, 8, TestVst::kSwitch, 0xBEEF},
        {EffectOp::kVendorSpecific, 9, 0, 0},
        {9, 0, 0, 0},
        {44, 0, 0, 0},
        {EffectOp::kEditOpen, 0, 0, 0},
        {EffectOp::kEditGetRect, 0, 0, 0},
        {EffectOp::kString2Parameter, 2, 0, 1},
        {EffectOp::kString2Parameter, 3, 0, 0},
        {EffectOp::kGetInputProperties, 2, 0, 0},
        {EffectOp::kProcessEvents, 0, 0, 0},
        {EffectOp::kCanDo, 0, 0, 0},
        {EffectOp::kGetEffectName, 0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plug.Dispatch(c.opcode, c.index, c.value), c.result) << "opcode " << c.opcode << " index " << c.index;
}

TEST_F(BindingTest, WritesTexts) {
    Make();
    Object()->GetParam(TestVst::kSwitch)->SetValue(1.0);
    Object()->GetParam(TestVst::kTrim)->SetValue(3.0);
    struct Case {
        int32_t opcode, index;
        intptr_t value;
        float opt;
        const char* text;
    } cases[] = {
        {EffectOp::kGetParamDisplay, TestVst::kSwitch, 0, 0, "on"},
        {EffectOp::kGetParamDisplay, TestVst::kGain, 0, 0, "5.00"},
        {EffectOp::kGetParamDisplay, TestVst::kTrim, 0, 0, "-3"},
        {EffectOp::kGetParamName, TestVst::kGain, 0, 0, "Gain"},
        {EffectOp::kGetParamLabel, TestVst::kGain, 0, 0, "dB"},
        {EffectOp::kGetParamName, 3, 0, 0, ""},
        {EffectOp::kGetParamName, -1, 0, 0, ""},
        {EffectOp::kGetEffectName, 0, 0, 0, "Test Effect"},
        {EffectOp::kGetVendorString, 0, 0, 0, "Test Maker"},
        {EffectOp::kGetProductString, 0, 0, 0, "Test Product"},
        {EffectOp::kGetProgramName, 0, 0, 0, "-"},
        {EffectOp::kGetProgramNameIndexed, 5, 0, 0, ""},
        {EffectOp::kVendorSpecific, 7, TestVst::kGain, 0.25f, "2.50"},  // without changing the value
        {EffectOp::kVendorSpecific, 7, 3, 0.25f, ""},
        {EffectOp::kVendorSpecific, 7, TestVst::kSwitch, 0.6f, "on"},  // on from 0.5 up, as the effect
        {EffectOp::kVendorSpecific, 7, TestVst::kSwitch, 0.4f, "off"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plug.Text(c.opcode, c.index, c.value, c.opt), c.text)
            << "opcode " << c.opcode << " index " << c.index;
    EXPECT_EQ(Object()->GetParam(TestVst::kGain)->Value(), 5.0);
}

TEST_F(BindingTest, StringToParameter) {
    Make();
    struct Case {
        int index;
        const char* text;
        intptr_t result;
        double value;
    } cases[] = {
        {TestVst::kSwitch, "on", 1, 1.0}, {TestVst::kSwitch, "maybe", 0, 1.0}, {TestVst::kGain, "12.5", 1, 10.0},
        {TestVst::kGain, "-4", 1, 0.0},   {TestVst::kGain, "2.345", 1, 2.345},  // no step rounding
        {TestVst::kTrim, "-7", 1, 7.0},                                         // shown negated, so read negated
        {TestVst::kGain, "abc", 1, 0.0},
    };
    for (const Case& c : cases) {
        Object()->changes.clear();
        EXPECT_EQ(plug.Dispatch(EffectOp::kString2Parameter, c.index, 0, const_cast<char*>(c.text)), c.result)
            << c.text;
        EXPECT_EQ(Object()->GetParam(c.index)->Value(), c.value) << c.text;
        EXPECT_EQ(Object()->changes.size(), c.result ? 1u : 0u);
    }
}

TEST_F(BindingTest, CanDoAnswersAndRemembersHostExtensions) {
    Make();
    struct Case {
        const char* text;
        intptr_t result;
    } cases[] = {
        {"receiveVstTimeInfo", 1},
        {"sendVstEvents", 0},
        {"receiveVstMidiEvent", 0},
        {"bypass", 0},
        {"hasHostExtensions", static_cast<intptr_t>(0xBEEF0000u)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plug.Dispatch(EffectOp::kCanDo, 0, 0, const_cast<char*>(c.text)), c.result) << c.text;
    EXPECT_EQ(Object()->GetHostFlags(), 1);
    plug.Dispatch(EffectOp::kCanDo, 0, 0, const_cast<char*>("hasHostViewAsConfig"));
    EXPECT_EQ(Object()->GetHostFlags(), 3);
    plug.Close();
    TestConfig midi;
    midi.doesMidi = true;
    Make(midi);
    EXPECT_EQ(plug.Dispatch(EffectOp::kCanDo, 0, 0, const_cast<char*>("sendVstEvents")), 1);
    plug.Run({std::vector<double>(32), std::vector<double>(32)}, 2, 32, Plugin::Mode::kDouble);
    EXPECT_EQ(host.Count(HostOp::kWantMidi), 1);  // on every block
}

TEST_F(BindingTest, PinsAndSpeakerArrangements) {
    Make();
    VstPinProperties pin{};
    EXPECT_EQ(plug.Dispatch(EffectOp::kGetInputProperties, 0, 0, &pin), 1);
    EXPECT_EQ(pin.flags, 3);
    EXPECT_STREQ(pin.label, "Input 1");
    EXPECT_EQ(plug.Dispatch(EffectOp::kGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_EQ(pin.flags, 1);
    EXPECT_STREQ(pin.label, "Output 2");

    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    EXPECT_EQ(plug.Dispatch(EffectOp::kGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 1);
    ASSERT_TRUE(in && out);
    EXPECT_EQ(in->type, kArrangementStereo);
    EXPECT_EQ(out->numChannels, 2);

    // Mono in: input 1 reads silence; a negative count connects nothing and harms nothing.
    VstSpeakerArrangement mono{}, bad{};
    mono.numChannels = 1;
    bad.numChannels = -5;
    EXPECT_EQ(plug.Dispatch(EffectOp::kSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), nullptr), 1);
    EXPECT_TRUE(Object()->GetInChannel(0)->connected);
    EXPECT_FALSE(Object()->GetInChannel(1)->connected);
    EXPECT_TRUE(Object()->GetOutChannel(1)->connected);
    plug.Dispatch(EffectOp::kSetSpeakerArrangement, 0, 0, &bad);
    EXPECT_FALSE(Object()->GetOutChannel(0)->connected);
}

TEST_F(BindingTest, OpenSetUpAndProgramOpcodes) {
    Make();
    plug.Dispatch(EffectOp::kOpen);
    plug.Dispatch(EffectOp::kOpen);
    EXPECT_EQ(Object()->changes.size(), 6u);              // every parameter announced at each open
    EXPECT_EQ(host.Count(HostOp::kGetProductString), 1);  // host quirks looked at once
    EXPECT_EQ(Object()->changes[0].source, kSourceOpen);

    plug.Dispatch(EffectOp::kSetSampleRate, 0, 0, nullptr, 48000.0f);
    plug.Dispatch(EffectOp::kSetBlockSize, 0, 256);
    EXPECT_EQ(Object()->GetSampleRate(), 48000.0);
    EXPECT_EQ(Object()->GetBlockSize(), 256);
    EXPECT_EQ(Object()->resets, 2);
    plug.Dispatch(EffectOp::kMainsChanged, 0, 1);
    EXPECT_EQ(Object()->resets, 2);
    plug.Dispatch(EffectOp::kMainsChanged, 0, 0);
    EXPECT_EQ(Object()->resets, 3);
    plug.Dispatch(EffectOp::kEditIdle);
    plug.Dispatch(EffectOp::kIdle);
    EXPECT_EQ(Object()->idles, 2);

    // Program name: an empty text re-captures the values and keeps the name.
    Object()->GetParam(TestVst::kGain)->SetValue(7.0);
    plug.Dispatch(EffectOp::kSetProgramName, 0, 0, const_cast<char*>(""));
    EXPECT_EQ(plug.Text(EffectOp::kGetProgramName), "-");
    double stored = 0;
    Object()->GetPresetSlot(0)->state.GetDouble(&stored, 8);
    EXPECT_EQ(stored, 7.0);
    // A long name is kept whole (up to 255 characters, as a bank carries it), and a host reads at
    // most 23 characters and the NUL into its 24-byte buffer.
    const std::string longName(300, 'n');
    plug.Dispatch(EffectOp::kSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
    EXPECT_EQ(std::string(Object()->GetPresetSlotName(0)), longName.substr(0, 255));
    for (int32_t opcode : {EffectOp::kGetProgramName, EffectOp::kGetProgramNameIndexed}) {
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        plug.Dispatch(opcode, 0, 0, buffer);
        EXPECT_EQ(std::string(buffer), longName.substr(0, 23)) << opcode;
        EXPECT_EQ(buffer[24], 'x') << opcode;
    }
}

namespace {
// An editor whose window is pretended (the parent given stands for it), at 25 ticks a second.
class WindowDouble : public IGraphicsWin {
public:
    explicit WindowDouble(TestVst* plug) : IGraphicsWin(plug, 20, 10, 25) {}
    IWindowHandle OpenGuiWindow(IWindowHandle parent) override {
        Plug()->NoteEditor("window opened");
        return parent;
    }
    void CloseGuiWindow() override { Plug()->NoteEditor("window closed"); }
    void HandleWindowEvents() override { ++events; }
    void HandleTimerTick() override {
        ++ticks;
        Plug()->NoteEditor("tick");
    }
    int events = 0, ticks = 0;

private:
    TestVst* Plug() const { return static_cast<TestVst*>(GetPlug()); }
};
}  // namespace

// The window is made and destroyed with the plug-in mutex free, so the audio thread goes on
// meanwhile; the plug-in hears of the editor with the mutex held, and only of a window made.
TEST_F(BindingTest, EditorWindowWorkLeavesThePluginMutexFree) {
    Make();
    Object()->BindGraphics(new WindowDouble(Object()));
    EXPECT_EQ(plug.Dispatch(EffectOp::kEditOpen, 0, 0, nullptr), 0);  // no window
    int parent = 0;
    EXPECT_EQ(plug.Dispatch(EffectOp::kEditOpen, 0, 0, &parent), 1);
    EXPECT_EQ(plug.Dispatch(EffectOp::kEditClose), 1);
    EXPECT_EQ(Object()->editorLog,
              "window opened free, window opened free, opened held, closed held, window closed free, ");
}

// Outside Windows the host's editor idle calls are the open editor's loop: its window events each
// call, and a redraw tick at most 25 times a second, with the mutex free. Windows runs neither.
TEST_F(BindingTest, EditorIdleRunsTheOpenEditorsLoop) {
#ifdef _WIN32
    constexpr bool kHostLoop = false;
#else
    constexpr bool kHostLoop = true;
#endif
    const struct {
        bool open;
        int idles, gapMs;
    } cases[] = {{true, 2, 50}, {true, 10, 0}, {false, 3, 50}};
    for (const auto& c : cases) {
        Make();
        auto* editor = new WindowDouble(Object());
        Object()->BindGraphics(editor);
        int parent = 0;
        plug.Dispatch(EffectOp::kEditOpen, 0, 0, &parent);
        if (!c.open) plug.Dispatch(EffectOp::kEditClose);
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < c.idles; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(i ? c.gapMs : 0));
            plug.Dispatch(EffectOp::kEditIdle);
        }
        // However slow this machine, no two ticks come closer than 40 ms.
        const int mostTicks = 1 + static_cast<int>((std::chrono::steady_clock::now() - start) / 40ms);
        const bool driven = kHostLoop && c.open;
        EXPECT_EQ(editor->events, driven ? c.idles : 0) << c.idles;
        EXPECT_GE(editor->ticks, !driven ? 0 : c.gapMs >= 40 ? c.idles : 1) << c.idles;
        EXPECT_LE(editor->ticks, driven ? mostTicks : 0) << c.idles;
        EXPECT_EQ(Object()->editorLog.find("tick held"), std::string::npos);
        plug.Close();
    }
}

TEST_F(BindingTest, SetProgramKeepsTheEditsOfTheProgramLeft) {
    TestConfig config;
    config.presets = 2;
    Make(config);
    Object()->GetParam(TestVst::kGain)->SetValue(9.0);
    plug.Dispatch(EffectOp::kSetProgram, 0, 1);
    EXPECT_EQ(plug.Dispatch(EffectOp::kGetProgram), 1);
    EXPECT_EQ(Object()->GetParam(TestVst::kGain)->Value(), 5.0);
    plug.Dispatch(EffectOp::kSetProgram, 0, 0);
    EXPECT_EQ(Object()->GetParam(TestVst::kGain)->Value(), 9.0);
    plug.Dispatch(EffectOp::kSetProgram, 0, 99);  // no such program: nothing changes
    EXPECT_EQ(plug.Dispatch(EffectOp::kGetProgram), 0);
}

TEST_F(BindingTest, ParametersFromTheHost) {
    Make();
    auto* e = plug.effect;
    e->setParameter(e, TestVst::kSwitch, 0.34f);
    EXPECT_DOUBLE_EQ(Object()->GetParam(TestVst::kSwitch)->Value(), 0.3);
    ASSERT_EQ(Object()->changes.size(), 1u);
    EXPECT_EQ(Object()->changes[0].source, kSourceHost);
    e->setParameter(e, TestVst::kGain, -3.0f);
    EXPECT_EQ(Object()->GetParam(TestVst::kGain)->Value(), 0.0);
    e->setParameter(e, TestVst::kGain, NAN);
    EXPECT_EQ(Object()->GetParam(TestVst::kGain)->Value(), 0.0);
    e->setParameter(e, TestVst::kGain, 0.5f);
    EXPECT_EQ(e->getParameter(e, TestVst::kGain), 0.5f);
    e->setParameter(e, 3, 0.5f);
    EXPECT_EQ(Object()->changes.size(), 4u);
    EXPECT_EQ(e->getParameter(e, -1), 0.0f);
    EXPECT_EQ(e->getParameter(e, 3), 0.0f);
}

TEST_F(BindingTest, EditorGesturesAndEventsReachTheHost) {
    Make();
    TestVst* p = Object();
    p->BeginInformHostOfParamChange(1);
    p->SetParameterFromGUI(1, 0.25);
    p->EndInformHostOfParamChange(1);
    p->RequestHostRefresh();
    EXPECT_EQ(host.Opcodes(),
              (std::vector<int32_t>{HostOp::kBeginEdit, HostOp::kAutomate, HostOp::kEndEdit, HostOp::kUpdateDisplay}));
    EXPECT_EQ(host.calls[1].index, 1);
    EXPECT_EQ(host.calls[1].opt, 0.25f);

    IMidiEvent note{12, 0x90, 60, 100};
    EXPECT_TRUE(p->SendMidiEvent(&note));
    const uint8_t dump[] = {0xF0, 1, 2, 0xF7};
    ISysExEvent sysex{3, 4, dump};
    EXPECT_TRUE(p->SendSysExEvent(&sysex));
    ASSERT_EQ(host.midiReceived.size(), 1u);
    EXPECT_EQ(host.midiReceived[0].deltaFrames, 12);
    EXPECT_EQ(static_cast<uint8_t>(host.midiReceived[0].midiData[1]), 60);
    ASSERT_EQ(host.sysexReceived.size(), 1u);
    EXPECT_EQ(host.sysexReceived[0].size(), 4u);
    host.eventsAnswer = 0;
    EXPECT_FALSE(p->SendMidiEvent(&note));

    // Events from the host: MIDI goes to the plug-in (which echoes it), null entries are skipped.
    host.midiReceived.clear();
    host.eventsAnswer = 1;
    VstMidiEvent midi{};
    midi.type = kEventMidi;
    midi.midiData[0] = static_cast<char>(0x80);
    VstEvents list{};
    list.numEvents = 2;
    list.events[0] = nullptr;
    list.events[1] = reinterpret_cast<VstEvent*>(&midi);
    EXPECT_EQ(plug.Dispatch(EffectOp::kProcessEvents, 0, 0, &list), 1);
    ASSERT_EQ(host.midiReceived.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(host.midiReceived[0].midiData[0]), 0x80);
    EXPECT_TRUE(host.unexpected.empty());
}

// The host callback is never called under the plug-in lock from outside the audio thread: not
// for an editor edit, a chunk, or the host's identity at open.
TEST_F(BindingTest, HostIsCalledOutsideThePluginLock) {
    TestConfig config;
    config.doesChunks = true;
    Make(config);
    std::vector<int32_t> locked;
    host.onCall = [&](AEffect*, int32_t opcode) {
        if (Object()->GetMutex().IsHeldByCurrentThread()) locked.push_back(opcode);
    };
    plug.Open(44100.0f, 64);
    Object()->SetParameterFromGUI(TestVst::kGain, 0.25);
    for (const bool isProgram : {true, false}) plug.SetChunk(plug.GetChunk(isProgram), isProgram);
    EXPECT_EQ(host.Count(HostOp::kAutomate), 1);
    EXPECT_EQ(host.Count(HostOp::kGetProductString), 1);
    EXPECT_EQ(locked, std::vector<int32_t>{});
}

TEST_F(BindingTest, TransportQueries) {
    Make();
    TestVst* p = Object();
    VstTimeInfo& t = host.time;
    struct Case {
        double samplePos;
        int expected;
    } positions[] = {{99.5, 100}, {-10, 0}, {NAN, 0}, {4294967296.0 + 7, 7}, {1e300, 0}};
    for (const Case& c : positions) {
        t.samplePos = c.samplePos;
        EXPECT_EQ(p->HostSamplePosition(), c.expected) << c.samplePos;
    }

    t = VstTimeInfo{};
    t.flags = kTimeTempoValid | kTimeSignatureValid | kTimePpqValid | kTimeTransportPlaying;
    t.tempo = 0.0;
    t.samplePos = 480;
    t.ppqPos = 2.5;
    t.timeSigNumerator = 7;
    t.timeSigDenominator = 8;
    ITimeInfo info;
    info.tempo = 99;
    p->HostTimeInfo(&info);
    EXPECT_EQ(p->HostTempo(), 0.0);
    EXPECT_EQ(info.tempo, 99);  // a zero tempo is not taken
    EXPECT_EQ(info.samplePos, 480);
    EXPECT_EQ(info.ppqPos, 2.5);
    EXPECT_EQ(info.numerator, 7);
    EXPECT_TRUE(info.playing);
    EXPECT_FALSE(info.looping);
    t.tempo = 133;
    EXPECT_EQ(p->HostTempo(), 133);
    int num = -1, den = -1;
    p->HostTimeSignature(&num, &den);
    EXPECT_EQ(num * 100 + den, 708);

    host.hasTime = false;
    EXPECT_EQ(p->HostTempo(), 0.0);
    p->HostTimeSignature(&num, &den);
    EXPECT_EQ(num + den, 0);
    host.processLevel = 4;
    EXPECT_TRUE(p->IsOfflineProcessing());
    EXPECT_TRUE(host.unexpected.empty());
}

TEST(HostIdentity, ProductStringAndQuirks) {
    struct Case {
        const char* product;
        intptr_t version;
        int code, packedVersion;
        bool input2Connected, output2Connected;
    } cases[] = {
        {"", 50203, kHostUnknown, 0, true, false},
        {"Reaper", 50203, kHostReaper, 0x50203, true, false},
        {"Audition", 30000, kHostAudition, 0x30000, false, true},
    };
    for (const Case& c : cases) {
        Host host;
        host.productString = c.product;
        host.vendorVersion = c.version;
        TestConfig config;
        config.channelIo = "3-3";
        Plugin plug(TestVst::Create(config));
        TestVst* p = TestVst::Of(plug.effect);
        p->SetOutputsConnected(2, 1, false);
        plug.Dispatch(EffectOp::kOpen);
        EXPECT_EQ(p->GetHostCode(), c.code) << c.product;
        EXPECT_EQ(p->GetHostVersion(), c.packedVersion) << c.product;
        EXPECT_EQ(host.Count(HostOp::kGetProductString), 1) << c.product;
        EXPECT_EQ(p->GetInChannel(2)->connected, c.input2Connected) << c.product;
        EXPECT_EQ(p->GetOutChannel(2)->connected, c.output2Connected) << c.product;
        plug.Close();
    }
}

// The editor's thread asks who the host is while the host opens the plug-in on its main thread:
// both threads read its code and version whole.
TEST(HostIdentity, AskedFromTwoThreadsAtOnce) {
    constexpr int kInstances = 20;
    Host host;
    host.productString = "Reaper";
    for (int i = 0; i < kInstances; ++i) {
        Plugin plug(TestVst::Create());
        TestVst* p = TestVst::Of(plug.effect);
        int seen = 0;
        std::thread editor([&] { seen = p->GetHostCode(); });
        plug.Dispatch(EffectOp::kOpen);
        editor.join();
        EXPECT_EQ(seen, kHostReaper);
        EXPECT_EQ(p->GetHostCode(), kHostReaper);
        EXPECT_EQ(p->GetHostVersion(), 0x10000);
        plug.Close();
    }
}

// A host that calls back into the plug-in from inside its callback does not deadlock.
TEST_F(BindingTest, HostCallbackMayCallTheDispatcher) {
    Make();
    int nested = 0;
    host.onCall = [&](AEffect* e, int32_t opcode) {
        if (opcode == HostOp::kGetProductString)
            nested = static_cast<int>(e->dispatcher(e, EffectOp::kGetVstVersion, 0, 0, nullptr, 0));
    };
    plug.Dispatch(EffectOp::kOpen);
    EXPECT_EQ(nested, 2400);
}

// What a careless or failing host hands over: a record whose object is gone, no callback, no
// buffer arrays, a constructor that throws. Nothing crashes and nothing throws into the host.
TEST(Entries, SurviveMissingHostPieces) {
    Plugin plug(TestVst::Create(TestConfig(), nullptr));
    AEffect orphan = *plug.effect;
    orphan.object = nullptr;
    EXPECT_EQ(orphan.dispatcher(&orphan, EffectOp::kIdentify, 0, 0, nullptr, 0), 0);
    orphan.processReplacing(&orphan, nullptr, nullptr, 4);
    orphan.setParameter(&orphan, 0, 1.0f);
    EXPECT_EQ(orphan.getParameter(&orphan, 0), 0.0f);

    plug.Open(44100, 64);
    TestVst* p = TestVst::Of(plug.effect);
    EXPECT_EQ(p->HostSamplePosition(), 0);
    EXPECT_EQ(p->GetHostCode(), kHostUnknown);
    p->SetParameterFromGUI(0, 1.0);
    plug.effect->processReplacing(plug.effect, nullptr, nullptr, 64);
    plug.effect->processDoubleReplacing(plug.effect, nullptr, nullptr, 64);
    EXPECT_EQ(p->largestPiece, 0);
    plug.Close();
    EXPECT_EQ(IFxVST::CreateEffect(nullptr, []() -> IFxVST* { throw 1; }), nullptr);
}

// All three process entries, with blocks up to four times the announced size: the binding runs
// them in pieces, so nothing overflows and every input frame is processed.
TEST_F(BindingTest, ProcessEntriesInEveryModeAndBlockLength) {
    Make();
    plug.Open(44100, 64);
    std::vector<std::vector<double>> input(2, std::vector<double>(1000));
    for (int k = 0; k < 1000; ++k) input[0][k] = std::sin(k * 0.01), input[1][k] = 0.25 * (k % 7);
    for (auto mode : {Plugin::Mode::kReplacing, Plugin::Mode::kAccumulating, Plugin::Mode::kDouble}) {
        for (int block : {1, 63, 64, 200, 256}) {
            const auto output = plug.Run(input, 2, block, mode);
            for (int c = 0; c < 2; ++c)
                for (int k = 0; k < 1000; ++k)
                    ASSERT_NEAR(output[c][k], 0.5 * input[c][k], 1e-7)
                        << "block " << block << " channel " << c << " frame " << k;
        }
    }
    EXPECT_EQ(Object()->largestPiece, 64);
    EXPECT_EQ(Object()->GetBlockSize(), 64);
    EXPECT_EQ(host.Count(HostOp::kWantMidi), 0);  // asked every block only by a plug-in with MIDI

    // Accumulating adds to what the outputs held.
    float in[2] = {0.5f, 0.5f}, out[2] = {0.5f, 0.5f};
    float* ins[2] = {in, in};
    float* outs[2] = {out, out + 1};
    plug.effect->process(plug.effect, ins, outs, 1);
    EXPECT_FLOAT_EQ(out[0], 0.75f);
}

namespace {
// One block of 16 frames through an entry: inputs 0.5, outputs holding 7 before it, and the
// channel nullIn of the input array and nullOut of the output array null (-1: none).
template <typename Sample>
std::vector<std::vector<double>> HostBlock(AEffect* e, Plugin::Mode mode, int nullIn, int nullOut) {
    std::vector<Sample> in(16, Sample(0.5));
    std::vector<std::vector<Sample>> out(2, std::vector<Sample>(16, Sample(7)));
    Sample* ins[2] = {in.data(), in.data()};
    Sample* outs[2] = {out[0].data(), out[1].data()};
    if (nullIn >= 0) ins[nullIn] = nullptr;
    if (nullOut >= 0) outs[nullOut] = nullptr;
    if constexpr (sizeof(Sample) == sizeof(double))
        e->processDoubleReplacing(e, ins, outs, 16);
    else
        (mode == Plugin::Mode::kAccumulating ? e->process : e->processReplacing)(e, ins, outs, 16);
    return {{out[0].begin(), out[0].end()}, {out[1].begin(), out[1].end()}};
}
}  // namespace

// A null channel inside the host's arrays is unconnected for that block: a null input reads
// silence, a null output is not written. A block after a block size of 0 or less is not
// processed: the replacing entries leave silence, the accumulating one adds nothing.
TEST_F(BindingTest, NullChannelsAndUnprocessedBlocks) {
    Make();
    plug.Open(44100, 64);
    struct Case {
        int blockSize, nullIn, nullOut;
    } cases[] = {{64, 0, -1}, {64, 1, 0}, {64, -1, 1}, {0, -1, -1}, {-5, 0, 1}};
    for (const Case& c : cases) {
        plug.Dispatch(EffectOp::kSetBlockSize, 0, c.blockSize);
        for (auto mode : {Plugin::Mode::kReplacing, Plugin::Mode::kAccumulating, Plugin::Mode::kDouble}) {
            const auto out = mode == Plugin::Mode::kDouble ? HostBlock<double>(plug.effect, mode, c.nullIn, c.nullOut)
                                                           : HostBlock<float>(plug.effect, mode, c.nullIn, c.nullOut);
            for (int ch = 0; ch < 2; ++ch) {
                const bool processed = c.blockSize > 0 && ch != c.nullIn;
                const double held = mode == Plugin::Mode::kAccumulating ? 7.0 : 0.0;
                const double expected = ch == c.nullOut ? 7.0 : held + (processed ? 0.25 : 0.0);
                EXPECT_EQ(out[ch], std::vector<double>(16, expected))
                    << "block size " << c.blockSize << " mode " << static_cast<int>(mode) << " channel " << ch;
            }
        }
    }
}

// A block size no scratch buffer can take: a huge one is capped, and when the scratch cannot grow
// to the size asked, the block size stays and blocks are processed in pieces of what it holds.
TEST_F(BindingTest, BlockSizesBeyondMemory) {
    Make();
    plug.Open(44100, 64);
    plug.Dispatch(EffectOp::kSetBlockSize, 0, INT32_MAX);
    EXPECT_EQ(Object()->GetBlockSize(), IFxVST::kMaxBlockSize);
    plug.Dispatch(EffectOp::kSetBlockSize, 0, 64);

    GrowBuffer::SetAllocatorForTesting([](void*, unsigned long) -> void* { return nullptr; },
                                       [](unsigned long) -> void* { return nullptr; });
    plug.Dispatch(EffectOp::kSetBlockSize, 0, 4096);
    GrowBuffer::SetAllocatorForTesting(nullptr, nullptr);
    EXPECT_EQ(Object()->GetBlockSize(), 64);
    const std::vector<std::vector<double>> input(2, std::vector<double>(3000, 0.5));
    for (auto mode : {Plugin::Mode::kReplacing, Plugin::Mode::kDouble}) {
        const auto output = plug.Run(input, 2, 3000, mode);
        EXPECT_EQ(output[1][2999], 0.25);
    }
    EXPECT_EQ(Object()->largestPiece, 64);
}

// Process blocks on one thread while the host changes parameters and asks texts on another.
TEST_F(BindingTest, AudioAndDispatcherThreadsSerialize) {
    Make();
    plug.Open(44100, 128);
    std::thread audio([&] {
        for (int i = 0; i < 200; ++i)
            plug.Run({std::vector<double>(128, 1.0), std::vector<double>(128, 1.0)}, 2, 128, Plugin::Mode::kDouble);
    });
    for (int i = 0; i < 2000; ++i) {
        plug.effect->setParameter(plug.effect, TestVst::kGain, (i % 10) / 10.0f);
        plug.Text(EffectOp::kGetParamDisplay, TestVst::kGain);
    }
    audio.join();
    SUCCEED();
}
