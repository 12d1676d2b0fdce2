// IFxLV2: the descriptor record, instantiate and the instance's life cycle.
#include <sys/stat.h>

#include <cstring>
#include <lv2/atom/atom.h>
#include <memory>

#include "framework/lv2/ifxlv2.h"

namespace {
// Every core buffer holds this many frames; the host's longer blocks run in pieces.
constexpr int kBlockFrames = 4096;
constexpr double kLowestRate = 8000.0;
constexpr double kHighestRate = 768000.0;

const LV2_URID_Map* FindMap(const LV2_Feature* const* features) {
    for (int i = 0; features && features[i]; ++i)
        if (features[i]->URI && std::strcmp(features[i]->URI, LV2_URID__map) == 0)
            return static_cast<const LV2_URID_Map*>(features[i]->data);
    return nullptr;
}

bool IsFolder(const char* path) {
    struct stat info {};
    return path && *path && stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

IFxLV2* FromHandle(LV2_Handle instance) { return static_cast<IFxLV2*>(instance); }
}  // namespace

IFxLV2Descriptor IFxLV2::Describe(const char* uri, int channels, IFxLV2* (*create)(), const char* stateProperty) {
    IFxLV2Descriptor d{};
    d.lv2 = {uri, Instantiate, ConnectPort, Activate, Run, Deactivate, Cleanup, ExtensionData};
    d.channels = channels;
    d.create = create;
    d.stateProperty = stateProperty;
    return d;
}

// The host's descriptor pointer is the first member of one of the module's records.
LV2_Handle IFxLV2::Instantiate(const LV2_Descriptor* descriptor, double rate, const char* bundlePath,
                               const LV2_Feature* const* features) {
    const auto* own = reinterpret_cast<const IFxLV2Descriptor*>(descriptor);
    const LV2_URID_Map* map = FindMap(features);
    if (!own || !map || !map->map || !(rate >= kLowestRate && rate <= kHighestRate) || !IsFolder(bundlePath))
        return nullptr;
    std::unique_ptr<IFxLV2> plug(own->create());
    if (!plug || !plug->SetUp(*own, rate, *map)) return nullptr;
    return plug.release();
}

bool IFxLV2::SetUp(const IFxLV2Descriptor& descriptor, double rate, const LV2_URID_Map& map) {
    if (!LegalIO(descriptor.channels, descriptor.channels)) return false;
    mChannels = descriptor.channels;
    mStateKey = map.map(map.handle, descriptor.stateProperty);
    mChunkType = map.map(map.handle, LV2_ATOM__Chunk);
    if (mStateKey == 0 || mChunkType == 0) return false;
    mControls.assign(NParams(), nullptr);
    mAudioIn.assign(mChannels, nullptr);
    mAudioOut.assign(mChannels, nullptr);
    ScopedPlugLock lock(GetMutex());
    SetInputsConnected(0, NInChannels(), false);
    SetOutputsConnected(0, NOutChannels(), false);
    SetInputsConnected(0, mChannels, true);
    SetOutputsConnected(0, mChannels, true);
    ChangeBlockSize(kBlockFrames);
    if (GetBlockSize() != kBlockFrames) return false;
    SetSampleRate(rate);
    RestorePresetSlot(0);
    ResetProcessing();
    // The ports' defaults are the values in force: only a port the host moves applies.
    for (int i = 0; i < NParams(); ++i) mApplied.push_back(static_cast<float>(GetParam(i)->Value()));
    return true;
}

void IFxLV2::Activate(LV2_Handle instance) {
    FromHandle(instance)->ResetProcessing();
    FromHandle(instance)->ActivationChanged(true);
}

void IFxLV2::Deactivate(LV2_Handle instance) { FromHandle(instance)->ActivationChanged(false); }

void IFxLV2::Cleanup(LV2_Handle instance) { delete FromHandle(instance); }

const void* IFxLV2::ExtensionData(const char* uri) {
    static const LV2_State_Interface state = {Save, Restore};
    return uri && std::strcmp(uri, LV2_STATE__interface) == 0 ? &state : nullptr;
}
