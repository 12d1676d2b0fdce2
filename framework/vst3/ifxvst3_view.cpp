#include "framework/vst3/ifxvst3_view.h"

#include <cstring>

#include "framework/igraphics.h"
#include "framework/vst3/ifxvst3.h"

using namespace Sdk;

namespace {
#ifdef _WIN32
constexpr FIDString kWindowType = kPlatformTypeHWND;
// Windows delivers the window's messages and timer to the window itself.
constexpr bool kHostDrivesEditor = false;
#else
constexpr FIDString kWindowType = kPlatformTypeX11EmbedWindowID;
constexpr bool kHostDrivesEditor = true;
#endif
}  // namespace

IFxVST3View::IFxVST3View(IFxVST3* plug) : mPlug(plug) {
    mPlug->addRef();
    mPlug->AddView(this);
}

// A host that releases the view without removing it first still gets its window closed.
IFxVST3View::~IFxVST3View() {
    if (mWindowOpen) removed();
    mPlug->RemoveView(this);
    mPlug->release();
}

tresult PLUGIN_API IFxVST3View::isPlatformTypeSupported(FIDString type) {
    const bool ours = type && std::strcmp(type, kWindowType) == 0;
    return ours && mPlug->GetGraphics() ? kResultOk : kResultFalse;
}

// The window is made and registered with the run loop without the plug-in mutex, so the audio
// thread goes on meanwhile; the plug-in hears of the editor under it. Without a frame, or a frame
// offering no run loop, the editor still opens; it gets no ticks or events until a frame with a
// run loop is set.
tresult PLUGIN_API IFxVST3View::attached(void* parent, FIDString type) {
    IGraphics* editor = mPlug->GetGraphics();
    if (!editor || isPlatformTypeSupported(type) != kResultOk) return kResultFalse;
    if (!editor->OpenGuiWindow(parent)) return kResultFalse;  // no window: not attached
    mWindowOpen = true;
    CPluginView::attached(parent, type);
    if (kHostDrivesEditor) mHostLoop.Start(plugFrame, editor);
    ScopedPlugLock lock(mPlug->GetMutex());
    mPlug->EditorOpened();
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::removed() {
    mHostLoop.Stop();  // before the window closes: no event or tick reaches a closed editor
    if (IGraphics* editor = mPlug->GetGraphics()) {
        {
            ScopedPlugLock lock(mPlug->GetMutex());
            mPlug->EditorClosed();
        }
        if (mWindowOpen) editor->CloseGuiWindow();
    }
    mWindowOpen = false;
    return CPluginView::removed();
}

tresult PLUGIN_API IFxVST3View::setFrame(IEditorFrame* frame) {
    const bool changed = frame != plugFrame;
    const tresult result = CPluginView::setFrame(frame);
    if (kHostDrivesEditor && changed && mWindowOpen) mHostLoop.Start(plugFrame, mPlug->GetGraphics());
    return result;
}

tresult PLUGIN_API IFxVST3View::getSize(ViewRect* size) {
    IGraphics* editor = mPlug->GetGraphics();
    if (!editor || !size) return kResultFalse;
    *size = ViewRect{0, 0, editor->Width(), editor->Height()};
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::onSize(ViewRect* newSize) {
    if (!newSize) return kResultOk;
    rect = *newSize;
    if (mExpectingResize) {
        mPlug->EditorResized();
        mExpectingResize = false;
    }
    return kResultOk;
}
