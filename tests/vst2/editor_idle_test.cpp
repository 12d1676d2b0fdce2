// The host's editor idle call as the editor's loop: outside Windows each call hands the open
// editor its window events and, at most Fps() times a second, a redraw tick, both with the
// plug-in mutex free; on Windows (where the window runs its own loop) neither. The plug-in's own
// idle work runs on every call.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "framework/igraphicswin.h"
#include "test_plugin.h"

using namespace Vst2;

namespace {
#ifdef _WIN32
constexpr bool kHostRunsTheLoop = false;
#else
constexpr bool kHostRunsTheLoop = true;
#endif
constexpr int kFps = 25;
constexpr auto kPeriod = std::chrono::milliseconds(1000 / kFps);

// An editor whose window is pretended (the parent given stands for it), counting the loop's calls.
class LoopDouble : public IGraphicsWin {
public:
    explicit LoopDouble(TestVst* plug) : IGraphicsWin(plug, 20, 10, kFps) {}
    IWindowHandle OpenGuiWindow(IWindowHandle parent) override { return parent; }
    void CloseGuiWindow() override {}
    void HandleWindowEvents() override { Note(&events); }
    void HandleTimerTick() override { Note(&ticks); }
    int events = 0, ticks = 0, underMutex = 0;

private:
    void Note(int* count) {
        ++*count;
        underMutex += !FreeForAnotherThread(GetPlug()->GetMutex());
    }
};

struct IdleCase {
    const char* name;
    bool open;  // the editor open during the idle calls (else opened and closed before them)
    int idles;
    int gapMs;  // sleep between two idle calls
};
const IdleCase kCases[] = {
    {"two idles 50 ms apart", true, 2, 50},
    {"ten idles back to back", true, 10, 0},
    {"idles after the close", false, 3, 50},
};
}  // namespace

TEST(EditorIdle, DrivesTheOpenEditorsEventsAndTicks) {
    for (const IdleCase& c : kCases) {
        vst2host::Host host;
        vst2host::Plugin plug(TestVst::Create());
        auto* editor = new LoopDouble(TestVst::Of(plug.effect));
        TestVst::Of(plug.effect)->BindGraphics(editor);
        int parent = 0;
        ASSERT_EQ(plug.Dispatch(EffectOp::kEditOpen, 0, 0, &parent), 1) << c.name;
        if (!c.open) plug.Dispatch(EffectOp::kEditClose);

        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < c.idles; ++i) {
            if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(c.gapMs));
            plug.Dispatch(EffectOp::kEditIdle);
        }
        // However slow this machine, no two ticks come closer than a period.
        const int mostTicks = 1 + static_cast<int>((std::chrono::steady_clock::now() - start) / kPeriod);
        const bool driven = kHostRunsTheLoop && c.open;

        EXPECT_EQ(TestVst::Of(plug.effect)->idles, c.idles) << c.name;
        EXPECT_EQ(editor->events, driven ? c.idles : 0) << c.name;
        EXPECT_GE(editor->ticks, !driven ? 0 : c.gapMs >= 40 ? c.idles : 1) << c.name;
        EXPECT_LE(editor->ticks, driven ? mostTicks : 0) << c.name;
        EXPECT_EQ(editor->underMutex, 0) << c.name;
        plug.Close();
    }
}
