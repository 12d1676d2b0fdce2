#include "sdk/vst3/singlecomponenteffect.h"

namespace Sdk {
namespace Vst {

SingleComponentEffect::SingleComponentEffect() : processSetup{kRealtime, kSample32, 1024, 44100.0} {}

tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context) { return EditController::initialize(context); }

tresult PLUGIN_API SingleComponentEffect::terminate() {
    parameters.removeAll();
    removeAllBusses();
    return EditController::terminate();
}

tresult PLUGIN_API SingleComponentEffect::setState(IBStream*) { return kNotImplemented; }
tresult PLUGIN_API SingleComponentEffect::getState(IBStream*) { return kNotImplemented; }

tresult PLUGIN_API SingleComponentEffect::getControllerClassId(TUID) { return kNotImplemented; }
tresult PLUGIN_API SingleComponentEffect::setIoMode(IoMode) { return kNotImplemented; }
tresult PLUGIN_API SingleComponentEffect::getRoutingInfo(RoutingInfo&, RoutingInfo&) { return kNotImplemented; }

BusList* SingleComponentEffect::getBusList(MediaType type, BusDirection dir) {
    if (type == kAudio) return dir == kInput ? &audioInputs : &audioOutputs;
    if (type == kEvent) return dir == kInput ? &eventInputs : &eventOutputs;
    return nullptr;
}

int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir) {
    BusList* list = getBusList(type, dir);
    return list ? list->count() : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& info) {
    BusList* list = getBusList(type, dir);
    Bus* bus = list ? list->at(index) : nullptr;
    if (!bus) return kInvalidArgument;
    info.mediaType = type;
    info.direction = dir;
    bus->getInfo(info);
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir, int32 index, TBool state) {
    BusList* list = getBusList(type, dir);
    Bus* bus = list ? list->at(index) : nullptr;
    if (!bus) return kInvalidArgument;
    bus->setActive(state);
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setActive(TBool) { return kResultOk; }

tresult PLUGIN_API SingleComponentEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                             SpeakerArrangement* outputs, int32 numOuts) {
    if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs)) return kInvalidArgument;
    if (numIns > audioInputs.count() || numOuts > audioOutputs.count()) return kResultFalse;
    for (int32 i = 0; i < numIns; ++i) static_cast<AudioBus*>(audioInputs.at(i))->setArrangement(inputs[i]);
    for (int32 i = 0; i < numOuts; ++i) static_cast<AudioBus*>(audioOutputs.at(i))->setArrangement(outputs[i]);
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) {
    Bus* bus = getBusList(kAudio, dir)->at(index);
    if (!bus) return kInvalidArgument;
    arr = static_cast<AudioBus*>(bus)->getArrangement();
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize(int32 symbolicSampleSize) {
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API SingleComponentEffect::getLatencySamples() { return 0; }

tresult PLUGIN_API SingleComponentEffect::setupProcessing(ProcessSetup& setup) {
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue) return kResultFalse;
    processSetup = setup;
    return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setProcessing(TBool) { return kNotImplemented; }
tresult PLUGIN_API SingleComponentEffect::process(ProcessData&) { return kNotImplemented; }
uint32 PLUGIN_API SingleComponentEffect::getTailSamples() { return kNoTail; }

AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                               int32 flags) {
    auto* bus = new AudioBus(name, busType, flags, arr);
    audioInputs.append(bus);
    return bus;
}

AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                                int32 flags) {
    auto* bus = new AudioBus(name, busType, flags, arr);
    audioOutputs.append(bus);
    return bus;
}

EventBus* SingleComponentEffect::addEventInput(const TChar* name, int32 channels, BusType busType, int32 flags) {
    auto* bus = new EventBus(name, busType, flags, channels);
    eventInputs.append(bus);
    return bus;
}

EventBus* SingleComponentEffect::addEventOutput(const TChar* name, int32 channels, BusType busType, int32 flags) {
    auto* bus = new EventBus(name, busType, flags, channels);
    eventOutputs.append(bus);
    return bus;
}

void SingleComponentEffect::removeAudioBusses() {
    audioInputs.clear();
    audioOutputs.clear();
}

void SingleComponentEffect::removeEventBusses() {
    eventInputs.clear();
    eventOutputs.clear();
}

void SingleComponentEffect::removeAllBusses() {
    removeAudioBusses();
    removeEventBusses();
}

tresult PLUGIN_API SingleComponentEffect::queryInterface(const TUID iid, void** obj) {
    if (badQuery(iid, obj)) return kInvalidArgument;
    // One object plays both roles, so it offers no connection point to a separate controller.
    // Refused as every other interface is: the out pointer cleared.
    if (iidEqual(iid, IConnectionPoint::iid)) {
        *obj = nullptr;
        return kNoInterface;
    }
    if (tryInterface<IComponent>(iid, obj, this)) return kResultOk;
    if (tryInterface<IAudioProcessor>(iid, obj, this)) return kResultOk;
    return EditController::queryInterface(iid, obj);
}

}  // namespace Vst
}  // namespace Sdk
