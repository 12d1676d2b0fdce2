// IFxVST3: processing set-up and the per-block process call.
#include <algorithm>

#include "framework/fpmode.h"
#include "framework/igraphics.h"
#include "framework/vst3/ifxvst3.h"
#include "sdk/vst3/events.h"
#include "sdk/vst3/paramchanges.h"

using namespace Sdk;
namespace sv = Sdk::Vst;

namespace {
bool KnownSampleSize(int32 size) { return size == sv::kSample32 || size == sv::kSample64; }

// A host's bus record as a channel count and pointer array; none when it has no channel array.
int32 ChannelsOf(const sv::AudioBusBuffers& bus) {
    return bus.channelBuffers32 ? std::max<int32>(bus.numChannels, 0) : 0;
}

// A block the plug-in does not process leaves silence in every output buffer, in the block's own
// sample size; buffers of an unknown size are not touched.
void SilenceOutputs(const sv::ProcessData& data) {
    for (int32 k = 0; data.outputs && k < data.numOutputs; ++k) {
        const sv::AudioBusBuffers& bus = data.outputs[k];
        if (data.symbolicSampleSize == sv::kSample32)
            SilenceHostBuffers(bus.channelBuffers32, ChannelsOf(bus), data.numSamples);
        else if (data.symbolicSampleSize == sv::kSample64)
            SilenceHostBuffers(bus.channelBuffers64, ChannelsOf(bus), data.numSamples);
    }
}
}  // namespace

// Host's main thread, not while processing. A restored bypass stays as it is: the host shows it
// and would not send it again. A maximum block size above the core's limit is limited to it (longer
// blocks run in pieces); one whose memory cannot be had is refused, and the last set-up stays.
tresult PLUGIN_API IFxVST3::setupProcessing(sv::ProcessSetup& setup) {
    if (!KnownSampleSize(setup.symbolicSampleSize)) return kResultFalse;
    ScopedPlugLock lock(GetMutex());
    ChangeBlockSize(setup.maxSamplesPerBlock);
    if (GetBlockSize() != std::clamp<int32>(setup.maxSamplesPerBlock, 0, kMaxBlockSize)) return kResultFalse;
    SetSampleRate(setup.sampleRate);
    ResetProcessing();
    processSetup = setup;
    return kResultOk;
}

tresult PLUGIN_API IFxVST3::setActive(TBool state) {
    ActivationChanged(state != 0);
    return kResultOk;
}

tresult PLUGIN_API IFxVST3::canProcessSampleSize(int32 symbolicSampleSize) {
    return KnownSampleSize(symbolicSampleSize) ? kResultOk : kResultFalse;
}

uint32 PLUGIN_API IFxVST3::getLatencySamples() { return static_cast<uint32>(GetLatency()); }
uint32 PLUGIN_API IFxVST3::getTailSamples() { return static_cast<uint32>(GetTailSize()); }

// Host's audio thread; holds the plug-in mutex for the whole block and allocates nothing. The
// block runs in the audio floating-point mode; the host gets its own back. Never fails toward
// the host. A block whose buffers are not of the set-up's sample size is left unprocessed
// (reading them as the other size would run past every buffer), as is every block while no
// block size is set: their outputs get silence.
tresult PLUGIN_API IFxVST3::process(sv::ProcessData& data) {
    ScopedAudioFpMode fpMode;
    ScopedPlugLock lock(GetMutex());
    if (data.processContext) mContext = *data.processContext;
    if (data.inputParameterChanges) ApplyParameterChanges(data.inputParameterChanges);
    if (DoesMidi() && data.inputEvents) ApplyEvents(data.inputEvents);
    if (data.numSamples <= 0) return kResultOk;
    if (GetBlockSize() <= 0 || data.symbolicSampleSize != processSetup.symbolicSampleSize) {
        SilenceOutputs(data);
        return kResultOk;
    }
    ConnectInputs(data);
    ConnectOutputs(data);
    if (processSetup.symbolicSampleSize == sv::kSample32)
        RunAudio<float>(data.numSamples);
    else if (processSetup.symbolicSampleSize == sv::kSample64)
        RunAudio<double>(data.numSamples);
    return kResultOk;
}

// The last point of each queue applies from the start of the block.
void IFxVST3::ApplyParameterChanges(sv::IParameterChanges* changes) {
    const int32 queues = changes->getParameterCount();
    for (int32 q = 0; q < queues; ++q) {
        sv::IParamValueQueue* queue = changes->getParameterData(q);
        if (!queue) continue;
        const int32 points = queue->getPointCount();
        int32 offset = 0;
        ParamValue value = 0.0;
        if (points <= 0 || queue->getPoint(points - 1, offset, value) != kResultOk) continue;
        const ParamID id = queue->getParameterId();
        if (id == kBypassTag) {
            SetBypassed(value > 0.5);
        } else if (id == kPresetTag) {
            // 1.0 selects the last preset rather than one past the table.
            if (value >= 0.0 && NPresets() > 0)
                RestorePresetSlot(std::min(static_cast<int>(std::min(value, 1.0) * NPresets()), NPresets() - 1));
        } else if (IFxParam* param = FrameworkParam(id)) {
            param->AssignNormalized(value);
            if (GetGraphics()) GetGraphics()->PushParamToControls(static_cast<int>(id), value, true);
            ParameterChanged(static_cast<int>(id), kSourceHost);
        } else if (DoesMidi() && id - static_cast<ParamID>(NParams()) < 128) {
            IMidiEvent event = ControlChangeEvent(static_cast<int>(id) - NParams(), value, 0);
            ProcessMidiEvent(&event);
        }
    }
}

void IFxVST3::ApplyEvents(sv::IEventList* events) {
    const int32 count = events->getEventCount();
    for (int32 i = 0; i < count; ++i) {
        sv::Event e{};
        if (events->getEvent(i, e) != kResultOk) continue;
        IMidiEvent event;
        if (e.type == sv::Event::kNoteOnEvent)
            event = ::NoteOnEvent(e.noteOn.pitch, static_cast<int>(e.noteOn.velocity * 127.0f), e.sampleOffset,
                                  e.noteOn.channel);
        else if (e.type == sv::Event::kNoteOffEvent)
            event = ::NoteOffEvent(e.noteOff.pitch, e.sampleOffset, e.noteOff.channel);
        else
            continue;
        ProcessMidiEvent(&event);
    }
}

// Inputs: main channels from block bus 0, sidechain channels from block bus 1 while the aux bus
// is active. A channel the block gives no buffer for is disconnected and reads silence, so no
// pointer from an earlier block is ever read again.
void IFxVST3::ConnectInputs(const sv::ProcessData& data) {
    const int nIn = NInChannels();
    const int mainCount = nIn - mSidechainChannels;
    std::fill(mHostIn.begin(), mHostIn.end(), nullptr);
    if (data.numInputs >= 1 && data.inputs) {
        const sv::AudioBusBuffers& bus = data.inputs[0];
        const int n = std::min(ChannelsOf(bus), mainCount);
        for (int j = 0; j < n; ++j) mHostIn[j] = bus.channelBuffers32[j];
    }
    if (mSidechainChannels != 0) {
        sv::Bus* aux = audioInputs.at(1);
        const bool active = aux && aux->isActive();
        if (active) {
            mSidechainConnected = true;
            if (data.numInputs >= 2 && data.inputs) {
                const sv::AudioBusBuffers& bus = data.inputs[1];
                const int n = std::min(ChannelsOf(bus), mSidechainChannels);
                for (int j = 0; j < n; ++j) mHostIn[mainCount + j] = bus.channelBuffers32[j];
            }
        } else if (mSidechainConnected) {
            ClearScratch();
            mSidechainConnected = false;
        }
    }
    for (int j = 0; j < nIn; ++j) SetInputsConnected(j, 1, mHostIn[j] != nullptr);
}

// Outputs: block bus k feeds the next channels while the plug-in's output bus k is active; the
// other channels are disconnected and the plug-in writes them into its own scratch.
void IFxVST3::ConnectOutputs(const sv::ProcessData& data) {
    const int nOut = NOutChannels();
    std::fill(mHostOut.begin(), mHostOut.end(), nullptr);
    for (int32 k = 0, i = 0; data.outputs && k < data.numOutputs && i < nOut; ++k) {
        const sv::AudioBusBuffers& bus = data.outputs[k];
        const int n = std::min(ChannelsOf(bus), nOut - i);
        sv::Bus* own = audioOutputs.at(k);
        if (own && own->isActive())
            for (int j = 0; j < n; ++j) mHostOut[i + j] = bus.channelBuffers32[j];
        i += n;
    }
    for (int j = 0; j < nOut; ++j) SetOutputsConnected(j, 1, mHostOut[j] != nullptr);
}

namespace {
// The connected host channels, in order, as the core's attach calls take them.
template <typename Sample>
Sample** Connected(const std::vector<void*>& host, std::vector<void*>& connected) {
    size_t next = 0;
    for (void* p : host)
        if (p) connected[next++] = p;
    return reinterpret_cast<Sample**>(connected.data());
}
}  // namespace

// A block longer than the set-up announced is run by the core in pieces of the announced size.
template <typename Sample>
void IFxVST3::RunAudio(int frames) {
    Sample** in = Connected<Sample>(mHostIn, mConnectedIn);
    Sample** out = Connected<Sample>(mHostOut, mConnectedOut);
    if constexpr (sizeof(Sample) == sizeof(float)) {
        AttachFloatInputs(0, NInChannels(), in, frames);
        AttachFloatOutputs(0, NOutChannels(), out);
        if (IsBypassed())
            PassThroughFloat(frames);
        else
            ProcessAttachedFloat(frames);
    } else {
        AttachInputs(0, NInChannels(), in);
        AttachOutputs(0, NOutChannels(), out);
        if (IsBypassed())
            PassThrough(frames);
        else
            ProcessAttached(frames);
    }
}
