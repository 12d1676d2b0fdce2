// The editor view's window type and, on X11, its use of the host's run loop; ids and result codes
// as the hosts of each platform compare them.
#include <gtest/gtest.h>

#include <string>

#include "framework/igraphicswin.h"
#include "framework/vst3/ifxvst3.h"
#include "host_doubles.h"
#include "sdk/vst3/plugview.h"
#include "sdk/vst3/runloop.h"

using namespace testhost;
using namespace Sdk::Linux;

namespace {
#ifdef _WIN32
constexpr bool kX11 = false;
static_assert(kNoInterface == -2147467262 && kInvalidArgument == -2147024809 && kOutOfMemory == -2147024882, "");
#else
constexpr bool kX11 = true;
static_assert(kNoInterface == -1 && kInvalidArgument == 2 && kNotImplemented == 3 && kInternalError == 4 &&
                  kNotInitialized == 5 && kOutOfMemory == 6,
              "");
#endif
constexpr bool Bytes(const FUID& id, const char* x11, const char* windows) {
    const char* hex = kX11 ? x11 : windows;
    auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    bool same = true;
    for (int i = 0; i < 16; ++i) same &= id.byteAt(i) == digit(hex[2 * i]) * 16 + digit(hex[2 * i + 1]);
    return same;
}
static_assert(Bytes(IEditorView::iid, "5BC32507D06049EAA6151B522B755B29", "0725C35B60D0EA49A6151B522B755B29"), "");
static_assert(Bytes(IEditorFrame::iid, "367FAF01AFA946938D4DA2A0ED0882A3", "01AF7F36A9AF93468D4DA2A0ED0882A3"), "");
static_assert(Bytes(IRunLoop::iid, "18C3536697764F1A9C5B83857A871389", "6653C31876971A4F9C5B83857A871389"), "");

// The host's run loop: logs what is registered (marking a call made with the plug-in lock held),
// keeps a reference on each handler meanwhile and counts its own.
class Loop : public Stub<IRunLoop> {
public:
    uint32 PLUGIN_API addRef() override { return ++refs; }
    uint32 PLUGIN_API release() override { return --refs; }
    tresult PLUGIN_API registerEventHandler(IEventHandler* h, FileDescriptor fd) override {
        return Log("event" + std::to_string(fd), events = h);
    }
    tresult PLUGIN_API unregisterEventHandler(IEventHandler* h) override { return Log("-event", h, h == events); }
    tresult PLUGIN_API registerTimer(ITimerHandler* h, TimerInterval ms) override {
        return Log("timer" + std::to_string(ms), timer = h);
    }
    tresult PLUGIN_API unregisterTimer(ITimerHandler* h) override { return Log("-timer", h, h == timer); }
    tresult Log(const std::string& what, FUnknown* handler, bool known = true) {
        log += what + (known ? "" : "?") + (plug->GetMutex().IsHeldByCurrentThread() ? "(locked) " : " ");
        what[0] == '-' ? handler->release() : handler->addRef();
        return kResultOk;
    }
    std::string log;
    IFxVST3* plug = nullptr;
    IEventHandler* events = nullptr;
    ITimerHandler* timer = nullptr;
    int refs = 0;
};

class LoopFrame : public Stub<IEditorFrame> {
public:
    tresult PLUGIN_API queryInterface(const TUID queryIid, void** obj) override {
        if (!loop || !iidEqual(queryIid, IRunLoop::iid)) return Stub::queryInterface(queryIid, obj);
        *obj = loop;
        return loop->addRef(), kResultOk;
    }
    tresult PLUGIN_API resizeView(IEditorView*, ViewRect*) override { return kResultOk; }
    Loop* loop = nullptr;
};

// An editor whose window opens in any parent, logging what the view asks of it.
class LoggedEditor : public IGraphicsWin {
public:
    LoggedEditor(IFxBase* plug, std::string& sharedLog, int fd)
        : IGraphicsWin(plug, 40, 30, 25), log(sharedLog), descriptor(fd) {}
    IWindowHandle OpenGuiWindow(IWindowHandle parent) override { return log += "open ", parent; }
    void CloseGuiWindow() override { log += "close "; }
    int EventDescriptor() override { return descriptor; }
    void HandleWindowEvents() override { log += "events "; }
    void HandleTimerTick() override { log += "tick "; }
    std::string& log;
    int descriptor;
};
}  // namespace

// Each platform takes its own window type only. On X11 a handler on the editor's descriptor and a
// 40 ms timer reach the editor, and are gone before its window closes, the run loop released; a
// Windows window ticks itself.
TEST(Vst3View, WindowTypesAndTheHostsRunLoop) {
    const std::string kDriven = "open event7 timer40 events tick -event -timer close ";
    struct Case {
        const char* name;
        FIDString type;
        bool frame, loop, frameAfterAttach;
        int fd;
        std::string x11, windows;  // the log
    } cases[] = {
        {"X11", kPlatformTypeX11EmbedWindowID, true, true, false, 7, kDriven, ""},
        {"frame after attached", kPlatformTypeX11EmbedWindowID, true, true, true, 7, kDriven, ""},
        {"no descriptor", kPlatformTypeX11EmbedWindowID, true, true, false, -1, "open timer40 tick -timer close ", ""},
        {"frame without loop", kPlatformTypeX11EmbedWindowID, true, false, false, 7, "open close ", ""},
        {"no frame", kPlatformTypeX11EmbedWindowID, false, true, false, 7, "open close ", ""},
        {"HWND", kPlatformTypeHWND, true, true, false, 7, "", "open close "},
        {"null", nullptr, true, true, false, 7, "", ""},
    };
    for (const Case& c : cases) {
        Loop loop;
        auto* plug = loop.plug = new IFxVST3(IFxOptions{1});
        plug->BindGraphics(new LoggedEditor(plug, loop.log, c.fd));
        LoopFrame frame;
        frame.loop = c.loop ? &loop : nullptr;
        IEditorView* view = plug->createView("editor");
        if (c.frame && !c.frameAfterAttach) view->setFrame(&frame);
        const tresult taken = (kX11 ? c.x11 : c.windows).empty() ? kResultFalse : kResultOk;
        EXPECT_EQ(view->isPlatformTypeSupported(c.type), taken) << c.name;
        EXPECT_EQ(view->attached(reinterpret_cast<void*>(0x2a), c.type), taken) << c.name;
        if (c.frameAfterAttach) view->setFrame(&frame);
        if (loop.events) loop.events->onFDIsSet(7);
        if (loop.timer) loop.timer->onTimer();
        view->removed();
        EXPECT_EQ(loop.log, kX11 ? c.x11 : c.windows) << c.name;
        EXPECT_EQ(loop.refs, 0) << c.name;
        view->release();
        plug->release();
    }
}
