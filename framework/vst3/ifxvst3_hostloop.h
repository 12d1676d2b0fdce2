#pragma once
// IFxVST3HostLoop: drives an open editor from the host's run loop, for window systems that leave
// the loop to the host (X11): a handler on the editor's event descriptor runs its
// HandleWindowEvents, and a timer of 1000 / Fps() ms (40 ms at 25 frames per second) its
// HandleTimerTick. The run loop comes from the view's frame and is kept while registered.
//
// Threads: everything runs on the host's UI thread. Start and Stop call the host (its run loop):
// no plug-in lock may be held across them.
#include "framework/igraphics.h"
#include "sdk/vst3/plugview.h"
#include "sdk/vst3/runloop.h"

class IFxVST3HostLoop {
public:
    IFxVST3HostLoop() = default;
    IFxVST3HostLoop(const IFxVST3HostLoop&) = delete;
    IFxVST3HostLoop& operator=(const IFxVST3HostLoop&) = delete;
    ~IFxVST3HostLoop() { Stop(); }

    // Registers the editor's handlers with the run loop the frame offers. Without a frame, or a
    // frame offering no run loop, nothing is registered: the editor gets no ticks or events.
    // [UI thread]
    void Start(Sdk::IEditorFrame* frame, IGraphics* editor);
    // Unregisters what Start registered and releases the run loop.
    // [UI thread]
    void Stop();

private:
    class EventHandler;
    class TimerHandler;

    Sdk::IPtr<Sdk::Linux::IRunLoop> mRunLoop;
    EventHandler* mEvents = nullptr;  // registered, one reference held
    TimerHandler* mTimer = nullptr;
};
