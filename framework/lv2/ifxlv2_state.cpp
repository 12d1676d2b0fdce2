// IFxLV2: the state extension. The state is one property, an atom:Chunk holding the same bytes as
// the VST3 state (framework/statechunk.h).
#include <climits>

#include "framework/lv2/ifxlv2.h"
#include "framework/statechunk.h"

// Any thread the host saves from, beside run: the chunk is taken under the plug-in mutex and
// handed to the host after it is released.
LV2_State_Status IFxLV2::Save(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle,
                              uint32_t /*flags*/, const LV2_Feature* const* /*features*/) {
    auto* plug = static_cast<IFxLV2*>(instance);
    if (!store) return LV2_STATE_ERR_UNKNOWN;
    IByteBlock block;
    if (!TakeStateChunk(plug, &block)) return LV2_STATE_ERR_NO_SPACE;
    return store(handle, plug->mStateKey, block.GetBytes(), static_cast<size_t>(block.Size()), plug->mChunkType,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

// Host's main thread, never beside run. The bytes are applied under the plug-in mutex by the
// same rules as the VST3 state; the editor hears of the values after it is released. A missing
// property, another type, or a chunk too short or bad is refused.
LV2_State_Status IFxLV2::Restore(LV2_Handle instance, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                                 uint32_t /*flags*/, const LV2_Feature* const* /*features*/) {
    auto* plug = static_cast<IFxLV2*>(instance);
    if (!retrieve) return LV2_STATE_ERR_UNKNOWN;
    size_t size = 0;
    uint32_t type = 0, valueFlags = 0;
    const void* bytes = retrieve(handle, plug->mStateKey, &size, &type, &valueFlags);
    if (!bytes) return LV2_STATE_ERR_NO_PROPERTY;
    if (type != plug->mChunkType) return LV2_STATE_ERR_BAD_TYPE;
    if (size == 0 || size > INT_MAX) return LV2_STATE_ERR_UNKNOWN;
    IByteBlock block;
    if (block.Put(bytes, static_cast<int>(size)) != static_cast<int>(size)) return LV2_STATE_ERR_NO_SPACE;
    const int end = ApplyStateChunk(plug, &block);
    plug->PushValuesToGui();
    return end >= 0 ? LV2_STATE_SUCCESS : LV2_STATE_ERR_UNKNOWN;
}
