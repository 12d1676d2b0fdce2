// The VST3 binding in-process, for what needs the plug-in's internals or the native sanitizers;
// what a host sees through the built module is checked end to end under tests/hosts/vst3.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <thread>
#include <vector>

#include "effect/vst3/module_entry.h"
#include "framework/igraphics.h"
#include "framework/igraphicswin.h"
#include "host_doubles.h"
#include "sdk/vst3/contextmenu.h"
#include "sdk/vst3/pluginfactory.h"
#include "sdk/vst3/plugview.h"
#include "sdk/vst3/processcontext.h"

using namespace testhost;

namespace {
std::string Utf8(const TChar* text) {
    char out[512];
    fromString128(text, out, sizeof out);
    return out;
}

ParameterInfo InfoAt(IEditController* c, int32 index) {
    ParameterInfo info{};
    EXPECT_EQ(c->getParameterInfo(index, info), kResultOk);
    return info;
}

std::vector<double> Signal(int frames, int channel) {
    std::vector<double> v(frames);
    for (int i = 0; i < frames; ++i) v[i] = 0.6 * std::sin(0.031 * i * (channel + 1)) + 0.2 * std::sin(0.7 * i);
    return v;
}

std::vector<char> Chunk(const std::vector<double>& values, int32 bypass, bool trailer = true) {
    std::vector<char> bytes(values.size() * 8 + (trailer ? 4 : 0));
    std::memcpy(bytes.data(), values.data(), values.size() * 8);
    if (trailer) std::memcpy(bytes.data() + values.size() * 8, &bypass, 4);
    return bytes;
}

std::vector<double> Values(TavrelZel4* plug) {
    std::vector<double> v;
    for (int i = 0; i < plug->NParams(); ++i) v.push_back(plug->GetParam(i)->Value());
    return v;
}

const std::vector<double> kStored{1, 12.5, 81, 49, 0, 0, 30, 1};
}  // namespace

TEST(Vst3Factory, SharedWhileAliveRebuiltAfterLastReleaseAndCreatesOnlyItsClass) {
    IClassFactory* first = GetPluginFactory();
    IClassFactory* second = GetPluginFactory();
    EXPECT_EQ(first, second);
    EXPECT_EQ(second->countClasses(), 1);  // no second registration
    EXPECT_EQ(second->release(), 1u);
    EXPECT_EQ(first->release(), 0u);
    IClassFactory* factory = GetPluginFactory();  // the slot no longer refers to the freed one
    EXPECT_EQ(factory->countClasses(), 1);

    void* obj = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->createInstance(kTavrelZel4ClassId, IClassFactory::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
    ASSERT_EQ(factory->createInstance(kTavrelZel4ClassId, Vst::IComponent::iid, &obj), kResultOk);
    auto* component = static_cast<Vst::IComponent*>(obj);
    TUID controller;
    EXPECT_EQ(component->getControllerClassId(controller), kNotImplemented);
    EXPECT_EQ(component->release(), 0u);  // the host held the only reference
    factory->release();
}

// Threads getting and releasing the factory at once: a release that brings the count to 0 must
// never let another thread pick up the factory it is deleting (ASan catches the use after free).
TEST(Vst3Factory, ConcurrentGetAndReleaseNeverHandOutAFreedFactory) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 5000; ++i) {
                IClassFactory* f = GetPluginFactory();
                ASSERT_NE(f, nullptr);
                EXPECT_EQ(f->countClasses(), 1);
                f->release();
            }
        });
    for (auto& t : threads) t.join();
}

// Defaults and conversions follow each parameter's own shape ("Tone" and "Level" are squared).
TEST(Vst3Controller, ShapedDefaultsAndConversions) {
    Plugin p;
    IEditController* c = p.plug;
    const int params[] = {TavrelZel4::kTone, TavrelZel4::kLevel, TavrelZel4::kHiss, TavrelZel4::kBypass};
    const double defaults[] = {0.5, 0.5, 1.0, 0.0};
    for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(InfoAt(c, 2 + params[i]).defaultNormalizedValue, defaults[i]);
    EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(TavrelZel4::kTone, 0.5), 25.0);

    String128 text;
    ASSERT_EQ(c->getParamStringByValue(TavrelZel4::kTone, 0.5, text), kResultOk);
    ParamValue back = -1;
    ASSERT_EQ(c->getParamValueByString(TavrelZel4::kTone, text, back), kResultOk);
    EXPECT_NEAR(back, 0.5, 1e-9);
    String128 off, loud;
    toString128("off", off);
    toString128("loud", loud);
    ASSERT_EQ(c->getParamValueByString(TavrelZel4::kHiss, off, back), kResultOk);
    EXPECT_EQ(back, 0.0);
    EXPECT_EQ(c->getParamValueByString(TavrelZel4::kTone, loud, back), kResultFalse);
    for (double v : {0.4, 0.6}) {  // a switch reads as the effect acts on it: on from 0.5 up
        ASSERT_EQ(c->getParamStringByValue(TavrelZel4::kBypass, v, text), kResultOk);
        EXPECT_EQ(Utf8(text), v < 0.5 ? "off" : "on");
    }
    // The preset parameter's text is its normalized value, which stays in 0..1.
    const std::pair<const char*, double> presets[] = {{"0.5", 0.5}, {"7", 1.0}, {"-3", 0.0}};
    for (const auto& [typed, normalized] : presets) {
        String128 preset;
        toString128(typed, preset);
        ASSERT_EQ(c->getParamValueByString(IFxVST3::kPresetTag, preset, back), kResultOk) << typed;
        EXPECT_EQ(back, normalized) << typed;
    }

    // The host tags have no plug-in texts; unknown ids convert to themselves.
    EXPECT_EQ(c->getParamStringByValue(IFxVST3::kBypassTag, 1.0, text), kResultFalse);
    EXPECT_EQ(c->getParamStringByValue(IFxVST3::kPresetTag, 0.0, text), kResultFalse);
    EXPECT_DOUBLE_EQ(c->plainParamToNormalized(12345, 0.25), 0.25);

    EXPECT_EQ(c->setParamNormalized(TavrelZel4::kLevel, 1.0), kResultOk);
    EXPECT_DOUBLE_EQ(p.plug->GetParam(TavrelZel4::kLevel)->Value(), 100.0);
}

TEST(Vst3Controller, UnitsProgramsAndMidiMapping) {
    Plugin p;
    EXPECT_EQ(p.plug->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(p.plug->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(Utf8(unit.name), "Root Unit");
    EXPECT_EQ(unit.parentUnitId, -1);
    EXPECT_EQ(p.plug->getUnitInfo(1, unit), kResultFalse);

    ProgramListInfo list{};
    ASSERT_EQ(p.plug->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, static_cast<int32>(IFxVST3::kPresetTag));
    EXPECT_EQ(list.programCount, 1);
    String128 name;
    ASSERT_EQ(p.plug->getProgramName(list.id, 0, name), kResultOk);
    EXPECT_EQ(Utf8(name), "-");
    EXPECT_EQ(p.plug->getProgramName(7, 0, name), kResultFalse);

    // No MIDI: no mapping, and the host's id is left alone.
    ParamID id = 4242;
    EXPECT_EQ(p.plug->getMidiControllerAssignment(0, 0, 7, id), kResultFalse);
    EXPECT_EQ(id, 4242u);
}

TEST(Vst3Controller, BusArrangements) {
    Plugin p;
    SpeakerArrangement mono = SpeakerArr::kMono, stereo = SpeakerArr::kStereo, quad = SpeakerArr::k40Music;
    // Illegal: refused, and the buses stay as they are.
    EXPECT_EQ(p.plug->setBusArrangements(&quad, 1, &quad, 1), kResultFalse);
    EXPECT_EQ(p.plug->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse);
    EXPECT_EQ(p.plug->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    BusInfo in{};
    p.plug->getBusInfo(kAudio, kInput, 0, in);
    EXPECT_EQ(Utf8(in.name), "Input");
    EXPECT_EQ(in.channelCount, 1);
    EXPECT_EQ(p.plug->getBusCount(kAudio, kInput), 1);
    SpeakerArrangement arr = 0;
    EXPECT_EQ(p.plug->getBusArrangement(kOutput, 0, arr), kResultOk);
    EXPECT_EQ(arr, SpeakerArr::kMono);
}

namespace {
// A plug-in of other shapes than the effect's: groups, sidechain, instrument, no presets.
class Shaped : public IFxVST3 {
public:
    Shaped(int presets, bool instrument, int sidechain, const char* io)
        : IFxVST3(Options(presets, instrument, io), sidechain) {
        GetParam(0)->DefineRange("A", 0, 0, 1, 0.1, "", "Tone", 1.0);
        GetParam(1)->DefineRange("B", 0, 0, 1, 0.1, "", "Drive", 1.0);
        GetParam(2)->DefineRange("C", 0, 0, 1, 0.1, "", "Tone", 1.0);
    }

private:
    static IFxOptions Options(int presets, bool instrument, const char* io) {
        IFxOptions options;
        options.nParams = 3;
        options.channelIo = io;
        options.nPresets = presets;
        options.effectName = "Shaped";
        options.makerName = "Maker";
        options.version = options.uniqueId = options.makerId = 1;
        options.isInstrument = instrument;
        return options;
    }
};

std::vector<ParamID> Ids(IFxVST3* plug) {
    std::vector<ParamID> ids;
    for (int32 i = 0; i < plug->getParameterCount(); ++i) ids.push_back(InfoAt(plug, i).id);
    return ids;
}
}  // namespace

TEST(Vst3Controller, OtherPluginShapes) {
    HostApp host;
    auto* grouped = new Shaped(0, false, 3, "4-2");
    grouped->initialize(&host);
    EXPECT_EQ(Ids(grouped), (std::vector<ParamID>{IFxVST3::kBypassTag, 0, 1, 2}));
    EXPECT_EQ(grouped->SidechainChannels(), 2);
    EXPECT_EQ(InfoAt(grouped, 3).unitId, 1);  // shares the first group's unit
    EXPECT_EQ(grouped->getUnitCount(), 3);
    BusInfo aux{};
    ASSERT_EQ(grouped->getBusInfo(kAudio, kInput, 1, aux), kResultOk);
    EXPECT_EQ(aux.busType, kAux);
    grouped->terminate();
    grouped->release();

    auto* instrument = new Shaped(1, true, 0, "0-4");
    instrument->initialize(&host);
    EXPECT_EQ(Ids(instrument), (std::vector<ParamID>{IFxVST3::kPresetTag, 0, 1, 2}));
    EXPECT_EQ(instrument->getBusCount(kAudio, kInput), 0);
    EXPECT_EQ(instrument->getBusCount(kAudio, kOutput), 2);
    instrument->terminate();
    instrument->release();
}

// A host name filling all 128 units is cut, not read past; a known name is identified.
TEST(Vst3Controller, HostName) {
    Plugin longName(std::string(200, 'x').c_str());
    EXPECT_EQ(longName.plug->GetHostCode(), kHostUnknown);
    Plugin wavelab("WaveLab 8");
    EXPECT_EQ(wavelab.plug->GetHostCode(), kHostWaveLab);
}

// One block longer than the set-up announced is processed in pieces of the announced size.
TEST(Vst3Process, LongBlockEqualsTheEffectInPieces) {
    constexpr int kFrames = 1000, kMaxBlock = 256;
    std::vector<std::vector<double>> input{Signal(kFrames, 0), Signal(kFrames, 1)};
    Plugin ref;
    ref.Setup(kSample64, kMaxBlock);
    std::vector<std::vector<double>> expected(2, std::vector<double>(kFrames));
    for (int at = 0; at < kFrames; at += kMaxBlock) {
        double* in[] = {input[0].data() + at, input[1].data() + at};
        double* o[] = {expected[0].data() + at, expected[1].data() + at};
        ScopedPlugLock lock(ref.plug->GetMutex());
        ref.plug->ProcessDoubles(in, o, std::min(kMaxBlock, kFrames - at));
    }
    Plugin p;
    p.Setup(kSample64, kMaxBlock);
    std::vector<std::vector<double>> out(2, std::vector<double>(kFrames));
    double* in[] = {input[0].data(), input[1].data()};
    double* o[] = {out[0].data(), out[1].data()};
    p.Process<double>(nullptr, in, o, kFrames);
    EXPECT_EQ(out, expected);
    EXPECT_GT(std::fabs(out[0][500] - input[0][500]), 1e-6);  // the effect did something
}

// A maximum block size no memory can hold is limited, and blocks still run. A block whose sample
// size is not the set-up's, or any block after a set-up without a block size, is not processed:
// its outputs get silence in the block's own width, and null channels are skipped.
TEST(Vst3Process, HugeBlockSizesAndMismatchedSampleSizes) {
    for (int32 maxBlock : {int32{1} << 28, std::numeric_limits<int32>::max()}) {
        Plugin p;
        p.Setup(kSample32, maxBlock);
        EXPECT_EQ(p.plug->GetBlockSize(), IFxBase::kMaxBlockSize);
        std::vector<float> a(64, 0.25f), b(64, 0.25f), oa(64, 7.0f), ob(64, 7.0f);
        float* in[] = {a.data(), b.data()};
        float* out[] = {oa.data(), ob.data()};
        p.Process(nullptr, in, out, 64);
        EXPECT_NE(oa[63], 7.0f) << maxBlock;
        EXPECT_TRUE(std::isfinite(oa[63])) << maxBlock;
    }
    {
        // A size whose memory cannot be had is refused, and the last set-up stays.
        Plugin p;
        p.Setup(kSample32, 64);
        GrowBuffer::SetAllocatorForTesting([](void*, unsigned long) -> void* { return nullptr; },
                                           [](unsigned long) -> void* { return nullptr; });
        ProcessSetup bigger{kRealtime, kSample64, 4096, 96000.0};
        EXPECT_EQ(p.plug->setupProcessing(bigger), kResultFalse);
        GrowBuffer::SetAllocatorForTesting(nullptr, nullptr);
        EXPECT_EQ(p.plug->GetBlockSize(), 64);
        EXPECT_EQ(p.plug->GetSampleRate(), 48000.0);
    }
    struct Case {
        int32 setupSize, maxBlock, blockSize;
        bool nullChannel;
    } cases[] = {
        {kSample64, 64, kSample32, false}, {kSample32, 64, kSample64, true}, {kSample32, 0, kSample32, true},
        {kSample64, -1, kSample64, false}, {kSample64, 0, kSample32, false},
    };
    for (const Case& c : cases) {
        Plugin p;
        p.Setup(c.setupSize, c.maxBlock);
        std::vector<double> a(64, 0.25), b(64, 0.25), oa(64, 7.0), ob(64, 7.0);
        std::vector<float> fa(64, 0.25f), fb(64, 0.25f), foa(64, 7.0f), fob(64, 7.0f);
        double* in[] = {a.data(), b.data()};
        double* out[] = {oa.data(), c.nullChannel ? nullptr : ob.data()};
        float* fin[] = {fa.data(), fb.data()};
        float* fout[] = {foa.data(), c.nullChannel ? nullptr : fob.data()};
        if (c.blockSize == kSample32)
            p.Process<float>(nullptr, fin, fout, 64);
        else
            p.Process<double>(nullptr, in, out, 64);
        const bool floats = c.blockSize == kSample32;
        EXPECT_EQ(foa, std::vector<float>(64, floats ? 0.0f : 7.0f)) << c.setupSize << " " << c.maxBlock;
        EXPECT_EQ(fob, std::vector<float>(64, floats && !c.nullChannel ? 0.0f : 7.0f));
        EXPECT_EQ(oa, std::vector<double>(64, floats ? 7.0 : 0.0)) << c.setupSize << " " << c.maxBlock;
        EXPECT_EQ(ob, std::vector<double>(64, !floats && !c.nullChannel ? 0.0 : 7.0));
    }
}

// A host that sets the bypass on the controller reads back what it set, and the audio follows,
// on both sample sizes.
TEST(Vst3Controller, BypassSetOnTheControllerReadsBack) {
    for (int32 size : {kSample32, kSample64}) {
        Plugin p;
        p.Setup(size);
        for (double v : {1.0, 0.0, 1.0}) {
            EXPECT_EQ(p.plug->setParamNormalized(IFxVST3::kBypassTag, v), kResultOk);
            EXPECT_EQ(p.plug->getParamNormalized(IFxVST3::kBypassTag), v) << size;
            EXPECT_EQ(p.plug->IsBypassed(), v > 0.5);
        }
    }
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
    EXPECT_FALSE(p.plug->IsBypassed());        // exactly 0.5 is off
    EXPECT_EQ(changes.queues[2].badReads, 0);  // an empty queue is not read
}

TEST(Vst3Process, MissingAndInactiveBuses) {
    Plugin p;
    p.Setup(kSample64);
    Changes on;
    on.Add(IFxVST3::kBypassTag, {1.0});
    std::vector<double> oa(64, 7.0), ob(64, 7.0);
    double* out[] = {oa.data(), ob.data()};
    std::vector<double> a(64, 0.5), b(64, 0.5);
    double* in[] = {a.data(), b.data()};
    p.Process<double>(&on, in, out, 64);
    // No input bus: the inputs read silence, never the last block's buffers.
    p.Process<double>(nullptr, nullptr, out, 64);
    EXPECT_EQ(oa, std::vector<double>(64, 0.0));
    EXPECT_EQ(ob, std::vector<double>(64, 0.0));

    // An inactive output bus leaves the host's buffers as they are.
    p.plug->activateBus(kAudio, kOutput, 0, false);
    std::vector<double> sa(64, 7.0), sb(64, 7.0);
    double* sink[] = {sa.data(), sb.data()};
    p.Process<double>(nullptr, in, sink, 64);
    EXPECT_EQ(sa, std::vector<double>(64, 7.0));

    // Buses without channel arrays and flush blocks are harmless; the queues still apply.
    ProcessData data{};
    AudioBusBuffers bare[2] = {{2, 0, {}}, {2, 0, {}}};
    data.symbolicSampleSize = kSample64;
    data.numSamples = 64;
    data.numInputs = data.numOutputs = 2;
    data.inputs = data.outputs = bare;
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
    EXPECT_EQ(p.plug->GetBlockSize(), 128);
    EXPECT_EQ(p.plug->canProcessSampleSize(2), kResultFalse);

    // A bypass set before a new set-up (e.g. by a restored state) survives it.
    p.plug->SetBypassed(true);
    ProcessSetup offline{kOffline, kSample32, 512, 96000.0};
    EXPECT_EQ(p.plug->setupProcessing(offline), kResultOk);
    EXPECT_TRUE(p.plug->IsBypassed());
    EXPECT_TRUE(p.plug->IsOfflineProcessing());

    ProcessContext context{};
    context.state = ProcessContext::kPlaying | ProcessContext::kCycleActive;
    context.projectTimeSamples = (int64{1} << 32) + 5;
    context.tempo = 133.0;
    context.timeSigNumerator = 7;
    context.timeSigDenominator = 8;
    ProcessData data{};
    data.processContext = &context;
    p.plug->process(data);
    ITimeInfo info;
    p.plug->HostTimeInfo(&info);
    EXPECT_EQ(info.samplePos, 4294967301.0);
    EXPECT_EQ(p.plug->HostSamplePosition(), 5);
    EXPECT_EQ(info.tempo, 133.0);
    EXPECT_TRUE(info.playing && info.looping);
    int num = 0, den = 0;
    p.plug->HostTimeSignature(&num, &den);
    EXPECT_EQ(num * 100 + den, 708);
}

TEST(Vst3State, SaveRefusedByAFullStreamAndRestoreFromTheStreamPosition) {
    Plugin p;
    MemoryStream full;
    full.writeLimit = 66;  // takes fewer bytes than the chunk has: no saved state
    EXPECT_EQ(p.plug->getState(&full), kResultFalse);
    EXPECT_EQ(p.plug->getState(nullptr), kInvalidArgument);

    // The controller's entry runs the same restore, from the stream's position at that call.
    std::vector<char> prefixed(10, 'x');
    const std::vector<char> chunk = Chunk(kStored, 5);
    prefixed.insert(prefixed.end(), chunk.begin(), chunk.end());
    MemoryStream at(prefixed);
    at.pos = 10;
    ASSERT_EQ(p.plug->setComponentState(&at), kResultOk);
    EXPECT_EQ(Values(p.plug), kStored);
    EXPECT_TRUE(p.plug->IsBypassed());  // any non-zero flag
    EXPECT_EQ(p.plug->getParamNormalized(IFxVST3::kBypassTag), 1.0);
    EXPECT_EQ(at.pos, 78);
}

TEST(Vst3State, PartialStreams) {
    Plugin p;
    p.plug->SetBypassed(true);
    EXPECT_EQ(p.plug->setState(nullptr), kInvalidArgument);
    // Without the trailer: the values are taken, the bypass kept, and the answer is false.
    MemoryStream noTrailer(Chunk(kStored, 0, false));
    EXPECT_EQ(p.plug->setState(&noTrailer), kResultFalse);
    EXPECT_EQ(Values(p.plug), kStored);
    EXPECT_TRUE(p.plug->IsBypassed());

    // Cut inside the parameter block: refused, and the bypass is not read from parameter bytes.
    p.plug->SetBypassed(false);
    std::vector<char> cut = Chunk({0, 1, 2, 3}, 0, false);
    cut.insert(cut.end(), {1, 0, 0, 0});
    MemoryStream shortStream(cut);
    EXPECT_EQ(p.plug->setState(&shortStream), kResultFalse);
    EXPECT_FALSE(p.plug->IsBypassed());
    for (double v : Values(p.plug)) EXPECT_FALSE(std::isnan(v));
}

// Reads that report failure after delivering bytes end the restore, except for the one host
// known to answer every read that way.
TEST(Vst3State, FailingReads) {
    for (const char* host : {"Test Host", "WaveLab 8"}) {
        const bool quirky = std::string(host) == "WaveLab 8";
        Plugin p(host);
        MemoryStream failing(Chunk(kStored, 1));
        failing.failReads = true;
        EXPECT_EQ(p.plug->setState(&failing), quirky ? kResultOk : kResultFalse) << host;
        EXPECT_EQ(p.plug->IsBypassed(), quirky) << host;
        EXPECT_EQ(Values(p.plug) == kStored, quirky) << host;
    }
}

namespace {
// The audio thread of the tests below: 300 blocks that automate "Dist. Amount", "Tone" and the
// bypass, then done is set.
void AutomatedBlocks(Plugin& p, std::atomic<bool>& done) {
    std::vector<float> a(64, 0.25f), b(64, -0.25f), oa(64), ob(64);
    float* in[] = {a.data(), b.data()};
    float* out[] = {oa.data(), ob.data()};
    for (int i = 0; i < 300; ++i) {
        Changes changes;
        changes.Add(TavrelZel4::kDistAmount, {(i % 10) / 10.0});
        changes.Add(TavrelZel4::kTone, {(i % 7) / 7.0});
        changes.Add(IFxVST3::kBypassTag, {i % 3 == 0 ? 1.0 : 0.0});
        p.Process(&changes, in, out, 64);
        if (!std::isfinite(oa[63])) {
            ADD_FAILURE() << "non-finite output in block " << i;
            break;
        }
    }
    done = true;
}
}  // namespace

// Where threads meet (run under ThreadSanitizer by the tsan preset): blocks on an audio thread,
// state saved and restored on another, and instances made and released through one factory on
// two more while the host holds the factory.
TEST(Vst3Threads, ProcessStateAndFactoryTogether) {
    Plugin p;
    p.Setup(kSample32, 64);
    std::atomic<bool> audioDone{false};
    std::thread audio(AutomatedBlocks, std::ref(p), std::ref(audioDone));
    std::thread state([&] {
        for (int i = 0; i < 200 || !audioDone; ++i) {
            MemoryStream saved;
            ASSERT_EQ(p.plug->getState(&saved), kResultOk);
            saved.pos = 0;
            ASSERT_EQ(p.plug->setState(&saved), kResultOk);
        }
    });
    IClassFactory* factory = GetPluginFactory();
    auto makeAndRelease = [factory] {
        for (int i = 0; i < 20; ++i) {
            void* obj = nullptr;
            ASSERT_EQ(factory->createInstance(kTavrelZel4ClassId, Vst::IComponent::iid, &obj), kResultOk);
            static_cast<Vst::IComponent*>(obj)->release();
        }
    };
    std::thread makers[] = {std::thread(makeAndRelease), std::thread(makeAndRelease)};
    for (std::thread& t : makers) t.join();
    factory->release();
    audio.join();
    state.join();
}

// A host's UI thread sets, reads and formats values on the controller while the audio thread runs
// blocks that automate the same parameters and the bypass (ThreadSanitizer watches the values).
TEST(Vst3Threads, ControllerCallsBesideProcessing) {
    Plugin p;
    p.Setup(kSample32, 64);
    std::atomic<bool> audioDone{false};
    std::thread audio(AutomatedBlocks, std::ref(p), std::ref(audioDone));
    IEditController* c = p.plug;
    const ParamID ids[] = {TavrelZel4::kTone, TavrelZel4::kDistAmount, IFxVST3::kBypassTag, TavrelZel4::kHiss};
    for (int i = 0; i < 300 || !audioDone; ++i) {
        const ParamID id = ids[i % 4];
        c->setParamNormalized(id, (i % 5) / 4.0);
        const ParamValue v = c->getParamNormalized(id);
        ASSERT_TRUE(v >= 0.0 && v <= 1.0) << v;
        String128 text;
        ParamValue back = 0;
        if (c->getParamStringByValue(id, v, text) == kResultOk) c->getParamValueByString(id, text, back);
    }
    audio.join();
}

// The editor's timer ticks and paints on the UI thread while the audio thread's blocks push the
// automated values into its controls (ThreadSanitizer watches the controls' values and dirty
// state); once the blocks end, the next ticks draw the last value and leave the editor clean.
TEST(Vst3Threads, EditorTicksBesideAutomatedProcessing) {
    Plugin p;
    p.Setup(kSample32, 64);
    IEditorView* view = p.plug->createView("editor");
    auto* editor = static_cast<IGraphicsWin*>(p.plug->GetGraphics());
    ASSERT_TRUE(view && editor);
    auto tick = [editor] {
        IBounds area = editor->TimerTick();
        if (!area.Empty()) editor->PaintArea(&area);
    };
    std::atomic<bool> audioDone{false};
    std::thread audio(AutomatedBlocks, std::ref(p), std::ref(audioDone));
    while (!audioDone) tick();
    audio.join();
    for (int i = 0; i < 3; ++i) tick();
    EXPECT_TRUE(editor->DirtyArea().Empty());
    const IControl* tone = nullptr;
    for (int i = 0; i < editor->NControls(); ++i)
        if (editor->GetControl(i)->ParamIdx() == TavrelZel4::kTone) tone = editor->GetControl(i);
    ASSERT_NE(tone, nullptr);
    EXPECT_EQ(tone->Value(), 5 / 7.0);  // the last block's
    view->release();
}

namespace {
// A component handler that also offers parameter menus, recording what the plug-in asks.
class MenuHandler : public Stub<IComponentHandler>, public IComponentHandler3, public IContextMenu {
public:
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        if (iidEqual(iid, IComponentHandler3::iid)) {
            *obj = static_cast<IComponentHandler3*>(this);
            return kResultOk;
        }
        return Stub<IComponentHandler>::queryInterface(iid, obj);
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return ++releases; }
    tresult PLUGIN_API beginEdit(ParamID id) override { return Log("begin", id); }
    tresult PLUGIN_API performEdit(ParamID id, ParamValue) override { return Log("perform", id); }
    tresult PLUGIN_API endEdit(ParamID id) override { return Log("end", id); }
    tresult PLUGIN_API restartComponent(int32 flags) override { return Log("restart", flags); }
    IContextMenu* PLUGIN_API createContextMenu(IEditorView* view, const ParamID* id) override {
        menuView = view;
        Log("menu", *id);
        return this;
    }
    int32 PLUGIN_API getItemCount() override { return 0; }
    tresult PLUGIN_API getItem(int32, Item&, IContextMenuTarget**) override { return kResultFalse; }
    tresult PLUGIN_API addItem(const Item&, IContextMenuTarget*) override { return kResultFalse; }
    tresult PLUGIN_API removeItem(const Item&, IContextMenuTarget*) override { return kResultFalse; }
    tresult PLUGIN_API popup(UCoord x, UCoord y) override { return Log("popup", x * 1000 + y); }

    tresult Log(const char* what, int64 value) {
        if (onCall) onCall();
        log += what + std::to_string(value) + " ";
        return kResultOk;
    }
    std::string log;
    std::function<void()> onCall;  // told of every logged call
    IEditorView* menuView = nullptr;
    int releases = 0;
};

// Answers a resize request at once, as hosts do.
class Frame : public Stub<IEditorFrame> {
public:
    tresult PLUGIN_API resizeView(IEditorView* view, ViewRect* rect) override {
        asked.push_back(*rect);
        return view->onSize(rect);
    }
    std::vector<ViewRect> asked;
};

}  // namespace

// The host's stream and component handler are called while the plug-in lock is free, so the
// audio thread never waits on them: saving, both restores, an editor edit and a latency change.
TEST(Vst3State, HostIsCalledOutsideThePluginLock) {
    Plugin p;
    int calls = 0, locked = 0;
    auto note = [&] { ++calls, locked += p.plug->GetMutex().IsHeldByCurrentThread(); };
    MenuHandler handler;
    handler.onCall = note;
    p.plug->setComponentHandler(&handler);
    MemoryStream saved;
    saved.onCall = note;
    ASSERT_EQ(p.plug->getState(&saved), kResultOk);
    MemoryStream restore(saved.data), again(saved.data);
    restore.onCall = again.onCall = note;
    EXPECT_EQ(p.plug->setState(&restore), kResultOk);
    EXPECT_EQ(p.plug->setComponentState(&again), kResultOk);
    p.plug->SetParameterFromGUI(3, 0.25);
    p.plug->ChangeLatency(64);
    EXPECT_EQ(handler.log, "perform3 restart8 ");
    EXPECT_GE(calls, 10);  // at least a write, per restore a tell, two reads and a seek, and the two edits
    EXPECT_EQ(locked, 0);
    p.plug->setComponentHandler(nullptr);
}

TEST(Vst3View, EditorViewAndHostNotifications) {
    Plugin p;
    MenuHandler handler;
    p.plug->setComponentHandler(&handler);
    EXPECT_EQ(p.plug->createView("Editor"), nullptr);
    EXPECT_EQ(p.plug->createView(nullptr), nullptr);
    p.plug->OpenHostParamMenu(2, 5, 6);  // no view open: no menu
    IEditorView* view = p.plug->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(p.plug->NOpenViews(), 1);
    EXPECT_EQ(view->isPlatformTypeSupported(kOwnWindowType), kResultOk);
    EXPECT_EQ(view->isPlatformTypeSupported("NSView"), kResultFalse);
    ViewRect size;
    EXPECT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), 410);
    EXPECT_EQ(size.getHeight(), 460);
    EXPECT_EQ(view->attached(nullptr, kOwnWindowType), kResultFalse);    // no window could open: not attached
    EXPECT_EQ(view->attached(nullptr, kOtherWindowType), kResultFalse);  // only this platform's windows
    EXPECT_EQ(view->removed(), kResultOk);

    p.plug->OpenHostParamMenu(2, 5, 6);
    EXPECT_EQ(handler.menuView, view);
    p.plug->BeginInformHostOfParamChange(3);
    p.plug->SetParameterFromGUI(3, 0.25);
    p.plug->EndInformHostOfParamChange(3);
    p.plug->ChangeLatency(64);
    EXPECT_EQ(handler.log, "menu2 popup5006 begin3 perform3 end3 restart8 ");
    EXPECT_EQ(p.plug->GetLatency(), 64);

    Frame frame;
    view->setFrame(&frame);
    IGraphics* editor = p.plug->GetGraphics();
    editor->ResizeGui(410, 460);  // the size it has: nothing happens
    EXPECT_TRUE(frame.asked.empty());
    EXPECT_EQ(editor->NControls(), 11);
    editor->ResizeGui(300, 200);  // the editor starts over empty, and the host is asked
    ASSERT_EQ(frame.asked.size(), 1u);
    EXPECT_EQ(frame.asked[0].getWidth(), 300);
    EXPECT_EQ(frame.asked[0].getHeight(), 200);
    EXPECT_EQ(editor->NControls(), 0);
    EXPECT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), 300);
    ViewRect unasked{0, 0, 10, 10};
    EXPECT_EQ(view->onSize(&unasked), kResultOk);
    EXPECT_EQ(view->onSize(nullptr), kResultOk);
    view->setFrame(nullptr);

    view->release();
    EXPECT_EQ(p.plug->NOpenViews(), 0);
    p.plug->setComponentHandler(nullptr);
}
