// CPluginView: base of editor views, keeping the rectangle, the parent window and the host's frame.
#pragma once

#include "sdk/vst3/fobject.h"
#include "sdk/vst3/plugview.h"

namespace Sdk {

class CPluginView : public FObject, public IEditorView {
public:
    explicit CPluginView(const ViewRect* rect = nullptr);
    ~CPluginView() override;

    const ViewRect& getRect() const { return rect; }
    void setRect(const ViewRect& r) { rect = r; }
    void* getSystemWindow() const { return systemWindow; }
    bool isAttached() const { return systemWindow != nullptr; }
    IEditorFrame* getFrame() const { return plugFrame; }

    // Hooks run by attached and removed.
    virtual void attachedToParent() {}
    virtual void removedFromParent() {}

    tresult PLUGIN_API isPlatformTypeSupported(FIDString type) override;  // kNotImplemented
    // Keeps the parent window, runs attachedToParent.
    tresult PLUGIN_API attached(void* parent, FIDString type) override;
    // Forgets the parent window, runs removedFromParent.
    tresult PLUGIN_API removed() override;
    // The input, focus and resize queries answer kResultFalse.
    tresult PLUGIN_API onWheel(float distance) override;
    tresult PLUGIN_API onKeyDown(char16 key, int16 keyCode, int16 modifiers) override;
    tresult PLUGIN_API onKeyUp(char16 key, int16 keyCode, int16 modifiers) override;
    tresult PLUGIN_API getSize(ViewRect* size) override;
    tresult PLUGIN_API onSize(ViewRect* newSize) override;
    tresult PLUGIN_API onFocus(TBool state) override;
    // Keeps the frame with a reference, releasing the previous one.
    tresult PLUGIN_API setFrame(IEditorFrame* frame) override;
    tresult PLUGIN_API canResize() override;
    tresult PLUGIN_API checkSizeConstraint(ViewRect* rect) override;

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    FOBJECT_REFCOUNT(FObject)
    FOBJECT_CLASS(CPluginView, FObject)

protected:
    ViewRect rect;
    void* systemWindow = nullptr;
    IEditorFrame* plugFrame = nullptr;
};

}  // namespace Sdk
