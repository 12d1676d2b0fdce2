// IFxAAX: construction, the AAX parameters, the host's parameter updates and the core slots that
// report to the AAX host. Rendering and the chunk are in ifxaax_render.cpp.
#include "framework/aax/ifxaax.h"

#include <cmath>
#include <cstring>

#include "aax-library/aax_display.h"
#include "aax-library/aax_number.h"
#include "aax-library/aax_taper.h"
#include "aax-library/host_interface.h"
#include "framework/igraphics.h"

namespace {
constexpr int kPreparedBlockSize = 1024;  // a longer render runs in pieces of it
constexpr int kContinuousSteps = 128;
constexpr int32_t kTypeDiscrete = 0, kTypeContinuous = 1;
constexpr double kTicksPerQuarter = 960000.0;

// Host values are meant to be 0..1; anything else (a NaN too) is brought back into range.
double ClampUnit(double v) { return v > 0.0 ? (v < 1.0 ? v : 1.0) : 0.0; }

// The block's transport is the host's object, reached by slot number as host strings are.
enum TransportSlot {
    kReadTempo = 1,
    kReadMeter = 2,
    kReadPlaying = 3,
    kReadTicks = 4,
    kReadLoop = 5,
    kReadSamples = 6
};
template <class... A>
void ReadTransport(AAX_ITransport* transport, TransportSlot slot, A... out) {
    HostCall<int32_t>(reinterpret_cast<IACFUnknown*>(transport), slot, out...);
}

// "7" -> 6: the framework index of an AAX id; -1 when the text does not start with a digit.
int IndexOfId(const char* id) {
    if (!id || *id < '0' || *id > '9') return -1;
    long n = 0;
    for (; *id >= '0' && *id <= '9' && n < 0x7FFFFFF; ++id) n = n * 10 + (*id - '0');
    return int(n) - 1;
}

// A toggle's number shows the state the effect acts on: 0 below 0.5, 1 from 0.5 up.
class ToggleStateDisplay : public AAX_IDisplayDelegateDecorator<double> {
public:
    using AAX_IDisplayDelegateDecorator<double>::AAX_IDisplayDelegateDecorator;
    AAX_IDisplayDelegate<double>* ACF_CALL Clone() const override { return new ToggleStateDisplay(*this); }
    bool ACF_CALL FormatValue(double value, int32_t maxLength, AAX_CString& out) const override {
        return Wrapped().FormatValue(State(value), maxLength, out);
    }
    bool ACF_CALL FormatValue(double value, AAX_CString& out) const override {
        return Wrapped().FormatValue(State(value), out);
    }

private:
    static double State(double value) { return ToggleIsOn(value) ? 1.0 : 0.0; }
};
}  // namespace

// ---- AAX_CIFxParameters ----

AAX_CIFxParameters::AAX_CIFxParameters() = default;
AAX_CIFxParameters::~AAX_CIFxParameters() = default;

int32_t ACF_CALL AAX_CIFxParameters::Uninitialize() {
    mMasterBypass = nullptr;
    return AAX_CEffectParameters::Uninitialize();
}

int32_t ACF_CALL AAX_CIFxParameters::QueryCustomData(uint32_t dataId, void* out, uint32_t size) const {
    if (!out) return kAAXNullOut;
    const AAX_CIFxParameters* self = this;
    if (dataId == kFieldPrivate && size >= sizeof self)
        std::memcpy(out, &self, sizeof self);
    else
        std::memset(out, 0, size);
    return 0;
}

const char* AAX_CIFxParameters::ParamId(int paramIdx) const {
    const GrowString* id = mParamIds.Get(paramIdx);
    return id ? id->Get() : "";
}

// ---- IFxAAX: construction ----

IFxAAX::IFxAAX(const IFxOptions& options) : IFxBase(options, kApiAAX), mHostInputs(size_t(NInChannels())) {
    SetInputsConnected(0, NInChannels(), true);
    SetOutputsConnected(0, NOutChannels(), true);
    CreateLatencyLine();
    ChangeBlockSize(kPreparedBlockSize);
    SetHost("ProTools", options.version);
}

IFxAAX::~IFxAAX() {
    mParamIds.DeleteAll();
    mParamIds.Free();
}

// ---- Parameters ----

// Host thread, inside InitializeWithController. A second initialization starts the id list anew.
int32_t ACF_CALL IFxAAX::SetUpParameters() {
    mParamIds.DeleteAll();
    AAX_CString bypassId;
    MasterBypassId(&bypassId);
    auto* bypass =
        new AAX_CParameter<bool>(bypassId.Text(), AAX_CString("Master Bypass"), false, AAX_CBinaryTaperDelegate<bool>(),
                                 AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
    bypass->SetStepCount(2);
    bypass->SetType(kTypeDiscrete);
    mMasterBypass = bypass;
    if (!AddParameter(bypass)) {
        delete bypass;
        mMasterBypass = nullptr;
    }
    for (int i = 0; i < NParams(); ++i) {
        auto* id = new GrowString();
        id->SetFormatted(kAAXParameterIdSize - 1, "%i", i + 1);
        mParamIds.Add(id);
        AddFrameworkParameter(i, id->Get());
    }
    float rate = float(GetSampleRate());
    if (AAX_VController* controller = Controller(); controller && controller->ReadSampleRate(&rate) == 0)
        SetSampleRate(rate);
    ResetProcessing();
    // The plug-in's processing follows the values the host now sees (preset 0, the defaults),
    // as the VST3 binding's initialize makes it; until then it ran on its own start values.
    RestorePresetSlot(0);
    return 0;
}

// Bool and list parameters display as numbers with their label, like the continuous ones; a
// toggle shows its state (0 or 1) rather than the value in between.
void IFxAAX::AddFrameworkParameter(int index, const char* id) {
    const IFxParam* param = GetParam(index);
    const AAX_CString name(param->ParamNameText()), unit(param->ParamLabelText());
    AAX_IParameter* made = nullptr;
    switch (param->Kind()) {
        case kParamBool:
        case kParamList:
        case kParamDouble: {
            const AAX_CNumberDisplayDelegate<double> number;
            const ToggleStateDisplay toggle(number);
            const AAX_IDisplayDelegate<double>* shown = &number;
            if (param->Kind() == kParamBool) shown = &toggle;
            made = new AAX_CParameter<double>(
                id, name, param->Default(), AAX_CIFxTaperDelegate<double>(param->Min(), param->Max(), param->Shape()),
                AAX_CUnitDisplayDelegateDecorator<double>(*shown, unit), param->CanAutomate());
            made->SetStepCount(param->Kind() == kParamDouble ? kContinuousSteps : param->GetValueTextCount());
            break;
        }
        case kParamInt:
            made = new AAX_CParameter<int32_t>(
                id, name, int32_t(param->Default()),
                AAX_CLinearTaperDelegate<int32_t>(int32_t(param->Min()), int32_t(param->Max())),
                AAX_CUnitDisplayDelegateDecorator<int32_t>(AAX_CNumberDisplayDelegate<int32_t>(), unit),
                param->CanAutomate());
            made->SetStepCount(kContinuousSteps);
            break;
        case kParamNone: return;
    }
    made->SetType(kTypeContinuous);
    if (!AddParameter(made)) made->DeleteThis(1);
}

// Host thread (automation playback or the host's answer to an edit, possibly re-entrant from
// InformHostOfParamChange). The plug-in mutex is held only around the framework update.
int32_t ACF_CALL IFxAAX::UpdateParameterFromHost(const char* id, double value, int32_t) {
    AAX_IParameter* parameter = nullptr;
    if (ParameterById(id, &parameter) != 0 || !parameter) return kAAXUnknownParameter;
    const double normalized = ClampUnit(value);
    parameter->UpdateNormalizedValue(normalized);
    const int index = IndexOfId(id);
    if (index >= 0 && index < NParams()) {
        ScopedPlugLock lock(GetMutex());
        GetParam(index)->AssignNormalized(normalized);
        if (IGraphics* graphics = GetGraphics()) graphics->PushParamToControls(index, normalized, true);
        ParameterChanged(index, kSourceHost);
    }
    const int32_t result = PacketQueue().MarkDirty(id, true);
    CountChange();
    return result;
}

// ---- Core slots: edits from the editor go to the host through the library ----

void IFxAAX::BeginInformHostOfParamChange(int paramIdx) { TouchParameter(ParamId(paramIdx)); }

void IFxAAX::InformHostOfParamChange(int paramIdx, double normalized) {
    SetParameterNormalized(ParamId(paramIdx), normalized);
}

void IFxAAX::EndInformHostOfParamChange(int paramIdx) { ReleaseParameter(ParamId(paramIdx)); }

// ---- Core slots: the transport of the block being rendered ----

int IFxAAX::HostSamplePosition() {
    int64_t position = 0;
    if (mCurrentTransport) ReadTransport(mCurrentTransport, kReadSamples, &position);
    return int(uint32_t(uint64_t(position)));
}

double IFxAAX::HostTempo() {
    double tempo = 0.0;
    if (mCurrentTransport) ReadTransport(mCurrentTransport, kReadTempo, &tempo);
    return tempo;
}

void IFxAAX::HostTimeSignature(int* numerator, int* denominator) {
    if (!mCurrentTransport || !numerator || !denominator) return;
    int32_t n = *numerator, d = *denominator;
    ReadTransport(mCurrentTransport, kReadMeter, &n, &d);
    *numerator = n, *denominator = d;
}

void IFxAAX::HostTimeInfo(ITimeInfo* info) {
    if (!mCurrentTransport || !info) return;
    AAX_ITransport* transport = mCurrentTransport;
    ReadTransport(transport, kReadTempo, &info->tempo);
    ReadTransport(transport, kReadPlaying, &info->playing);
    ReadTransport(transport, kReadMeter, &info->numerator, &info->denominator);
    int64_t ticks = 0, samples = 0, loopStart = 0, loopEnd = 0;
    ReadTransport(transport, kReadTicks, &ticks);
    info->ppqPos = double(ticks) / kTicksPerQuarter;
    ReadTransport(transport, kReadSamples, &samples);
    info->samplePos = double(samples);
    ReadTransport(transport, kReadLoop, &info->looping, &loopStart, &loopEnd);
    info->cycleStart = double(loopStart) / kTicksPerQuarter;
    info->cycleEnd = double(loopEnd) / kTicksPerQuarter;
}

// ---- Core slots: latency and the editor's size ----

void IFxAAX::ChangeLatency(int samples) {
    IFxBase::ChangeLatency(samples);
    if (AAX_VController* controller = Controller()) controller->ReportLatency(GetLatency());
}

// Editor thread: asks the view container the editor lives in for the new size.
void IFxAAX::RequestEditorResize(int width, int height) {
    if (!GetGraphics() || !mViewContainer) return;
    const float size[2] = {float(height), float(width)};
    mViewContainer->ResizeView(size);
    EditorResized();
}
