#include "framework/fxbase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/fxassert.h"

namespace {
void CopyName(char* field, const char* text) { std::snprintf(field, kNameSize, "%s", text ? text : ""); }
}  // namespace

IFxBase::IFxBase(const IFxOptions& options, int apiCode)
    : mUniqueId(options.uniqueId),
      mMakerId(options.makerId),
      mVersion(options.version),
      mApiCode(apiCode),
      mDoesChunks(options.doesChunks),
      mIsInstrument(options.isInstrument),
      mDoesMidi(options.doesMidi),
      mLatency(options.latency) {
    for (int i = 0; i < options.nParams; ++i) mParams.Add(new IFxParam());
    for (int i = 0; i < options.nPresets; ++i) mPresets.Add(new IPresetSlot());
    CopyName(mEffectName, options.effectName);
    CopyName(mProductName, options.productName);
    CopyName(mMakerName, options.makerName);
    ParseChannelIo(options.channelIo);
}

// Reads "inputs-outputs" tokens separated by single spaces, e.g. "1-1 2-2"; channel records are
// made for the largest input and output counts.
void IFxBase::ParseChannelIo(const char* text) {
    int maxIn = 0, maxOut = 0;
    for (const char* p = text; p;) {
        int nIn = 0, nOut = 0;
        if (std::sscanf(p, "%d-%d", &nIn, &nOut) != 2) {
            // The assertion text is fixed: kept for compatibility with existing logs.
            IFxAssert("channelIOStrValid", "fxbase", __LINE__);
            break;
        }
        mChannelPairs.Add(new IChannelPair{nIn, nOut});
        maxIn = std::max(maxIn, nIn);
        maxOut = std::max(maxOut, nOut);
        p = std::strchr(p, ' ');
        if (p) ++p;
    }
    CreateChannels(maxIn, maxOut);
}

void IFxBase::CreateChannels(int nIn, int nOut) {
    const int width = static_cast<int>(sizeof(double*));
    mInputPointers.Resize(nIn * width, true);
    mOutputPointers.Resize(nOut * width, true);
    nIn = mInputPointers.GetSize() / width;
    nOut = mOutputPointers.GetSize() / width;
    for (int i = 0; i < nIn; ++i) {
        auto* channel = new IInputChannel();
        channel->source = InputPointers() + i;
        *channel->source = nullptr;
        mInputChannels.Add(channel);
    }
    for (int i = 0; i < nOut; ++i) {
        auto* channel = new IOutputChannel();
        channel->dest = OutputPointers() + i;
        *channel->dest = nullptr;
        mOutputChannels.Add(channel);
    }
}

IFxBase::~IFxBase() {
    delete mEditor;
    mEditor = nullptr;
    mParams.DeleteAll();
    mPresets.DeleteAll();
    mInputChannels.DeleteAll();
    mOutputChannels.DeleteAll();
    mChannelPairs.DeleteAll();
    mInputBusLabels.DeleteAll();
    mOutputBusLabels.DeleteAll();
    delete mLatencyLine;
    mLatencyLine = nullptr;
}

void IFxBase::ResetProcessing() { ScopedPlugLock lock(mMutex); }

void IFxBase::ParameterChanged(int, int) { ScopedPlugLock lock(mMutex); }

void IFxBase::ActivationChanged(bool) { ScopedPlugLock lock(mMutex); }

void IFxBase::ProcessMidiEvent(IMidiEvent* event) { SendMidiEvent(event); }

bool IFxBase::GetNoteName(int, char* out) {
    if (out) out[0] = 0;
    return false;
}

// The editor's road for a parameter change: the host hears of it before the plug-in reacts. The
// value is atomic and the host is told without the plug-in lock, so the audio thread never waits
// for the host's answer; only the plug-in's reaction runs under the lock.
void IFxBase::SetParameterFromGUI(int paramIdx, double normalized) {
    IFxParam* param = GetParam(paramIdx);
    if (!param) return;
    param->AssignNormalized(normalized);
    InformHostOfParamChange(paramIdx, normalized);
    ScopedPlugLock lock(mMutex);
    ParameterChanged(paramIdx, kSourceGui);
}

void IFxBase::BindGraphics(IFxEditor* editor) {
    if (!editor) return;
    ScopedPlugLock lock(mMutex);
    for (int i = 0; i < NParams(); ++i) editor->PushParamToControls(i, GetParam(i)->NormalizedValue(), true);
    editor->CreateDrawSurfaces();
    if (mEditor != editor) delete mEditor;
    mEditor = editor;
}

// The version is stored first: whoever reads the code knows the version too.
void IFxBase::SetHost(const char* hostName, int hostVersion) {
    mHostVersion.store(hostVersion, std::memory_order_relaxed);
    mHostCode.store(IdentifyHost(hostName), std::memory_order_release);
}

int IFxBase::GetEffectVersion(bool decimal) const {
    if (!decimal) return mVersion;
    const int major = (mVersion >> 16) & 0xFFFF, minor = (mVersion >> 8) & 0xFF, revision = mVersion & 0xFF;
    return major * 10000 + minor * 100 + revision;
}

void IFxBase::ResetAllParams(int source) {
    for (int i = 0; i < NParams(); ++i) ParameterChanged(i, source);
}
