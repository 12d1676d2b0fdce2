#pragma once
// AAX_CEffectGUI: the object through which the host manages the plug-in's editor. It keeps the
// host's controller and transport proxies, the instance's effect-parameters interface and the
// current view container; creating, opening and closing the editor is the binding's.
#include <cstdint>
#include <memory>

#include "aax-library/acf_unknown.h"
#include "aax-library/host_interface.h"
#include "aax-library/host_proxies.h"

// The interface the host sees: root slots, then slots 3 to 16. No virtual destructor.
class AAX_IACFEffectGUI : public IACFUnknown {
public:
    virtual int32_t ACF_CALL InitializeWithController(IACFUnknown* host) = 0;  // 3
    virtual int32_t ACF_CALL Uninitialize() = 0;                               // 4
    virtual int32_t ACF_CALL Reserved5() = 0;                                  // 5
    virtual int32_t ACF_CALL SetViewContainer(IACFUnknown* container) = 0;     // 6
    virtual int32_t ACF_CALL ReportViewSize(float* size) const = 0;            // 7
    virtual int32_t ACF_CALL Reserved8() = 0;                                  // 8
    virtual int32_t ACF_CALL Reserved9() = 0;                                  // 9
    virtual int32_t ACF_CALL ParameterUpdated(const char* id) = 0;             // 10
    virtual int32_t ACF_CALL Reserved11() = 0;                                 // 11
    virtual int32_t ACF_CALL Reserved12() = 0;                                 // 12
    virtual int32_t ACF_CALL FetchGraphics() = 0;                              // 13
    virtual int32_t ACF_CALL OpenEditorInContainer() = 0;                      // 14
    virtual int32_t ACF_CALL CloseEditorWindow() = 0;                          // 15
    virtual int32_t ACF_CALL SyncAllParameters() = 0;                          // 16

protected:
    ~AAX_IACFEffectGUI() = default;
};

class AAX_IEffectGUI : public AAX_IACFEffectGUI {
protected:
    ~AAX_IEffectGUI() = default;
};

// The host's user-interface thread; no lock.
class AAX_CEffectGUI : public AAX_IEffectGUI, public CACFUnknown {
public:
    AAX_CEffectGUI();
    ~AAX_CEffectGUI() override;

    // [any thread]
    ACFRESULT ACF_CALL QueryInterface(const acfUID& iid, void** out) override;
    uint32_t ACF_CALL AddRef() override;
    uint32_t ACF_CALL Release() override;
    ACFRESULT InternalQueryInterface(const acfUID& iid, void** out) override;

    // [UI thread] every slot the host calls
    int32_t ACF_CALL InitializeWithController(IACFUnknown* host) override;
    int32_t ACF_CALL Uninitialize() override;
    int32_t ACF_CALL Reserved5() override { return 0; }
    int32_t ACF_CALL SetViewContainer(IACFUnknown* container) override;
    int32_t ACF_CALL ReportViewSize(float*) const override { return 0; }
    int32_t ACF_CALL Reserved8() override { return 0; }
    int32_t ACF_CALL Reserved9() override { return 0; }
    int32_t ACF_CALL ParameterUpdated(const char*) override { return 0; }
    int32_t ACF_CALL Reserved11() override { return kAAXNoHostInterface; }
    int32_t ACF_CALL Reserved12() override { return 0; }
    int32_t ACF_CALL SyncAllParameters() override;

    // The instance's effect-parameters interface (a host interface; null when not offered).
    // [UI thread]
    IACFUnknown* EffectParametersInterface() const { return mEffectParameters.Get(); }
    AAX_IViewContainer* ViewContainer() const { return mViewContainer.get(); }
    void* NativeViewOfContainer() const { return mViewContainer ? mViewContainer->NativeView() : nullptr; }

private:
    void Release3();

    std::unique_ptr<AAX_VController> mController;
    HostRef mEffectParameters;
    // Owned: a replaced or withdrawn container is freed only after the editor has been handed
    // the new one or closed, so the editor never holds a freed container.
    std::unique_ptr<AAX_VViewContainer> mViewContainer;
    std::unique_ptr<AAX_VTransport> mTransport;
};
