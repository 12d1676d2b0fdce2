// SingleComponentEffect: audio processor and edit controller in one object, with its
// bus lists and the last accepted processing set-up.
#pragma once

#include "sdk/vst3/audioprocessor.h"
#include "sdk/vst3/bus.h"
#include "sdk/vst3/component.h"
#include "sdk/vst3/controller.h"

namespace Sdk {
namespace Vst {

class SingleComponentEffect : public EditController, public IComponent, public IAudioProcessor {
public:
    SingleComponentEffect();

    tresult PLUGIN_API initialize(FUnknown* context) override;
    // Removes every parameter and bus, then EditController's terminate.
    tresult PLUGIN_API terminate() override;

    // The component's and the controller's state calls share these two (kNotImplemented here).
    tresult PLUGIN_API setState(IBStream* state) override;
    tresult PLUGIN_API getState(IBStream* state) override;

    tresult PLUGIN_API getControllerClassId(TUID classId) override;
    tresult PLUGIN_API setIoMode(IoMode mode) override;
    // Any direction other than kInput counts as output; other media types have no buses.
    int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) override;
    // kInvalidArgument for an unknown media type or index.
    tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) override;
    tresult PLUGIN_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) override;
    tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) override;
    tresult PLUGIN_API setActive(TBool state) override;

    // Sets the arrangements of the first audio buses; kResultFalse when there are more
    // arrangements than buses.
    tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                          int32 numOuts) override;
    tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) override;
    // 32-bit samples only.
    tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) override;
    uint32 PLUGIN_API getLatencySamples() override;
    // Keeps the set-up when canProcessSampleSize accepts its sample size, else kResultFalse.
    tresult PLUGIN_API setupProcessing(ProcessSetup& setup) override;
    tresult PLUGIN_API setProcessing(TBool state) override;
    tresult PLUGIN_API process(ProcessData& data) override;
    uint32 PLUGIN_API getTailSamples() override;

    // New buses are appended to their list and start inactive.
    AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                            int32 flags = BusInfo::kDefaultActive);
    AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                             int32 flags = BusInfo::kDefaultActive);
    EventBus* addEventInput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                            int32 flags = BusInfo::kDefaultActive);
    EventBus* addEventOutput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                             int32 flags = BusInfo::kDefaultActive);
    void removeAudioBusses();
    void removeEventBusses();
    void removeAllBusses();

    // Null for an unknown media type; any direction other than kInput is output.
    BusList* getBusList(MediaType type, BusDirection dir);
    const ProcessSetup& getProcessSetup() const { return processSetup; }

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    FOBJECT_REFCOUNT(EditController)
    FOBJECT_CLASS(SingleComponentEffect, EditController)

protected:
    ProcessSetup processSetup;
    BusList audioInputs{kAudio, kInput};
    BusList audioOutputs{kAudio, kOutput};
    BusList eventInputs{kEvent, kInput};
    BusList eventOutputs{kEvent, kOutput};
};

}  // namespace Vst
}  // namespace Sdk
