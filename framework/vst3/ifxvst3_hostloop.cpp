#include "framework/vst3/ifxvst3_hostloop.h"

#include "sdk/vst3/fobject.h"

using namespace Sdk;
using namespace Sdk::Linux;

namespace {
// A handler the host calls; the host may keep a reference after unregistering it, so it forgets
// the editor on Detach instead of relying on its lifetime.
template <class I>
class LoopHandler : public FObject, public I {
public:
    explicit LoopHandler(IGraphics* editor) : mEditor(editor) {}
    void Detach() { mEditor = nullptr; }

    tresult PLUGIN_API queryInterface(const TUID queryIid, void** obj) override {
        if (tryInterface<I>(queryIid, obj, this)) return kResultOk;
        return FObject::queryInterface(queryIid, obj);
    }
    FOBJECT_REFCOUNT(FObject)

protected:
    IGraphics* mEditor;
};
}  // namespace

class IFxVST3HostLoop::EventHandler final : public LoopHandler<IEventHandler> {
public:
    using LoopHandler::LoopHandler;
    // [UI thread] the editor's descriptor is readable
    void PLUGIN_API onFDIsSet(FileDescriptor) override {
        if (mEditor) mEditor->HandleWindowEvents();
    }
};

class IFxVST3HostLoop::TimerHandler final : public LoopHandler<ITimerHandler> {
public:
    using LoopHandler::LoopHandler;
    // [UI thread]
    void PLUGIN_API onTimer() override {
        if (mEditor) mEditor->HandleTimerTick();
    }
};

namespace {
// The handler when the run loop took it; dropped (null) when it refused.
template <class H>
H* KeepIfRegistered(H* handler, tresult result) {
    if (result == kResultOk) return handler;
    handler->release();
    return nullptr;
}

// Lets go of an unregistered handler.
template <class H>
void Forget(H*& handler) {
    handler->Detach();
    handler->release();
    handler = nullptr;
}
}  // namespace

void IFxVST3HostLoop::Start(IEditorFrame* frame, IGraphics* editor) {
    Stop();
    mRunLoop = FUnknownPtr<IRunLoop>(frame);
    if (!mRunLoop) return;
    const int fd = editor->EventDescriptor();
    if (fd >= 0) {
        auto* events = new EventHandler(editor);
        mEvents = KeepIfRegistered(events, mRunLoop->registerEventHandler(events, fd));
    }
    auto* timer = new TimerHandler(editor);
    mTimer = KeepIfRegistered(timer, mRunLoop->registerTimer(timer, static_cast<TimerInterval>(1000 / editor->Fps())));
}

void IFxVST3HostLoop::Stop() {
    if (mEvents) {
        mRunLoop->unregisterEventHandler(mEvents);
        Forget(mEvents);
    }
    if (mTimer) {
        mRunLoop->unregisterTimer(mTimer);
        Forget(mTimer);
    }
    mRunLoop.reset();
}
