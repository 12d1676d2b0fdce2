// IFxVST3: the editor views and what the editor asks of the host (parameter menu, resize).
#include <algorithm>
#include <cstring>

#include "framework/vst3/ifxvst3.h"
#include "framework/vst3/ifxvst3_view.h"
#include "sdk/vst3/contextmenu.h"

using namespace Sdk;
using namespace Sdk::Vst;

IEditorView* PLUGIN_API IFxVST3::createView(FIDString name) {
    if (!name || std::strcmp(name, ViewType::kEditor) != 0) return nullptr;
    return new IFxVST3View(this);  // the host's reference is the view's first
}

void IFxVST3::RemoveView(IFxVST3View* view) {
    auto it = std::find(mOpenViews.begin(), mOpenViews.end(), view);
    if (it != mOpenViews.end()) mOpenViews.erase(it);
}

tresult PLUGIN_API IFxVST3::terminate() {
    mOpenViews.clear();
    return SingleComponentEffect::terminate();
}

void IFxVST3::OpenHostParamMenu(int paramIdx, int x, int y) {
    IComponentHandler* handler = getComponentHandler();
    if (!handler || mOpenViews.empty()) return;
    IComponentHandler3* handler3 = nullptr;
    if (handler->queryInterface(IComponentHandler3::iid, reinterpret_cast<void**>(&handler3)) != kResultOk || !handler3)
        return;
    const ParamID id = static_cast<ParamID>(paramIdx);
    if (IContextMenu* menu = handler3->createContextMenu(mOpenViews.front(), &id)) {
        menu->popup(x, y);
        menu->release();
    }
    handler3->release();
}

void IFxVST3::RequestEditorResize(int width, int height) {
    if (!GetGraphics() || mOpenViews.empty()) return;
    IFxVST3View* view = mOpenViews.front();
    IEditorFrame* frame = view->getFrame();
    if (!frame) return;
    view->ExpectResize();
    ViewRect rect{0, 0, width, height};
    frame->resizeView(view, &rect);
}
