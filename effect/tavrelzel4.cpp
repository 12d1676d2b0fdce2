#include "effect/tavrelzel4.h"

#include <cmath>
#include <cstring>
#include <new>

#include "effect/oversampling.h"
#include "effect/product.h"
#include "effect/stereo_block.h"
#include "effect/zl4.h"
#include "framework/plugmutex.h"

namespace {
// What the plug-in declares; the rest keeps IFxOptions' defaults: no product name beside the
// effect's, no latency, no MIDI, no chunks, an effect.
IFxOptions Declaration() {
    IFxOptions options;
    options.nParams = TavrelZel4::kNumParams;
    options.channelIo = Product::kChannelIo;
    options.nPresets = 1;
    options.effectName = Product::kName;
    options.makerName = Product::kVendor;
    options.version = Product::kVersion;
    options.uniqueId = Product::kUniqueId;
    options.makerId = Product::kMakerId;
    return options;
}
}  // namespace

TavrelZel4::TavrelZel4()
    : PluginBinding(Declaration()), mLeft(std::make_unique<zl4>()), mRight(std::make_unique<zl4>()) {
    DefineParameters();
    BuildEditor();
    FillDefaultPresets("-", 1);
    // The models run at the usual rate and factor even if a host processes before its set-up.
    ResetProcessing();
}

TavrelZel4::~TavrelZel4() = default;

void TavrelZel4::DefineParameters() {
    GetParam(kBypass)->DefineToggle("Bypass", false, "", "");
    GetParam(kDistAmount)->DefineRange("Dist. Amount", 0, 0, 100, 0.1, "", "", 1.0);
    GetParam(kDistAmount)->SetCurve(1.0);
    GetParam(kTone)->DefineRange("Tone", 25, 0, 100, 0.1, "", "", 1.0);
    GetParam(kTone)->SetCurve(2.0);
    GetParam(kLevel)->DefineRange("Level", 25, 0, 100, 0.1, "", "", 1.0);
    GetParam(kLevel)->SetCurve(2.0);
    GetParam(kSaturation)->DefineToggle("Analog Saturation", true, "", "");
    GetParam(kHiss)->DefineToggle("Analog Hiss", true, "", "");
    GetParam(kDryWet)->DefineRange("Dry/Wet", 100, 0, 100, 0.1, "", "", 1.0);
    GetParam(kCompensation)->DefineToggle("Output compensation", true, "", "");
}

void TavrelZel4::ParameterChanged(int paramIdx, int /*source*/) {
    ScopedPlugLock lock(GetMutex());
    if (static_cast<unsigned>(paramIdx) >= kNumParams) return;
    const IFxParam* param = GetParam(paramIdx);
    const double plain = param->Value();
    const double normalized = param->NormalizedValue();
    for (zl4* model : {LeftModel(), RightModel()}) {
        switch (paramIdx) {
            case kBypass: model->SetBypass(ToggleIsOn(plain)); break;
            case kDistAmount: model->SetDistortion(normalized); break;
            case kTone: model->SetTone(normalized); break;
            case kLevel: model->SetLevel(normalized); break;
            case kSaturation: model->SetSaturation(ToggleIsOn(plain)); break;
            case kHiss: model->SetHiss(ToggleIsOn(plain)); break;
            case kDryWet: model->SetMix(normalized); break;
            case kCompensation: model->SetCompensation(ToggleIsOn(plain)); break;
        }
    }
    if (paramIdx == kBypass && GetGraphics()) ShowActiveOnLed(!ToggleIsOn(plain));
}

void TavrelZel4::ResetProcessing() {
    ScopedPlugLock lock(GetMutex());
    const double fs = GetSampleRate();
    // A rate that no int holds (or no number at all) is not passed on; the models keep theirs.
    const int hz = fs >= 1.0 && fs < 2147483648.0 ? static_cast<int>(fs) : 0;
    const int factor = OversamplingForSampleRate(fs);
    zl4* const models[] = {LeftModel(), RightModel()};
    for (zl4* model : models) model->SetSampleRate(hz);
    for (zl4* model : models) model->SetOversampling(factor);
    for (zl4* model : models) model->SetChannels(1);
    for (zl4* model : models) {
        model->ResetFilters();
        model->Reserve(GetBlockSize());  // so the audio thread need not allocate
    }
}

// Each channel is processed in its output buffer: the host's input buffers are read-only.
void TavrelZel4::ProcessDoubles(double** inputs, double** outputs, int frames) {
    if (frames < 1) return;
    for (int c = 0; c < 2; ++c)
        if (outputs[c] != inputs[c]) std::memcpy(outputs[c], inputs[c], sizeof(double) * static_cast<size_t>(frames));
    ProcessStereoBlock(*mLeft, *mRight, outputs[0], outputs[1], frames);
}

TavrelZel4* CreateInstance() {
    static PlugMutex creationLock;
    ScopedPlugLock lock(creationLock);
    try {
        return new TavrelZel4();
    } catch (...) {
        return nullptr;  // no exception may reach the host
    }
}
