// IFxVST: the effect record's audio and parameter entries. Each runs on whichever thread the
// host calls it from and holds the plug-in mutex for its whole call; the host owns every buffer.
#include <algorithm>
#include <cmath>

#include "framework/fpmode.h"
#include "framework/igraphics.h"
#include "framework/vst2/ifxvst.h"

using namespace Vst2;

namespace {
// A normalized value from the host, kept to 0..1 (a non-number counts as 0).
float ClampNormalized(float v) { return v > 0.0f ? std::min(v, 1.0f) : 0.0f; }
}  // namespace

float VST2_CALL IFxVST::VSTGetParameter(AEffect* effect, int32_t index) {
    IFxVST* plug = FromEffect(effect);
    if (!plug) return 0.0f;
    ScopedPlugLock lock(plug->GetMutex());
    const IFxParam* param = plug->GetParam(index);
    return param ? static_cast<float>(param->NormalizedValue()) : 0.0f;
}

// The editor's controls follow the host's value before the plug-in reacts to it.
void VST2_CALL IFxVST::VSTSetParameter(AEffect* effect, int32_t index, float value) {
    IFxVST* plug = FromEffect(effect);
    if (!plug) return;
    ScopedPlugLock lock(plug->GetMutex());
    IFxParam* param = plug->GetParam(index);
    if (!param) return;
    value = ClampNormalized(value);
    param->AssignNormalized(value);
    if (IGraphics* editor = plug->GetGraphics()) editor->PushParamToControls(index, value, true);
    plug->ParameterChanged(index, kSourceHost);
}

// The three process entries. The host bypasses by not calling them, so none looks at the bypass
// flag. Each block runs in the audio floating-point mode and gives the host its own back.
// Nothing here allocates.
void VST2_CALL IFxVST::VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    if (IFxVST* plug = FromEffect(effect)) plug->ProcessBlock(inputs, outputs, frames, Road::kFloatReplacing);
}

// Adds the results to what the output buffers hold.
void VST2_CALL IFxVST::VSTProcess(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    if (IFxVST* plug = FromEffect(effect)) plug->ProcessBlock(inputs, outputs, frames, Road::kFloatAccumulating);
}

void VST2_CALL IFxVST::VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs, int32_t frames) {
    if (IFxVST* plug = FromEffect(effect)) plug->ProcessBlock(inputs, outputs, frames, Road::kDouble);
}

void IFxVST::AttachHostBuffers(float** inputs, float** outputs, int frames) {
    AttachFloatInputs(0, NInChannels(), inputs, frames);
    AttachFloatOutputs(0, NOutChannels(), outputs);
}

// Nothing is processed without buffer arrays for the channels, or before any block size; the
// replacing entries then leave silence in the outputs, the accumulating one adds nothing.
template <typename Sample>
void IFxVST::ProcessBlock(Sample** inputs, Sample** outputs, int frames, Road road) {
    ScopedAudioFpMode fpMode;
    ScopedPlugLock lock(GetMutex());
    if (DoesMidi()) CallHost(HostOp::kWantMidi);
    if (frames <= 0) return;
    if (GetBlockSize() <= 0 || (!inputs && NInChannels() > 0) || (!outputs && NOutChannels() > 0)) {
        if (road != Road::kFloatAccumulating) SilenceHostBuffers(outputs, NOutChannels(), frames);
        return;
    }
    if constexpr (sizeof(Sample) == sizeof(float)) {
        AttachHostBuffers(inputs, outputs, frames);
        if (road == Road::kFloatAccumulating)
            ProcessAttachedAccumulating(frames);
        else
            ProcessAttachedFloat(frames);
    } else {
        AttachInputs(0, NInChannels(), inputs);
        AttachOutputs(0, NOutChannels(), outputs);
        ProcessAttached(frames);
    }
}
