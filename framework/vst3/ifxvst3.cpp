// IFxVST3: construction, the host's initialize with the exported buses and parameters, and the interface query.
#include "framework/vst3/ifxvst3.h"

#include <cstring>

#include "sdk/vst3/hostapplication.h"
#include "sdk/vst3/strings.h"

using namespace Sdk;
using namespace Sdk::Vst;

namespace {
constexpr int kMaxSidechainChannels = 2;
constexpr int kMidiControllers = 128;
}  // namespace

IFxVST3::IFxVST3(const IFxOptions& options, int sidechainChannels)
    : IFxBase(options, kApiVST3),
      mSidechainChannels(sidechainChannels),
      mHostIn(NInChannels()),
      mHostOut(NOutChannels()),
      mConnectedIn(NInChannels()),
      mConnectedOut(NOutChannels()) {
    SetInputsConnected(0, NInChannels(), true);
    SetOutputsConnected(0, NOutChannels(), true);
    CreateLatencyLine();
    LabelInputBus(0, "Main Input");
    if (mSidechainChannels != 0) LabelInputBus(1, "Aux Input");
    if (options.isInstrument) {
        for (int k = 0; 2 * k < NOutChannels(); ++k) {
            GrowString label;
            label.SetFormatted(kParamTextSize - 1, "Output %i", k + 1);
            LabelOutputBus(k, label.Get());
        }
    } else {
        LabelOutputBus(0, "Output");
    }
}

IFxVST3::~IFxVST3() = default;

SpeakerArrangement IFxVST3::SpeakerArrangementForChannels(int channels) {
    switch (channels) {
        case 1: return SpeakerArr::kMono;
        case 2: return SpeakerArr::kStereo;
        case 3: return SpeakerArr::k30Music;
        case 4: return SpeakerArr::kBFormat1stOrder;
        case 5: return SpeakerArr::k50;
        case 6: return SpeakerArr::k51;
        default: return SpeakerArr::kEmpty;
    }
}

tresult PLUGIN_API IFxVST3::queryInterface(const TUID iid, void** obj) {
    if (tryInterface<IUnitInfo>(iid, obj, this)) return kResultOk;
    if (tryInterface<IMidiMapping>(iid, obj, this)) return kResultOk;
    return SingleComponentEffect::queryInterface(iid, obj);
}

// Host's main thread, before any other call but the factory's; takes the plug-in lock only to
// restore preset 0 (inside the core's ReadState). The host name is kept and preset 0 restored
// even when the SDK part refuses (then without buses or parameters).
tresult PLUGIN_API IFxVST3::initialize(FUnknown* context) {
    const tresult result = SingleComponentEffect::initialize(context);
    if (FUnknownPtr<IHostApplication> app(context); app) {
        String128 name{};
        app->getName(name);
        name[127] = 0;  // a host may fill all 128 units
        char text[kNameSize];
        fromString128(name, text, sizeof text);
        SetHost(text, 0);
    }
    if (result == kResultOk) {
        AddBuses();
        AddParameters();
    }
    HostKnown();
    RestorePresetSlot(0);
    return result;
}

void IFxVST3::AddBuses() {
    const int mainInputs = NInChannels() - mSidechainChannels;
    if (mainInputs >= 1 && mainInputs <= 6)
        addAudioInput(UString128(GetInputBusLabel(0)), SpeakerArrangementForChannels(mainInputs));
    if (IsInstrument()) {
        for (int k = 0; 2 * k < NOutChannels(); ++k)
            addAudioOutput(UString128(GetOutputBusLabel(k)), SpeakerArr::kStereo);
    } else {
        addAudioOutput(UString128(GetOutputBusLabel(0)), SpeakerArrangementForChannels(NOutChannels()));
    }
    if (mSidechainChannels != 0) {
        if (mSidechainChannels > kMaxSidechainChannels) mSidechainChannels = kMaxSidechainChannels;
        addAudioInput(UString128(GetInputBusLabel(1)),
                      mSidechainChannels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo, kAux, 0);
    }
    if (DoesMidi()) addEventInput(UString128("MIDI Input"), 1);
}

void IFxVST3::AddParameters() {
    if (NPresets() > 0)
        parameters.addParameter(new Parameter(UString128("Preset"), kPresetTag, UString128(""), 0.0, NPresets(),
                                              ParameterInfo::kIsProgramChange, kRootUnitId));
    if (!IsInstrument()) {
        auto* bypass =
            new StringListParameter(UString128("Bypass"), kBypassTag, nullptr,
                                    ParameterInfo::kIsBypass | ParameterInfo::kIsList | ParameterInfo::kCanAutomate);
        bypass->appendString(UString128("off"));
        bypass->appendString(UString128("on"));
        parameters.addParameter(bypass);
    }
    for (int i = 0; i < NParams(); ++i) AddFrameworkParameter(i);
    if (DoesMidi()) {
        for (int c = 0; c < kMidiControllers; ++c) {
            auto* cc = new RangeParameter(UString128("MIDI CC"), static_cast<ParamID>(NParams() + c), UString128(""), 0,
                                          127, 0, 0, ParameterInfo::kCanAutomate, kRootUnitId);
            cc->setPrecision(1);
            parameters.addParameter(cc);
        }
    }
}

// The host sees the parameter's own shaped normalized value as its default, so "reset to
// default" lands on the plug-in's default.
void IFxVST3::AddFrameworkParameter(int index) {
    const IFxParam* param = GetParam(index);
    const UnitID unit = UnitForGroup(param->ParamGroupText());
    const int32 automate = param->CanAutomate() ? ParameterInfo::kCanAutomate : 0;
    const ParamID id = static_cast<ParamID>(index);
    Parameter* exported = nullptr;
    switch (param->Kind()) {
        case kParamBool:
        case kParamList: {
            auto* list =
                new StringListParameter(UString128(param->ParamNameText()), id, UString128(param->ParamLabelText()),
                                        ParameterInfo::kIsList | automate, unit);
            for (int v = 0; v < param->GetValueTextCount(); ++v) list->appendString(UString128(param->GetValueText(v)));
            exported = list;
            break;
        }
        case kParamInt:
        case kParamDouble: {
            auto* range =
                new RangeParameter(UString128(param->ParamNameText()), id, UString128(param->ParamLabelText()),
                                   param->Min(), param->Max(), param->Default(), 0, automate, unit);
            range->setPrecision(param->DisplayPrecision());
            exported = range;
            break;
        }
        case kParamNone: return;
    }
    const double defaultNormalized = param->ToNormalized(param->Default());
    exported->getInfo().defaultNormalizedValue = defaultNormalized;
    exported->setNormalized(defaultNormalized);
    parameters.addParameter(exported);
}

// Unit ids of parameter groups: 1-based positions in the group list, by exact text; the list
// outlives terminate, so ids stay stable across re-initialisation.
UnitID IFxVST3::UnitForGroup(const char* group) {
    if (!group || !*group) return kRootUnitId;
    for (size_t i = 0; i < mGroups.size(); ++i)
        if (std::strcmp(mGroups[i], group) == 0) return static_cast<UnitID>(i + 1);
    mGroups.push_back(group);
    return static_cast<UnitID>(mGroups.size());
}

IFxParam* IFxVST3::FrameworkParam(ParamID id) const {
    return id < static_cast<ParamID>(NParams()) ? GetParam(static_cast<int>(id)) : nullptr;
}
