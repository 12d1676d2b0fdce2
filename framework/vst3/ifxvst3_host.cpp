// IFxVST3: the core's host notifications (edit gestures, latency) and transport queries.
#include "framework/vst3/ifxvst3.h"

using namespace Sdk;
using namespace Sdk::Vst;

// Editor's thread. The SDK part forwards to the host's component handler when there is one.
void IFxVST3::BeginInformHostOfParamChange(int paramIdx) { beginEdit(static_cast<ParamID>(paramIdx)); }

// Editor's thread, from SetParameterFromGUI, without the plug-in mutex.
void IFxVST3::InformHostOfParamChange(int paramIdx, double normalized) {
    performEdit(static_cast<ParamID>(paramIdx), normalized);
}

void IFxVST3::EndInformHostOfParamChange(int paramIdx) { endEdit(static_cast<ParamID>(paramIdx)); }

bool IFxVST3::IsOfflineProcessing() { return processSetup.processMode == kOffline; }

// Low 32 bits of the project position: wraps beyond 2^31 samples, as the slot's int allows.
int IFxVST3::HostSamplePosition() {
    return static_cast<int>(static_cast<uint32>(static_cast<uint64>(mContext.projectTimeSamples)));
}

double IFxVST3::HostTempo() { return mContext.tempo; }

void IFxVST3::HostTimeSignature(int* numerator, int* denominator) {
    if (numerator) *numerator = mContext.timeSigNumerator;
    if (denominator) *denominator = mContext.timeSigDenominator;
}

void IFxVST3::HostTimeInfo(ITimeInfo* info) {
    if (!info) return;
    info->tempo = mContext.tempo;
    info->samplePos = static_cast<double>(mContext.projectTimeSamples);
    info->ppqPos = mContext.projectTimeMusic;
    info->lastBar = mContext.barPositionMusic;
    info->cycleStart = mContext.cycleStartMusic;
    info->cycleEnd = mContext.cycleEndMusic;
    info->numerator = mContext.timeSigNumerator;
    info->denominator = mContext.timeSigDenominator;
    info->playing = (mContext.state & ProcessContext::kPlaying) != 0;
    info->looping = (mContext.state & ProcessContext::kCycleActive) != 0;
}

// Editor's thread, as VST3 hosts take restartComponent; the host re-reads the latency after it.
void IFxVST3::ChangeLatency(int samples) {
    IFxBase::ChangeLatency(samples);
    if (IComponentHandler* handler = getComponentHandler()) handler->restartComponent(kLatencyChanged);
}
