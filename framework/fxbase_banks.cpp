// Preset banks: every slot's name, flag and parameter block in one byte block. Bank bytes come
// from the host, so every length read from them is checked against the bytes that remain.
#include <cstdio>
#include <cstring>

#include "framework/fxbase.h"

void IFxBase::ModifyCurrentPreset(const char* name) {
    IPresetSlot* slot = GetPresetSlot(mCurrentPreset);
    if (!slot) return;
    slot->state.Clear();
    WriteState(&slot->state);
    if (name && name[0]) std::snprintf(slot->name, kPresetNameSize, "%s", name);
}

bool IFxBase::SerializePresets(IByteBlock* block) {
    for (int i = 0; i < NPresets(); ++i) {
        const IPresetSlot* slot = GetPresetSlot(i);
        const int nameLength = static_cast<int>(strnlen(slot->name, kPresetNameSize - 1));
        const int expected = block->Size() + 4 + nameLength + 1;
        block->PutInt32(nameLength);
        block->Put(slot->name, nameLength);
        block->PutByte(slot->initialized ? 1 : 0);
        if (block->Size() != expected) return false;
        if (slot->initialized) {
            const int before = block->Size();
            if (block->Put(slot->state.GetBytes(), slot->state.Size()) == before) return false;
        }
    }
    return true;
}

// An entry whose name length is unreadable, negative or runs past the end stops the reading
// there: that slot keeps its name and flag, and the result is -1.
int IFxBase::UnserializePresets(IByteBlock* block, int pos) {
    for (int i = 0; i < NPresets() && pos >= 0; ++i) {
        IPresetSlot* slot = GetPresetSlot(i);
        int32_t nameLength = 0;
        pos = block->GetInt32(&nameLength, pos);
        if (pos < 0 || nameLength < 0 || nameLength > block->Size() - pos) {
            pos = -1;
            break;
        }
        const int kept = nameLength < kPresetNameSize - 1 ? nameLength : kPresetNameSize - 1;
        std::memcpy(slot->name, block->GetBytes() + pos, static_cast<size_t>(kept));
        slot->name[kept] = 0;
        pos += nameLength;

        uint8_t flag = 0;
        pos = block->GetByte(&flag, pos);
        if (pos < 0) break;
        slot->initialized = flag != 0;
        if (slot->initialized) {
            pos = ReadState(block, pos);
            if (pos > 0) {
                slot->state.Clear();
                WriteState(&slot->state);
            }
        }
    }
    RestorePresetSlot(mCurrentPreset);
    return pos;
}
