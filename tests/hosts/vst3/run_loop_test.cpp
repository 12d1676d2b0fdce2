// The host's run loop on Linux: a readable descriptor runs its handler, timers fire by their
// intervals, a handler runs only while registered (also one that unregisters itself), and every
// reference the loop took is given back; the editor's frame answers the loop.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>

#include "run_loop.h"

using namespace tzhost;

namespace {
// Reads one byte a call.
struct Reader : HostObject<Linux::IEventHandler> {
    void PLUGIN_API onFDIsSet(Linux::FileDescriptor fd) override {
        char c;
        calls += read(fd, &c, 1) == 1;
    }
    int calls = 0;
};
// Unregisters itself at its `last` call (0: never).
struct Ticker : HostObject<Linux::ITimerHandler> {
    Ticker(RunLoop& runLoop, int lastCall) : loop(runLoop), last(lastCall) {}
    void PLUGIN_API onTimer() override {
        if (++calls == last) loop.unregisterTimer(this);
    }
    RunLoop& loop;
    int last, calls = 0;
};
}  // namespace

TEST(Vst3RunLoop, DescriptorsAndTimersRunWhileRegistered) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    RunLoop loop;
    Reader reader;
    Ticker fast(loop, 0), slow(loop, 0), once(loop, 1);
    ASSERT_EQ(loop.registerEventHandler(&reader, pipeFds[0]), kResultOk);
    for (auto [ticker, ms] : {std::pair{&fast, 10}, {&slow, 40}, {&once, 5}})
        ASSERT_EQ(loop.registerTimer(ticker, ms), kResultOk);
    EXPECT_EQ(loop.registerTimer(&fast, 20), kInvalidArgument);  // once per handler
    loop.Pump(0);
    EXPECT_EQ(reader.calls, 0);  // nothing readable, nothing due

    ASSERT_EQ(write(pipeFds[1], "ab", 2), 2);
    const auto start = std::chrono::steady_clock::now();
    loop.Pump(100);
    // The loop counts whole milliseconds: it may end up to one before the finer clock says 100.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(99));
    EXPECT_EQ(reader.calls, 2);
    EXPECT_TRUE(fast.calls >= 5 && fast.calls <= 11) << fast.calls;
    EXPECT_TRUE(slow.calls >= 1 && slow.calls <= 2) << slow.calls;
    EXPECT_EQ(once.calls, 1);
    EXPECT_EQ(loop.Registered(), 3u);
    EXPECT_EQ(reader.References(), 2);  // the loop holds one while registered

    EXPECT_EQ(loop.unregisterEventHandler(&reader), kResultOk);
    EXPECT_EQ(loop.unregisterEventHandler(&reader), kInvalidArgument);
    EXPECT_EQ(loop.unregisterTimer(&fast), kResultOk);
    ASSERT_EQ(write(pipeFds[1], "c", 1), 1);
    const int fastCalls = fast.calls;
    loop.Pump(30);
    EXPECT_EQ(reader.calls, 2);
    EXPECT_EQ(fast.calls, fastCalls);
    EXPECT_EQ(reader.References(), 1);
    EXPECT_EQ(fast.References(), 1);
    close(pipeFds[0]);
    close(pipeFds[1]);
}

TEST(Vst3RunLoop, TheFrameAnswersItsLoop) {
    EditorFrame frame;
    void* obj = nullptr;
    ASSERT_EQ(frame.queryInterface(Linux::IRunLoop::iid, &obj), kResultOk);
    EXPECT_EQ(obj, static_cast<Linux::IRunLoop*>(&frame.runLoop));
    EXPECT_EQ(frame.runLoop.References(), 2);
    frame.runLoop.release();
}
