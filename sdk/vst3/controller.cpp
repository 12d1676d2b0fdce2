#include "sdk/vst3/controller.h"

namespace Sdk {
namespace Vst {

KnobMode EditController::hostKnobMode = kCircularMode;

EditController::~EditController() { releaseHandlers(); }

void EditController::releaseHandlers() {
    if (componentHandler) componentHandler->release();
    if (componentHandler2) componentHandler2->release();
    componentHandler = nullptr;
    componentHandler2 = nullptr;
}

tresult PLUGIN_API EditController::initialize(FUnknown* context) { return ComponentBase::initialize(context); }

tresult PLUGIN_API EditController::terminate() {
    parameters.removeAll();
    releaseHandlers();
    return ComponentBase::terminate();
}

tresult PLUGIN_API EditController::setComponentState(IBStream*) { return kNotImplemented; }
tresult PLUGIN_API EditController::setState(IBStream*) { return kNotImplemented; }
tresult PLUGIN_API EditController::getState(IBStream*) { return kNotImplemented; }

int32 PLUGIN_API EditController::getParameterCount() { return parameters.getParameterCount(); }

tresult PLUGIN_API EditController::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
    Parameter* p = parameters.getParameterByIndex(paramIndex);
    if (!p) return kResultFalse;
    info = p->getInfo();
    return kResultTrue;
}

tresult PLUGIN_API EditController::getParamStringByValue(ParamID tag, ParamValue valueNormalized, String128 string) {
    Parameter* p = parameters.getParameter(tag);
    if (!p) return kResultFalse;
    p->toString(valueNormalized, string);
    return kResultTrue;
}

tresult PLUGIN_API EditController::getParamValueByString(ParamID tag, TChar* string, ParamValue& valueNormalized) {
    Parameter* p = parameters.getParameter(tag);
    return p && p->fromString(string, valueNormalized) ? kResultTrue : kResultFalse;
}

ParamValue PLUGIN_API EditController::normalizedParamToPlain(ParamID tag, ParamValue valueNormalized) {
    Parameter* p = parameters.getParameter(tag);
    return p ? p->toPlain(valueNormalized) : valueNormalized;
}

ParamValue PLUGIN_API EditController::plainParamToNormalized(ParamID tag, ParamValue plainValue) {
    Parameter* p = parameters.getParameter(tag);
    return p ? p->toNormalized(plainValue) : plainValue;
}

ParamValue PLUGIN_API EditController::getParamNormalized(ParamID tag) {
    Parameter* p = parameters.getParameter(tag);
    return p ? p->getNormalized() : 0.;
}

tresult PLUGIN_API EditController::setParamNormalized(ParamID tag, ParamValue value) {
    Parameter* p = parameters.getParameter(tag);
    if (!p) return kResultFalse;
    p->setNormalized(value);
    return kResultTrue;
}

tresult PLUGIN_API EditController::setComponentHandler(IComponentHandler* handler) {
    if (handler == componentHandler) return kResultTrue;
    releaseHandlers();
    componentHandler = handler;
    if (componentHandler) {
        componentHandler->addRef();
        void* obj = nullptr;
        if (componentHandler->queryInterface(IComponentHandler2::iid, &obj) == kResultOk)
            componentHandler2 = static_cast<IComponentHandler2*>(obj);
    }
    return kResultTrue;
}

IEditorView* PLUGIN_API EditController::createView(FIDString) { return nullptr; }

tresult PLUGIN_API EditController::setKnobMode(KnobMode mode) {
    hostKnobMode = mode;
    return kResultTrue;
}

tresult PLUGIN_API EditController::openHelp(TBool) { return kResultFalse; }
tresult PLUGIN_API EditController::openAboutBox(TBool) { return kResultFalse; }

tresult EditController::beginEdit(ParamID tag) {
    return componentHandler ? componentHandler->beginEdit(tag) : kResultFalse;
}

tresult EditController::performEdit(ParamID tag, ParamValue valueNormalized) {
    return componentHandler ? componentHandler->performEdit(tag, valueNormalized) : kResultFalse;
}

tresult EditController::endEdit(ParamID tag) {
    return componentHandler ? componentHandler->endEdit(tag) : kResultFalse;
}

tresult EditController::startGroupEdit() {
    return componentHandler2 ? componentHandler2->startGroupEdit() : kNotImplemented;
}

tresult EditController::finishGroupEdit() {
    return componentHandler2 ? componentHandler2->finishGroupEdit() : kNotImplemented;
}

tresult EditController::setDirty(TBool state) {
    return componentHandler2 ? componentHandler2->setDirty(state) : kNotImplemented;
}

tresult EditController::requestOpenEditor(FIDString name) {
    return componentHandler2 ? componentHandler2->requestOpenEditor(name) : kNotImplemented;
}

tresult PLUGIN_API EditController::queryInterface(const TUID iid, void** obj) {
    if (tryInterface<IEditController>(iid, obj, this)) return kResultOk;
    if (tryInterface<IEditController2>(iid, obj, this)) return kResultOk;
    return ComponentBase::queryInterface(iid, obj);
}

}  // namespace Vst
}  // namespace Sdk
