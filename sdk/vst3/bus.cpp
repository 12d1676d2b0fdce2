#include "sdk/vst3/bus.h"

#include "sdk/vst3/strings.h"

namespace Sdk {
namespace Vst {

Bus::Bus(const TChar* busName, BusType type, int32 busFlags) : busType(type), flags(busFlags) { setName(busName); }

void Bus::setName(const TChar* newName) { strcpy16(name, newName, 128); }

bool Bus::getInfo(BusInfo& info) {
    strcpy16(info.name, name, 128);
    info.busType = busType;
    info.flags = static_cast<uint32>(flags);
    return true;
}

AudioBus::AudioBus(const TChar* busName, BusType type, int32 busFlags, SpeakerArrangement arr)
    : Bus(busName, type, busFlags), speakerArr(arr) {}

bool AudioBus::getInfo(BusInfo& info) {
    info.channelCount = SpeakerArr::getChannelCount(speakerArr);
    return Bus::getInfo(info);
}

EventBus::EventBus(const TChar* busName, BusType type, int32 busFlags, int32 channels)
    : Bus(busName, type, busFlags), channelCount(channels) {}

bool EventBus::getInfo(BusInfo& info) {
    info.channelCount = channelCount;
    return Bus::getInfo(info);
}

Bus* BusList::at(int32 index) const {
    if (index < 0 || index >= count()) return nullptr;
    return buses[index];
}

void BusList::append(Bus* bus) {
    if (bus) buses.push_back(bus);
}

bool BusList::replace(int32 index, Bus* bus) {
    if (!bus) return false;
    if (index < 0 || index >= count()) {
        bus->release();
        return false;
    }
    buses[index]->release();
    buses[index] = bus;
    return true;
}

bool BusList::remove(int32 index) {
    if (index < 0 || index >= count()) return false;
    buses[index]->release();
    buses.erase(buses.begin() + index);
    return true;
}

void BusList::clear() {
    for (Bus* bus : buses) bus->release();
    buses.clear();
}

}  // namespace Vst
}  // namespace Sdk
