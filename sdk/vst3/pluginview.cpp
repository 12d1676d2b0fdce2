#include "sdk/vst3/pluginview.h"

namespace Sdk {

CPluginView::CPluginView(const ViewRect* r) {
    if (r) rect = *r;
}

CPluginView::~CPluginView() {
    if (plugFrame) plugFrame->release();
}

tresult PLUGIN_API CPluginView::isPlatformTypeSupported(FIDString) { return kNotImplemented; }

tresult PLUGIN_API CPluginView::attached(void* parent, FIDString) {
    systemWindow = parent;
    attachedToParent();
    return kResultOk;
}

tresult PLUGIN_API CPluginView::removed() {
    systemWindow = nullptr;
    removedFromParent();
    return kResultOk;
}

tresult PLUGIN_API CPluginView::onWheel(float) { return kResultFalse; }
tresult PLUGIN_API CPluginView::onKeyDown(char16, int16, int16) { return kResultFalse; }
tresult PLUGIN_API CPluginView::onKeyUp(char16, int16, int16) { return kResultFalse; }

tresult PLUGIN_API CPluginView::getSize(ViewRect* size) {
    if (!size) return kInvalidArgument;
    *size = rect;
    return kResultTrue;
}

tresult PLUGIN_API CPluginView::onSize(ViewRect* newSize) {
    if (newSize) rect = *newSize;
    return kResultTrue;
}

tresult PLUGIN_API CPluginView::onFocus(TBool) { return kResultFalse; }

tresult PLUGIN_API CPluginView::setFrame(IEditorFrame* frame) {
    if (frame) frame->addRef();
    if (plugFrame) plugFrame->release();
    plugFrame = frame;
    return kResultTrue;
}

tresult PLUGIN_API CPluginView::canResize() { return kResultFalse; }
tresult PLUGIN_API CPluginView::checkSizeConstraint(ViewRect*) { return kResultFalse; }

tresult PLUGIN_API CPluginView::queryInterface(const TUID iid, void** obj) {
    if (tryInterface<IEditorView>(iid, obj, this)) return kResultOk;
    return FObject::queryInterface(iid, obj);
}

}  // namespace Sdk
