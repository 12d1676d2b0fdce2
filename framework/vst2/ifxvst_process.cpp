// IFxVST: the effect record's audio and parameter entries. Each runs on whichever thread the
// host calls it from and holds the plug-in mutex for its whole call; the host owns every buffer.
#include <algorithm>
#include <cmath>

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
// flag. Nothing here allocates.
void VST2_CALL IFxVST::VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    if (IFxVST* plug = FromEffect(effect)) plug->ProcessBlock(inputs, outputs, frames, Road::kFloatReplacing);
}

// Adds the results to what the output buffers hold.
void VST2_CALL IFxVST::VSTProcess(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    if (IFxVST* plug = FromEffect(effect)) plug->ProcessBlock(inputs, outputs, frames, Road::kFloatAccumulating);
}

void VST2_CALL IFxVST::VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                                 int32_t frames) {
    if (IFxVST* plug = FromEffect(effect)) plug->ProcessBlock(inputs, outputs, frames, Road::kDouble);
}

void IFxVST::AttachHostBuffers(float** inputs, float** outputs, int frames) {
    AttachFloatInputs(0, NInChannels(), inputs, frames);
    AttachFloatOutputs(0, NOutChannels(), outputs);
}

namespace {
// The host's buffers of the connected channels, advanced to offset.
template <typename Sample>
Sample** Advance(Sample** host, int connected, std::vector<void*>& piece, int offset) {
    auto** out = reinterpret_cast<Sample**>(piece.data());
    for (int i = 0; i < connected; ++i) out[i] = host[i] + offset;
    return out;
}

template <typename Channels>
int ConnectedCount(const Channels& get, int n) {
    int connected = 0;
    for (int i = 0; i < n; ++i) connected += get(i)->connected ? 1 : 0;
    return connected;
}
}  // namespace

// The frames every channel's scratch buffer holds: the block size, or less when the scratch
// could not grow to it.
int IFxVST::ScratchFrames() const {
    int frames = GetBlockSize();
    for (int i = 0; i < NInChannels(); ++i)
        frames = std::min(frames, GetInChannel(i)->scratch.GetSize() / static_cast<int>(sizeof(double)));
    for (int i = 0; i < NOutChannels(); ++i)
        frames = std::min(frames, GetOutChannel(i)->scratch.GetSize() / static_cast<int>(sizeof(double)));
    return frames;
}

// A block longer than the scratch buffers (normally the block size the host announced) is run in
// pieces that fit, so they never overflow and no input is lost.
template <typename Sample>
void IFxVST::ProcessBlock(Sample** inputs, Sample** outputs, int frames, Road road) {
    ScopedPlugLock lock(GetMutex());
    if (DoesMidi()) CallHost(HostOp::kWantMidi);
    const int piece = ScratchFrames();
    if (frames <= 0 || piece <= 0) return;
    if ((!inputs && NInChannels() > 0) || (!outputs && NOutChannels() > 0)) return;
    if (frames <= piece) {
        ProcessPiece(inputs, outputs, frames, road);
        return;
    }
    const int nIn = ConnectedCount([this](int i) { return GetInChannel(i); }, NInChannels());
    const int nOut = ConnectedCount([this](int i) { return GetOutChannel(i); }, NOutChannels());
    for (int offset = 0; offset < frames; offset += piece) {
        const int n = std::min(piece, frames - offset);
        ProcessPiece(Advance(inputs, nIn, mPieceIn, offset), Advance(outputs, nOut, mPieceOut, offset), n, road);
    }
}

template <typename Sample>
void IFxVST::ProcessPiece(Sample** inputs, Sample** outputs, int frames, Road road) {
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
