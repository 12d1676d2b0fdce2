// IFxVST: the dispatcher, the host's road to everything but audio and parameter values.
// Texts copied into host buffers are cut to their limits: 31 characters for parameter texts,
// 127 for names, and 23 for program names, which VST 2.4 hosts read into 24-byte buffers (a
// loaded bank can name a program with up to 255).
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/igraphics.h"
#include "framework/vst2/ifxvst.h"

using namespace Vst2;

namespace {
constexpr intptr_t kBeef = 0xBEEF;
constexpr intptr_t kBeefHigh = static_cast<intptr_t>(0xBEEF0000u);
constexpr int kHostProgramNameSize = 24;

void CopyText(void* data, const char* text, int size) { std::snprintf(static_cast<char*>(data), size, "%s", text); }

// A host value that no int holds counts as out of every range.
int ToIndex(intptr_t value) { return value >= INT_MIN && value <= INT_MAX ? static_cast<int>(value) : -1; }
}  // namespace

// Any host thread. Takes the plug-in mutex for the whole call (recursively, so a host that calls
// back into the dispatcher from its callback does not deadlock), except that opening, idling and
// closing the editor take it only around the plug-in's part (OpenEditor, IdleEditor, CloseEditor)
// and the chunk calls only around taking or applying the state (GetChunk, SetChunk); open asks
// the host who it is before taking it; close releases it before the plug-in and its mutex are
// deleted. No exception reaches the host.
intptr_t VST2_CALL IFxVST::VSTDispatcher(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* data,
                                         float opt) {
    IFxVST* plug = FromEffect(effect);
    if (!plug) return 0;
    if (opcode == EffectOp::kClose) {
        { ScopedPlugLock lock(plug->GetMutex()); }
        delete plug;
        return 0;
    }
    try {
        if (opcode == EffectOp::kEditOpen) return plug->OpenEditor(data);
        if (opcode == EffectOp::kEditIdle) return plug->IdleEditor();
        if (opcode == EffectOp::kEditClose) return plug->CloseEditor();
        if (opcode == EffectOp::kGetChunk) return data ? plug->GetChunk(static_cast<void**>(data), index != 0) : 0;
        if (opcode == EffectOp::kSetChunk) return data && plug->SetChunk(data, value, index != 0) ? 1 : 0;
        if (opcode == EffectOp::kOpen) plug->GetHostCode();  // asked here, read under the lock by HostQuirksSetup
        ScopedPlugLock lock(plug->GetMutex());
        return plug->Dispatch(opcode, index, value, data, opt);
    } catch (...) {
        return 0;
    }
}

// Making and destroying the window take milliseconds (several under Wine): the audio thread
// must not wait for them, so they run without the plug-in mutex. The plug-in hears of the
// editor under it.
intptr_t IFxVST::OpenEditor(void* parent) {
    IGraphics* editor = GetGraphics();
    if (!editor || !editor->OpenGuiWindow(parent)) return 0;
    mEditorOpen = true;
    ScopedPlugLock lock(GetMutex());
    EditorOpened();
    return 1;
}

// The plug-in's idle work under the mutex. Outside Windows the host's idle calls are also the open
// editor's loop (Windows runs it in the window itself): its pending window events each call, and
// a redraw tick once 1/Fps() s passed since the last, painted without the mutex like the window
// work above.
intptr_t IFxVST::IdleEditor() {
    {
        ScopedPlugLock lock(GetMutex());
        OnGuiIdle();
    }
#ifndef _WIN32
    IGraphics* editor = GetGraphics();
    if (!editor || !mEditorOpen) return 0;
    mEditorLoop.Idle(editor);
#endif
    return 0;
}

intptr_t IFxVST::CloseEditor() {
    IGraphics* editor = GetGraphics();
    if (!editor) return 0;
    {
        ScopedPlugLock lock(GetMutex());
        EditorClosed();
    }
    mEditorOpen = false;
    editor->CloseGuiWindow();
    return 1;
}

intptr_t IFxVST::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* data, float opt) {
    IFxParam* param = GetParam(index);  // null for an index out of range
    switch (opcode) {
        case EffectOp::kOpen:
            HostQuirksSetup();
            ResetAllParams(kSourceOpen);
            return 0;

        // ---- Programs ----
        case EffectOp::kSetProgram:
            if (!DoesChunks()) ModifyCurrentPreset(nullptr);  // the current program keeps its edits
            RestorePresetSlot(ToIndex(value));
            return 0;
        case EffectOp::kGetProgram: return GetCurrentPresetIdx();
        case EffectOp::kSetProgramName:
            if (data) {
                ModifyCurrentPreset(static_cast<const char*>(data));
                PresetsChanged();
            }
            return 0;
        case EffectOp::kGetProgramName:
            if (data) CopyText(data, GetPresetSlotName(GetCurrentPresetIdx()), kHostProgramNameSize);
            return 0;
        case EffectOp::kGetProgramNameIndexed: {
            const char* name = GetPresetSlotName(index);
            if (data) CopyText(data, name, kHostProgramNameSize);
            return data && name[0] ? 1 : 0;
        }

        // ---- Parameter texts ----
        case EffectOp::kGetParamLabel:
            if (param && data) CopyText(data, param->ParamLabelText(), kParamTextSize);
            return 0;
        case EffectOp::kGetParamDisplay:
            if (param && data) param->FormatForHost(param->Value(), false, static_cast<char*>(data), true);
            return 0;
        case EffectOp::kGetParamName:
            if (param && data) CopyText(data, param->ParamNameText(), kParamTextSize);
            return 0;
        case EffectOp::kCanBeAutomated: return 1;
        case EffectOp::kString2Parameter: return StringToParameter(index, static_cast<const char*>(data));

        // ---- Processing set-up ----
        case EffectOp::kSetSampleRate:
            SetSampleRate(opt);
            ResetProcessing();
            return 0;
        case EffectOp::kSetBlockSize:
            ChangeBlockSize(value > kMaxBlockSize ? kMaxBlockSize : ToIndex(value));
            ResetProcessing();
            return 0;
        case EffectOp::kMainsChanged:
            if (value != 0) {
                ActivationChanged(true);
            } else {
                ActivationChanged(false);
                ResetProcessing();
            }
            return 0;
        case EffectOp::kSetSpeakerArrangement:
            SetSpeakerArrangement(reinterpret_cast<const VstSpeakerArrangement*>(value),
                                  static_cast<const VstSpeakerArrangement*>(data));
            return 1;
        case EffectOp::kGetSpeakerArrangement:
            if (value) *reinterpret_cast<VstSpeakerArrangement**>(value) = &mInArrangement;
            if (data) *static_cast<VstSpeakerArrangement**>(data) = &mOutArrangement;
            return 1;
        case EffectOp::kGetInputProperties: return PinProperties(index, data, true);
        case EffectOp::kGetOutputProperties: return PinProperties(index, data, false);
        case EffectOp::kProcessEvents:
            if (!data) return 0;
            ProcessEvents(static_cast<const VstEvents*>(data));
            return 1;

        // ---- Editor: the editor object owns its own window (opened, idled and closed by OpenEditor,
        // IdleEditor and CloseEditor, outside this table) ----
        case EffectOp::kEditGetRect:
            if (!data || !GetGraphics()) return 0;
            *static_cast<ERect**>(data) = &mEditRect;
            return 1;
        case EffectOp::kIdle: OnGuiIdle(); return 0;

        // ---- Identity and capabilities ----
        case EffectOp::kIdentify: return FourCC("NvEf");
        case EffectOp::kGetPlugCategory: return IsInstrument() ? 2 : 1;
        case EffectOp::kGetEffectName:
        case EffectOp::kGetVendorString:
        case EffectOp::kGetProductString: {
            if (!data) return 0;
            const char* name = opcode == EffectOp::kGetEffectName     ? GetEffectName()
                               : opcode == EffectOp::kGetVendorString ? GetMakerName()
                                                                      : GetProductName();
            CopyText(data, name, kNameSize);
            return 1;
        }
        case EffectOp::kGetVendorVersion: return GetEffectVersion(true);
        case EffectOp::kVendorSpecific: return VendorSpecific(index, value, data, opt);
        case EffectOp::kCanDo: return CanDo(static_cast<const char*>(data));
        case EffectOp::kGetTailSize: return GetTailSize();
        case EffectOp::kGetVstVersion: return 2400;
        case EffectOp::kGetMidiKeyName: {
            if (!data) return 0;
            auto* key = static_cast<MidiKeyName*>(data);
            key->keyName[0] = 0;
            return GetNoteName(key->thisKeyNumber, key->keyName) ? 1 : 0;
        }
        default: return 0;
    }
}

// A value text of the parameter, or a number in plain units; the value is clamped into range
// without step rounding. A null text asks whether text entry is supported.
intptr_t IFxVST::StringToParameter(int index, const char* text) {
    IFxParam* param = GetParam(index);
    if (!param) return 0;
    if (!text) return 1;
    double v;
    if (param->GetValueTextCount() > 0) {
        int value = 0;
        if (!param->MapDisplayText(text, &value)) return 0;
        v = value;
    } else {
        v = std::atof(text);
        if (param->NegateDisplay()) v = -v;
    }
    if (IGraphics* editor = GetGraphics()) editor->PushParamToControls(index, v, false);
    param->SetValue(param->Clamp(v));
    ParameterChanged(index, kSourceHost);
    return 1;
}

// Pairs of channels from an even index are reported as stereo.
intptr_t IFxVST::PinProperties(int index, void* data, bool isInput) {
    const int count = isInput ? NInChannels() : NOutChannels();
    if (!data || index < 0 || index >= count) return 0;
    auto* pin = static_cast<VstPinProperties*>(data);
    pin->flags = kPinIsActive;
    if (index % 2 == 0 && index < count - 1) pin->flags |= kPinIsStereo;
    const char* label = isInput ? GetInChannel(index)->label.Get() : GetOutChannel(index)->label.Get();
    if (label[0])
        CopyText(pin->label, label, sizeof pin->label);
    else
        std::snprintf(pin->label, sizeof pin->label, isInput ? "Input %d" : "Output %d", index + 1);
    return 1;
}

// The channel counts the host connects; a count outside 0..channels is taken as its bound.
void IFxVST::SetSpeakerArrangement(const VstSpeakerArrangement* in, const VstSpeakerArrangement* out) {
    if (in) {
        const int n = in->numChannels < 0 ? 0 : in->numChannels > NInChannels() ? NInChannels() : in->numChannels;
        SetInputsConnected(0, n, true);
        SetInputsConnected(n, NInChannels() - n, false);
    }
    if (out) {
        const int n = out->numChannels < 0 ? 0 : out->numChannels > NOutChannels() ? NOutChannels() : out->numChannels;
        SetOutputsConnected(0, n, true);
        SetOutputsConnected(n, NOutChannels() - n, false);
    }
}

void IFxVST::ProcessEvents(const VstEvents* events) {
    for (int32_t i = 0; i < events->numEvents; ++i) {
        const VstEvent* e = events->events[i];
        if (!e) continue;
        if (e->type == kEventMidi) {
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(e);
            IMidiEvent event{midi->deltaFrames, static_cast<uint8_t>(midi->midiData[0]),
                             static_cast<uint8_t>(midi->midiData[1]), static_cast<uint8_t>(midi->midiData[2])};
            ProcessMidiEvent(&event);
        } else if (e->type == kEventSysEx) {
            const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(e);
            ISysExEvent event{sysex->deltaFrames, sysex->dumpBytes, reinterpret_cast<const uint8_t*>(sysex->sysexDump)};
            ProcessSysExEvent(&event);
        }
    }
}

// Index 7: the display text of a normalized value without changing the parameter. Index 8:
// whether the parameter is continuous (0) or stepped.
intptr_t IFxVST::VendorSpecific(int32_t index, intptr_t value, void* data, float opt) {
    const IFxParam* param = GetParam(ToIndex(value));
    if (index == 7 && data) {
        if (param) param->FormatForHost(opt, true, static_cast<char*>(data), true);
        return kBeef;
    }
    if (index == 8 && param) return param->Kind() == kParamDouble ? 0 : kBeef;
    return 0;
}

intptr_t IFxVST::CanDo(const char* text) {
    if (!text) return 0;
    if (!std::strcmp(text, "receiveVstTimeInfo")) return 1;
    if (DoesMidi()) {
        for (const char* midi : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"})
            if (!std::strcmp(text, midi)) return 1;
    }
    if (!std::strcmp(text, "hasHostExtensions")) {
        mHostFlags |= 1;
        return kBeefHigh;
    }
    if (!std::strcmp(text, "hasHostViewAsConfig")) {
        mHostFlags |= 2;
        return kBeefHigh;
    }
    return 0;
}
