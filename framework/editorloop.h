#pragma once
// The open editor's loop where a host's idle call drives it (window systems without a loop of
// their own, X11): the pending window events on every call, and a redraw tick once 1/Fps() s has
// passed since the last, on the monotonic clock.
#include <chrono>
#include <optional>

class IGraphics;

class IEditorLoop {
public:
    // [UI thread]
    void Idle(IGraphics* editor);

private:
    std::optional<std::chrono::steady_clock::time_point> mLastTick;
};
