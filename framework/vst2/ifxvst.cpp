// IFxVST: the module entry's work and the effect record the host sees.
#include "framework/vst2/ifxvst.h"

#include <cstring>

#include "framework/plugmutex.h"

using namespace Vst2;

namespace {
// The callback of the instance being created, handed to the binding-shaped constructor. Written
// and read only under the creation lock.
audioMasterCallback gCreatingFor = nullptr;

PlugMutex& CreationLock() {
    static PlugMutex lock;  // created on first use, thread-safely; destroyed at module unload
    return lock;
}

int32_t ArrangementTypeFor(int channels) {
    switch (channels) {
        case 0: return kArrangementEmpty;
        case 1: return kArrangementMono;
        case 2: return kArrangementStereo;
        default: return kArrangementUserDefined;
    }
}
}  // namespace

AEffect* IFxVST::CreateEffect(audioMasterCallback audioMaster, CreateFn create) {
    ScopedPlugLock lock(CreationLock());
    gCreatingFor = audioMaster;
    IFxVST* plug = nullptr;
    try {
        plug = create ? create() : nullptr;
    } catch (...) {
        plug = nullptr;  // no exception may reach the host
    }
    gCreatingFor = nullptr;
    if (!plug) return nullptr;
    plug->FillEmptyPresets();
    if (plug->mEffect.numPrograms <= 0) plug->mEffect.numPrograms = 1;
    return &plug->mEffect;
}

IFxVST::IFxVST(const IFxOptions& options) : IFxVST(gCreatingFor, options) {}

IFxVST::IFxVST(audioMasterCallback audioMaster, const IFxOptions& options)
    : IFxBase(options, kApiVST2), mAudioMaster(audioMaster) {
    AEffect& e = mEffect;
    std::memset(&e, 0, sizeof e);
    e.magic = kEffectMagic;
    e.dispatcher = VSTDispatcher;
    e.process = VSTProcess;
    e.setParameter = VSTSetParameter;
    e.getParameter = VSTGetParameter;
    e.numPrograms = NPresets();
    e.numParams = NParams();
    e.numInputs = NInChannels();
    e.numOutputs = NOutChannels();
    e.flags = kFlagCanReplace | kFlagCanDoubleReplace;
    if (options.doesChunks) e.flags |= kFlagProgramChunks;
    if (LegalIO(1, -1)) e.flags |= kFlagMonoCapable;
    if (options.isInstrument) e.flags |= kFlagIsSynth;
    e.initialDelay = GetLatency();
    e.ioRatio = 1.0f;
    e.object = this;
    e.uniqueID = GetUniqueId();
    e.version = GetEffectVersion(true);
    e.processReplacing = VSTProcessReplacing;
    e.processDoubleReplacing = VSTProcessDoubleReplacing;

    mEditRect = ERect{0, 0, 0, 0};
    SetArrangement(&mInArrangement, NInChannels());
    SetArrangement(&mOutArrangement, NOutChannels());
    SetInputsConnected(0, NInChannels(), true);
    SetOutputsConnected(0, NOutChannels(), true);
    ChangeBlockSize(1024);
}

// The chunk buffers free themselves; then the core frees what it owns.
IFxVST::~IFxVST() = default;

void IFxVST::SetArrangement(VstSpeakerArrangement* arrangement, int channels) {
    std::memset(arrangement, 0, sizeof *arrangement);
    arrangement->numChannels = channels;
    arrangement->type = ArrangementTypeFor(channels);
}

IFxVST* IFxVST::FromEffect(AEffect* effect) { return effect ? static_cast<IFxVST*>(effect->object) : nullptr; }
