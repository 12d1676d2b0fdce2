#include "aax-library/effect_gui.h"

#include "aax-library/aax_string.h"

AAX_CEffectGUI::AAX_CEffectGUI() = default;

AAX_CEffectGUI::~AAX_CEffectGUI() { Release3(); }

ACFRESULT ACF_CALL AAX_CEffectGUI::QueryInterface(const acfUID& iid, void** out) {
    return ControllingUnknown()->QueryInterface(iid, out);
}
uint32_t ACF_CALL AAX_CEffectGUI::AddRef() { return ControllingUnknown()->AddRef(); }
uint32_t ACF_CALL AAX_CEffectGUI::Release() { return ControllingUnknown()->Release(); }

ACFRESULT AAX_CEffectGUI::InternalQueryInterface(const acfUID& iid, void** out) {
    if (out && iid == kIID_EffectGUI) {
        AAX_IEffectGUI* self = this;
        self->AddRef();
        *out = self;
        return kACFOk;
    }
    return CACFUnknown::InternalQueryInterface(iid, out);
}

// The effect-parameters interface, the controller and the transport.
void AAX_CEffectGUI::Release3() {
    mEffectParameters.Reset();
    mController.reset();
    mTransport.reset();
}

// Host user-interface thread. A second initialization first lets go of everything the first
// host gave, through Uninitialize so a binding closes its editor too, also when the new host is
// null.
int32_t ACF_CALL AAX_CEffectGUI::InitializeWithController(IACFUnknown* host) {
    Uninitialize();
    mController = std::make_unique<AAX_VController>(host);
    if (!host) return kAAXNoController;
    mEffectParameters.Query(host, kIID_EffectParameters);
    mTransport = std::make_unique<AAX_VTransport>(host);
    FetchGraphics();
    return 0;
}

int32_t ACF_CALL AAX_CEffectGUI::Uninitialize() {
    Release3();
    return 0;
}

// Host user-interface thread: a container opens the editor in it, null closes the editor.
int32_t ACF_CALL AAX_CEffectGUI::SetViewContainer(IACFUnknown* container) {
    std::unique_ptr<AAX_VViewContainer> previous = std::move(mViewContainer);
    if (container) {
        mViewContainer = std::make_unique<AAX_VViewContainer>();
        mViewContainer->InterfaceRef().Query(container, kIID_ViewContainer);
        OpenEditorInContainer();
        SyncAllParameters();
    } else {
        CloseEditorWindow();
    }
    return 0;
}

int32_t ACF_CALL AAX_CEffectGUI::SyncAllParameters() {
    IACFUnknown* parameters = mEffectParameters.Get();
    if (!parameters) return 0;
    int32_t count = 0;
    if (HostCall<int32_t>(parameters, 6, &count) != 0) return 0;
    for (int32_t i = 0; i < count; ++i) {
        AAX_CString id;
        if (HostCall<int32_t>(parameters, 18, i, static_cast<AAX_IString*>(&id)) == 0) ParameterUpdated(id.Text());
    }
    return 0;
}
