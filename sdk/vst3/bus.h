// Buses of a component (audio with a speaker arrangement, event with a channel count) and
// the lists that hold them.
#pragma once

#include "sdk/vst3/audioprocessor.h"
#include "sdk/vst3/component.h"
#include "sdk/vst3/fobject.h"

#include <vector>

namespace Sdk {
namespace Vst {

// A bus starts inactive: the host activates the buses it uses.
class Bus : public FObject {
public:
    Bus(const TChar* name, BusType busType, int32 flags);

    TBool isActive() const { return active; }
    void setActive(TBool state) { active = state; }
    const TChar* getName() const { return name; }
    void setName(const TChar* newName);
    BusType getBusType() const { return busType; }
    int32 getBusFlags() const { return flags; }

    // Fills name (at most 127 characters), busType and flags; the caller sets the media
    // type and direction.
    virtual bool getInfo(BusInfo& info);

    FOBJECT_CLASS(Vst::Bus, FObject)

protected:
    String128 name;
    BusType busType;
    int32 flags;
    TBool active = false;
};

class AudioBus : public Bus {
public:
    AudioBus(const TChar* name, BusType busType, int32 flags, SpeakerArrangement arr);

    SpeakerArrangement getArrangement() const { return speakerArr; }
    void setArrangement(SpeakerArrangement arr) { speakerArr = arr; }

    // The channel count is the number of speakers in the arrangement.
    bool getInfo(BusInfo& info) override;

    FOBJECT_CLASS(Vst::AudioBus, Bus)

private:
    SpeakerArrangement speakerArr;
};

class EventBus : public Bus {
public:
    EventBus(const TChar* name, BusType busType, int32 flags, int32 channelCount);

    bool getInfo(BusInfo& info) override;

    FOBJECT_CLASS(Vst::EventBus, Bus)

private:
    int32 channelCount;
};

// An ordered list of buses of one media type and direction; it holds one reference on each.
class BusList {
public:
    BusList(MediaType mediaType, BusDirection dir) : type(mediaType), direction(dir) {}
    BusList(const BusList&) = delete;
    BusList& operator=(const BusList&) = delete;
    ~BusList() { clear(); }

    MediaType getType() const { return type; }
    BusDirection getDirection() const { return direction; }
    int32 count() const { return static_cast<int32>(buses.size()); }
    // Null when out of range.
    Bus* at(int32 index) const;

    // Each takes over the caller's reference on the new bus.
    void append(Bus* bus);
    // Puts the bus in place of the one at index; false (and the new bus released) when out of range.
    bool replace(int32 index, Bus* bus);
    // False when out of range.
    bool remove(int32 index);
    void clear();

private:
    MediaType type;
    BusDirection direction;
    std::vector<Bus*> buses;
};

}  // namespace Vst
}  // namespace Sdk
