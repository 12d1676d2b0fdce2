#include "framework/editorloop.h"

#include <algorithm>

#include "framework/igraphics.h"

void IEditorLoop::Idle(IGraphics* editor) {
    editor->HandleWindowEvents();
    const auto now = std::chrono::steady_clock::now();
    const auto period = std::chrono::microseconds(1000000 / std::max(editor->Fps(), 1));
    if (!mLastTick || now - *mLastTick >= period) {
        mLastTick = now;
        editor->HandleTimerTick();
    }
}
