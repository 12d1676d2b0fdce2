// The host's run loop on Linux, where no window system delivers ticks or events to a plug-in: the
// plug-in hands it a handler for a file descriptor to watch and a timer handler. A plug-in gets it
// by querying the editor frame (or the context a host gives the factory).
#pragma once

#include "sdk/vst3/funknown.h"

namespace Sdk {
namespace Linux {

using FileDescriptor = int;
using TimerInterval = uint64;  // milliseconds

// Called when the descriptor it was registered with becomes readable.
class IEventHandler : public FUnknown {
public:
    virtual void PLUGIN_API onFDIsSet(FileDescriptor fd) = 0;

    static constexpr FUID iid{0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983};
};

// Called every interval until unregistered.
class ITimerHandler : public FUnknown {
public:
    virtual void PLUGIN_API onTimer() = 0;

    static constexpr FUID iid{0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9};
};

// Implemented by the host. Unregistering goes by handler object.
class IRunLoop : public FUnknown {
public:
    virtual tresult PLUGIN_API registerEventHandler(IEventHandler* handler, FileDescriptor fd) = 0;
    virtual tresult PLUGIN_API unregisterEventHandler(IEventHandler* handler) = 0;
    virtual tresult PLUGIN_API registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;
    virtual tresult PLUGIN_API unregisterTimer(ITimerHandler* handler) = 0;

    static constexpr FUID iid{0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389};
};

}  // namespace Linux
}  // namespace Sdk
