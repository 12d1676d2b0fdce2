#include "framework/vst3/ifxvst3_view.h"

#include <cstring>

#include "framework/igraphics.h"
#include "framework/vst3/ifxvst3.h"

using namespace Sdk;

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
    const bool hwnd = type && std::strcmp(type, kPlatformTypeHWND) == 0;
    return hwnd && mPlug->GetGraphics() ? kResultOk : kResultFalse;
}

// The window is made without the plug-in mutex, so the audio thread goes on meanwhile; the
// plug-in hears of the editor under it.
tresult PLUGIN_API IFxVST3View::attached(void* parent, FIDString type) {
    IGraphics* editor = mPlug->GetGraphics();
    if (!editor || isPlatformTypeSupported(type) != kResultOk) return kResultFalse;
    if (!editor->OpenGuiWindow(parent)) return kResultFalse;  // no window: not attached
    mWindowOpen = true;
    CPluginView::attached(parent, type);
    ScopedPlugLock lock(mPlug->GetMutex());
    mPlug->EditorOpened();
    return kResultOk;
}

tresult PLUGIN_API IFxVST3View::removed() {
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
