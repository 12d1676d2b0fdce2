// What a host sees after initialize: buses, exported parameters and their conversions, units,
// the program list, the MIDI mapping and bus arrangement requests.
#include <gtest/gtest.h>

#include "host_doubles.h"

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
}  // namespace

TEST(Vst3Controller, BusesOfTheStereoEffect) {
    Plugin p;
    EXPECT_EQ(p.plug->GetHostCode(), kHostUnknown);
    EXPECT_EQ(p.plug->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(p.plug->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(p.plug->getBusCount(kEvent, kInput), 0);
    BusInfo in{}, out{};
    ASSERT_EQ(p.plug->getBusInfo(kAudio, kInput, 0, in), kResultOk);
    ASSERT_EQ(p.plug->getBusInfo(kAudio, kOutput, 0, out), kResultOk);
    EXPECT_EQ(Utf8(in.name), "Main Input");
    EXPECT_EQ(Utf8(out.name), "Output");
    EXPECT_EQ(in.channelCount, 2);
    EXPECT_EQ(out.channelCount, 2);
    EXPECT_EQ(in.busType, kMain);
    EXPECT_EQ(in.flags, BusInfo::kDefaultActive);
}

TEST(Vst3Controller, ParameterListAndFlags) {
    Plugin p;
    IEditController* c = p.plug;
    ASSERT_EQ(c->getParameterCount(), 10);
    const ParameterInfo preset = InfoAt(c, 0), bypass = InfoAt(c, 1);
    EXPECT_EQ(preset.id, 0x70727374u);
    EXPECT_EQ(preset.flags, ParameterInfo::kIsProgramChange);
    EXPECT_EQ(preset.stepCount, 1);
    EXPECT_EQ(bypass.id, 0x62706173u);
    EXPECT_EQ(bypass.flags, 0x10009);
    EXPECT_EQ(bypass.stepCount, 1);
    for (int i = 0; i < 8; ++i) {
        const ParameterInfo info = InfoAt(c, 2 + i);
        EXPECT_EQ(info.id, static_cast<ParamID>(i));
        EXPECT_EQ(Utf8(info.title), p.plug->GetParam(i)->ParamNameText());
        EXPECT_EQ(info.unitId, kRootUnitId);
    }
    EXPECT_EQ(InfoAt(c, 2 + TavrelZel4::kHiss).flags, ParameterInfo::kIsList | ParameterInfo::kCanAutomate);
    EXPECT_EQ(InfoAt(c, 2 + TavrelZel4::kTone).flags, ParameterInfo::kCanAutomate);
    ParameterInfo none{};
    EXPECT_NE(c->getParameterInfo(10, none), kResultOk);
}

// Defaults and conversions follow each parameter's own shape ("Tone" and "Level" are squared).
TEST(Vst3Controller, ShapedDefaultsAndConversions) {
    Plugin p;
    IEditController* c = p.plug;
    EXPECT_DOUBLE_EQ(InfoAt(c, 2 + TavrelZel4::kTone).defaultNormalizedValue, 0.5);
    EXPECT_DOUBLE_EQ(InfoAt(c, 2 + TavrelZel4::kLevel).defaultNormalizedValue, 0.5);
    EXPECT_DOUBLE_EQ(InfoAt(c, 2 + TavrelZel4::kHiss).defaultNormalizedValue, 1.0);
    EXPECT_DOUBLE_EQ(InfoAt(c, 2 + TavrelZel4::kDryWet).defaultNormalizedValue, 1.0);
    EXPECT_DOUBLE_EQ(InfoAt(c, 2 + TavrelZel4::kBypass).defaultNormalizedValue, 0.0);

    EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(TavrelZel4::kTone, 0.5), 25.0);
    EXPECT_DOUBLE_EQ(c->plainParamToNormalized(TavrelZel4::kTone, 25.0), 0.5);
    EXPECT_DOUBLE_EQ(c->getParamNormalized(TavrelZel4::kTone), 0.5);

    String128 text;
    ASSERT_EQ(c->getParamStringByValue(TavrelZel4::kTone, 0.5, text), kResultOk);
    ParamValue back = -1;
    ASSERT_EQ(c->getParamValueByString(TavrelZel4::kTone, text, back), kResultOk);
    EXPECT_NEAR(back, 0.5, 1e-9);
    ASSERT_EQ(c->getParamStringByValue(TavrelZel4::kHiss, 1.0, text), kResultOk);
    EXPECT_EQ(Utf8(text), "on");
    String128 off, loud;
    toString128("off", off);
    toString128("loud", loud);
    ASSERT_EQ(c->getParamValueByString(TavrelZel4::kHiss, off, back), kResultOk);
    EXPECT_EQ(back, 0.0);
    EXPECT_EQ(c->getParamValueByString(TavrelZel4::kTone, loud, back), kResultFalse);

    // The host tags have no plug-in texts; unknown ids convert to themselves.
    EXPECT_EQ(c->getParamStringByValue(IFxVST3::kBypassTag, 1.0, text), kResultFalse);
    EXPECT_EQ(c->getParamStringByValue(IFxVST3::kPresetTag, 0.0, text), kResultFalse);
    EXPECT_DOUBLE_EQ(c->plainParamToNormalized(12345, 0.25), 0.25);

    EXPECT_EQ(c->setParamNormalized(TavrelZel4::kLevel, 1.0), kResultOk);
    EXPECT_DOUBLE_EQ(p.plug->GetParam(TavrelZel4::kLevel)->Value(), 100.0);
    EXPECT_EQ(c->setParamNormalized(IFxVST3::kBypassTag, 1.0), kResultFalse);
}

TEST(Vst3Controller, UnitsProgramsAndMidiMapping) {
    Plugin p;
    EXPECT_EQ(p.plug->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(p.plug->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(Utf8(unit.name), "Root Unit");
    EXPECT_EQ(unit.parentUnitId, -1);
    EXPECT_EQ(unit.programListId, -1);
    EXPECT_EQ(p.plug->getUnitInfo(1, unit), kResultFalse);
    EXPECT_EQ(p.plug->getUnitInfo(-1, unit), kResultFalse);

    EXPECT_EQ(p.plug->getProgramListCount(), 0);
    ProgramListInfo list{};
    ASSERT_EQ(p.plug->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, static_cast<int32>(IFxVST3::kPresetTag));
    EXPECT_EQ(Utf8(list.name), "Factory Presets");
    EXPECT_EQ(list.programCount, 1);
    String128 name;
    ASSERT_EQ(p.plug->getProgramName(list.id, 0, name), kResultOk);
    EXPECT_EQ(Utf8(name), "-");
    ASSERT_EQ(p.plug->getProgramName(list.id, 5, name), kResultOk);
    EXPECT_EQ(Utf8(name), "");
    EXPECT_EQ(p.plug->getProgramName(7, 0, name), kResultFalse);

    // No MIDI: no mapping, and the host's id is left alone.
    ParamID id = 4242;
    EXPECT_EQ(p.plug->getMidiControllerAssignment(0, 0, 7, id), kResultFalse);
    EXPECT_EQ(id, 4242u);

    void* obj = nullptr;
    ASSERT_EQ(p.plug->queryInterface(IUnitInfo::iid, &obj), kResultOk);
    EXPECT_EQ(obj, static_cast<IUnitInfo*>(p.plug));
    p.plug->release();
    EXPECT_STREQ(p.plug->isA(), "IFxVST3");
    EXPECT_TRUE(p.plug->isTypeOf("ComponentBase"));
    EXPECT_FALSE(p.plug->isTypeOf("ComponentBase", false));
}

TEST(Vst3Controller, BusArrangements) {
    Plugin p;
    SpeakerArrangement mono = SpeakerArr::kMono, stereo = SpeakerArr::kStereo, quad = SpeakerArr::k40Music;
    // Illegal: refused, and the buses stay as they are.
    EXPECT_EQ(p.plug->setBusArrangements(&quad, 1, &quad, 1), kResultFalse);
    EXPECT_EQ(p.plug->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse);
    EXPECT_EQ(p.plug->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    BusInfo in{}, out{};
    p.plug->getBusInfo(kAudio, kInput, 0, in);
    p.plug->getBusInfo(kAudio, kOutput, 0, out);
    EXPECT_EQ(Utf8(in.name), "Input");
    EXPECT_EQ(Utf8(out.name), "Output");
    EXPECT_EQ(in.channelCount, 1);
    EXPECT_EQ(out.channelCount, 1);
    EXPECT_EQ(p.plug->getBusCount(kAudio, kInput), 1);
    // The replaced buses keep the activation the host gave them.
    SpeakerArrangement arr = 0;
    EXPECT_EQ(p.plug->getBusArrangement(kOutput, 0, arr), kResultOk);
    EXPECT_EQ(arr, SpeakerArr::kMono);
}

namespace {
// A plug-in of other shapes than the effect's: groups, sidechain, instrument, no presets.
class Shaped : public IFxVST3 {
public:
    Shaped(int presets, bool instrument, int sidechain, const char* io)
        : IFxVST3(3, io, presets, "Shaped", "", "Maker", 1, 1, 1, 0, false, false, instrument, sidechain) {
        GetParam(0)->DefineRange("A", 0, 0, 1, 0.1, "", "Tone", 1.0);
        GetParam(1)->DefineRange("B", 0, 0, 1, 0.1, "", "Drive", 1.0);
        GetParam(2)->DefineRange("C", 0, 0, 1, 0.1, "", "Tone", 1.0);
    }
};

std::vector<ParamID> Ids(IFxVST3* plug) {
    std::vector<ParamID> ids;
    for (int32 i = 0; i < plug->getParameterCount(); ++i) {
        ParameterInfo info{};
        plug->getParameterInfo(i, info);
        ids.push_back(info.id);
    }
    return ids;
}
}  // namespace

TEST(Vst3Controller, OtherPluginShapes) {
    HostApp host;
    auto* grouped = new Shaped(0, false, 3, "4-2");
    grouped->initialize(&host);
    EXPECT_EQ(Ids(grouped), (std::vector<ParamID>{IFxVST3::kBypassTag, 0, 1, 2}));
    EXPECT_EQ(grouped->SidechainChannels(), 2);
    ParameterInfo info{};
    grouped->getParameterInfo(3, info);
    EXPECT_EQ(info.unitId, 1);  // shares the first group's unit
    EXPECT_EQ(grouped->getUnitCount(), 3);
    UnitInfo unit{};
    ASSERT_EQ(grouped->getUnitInfo(2, unit), kResultOk);
    EXPECT_EQ(Utf8(unit.name), "Drive");
    EXPECT_EQ(unit.parentUnitId, 0);
    BusInfo aux{};
    ASSERT_EQ(grouped->getBusInfo(kAudio, kInput, 1, aux), kResultOk);
    EXPECT_EQ(Utf8(aux.name), "Aux Input");
    EXPECT_EQ(aux.busType, kAux);
    EXPECT_EQ(aux.channelCount, 2);
    grouped->terminate();
    grouped->release();

    auto* instrument = new Shaped(1, true, 0, "0-4");
    instrument->initialize(&host);
    EXPECT_EQ(Ids(instrument), (std::vector<ParamID>{IFxVST3::kPresetTag, 0, 1, 2}));
    EXPECT_EQ(instrument->getBusCount(kAudio, kInput), 0);
    ASSERT_EQ(instrument->getBusCount(kAudio, kOutput), 2);
    BusInfo second{};
    instrument->getBusInfo(kAudio, kOutput, 1, second);
    EXPECT_EQ(Utf8(second.name), "Output 2");
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
