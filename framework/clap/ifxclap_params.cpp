// IFxCLAP: the params extension. Values are plain, as the editor shows them; the texts are the
// framework's display texts (a parameter's value texts, else its number), read back both ways.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "framework/clap/ifxclap.h"
#include "framework/fpmode.h"

namespace {
IFxParam* ParamOf(const Clap::Plugin* p, Clap::Id id) {
    IFxCLAP* plug = IFxCLAP::From(p);
    return plug && id < static_cast<uint32_t>(plug->NParams()) ? plug->GetParam(static_cast<int>(id)) : nullptr;
}
}  // namespace

uint32_t IFxCLAP::ParamCount(const Clap::Plugin* p) {
    const IFxCLAP* plug = From(p);
    return plug ? static_cast<uint32_t>(plug->NParams()) : 0;
}

// Switches and other kinds but continuous ones are stepped; none is the host's bypass ("Bypass"
// is the plug-in's own switch).
bool IFxCLAP::ParamInfo(const Clap::Plugin* p, uint32_t index, Clap::ParamInfo* info) {
    const IFxParam* param = ParamOf(p, index);
    if (!param || !info) return false;
    *info = Clap::ParamInfo{};
    info->id = index;
    info->flags = (param->CanAutomate() ? Clap::kParamIsAutomatable : 0u) |
                  (param->Kind() != kParamDouble ? Clap::kParamIsStepped : 0u);
    std::snprintf(info->name, sizeof info->name, "%s", param->ParamNameText());
    std::snprintf(info->module, sizeof info->module, "%s", param->ParamGroupText());
    info->min_value = param->Min();
    info->max_value = param->Max();
    info->default_value = param->Default();
    return true;
}

bool IFxCLAP::ParamValue(const Clap::Plugin* p, Clap::Id id, double* value) {
    const IFxParam* param = ParamOf(p, id);
    if (!param || !value) return false;
    *value = param->Value();
    return true;
}

bool IFxCLAP::ValueToText(const Clap::Plugin* p, Clap::Id id, double value, char* out, uint32_t capacity) {
    const IFxParam* param = ParamOf(p, id);
    if (!param || !out || capacity == 0) return false;
    char text[kParamTextSize];
    param->FormatForHost(param->Clamp(value), false, text, true);
    std::snprintf(out, capacity, "%s", text);
    return true;
}

// A value text of the parameter, else a number in its display units, clamped into its range.
bool IFxCLAP::TextToValue(const Clap::Plugin* p, Clap::Id id, const char* text, double* value) {
    const IFxParam* param = ParamOf(p, id);
    if (!param || !text || !value) return false;
    int listed = 0;
    if (param->MapDisplayText(text, &listed)) {
        *value = param->Clamp(listed);
        return true;
    }
    char* end = nullptr;
    const double number = std::strtod(text, &end);
    if (end == text || !std::isfinite(number)) return false;
    *value = param->Clamp(param->NegateDisplay() ? -number : number);
    return true;
}

// Never beside process: the host's events apply now, in the floating-point mode of a block (so
// the plug-in reacts to them as in process), and the editor's gestures go out.
void IFxCLAP::Flush(const Clap::Plugin* p, const Clap::InputEvents* in, const Clap::OutputEvents* out) {
    IFxCLAP* plug = From(p);
    if (!plug) return;
    plug->CheckThread(plug->mStage.load() >= kActive ? kAudioThread : kMainThread, __func__);
    ScopedAudioFpMode fpMode;
    ScopedPlugLock lock(plug->GetMutex());
    const uint32_t count = EventCount(in);
    for (uint32_t i = 0; i < count; ++i)
        if (const Clap::EventHeader* event = in->get(in, i)) plug->ApplyEvent(*event);
    plug->PushEdits(out);
}
