// IFxCLAP: process, with the host's parameter events applied at their frames, and the events
// the plug-in hands back.
#include <algorithm>
#include <cstring>

#include "framework/clap/ifxclap.h"
#include "framework/fpmode.h"
#include "framework/igraphics.h"

namespace {
template <typename Sample>
void Silence(Sample** buffers, uint32_t channels, uint32_t frames) {
    for (uint32_t c = 0; buffers && c < channels; ++c)
        if (buffers[c]) std::memset(buffers[c], 0, sizeof(Sample) * frames);
}

// Every output buffer of the block, in whichever sample size it comes.
void SilenceOutputs(const Clap::Process& process) {
    for (uint32_t k = 0; process.audio_outputs && k < process.audio_outputs_count; ++k) {
        const Clap::AudioBuffer& port = process.audio_outputs[k];
        Silence(port.data32, port.channel_count, process.frames_count);
        Silence(port.data64, port.channel_count, process.frames_count);
    }
}

// Port 0's buffer, or null when the block has none.
const Clap::AudioBuffer* MainPort(const Clap::AudioBuffer* ports, uint32_t count) {
    return ports && count > 0 ? &ports[0] : nullptr;
}

// A port's channel pointers moved to frame offset, one per plug-in channel (null where the port
// has no buffer). A port carries 32-bit samples unless it only has 64-bit ones.
bool TakeChannels(const Clap::AudioBuffer* port, uint32_t offset, std::vector<float*>& to32, std::vector<double*>& to64,
                  int channels) {
    const bool wide = port && !port->data32 && port->data64;
    for (int c = 0; c < channels; ++c) {
        const bool there = port && static_cast<uint32_t>(c) < port->channel_count;
        float* s32 = there && port->data32 ? port->data32[c] : nullptr;
        double* s64 = there && wide ? port->data64[c] : nullptr;
        to32[c] = s32 ? s32 + offset : nullptr;
        to64[c] = s64 ? s64 + offset : nullptr;
    }
    return wide;
}
}  // namespace

// Host's audio thread; holds the plug-in mutex for the whole block and allocates nothing. The
// block runs in the audio floating-point mode; the host gets its own back. An event at frame t
// applies from frame t on: the frames before it run first. Outside processing the block is an
// error and its outputs are silence. The bypass flag a state brought in is kept for the state's
// sake only: a CLAP host bypasses a plug-in by not running it.
Clap::ProcessStatus IFxCLAP::ProcessEntry(const Clap::Plugin* p, const Clap::Process* process) {
    IFxCLAP* plug = From(p);
    if (!plug || !process) return Clap::kProcessError;
    if (plug->mStage.load() != kProcessing) {
        SilenceOutputs(*process);
        return Clap::kProcessError;
    }
    plug->CheckThread(kAudioThread, __func__);
    ScopedAudioFpMode fpMode;
    ScopedPlugLock lock(plug->GetMutex());
    plug->mTransport = process->transport;
    plug->PushEdits(process->out_events);
    const Clap::InputEvents* in = process->in_events;
    const uint32_t count = EventCount(in);
    const uint32_t frames = process->frames_count;
    uint32_t done = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const Clap::EventHeader* event = in->get(in, i);
        if (!event) continue;
        const uint32_t at = std::min(event->time, frames);
        if (at > done) plug->RunFrames(*process, done, at - done);
        done = std::max(done, at);
        plug->ApplyEvent(*event);
    }
    if (frames > done) plug->RunFrames(*process, done, frames - done);
    plug->mTransport = nullptr;
    return Clap::kProcessContinue;
}

uint32_t IFxCLAP::EventCount(const Clap::InputEvents* in) { return in && in->size && in->get ? in->size(in) : 0; }

void IFxCLAP::RunFrames(const Clap::Process& process, uint32_t offset, uint32_t frames) {
    const Clap::AudioBuffer* in = MainPort(process.audio_inputs, process.audio_inputs_count);
    const Clap::AudioBuffer* out = MainPort(process.audio_outputs, process.audio_outputs_count);
    const IChannelPair* pair = GetChannelPair(mConfig);
    if (!pair) return;
    const bool wideIn = TakeChannels(in, offset, mIn32, mIn64, pair->inputs);
    const bool wideOut = TakeChannels(out, offset, mOut32, mOut64, pair->outputs);
    const int n = static_cast<int>(std::min<uint32_t>(frames, INT32_MAX));
    if (wideIn)
        AttachInputs(0, NInChannels(), mIn64.data());
    else
        AttachFloatInputs(0, NInChannels(), mIn32.data(), n);
    if (wideOut) {
        AttachOutputs(0, NOutChannels(), mOut64.data());
        ProcessAttached(n);
    } else {
        AttachFloatOutputs(0, NOutChannels(), mOut32.data());
        ProcessAttachedFloat(n);
    }
}

// A parameter value in plain units, clamped into the parameter's range, as the editor would set
// it; the editor's controls follow.
void IFxCLAP::ApplyEvent(const Clap::EventHeader& event) {
    if (event.space_id != Clap::kCoreEventSpace || event.type != Clap::kEventParamValue ||
        event.size < sizeof(Clap::EventParamValue))
        return;
    const auto& change = reinterpret_cast<const Clap::EventParamValue&>(event);
    IFxParam* param =
        change.param_id < static_cast<uint32_t>(NParams()) ? GetParam(static_cast<int>(change.param_id)) : nullptr;
    if (!param) return;
    const double normalized = param->ToNormalized(param->Clamp(change.value));
    param->AssignNormalized(normalized);
    if (IGraphics* editor = GetGraphics())
        editor->PushParamToControls(static_cast<int>(change.param_id), normalized, true);
    ParameterChanged(static_cast<int>(change.param_id), kSourceHost);
}

void IFxCLAP::PushEdits(const Clap::OutputEvents* out) {
    if (!out || !out->try_push) return;
    while (const IFxClapEdit* edit = mEdits.Front()) {
        bool taken = false;
        if (edit->type == Clap::kEventParamValue) {
            Clap::EventParamValue event{};
            event.header = {sizeof event, 0, Clap::kCoreEventSpace, edit->type, Clap::kEventIsLive};
            event.param_id = edit->id;
            event.note_id = -1, event.port_index = -1, event.channel = -1, event.key = -1;
            event.value = edit->value;
            taken = out->try_push(out, &event.header);
        } else {
            Clap::EventParamGesture event{};
            event.header = {sizeof event, 0, Clap::kCoreEventSpace, edit->type, Clap::kEventIsLive};
            event.param_id = edit->id;
            taken = out->try_push(out, &event.header);
        }
        if (!taken) return;
        mEdits.Drop();
    }
}
