// EditController: the edit controller over a parameter container and the host's component handler.
#pragma once

#include "sdk/vst3/componentbase.h"
#include "sdk/vst3/editcontroller.h"
#include "sdk/vst3/parameter.h"

namespace Sdk {
namespace Vst {

class EditController : public ComponentBase, public IEditController, public IEditController2 {
public:
    EditController() = default;
    ~EditController() override;

    tresult PLUGIN_API initialize(FUnknown* context) override;
    // Removes every parameter and releases the component handlers, then ComponentBase's terminate.
    tresult PLUGIN_API terminate() override;

    // The three state calls answer kNotImplemented.
    tresult PLUGIN_API setComponentState(IBStream* state) override;
    tresult PLUGIN_API setState(IBStream* state) override;
    tresult PLUGIN_API getState(IBStream* state) override;

    // The parameter queries go to the container; an unknown id gives kResultFalse, or the
    // input value for the conversions, or 0 for getParamNormalized.
    int32 PLUGIN_API getParameterCount() override;
    tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) override;
    tresult PLUGIN_API getParamStringByValue(ParamID tag, ParamValue valueNormalized, String128 string) override;
    tresult PLUGIN_API getParamValueByString(ParamID tag, TChar* string, ParamValue& valueNormalized) override;
    ParamValue PLUGIN_API normalizedParamToPlain(ParamID tag, ParamValue valueNormalized) override;
    ParamValue PLUGIN_API plainParamToNormalized(ParamID tag, ParamValue plainValue) override;
    ParamValue PLUGIN_API getParamNormalized(ParamID tag) override;
    tresult PLUGIN_API setParamNormalized(ParamID tag, ParamValue value) override;
    // Keeps the handler with a reference, and its IComponentHandler2 when it answers one.
    tresult PLUGIN_API setComponentHandler(IComponentHandler* handler) override;
    IEditorView* PLUGIN_API createView(FIDString name) override;

    // The knob mode is one setting for all instances.
    tresult PLUGIN_API setKnobMode(KnobMode mode) override;
    tresult PLUGIN_API openHelp(TBool onlyCheck) override;
    tresult PLUGIN_API openAboutBox(TBool onlyCheck) override;

    // Edit gestures forwarded to the component handler; kResultFalse without one.
    virtual tresult beginEdit(ParamID tag);
    virtual tresult performEdit(ParamID tag, ParamValue valueNormalized);
    virtual tresult endEdit(ParamID tag);
    // Forwarded to IComponentHandler2; kNotImplemented without one.
    virtual tresult startGroupEdit();
    virtual tresult finishGroupEdit();
    virtual tresult setDirty(TBool state);
    virtual tresult requestOpenEditor(FIDString name = ViewType::kEditor);

    IComponentHandler* getComponentHandler() const { return componentHandler; }
    static KnobMode getHostKnobMode() { return hostKnobMode; }

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    FOBJECT_REFCOUNT(ComponentBase)
    FOBJECT_CLASS(EditController, ComponentBase)

protected:
    ParameterContainer parameters;
    IComponentHandler* componentHandler = nullptr;
    IComponentHandler2* componentHandler2 = nullptr;

private:
    void releaseHandlers();

    static KnobMode hostKnobMode;
};

}  // namespace Vst
}  // namespace Sdk
