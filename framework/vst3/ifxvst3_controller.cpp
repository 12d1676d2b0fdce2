// IFxVST3: the controller's parameter queries, MIDI controller mapping, units and program list.
// Any host thread; no lock. Framework parameters (ids 0 .. N-1) answer with their own shaped
// conversions, so the host's values, texts and defaults agree with the plug-in's.
#include <cstring>

#include "framework/vst3/ifxvst3.h"
#include "sdk/vst3/strings.h"

using namespace Sdk;
using namespace Sdk::Vst;

namespace {
constexpr ProgramListID kPresetList = static_cast<ProgramListID>(IFxVST3::kPresetTag);

double Clamp01(double v) { return v > 0.0 ? (v < 1.0 ? v : 1.0) : 0.0; }  // a NaN gives 0
}  // namespace

// Sets the value only: the host sends automation through process, which tells the plug-in.
// 'bpas' sets the bypass as a process queue would, so a host reads back what it set; the flag is
// atomic and process reads it once per block, so no lock is needed.
tresult PLUGIN_API IFxVST3::setParamNormalized(ParamID id, ParamValue value) {
    if (id == kBypassTag) {
        SetBypassed(value > 0.5);
        return kResultOk;
    }
    IFxParam* param = FrameworkParam(id);
    if (!param) return kResultFalse;
    param->AssignNormalized(value);
    return kResultOk;
}

ParamValue PLUGIN_API IFxVST3::getParamNormalized(ParamID id) {
    if (id == kBypassTag) return IsBypassed() ? 1.0 : 0.0;
    const IFxParam* param = FrameworkParam(id);
    return param ? param->NormalizedValue() : 0.0;
}

tresult PLUGIN_API IFxVST3::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) {
    const IFxParam* param = FrameworkParam(id);
    if (!param || !string) return kResultFalse;
    char text[kParamTextSize];
    param->FormatForHost(Clamp01(valueNormalized), true, text, true);
    toString128(text, string);
    return kResultOk;
}

// A value text of the parameter, else a number in the parameter's display units.
tresult PLUGIN_API IFxVST3::getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) {
    const IFxParam* param = FrameworkParam(id);
    if (!param) return SingleComponentEffect::getParamValueByString(id, string, valueNormalized);
    if (!string) return kResultFalse;
    char text[kParamTextSize * 4];
    fromString128(string, text, sizeof text);
    int listed = 0;
    if (param->MapDisplayText(text, &listed)) {
        valueNormalized = param->ToNormalized(listed);
        return kResultOk;
    }
    double plain = 0.0;
    if (!parseFloat(string, plain)) return kResultFalse;
    valueNormalized = param->ToNormalized(param->NegateDisplay() ? -plain : plain);
    return kResultOk;
}

ParamValue PLUGIN_API IFxVST3::normalizedParamToPlain(ParamID id, ParamValue valueNormalized) {
    const IFxParam* param = FrameworkParam(id);
    return param ? param->FromNormalized(Clamp01(valueNormalized))
                 : SingleComponentEffect::normalizedParamToPlain(id, valueNormalized);
}

ParamValue PLUGIN_API IFxVST3::plainParamToNormalized(ParamID id, ParamValue plainValue) {
    const IFxParam* param = FrameworkParam(id);
    return param ? param->ToNormalized(plainValue) : plainValue;
}

// Controllers 0..127 map to the MIDI CC parameters; without MIDI there is no mapping at all.
tresult PLUGIN_API IFxVST3::getMidiControllerAssignment(int32, int16, CtrlNumber midiControllerNumber, ParamID& id) {
    if (!DoesMidi() || midiControllerNumber < 0 || midiControllerNumber > 127) return kResultFalse;
    id = static_cast<ParamID>(NParams() + midiControllerNumber);
    return kResultOk;
}

int32 PLUGIN_API IFxVST3::getUnitCount() { return static_cast<int32>(mGroups.size()) + 1; }

tresult PLUGIN_API IFxVST3::getUnitInfo(int32 unitIndex, UnitInfo& info) {
    if (unitIndex < 0 || unitIndex > static_cast<int32>(mGroups.size())) return kResultFalse;
    info.id = unitIndex;
    info.parentUnitId = unitIndex == 0 ? kNoParentUnitId : kRootUnitId;
    toString128(unitIndex == 0 ? "Root Unit" : mGroups[unitIndex - 1], info.name);
    info.programListId = kNoProgramListId;
    return kResultOk;
}

// The preset list is described but not counted, as hosts have always seen it.
int32 PLUGIN_API IFxVST3::getProgramListCount() { return 0; }

tresult PLUGIN_API IFxVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
    if (listIndex != 0) return kResultFalse;
    info.id = kPresetList;
    toString128("Factory Presets", info.name);
    info.programCount = NPresets();
    return kResultOk;
}

tresult PLUGIN_API IFxVST3::getProgramName(ProgramListID listId, int32 programIndex, String128 name) {
    if (listId != kPresetList || !name) return kResultFalse;
    ScopedPlugLock lock(GetMutex());  // a program change captures an empty slot under it, naming it
    toString128(GetPresetSlotName(programIndex), name);
    return kResultOk;
}

tresult PLUGIN_API IFxVST3::getProgramInfo(ProgramListID, int32, CString, String128) { return kNotImplemented; }
tresult PLUGIN_API IFxVST3::hasProgramPitchNames(ProgramListID, int32) { return kNotImplemented; }
tresult PLUGIN_API IFxVST3::getProgramPitchName(ProgramListID, int32, int16, String128) { return kNotImplemented; }
UnitID PLUGIN_API IFxVST3::getSelectedUnit() { return kRootUnitId; }
tresult PLUGIN_API IFxVST3::selectUnit(UnitID) { return kNotImplemented; }
tresult PLUGIN_API IFxVST3::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&) { return kNotImplemented; }
tresult PLUGIN_API IFxVST3::setUnitProgramData(int32, int32, IBStream*) { return kNotImplemented; }
