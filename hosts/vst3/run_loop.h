#pragma once
// The host's side of an editor on Linux: the run loop that the editor's frame answers, driving the
// descriptors and timers the plug-in registers, and the frame itself.
//
// Threads: the loop belongs to the host's UI thread. Registrations come on it (from the plug-in's
// view calls) and the handlers run on it, inside Pump.
#include <vector>

#include "sdk/vst3/plugview.h"
#include "sdk/vst3/runloop.h"
#include "vst3_host.h"

namespace tzhost {

class RunLoop : public HostObject<Linux::IRunLoop> {
public:
    ~RunLoop() override;
    tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd) override;
    tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override;
    tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds) override;
    tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override;

    // Runs, for `ms` milliseconds (0: once, without waiting), the handlers of descriptors that
    // became readable and the timers whose interval passed.
    void Pump(int ms);
    // How many handlers and timers are registered.
    size_t Registered() const { return mEvents.size() + mTimers.size(); }

private:
    struct Event {
        Linux::IEventHandler* handler;  // one reference held while registered
        int fd;
    };
    struct Timer {
        Linux::ITimerHandler* handler;  // one reference held while registered
        long long interval, due;        // milliseconds
    };
    void RunReadable(int timeoutMs);
    void RunDueTimers();
    long long NextDue() const;

    std::vector<Event> mEvents;
    std::vector<Timer> mTimers;
};

// The frame around a view: answers the run loop, and resizes the view as asked.
class EditorFrame : public HostObject<IEditorFrame> {
public:
    tresult PLUGIN_API queryInterface(const TUID queryIid, void** obj) override;
    tresult PLUGIN_API resizeView(IEditorView* view, ViewRect* newSize) override;

    RunLoop runLoop;
};

}  // namespace tzhost
