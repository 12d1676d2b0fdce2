#include "framework/aax/effect_gui_ifx.h"

#include "aax-library/host_interface.h"
#include "framework/aax/ifxaax.h"
#include "framework/igraphics.h"

namespace {
constexpr int kQueryCustomDataSlot = 32;
}

AAX_CEffectGUI_IFX::AAX_CEffectGUI_IFX() = default;

// The editor window must not outlive this object: a host that releases the GUI without first
// withdrawing the container still gets the window closed (the plug-in is still referenced here).
AAX_CEffectGUI_IFX::~AAX_CEffectGUI_IFX() { Forget(); }

int32_t ACF_CALL AAX_CEffectGUI_IFX::Uninitialize() {
    Forget();
    return AAX_CEffectGUI::Uninitialize();
}

void AAX_CEffectGUI_IFX::Forget() {
    if (mPlugin && mPlugin->ViewContainer()) CloseEditorWindow();
    mPlugin = nullptr;
    mGraphics = nullptr;
}

int32_t ACF_CALL AAX_CEffectGUI_IFX::ReportViewSize(float* size) const {
    if (size && mGraphics) {
        size[0] = float(mGraphics->Height());
        size[1] = float(mGraphics->Width());
    }
    return 0;
}

// The plug-in object is asked for through the effect-parameters interface's custom data 8, so
// this works through whatever interface the host hands out.
int32_t ACF_CALL AAX_CEffectGUI_IFX::FetchGraphics() {
    mPlugin = nullptr;
    mGraphics = nullptr;
    IACFUnknown* parameters = EffectParametersInterface();
    if (!parameters) return 0;
    AAX_CIFxParameters* found = nullptr;
    if (HostCall<int32_t>(parameters, kQueryCustomDataSlot, uint32_t(kFieldPrivate), static_cast<void*>(&found),
                          uint32_t(sizeof found)) != 0)
        return 0;
    mPlugin = dynamic_cast<IFxAAX*>(found);
    if (mPlugin) mGraphics = mPlugin->GetGraphics();
    return 0;
}

// The window is made and destroyed without the plug-in mutex, so rendering goes on meanwhile;
// the plug-in hears of an editor whose window opened, and of its closing, under it.
int32_t ACF_CALL AAX_CEffectGUI_IFX::OpenEditorInContainer() {
    void* parent = NativeViewOfContainer();
    if (!parent || !mGraphics || !mPlugin) return 0;
    mPlugin->SetViewContainer(ViewContainer());
    if (!mGraphics->OpenGuiWindow(static_cast<IWindowHandle>(parent))) return 0;
    mWindowOpen = true;
    ScopedPlugLock lock(mPlugin->GetMutex());
    mPlugin->EditorOpened();
    return 0;
}

int32_t ACF_CALL AAX_CEffectGUI_IFX::CloseEditorWindow() {
    if (!mGraphics) return 0;
    if (mWindowOpen && mPlugin) {
        ScopedPlugLock lock(mPlugin->GetMutex());
        mPlugin->EditorClosed();
    }
    mWindowOpen = false;
    mGraphics->CloseGuiWindow();
    if (mPlugin) mPlugin->SetViewContainer(nullptr);
    return 0;
}
