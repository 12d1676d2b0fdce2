// IFxVST: the core's host-facing operations as calls of the host callback.
#include <cmath>
#include <cstring>

#include "framework/igraphics.h"
#include "framework/vst2/ifxvst.h"

using namespace Vst2;

intptr_t IFxVST::CallHost(int32_t opcode, int32_t index, intptr_t value, void* data, float opt) {
    return mAudioMaster ? mAudioMaster(&mEffect, opcode, index, value, data, opt) : 0;
}

// The host's transport record for the requested fields, or null. The record stays the host's.
const VstTimeInfo* IFxVST::HostTime(int32_t request) {
    return reinterpret_cast<const VstTimeInfo*>(CallHost(HostOp::kGetTime, 0, request));
}

void IFxVST::BeginInformHostOfParamChange(int paramIdx) { CallHost(HostOp::kBeginEdit, paramIdx); }

void IFxVST::InformHostOfParamChange(int paramIdx, double normalized) {
    CallHost(HostOp::kAutomate, paramIdx, 0, nullptr, static_cast<float>(normalized));
}

void IFxVST::EndInformHostOfParamChange(int paramIdx) { CallHost(HostOp::kEndEdit, paramIdx); }

void IFxVST::RequestHostRefresh() { CallHost(HostOp::kUpdateDisplay); }

bool IFxVST::IsOfflineProcessing() { return CallHost(HostOp::kGetCurrentProcessLevel) == kProcessLevelOffline; }

// Rounded to the nearest sample; positions past 2^32 samples keep their low 32 bits.
int IFxVST::HostSamplePosition() {
    const VstTimeInfo* time = HostTime(0);
    if (!time || !(time->samplePos >= 0.0) || !std::isfinite(time->samplePos)) return 0;
    const double rounded = std::fmod(std::floor(time->samplePos + 0.5), 4294967296.0);
    return static_cast<int>(static_cast<uint32_t>(rounded));
}

double IFxVST::HostTempo() {
    if (!mAudioMaster) return 0.0;
    const VstTimeInfo* time = HostTime(kTimeTempoValid);
    return time && (time->flags & kTimeTempoValid) && time->tempo >= 0.0 ? time->tempo : 0.0;
}

void IFxVST::HostTimeSignature(int* numerator, int* denominator) {
    *numerator = *denominator = 0;
    const VstTimeInfo* time = HostTime(kTimeSignatureValid);
    if (time && (time->flags & kTimeSignatureValid) && time->timeSigNumerator >= 0 && time->timeSigDenominator >= 0) {
        *numerator = time->timeSigNumerator;
        *denominator = time->timeSigDenominator;
    }
}

// Fields the host does not vouch for keep what info held.
void IFxVST::HostTimeInfo(ITimeInfo* info) {
    constexpr int32_t kRequest =
        kTimePpqValid | kTimeTempoValid | kTimeBarsValid | kTimeCycleValid | kTimeSignatureValid;
    const VstTimeInfo* time = HostTime(kRequest);
    if (!info || !time || !(time->flags & kRequest)) return;
    const int32_t flags = time->flags;
    info->samplePos = time->samplePos;
    if ((flags & kTimePpqValid) && time->ppqPos >= 0.0) info->ppqPos = time->ppqPos;
    if ((flags & kTimeTempoValid) && time->tempo > 0.0) info->tempo = time->tempo;
    if ((flags & kTimeBarsValid) && time->barStartPos >= 0.0) info->lastBar = time->barStartPos;
    if ((flags & kTimeCycleValid) && time->cycleStartPos >= 0.0 && time->cycleEndPos >= 0.0) {
        info->cycleStart = time->cycleStartPos;
        info->cycleEnd = time->cycleEndPos;
    }
    if ((flags & kTimeSignatureValid) && time->timeSigNumerator > 0 && time->timeSigDenominator > 0) {
        info->numerator = time->timeSigNumerator;
        info->denominator = time->timeSigDenominator;
    }
    info->playing = (flags & kTimeTransportPlaying) != 0;
    info->looping = (flags & kTimeCycleActive) != 0;
}

// The host's decimal version (50203 for 5.2.3) becomes the packed form 0x50203. Until the host
// is known a caller asks it, without the plug-in mutex (the audio thread never waits for the
// host's answer); the answer is recorded atomically, so threads asking at once each read a
// whole answer.
int IFxVST::GetHostCode() {
    const int known = IFxBase::GetHostCode();
    if (known != kHostNotIdentified) return known;
    char product[256];
    product[0] = 0;
    CallHost(HostOp::kGetProductString, 0, 0, product);
    product[sizeof product - 1] = 0;
    int version = 0;
    if (product[0]) {
        const int64_t v = static_cast<int32_t>(CallHost(HostOp::kGetVendorVersion));
        version = static_cast<int>(static_cast<uint32_t>(v + (v / 10000) * 55536 + ((v % 10000) / 100) * 156));
    }
    SetHost(product, version);
    return IFxBase::GetHostCode();
}

void IFxVST::HostQuirksSetup() {
    if (mHostSetupDone) return;
    mHostSetupDone = true;
    switch (GetHostCode()) {
        case kHostForte:
        case kHostAudition:
        case kHostOrion:
        case kHostSawStudio: ForceExtraChannelConnections(); break;
        default: break;
    }
    mInArrangement.numChannels = mEffect.numInputs = NInChannels();
    mOutArrangement.numChannels = mEffect.numOutputs = NOutChannels();
    HostKnown();
}

void IFxVST::ForceExtraChannelConnections() {
    SetInputsConnected(2, NInChannels() - 2, false);
    if (NOutChannels() >= 3) SetOutputsConnected(2, NOutChannels() - 2, true);
}

namespace {
ERect EditorRect(const IGraphics* editor) {
    return ERect{0, 0, static_cast<int16_t>(editor->Height()), static_cast<int16_t>(editor->Width())};
}
}  // namespace

// The editor object knows its size; the arguments are not needed.
void IFxVST::RequestEditorResize(int /*width*/, int /*height*/) {
    if (IGraphics* editor = GetGraphics()) {
        mEditRect = EditorRect(editor);
        EditorResized();
    }
}

void IFxVST::BindGraphics(IFxEditor* editor) {
    if (!editor) return;
    IFxBase::BindGraphics(editor);
    mEffect.flags |= kFlagHasEditor;
    if (IGraphics* graphics = GetGraphics()) mEditRect = EditorRect(graphics);
}

void IFxVST::ChangeLatency(int samples) {
    ScopedPlugLock lock(GetMutex());
    IFxBase::ChangeLatency(samples);
    mEffect.initialDelay = GetLatency();
}

// The event records live on this stack frame for the duration of the call.
bool IFxVST::SendMidiEvent(IMidiEvent* event) {
    VstMidiEvent midi{};
    midi.type = kEventMidi;
    midi.byteSize = sizeof(VstMidiEvent);
    midi.deltaFrames = event->sampleOffset;
    midi.midiData[0] = static_cast<char>(event->status);
    midi.midiData[1] = static_cast<char>(event->data1);
    midi.midiData[2] = static_cast<char>(event->data2);
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&midi);
    return CallHost(HostOp::kProcessEvents, 0, 0, &list) == 1;
}

bool IFxVST::SendSysExEvent(ISysExEvent* event) {
    VstMidiSysexEvent sysex{};
    sysex.type = kEventSysEx;
    sysex.byteSize = sizeof(VstMidiSysexEvent);
    sysex.deltaFrames = event->sampleOffset;
    sysex.dumpBytes = event->size;
    sysex.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(event->data));
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&sysex);
    return CallHost(HostOp::kProcessEvents, 0, 0, &list) == 1;
}
