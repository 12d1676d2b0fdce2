// IFxLV2: the ports and the block.
#include <climits>
#include <cmath>

#include "framework/fpmode.h"
#include "framework/igraphics.h"
#include "framework/lv2/ifxlv2.h"

// Never beside run; a port index beyond the layout is ignored.
void IFxLV2::ConnectPort(LV2_Handle instance, uint32_t port, void* data) {
    auto* plug = static_cast<IFxLV2*>(instance);
    const uint32_t params = static_cast<uint32_t>(plug->NParams());
    const uint32_t audio = static_cast<uint32_t>(plug->FirstAudioPort());
    const uint32_t channels = static_cast<uint32_t>(plug->mChannels);
    if (port < params)
        plug->mControls[port] = static_cast<const float*>(data);
    else if (port < audio)
        plug->mLatencyPort = static_cast<float*>(data);
    else if (port < audio + channels)
        plug->mAudioIn[port - audio] = static_cast<float*>(data);
    else if (port < audio + 2 * channels)
        plug->mAudioOut[port - audio - channels] = static_cast<float*>(data);
}

// Host's audio thread; holds the plug-in mutex for the whole block and allocates nothing. The
// block runs in the audio floating-point mode; the host gets its own back. Inputs and outputs may
// share buffers: the core reads every input before it writes. The bypass flag a state brought in
// is kept for the state's sake only: an LV2 host bypasses by not running the plug-in.
void IFxLV2::Run(LV2_Handle instance, uint32_t frames) {
    IFxLV2* plug = static_cast<IFxLV2*>(instance);
    ScopedAudioFpMode fpMode;
    ScopedPlugLock lock(plug->GetMutex());
    plug->ApplyControlPorts();
    if (plug->mLatencyPort) *plug->mLatencyPort = static_cast<float>(plug->GetLatency());
    plug->ProcessBlock(frames);
}

// A port's value is taken as the editor shows it; a switch is on from 0.5. A value that is no
// number is passed over.
void IFxLV2::ApplyControlPorts() {
    for (int i = 0; i < NParams(); ++i) {
        const float* port = mControls[i];
        if (!port || std::isnan(*port) || *port == mApplied[i]) continue;
        mApplied[i] = *port;
        IFxParam* param = GetParam(i);
        const double plain = param->Kind() == kParamBool ? (ToggleIsOn(*port) ? 1.0 : 0.0) : param->Clamp(*port);
        const double normalized = param->ToNormalized(plain);
        param->AssignNormalized(normalized);
        if (IGraphics* editor = GetGraphics()) editor->PushParamToControls(i, normalized, true);
        ParameterChanged(i, kSourceHost);
    }
}

// Without every audio buffer there is nothing to read or write.
void IFxLV2::ProcessBlock(uint32_t frames) {
    if (frames == 0) return;
    for (int c = 0; c < mChannels; ++c)
        if (!mAudioIn[c] || !mAudioOut[c]) return;
    const int n = frames > INT_MAX ? INT_MAX : static_cast<int>(frames);
    AttachFloatInputs(0, NInChannels(), mAudioIn.data(), n);
    AttachFloatOutputs(0, NOutChannels(), mAudioOut.data());
    ProcessAttachedFloat(n);
}
