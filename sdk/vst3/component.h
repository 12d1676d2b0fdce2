// IComponent: the processing part's buses, activation and state, with the bus records.
#pragma once

#include "sdk/vst3/pluginbase.h"

namespace Sdk {
class IBStream;

namespace Vst {

enum MediaTypes : int32 { kAudio = 0, kEvent, kNumMediaTypes };
enum BusDirections : int32 { kInput = 0, kOutput };
enum BusTypes : int32 { kMain = 0, kAux };
enum IoModes : int32 { kSimple = 0, kAdvanced, kOfflineProcessing };

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;

struct BusInfo {
    enum BusFlags : uint32 { kDefaultActive = 1 << 0 };

    MediaType mediaType;
    BusDirection direction;
    int32 channelCount;
    String128 name;
    BusType busType;
    uint32 flags;
};

struct RoutingInfo {
    MediaType mediaType;
    int32 busIndex;
    int32 channel;
};

class IComponent : public IHostedObject {
public:
    virtual tresult PLUGIN_API getControllerClassId(TUID classId) = 0;
    virtual tresult PLUGIN_API setIoMode(IoMode mode) = 0;
    virtual int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) = 0;
    virtual tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) = 0;
    virtual tresult PLUGIN_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
    virtual tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) = 0;
    virtual tresult PLUGIN_API setActive(TBool state) = 0;
    virtual tresult PLUGIN_API setState(IBStream* state) = 0;
    virtual tresult PLUGIN_API getState(IBStream* state) = 0;

    static constexpr FUID iid{0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802};
};

}  // namespace Vst
}  // namespace Sdk
