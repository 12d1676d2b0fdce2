// Parameter state (the parameter block: one little-endian double per parameter, in index order)
// and the preset slots.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/fxbase.h"

bool IFxBase::SerializeParams(IByteBlock* block) {
    ScopedPlugLock lock(mMutex);
    for (int i = 0; i < NParams(); ++i) {
        const int before = block->Size();
        if (block->PutDouble(GetParam(i)->Value()) == before) return false;
    }
    return true;
}

// Reads values until the data runs out: the parameter at which it ran out takes 0.0 clamped into
// its range, later ones keep their values, and every parameter is notified either way. A stored
// value that is not a number is treated like that 0.0, so a corrupt chunk cannot reach the sound.
int IFxBase::UnserializeParams(IByteBlock* block, int pos) {
    ScopedPlugLock lock(mMutex);
    for (int i = 0; i < NParams() && pos >= 0; ++i) {
        double v = 0.0;
        pos = block->GetDouble(&v, pos);
        if (pos < 0 || std::isnan(v)) v = 0.0;
        GetParam(i)->SetValue(GetParam(i)->Clamp(v));
    }
    for (int i = 0; i < NParams(); ++i) ParameterChanged(i, kSourceRestore);
    return pos;
}

bool IFxBase::StateEquals(const double* values, int startIndex) {
    for (int i = 0; i < NParams(); ++i) {
        const float difference = static_cast<float>(GetParam(i)->Value()) - static_cast<float>(values[startIndex + i]);
        if (!(std::fabs(difference) < 1e-5f)) return false;
    }
    return true;
}

void IFxBase::PushValuesToGui() {
    if (!mEditor) return;
    for (int i = 0; i < NParams(); ++i) mEditor->PushParamToControls(i, GetParam(i)->Value(), false);
}

// A capture replaces the slot's state: a slot can hold an old block after its flag was cleared.
bool IFxBase::CaptureIntoSlot(IPresetSlot* slot, const char* name) {
    slot->initialized = true;
    std::snprintf(slot->name, kPresetNameSize, "%s", name);
    slot->state.Clear();
    return WriteState(&slot->state);
}

void IFxBase::FillDefaultPresets(const char* name, int count) {
    for (int round = 0; round < count; ++round) {
        for (int i = 0; i < NPresets(); ++i) {
            if (!GetPresetSlot(i)->initialized) {
                CaptureIntoSlot(GetPresetSlot(i), name ? name : "Empty");
                break;
            }
        }
    }
}

void IFxBase::FillEmptyPresets() { FillDefaultPresets("Empty", NPresets()); }

bool IFxBase::RestorePresetSlot(int index) {
    IPresetSlot* slot = GetPresetSlot(index);
    if (!slot) return false;
    bool ok;
    if (slot->initialized) {
        ok = ReadState(&slot->state, 0) > 0;
    } else {
        int named = 0;
        for (int i = 0; i < NPresets(); ++i) named += std::strstr(GetPresetSlot(i)->name, "user preset") != nullptr;
        char name[kPresetNameSize];
        std::snprintf(name, sizeof name, "%s %d", "user preset", named + 1);
        ok = CaptureIntoSlot(slot, name);
    }
    if (ok) {
        mCurrentPreset = index;
        PresetsChanged();
        PushValuesToGui();
    }
    return ok;
}

const char* IFxBase::GetPresetSlotName(int index) const {
    const IPresetSlot* slot = GetPresetSlot(index);
    return slot ? slot->name : "";
}
