// IFxAAX: rendering one block from the host's instance context, and the AAX chunk (the parameter
// block under the plug-in's unique id).
#include <algorithm>
#include <cstring>

#include "framework/aax/ifxaax.h"
#include "framework/fpmode.h"
#include "framework/fxassert.h"

// Host audio thread, from the process procedure; the host owns the context and its buffers.
// Holds the plug-in mutex for the whole block, which runs in the audio floating-point mode (the
// host gets its own back). Allocates nothing: the block size prepared at construction stays, a
// longer block is served in pieces of it, and no frame count resets the processing mid-stream.
void IFxAAX::RenderBlock(const AAX_CIFxContext* context) {
    ScopedAudioFpMode fpMode;
    ScopedPlugLock lock(GetMutex());
    bool bypass = false;
    if (mMasterBypass) mMasterBypass->GetBool(bypass);
    int32_t inputStem = 0, outputStem = 0;  // without a controller nothing is connected
    if (AAX_VController* controller = Controller()) {
        controller->ReadInputStemFormat(&inputStem);
        controller->ReadOutputStemFormat(&outputStem);
    }
    // Without an output array nothing is connected: the plug-in writes into its own scratch.
    const int nIn = inputStem & 0xFFFF, nOut = context->outputs ? outputStem & 0xFFFF : 0;
    const int frames = context->frames ? *context->frames : 0;

    if (DoesMidi() && context->midi) {
        for (uint32_t k = 0; k < context->midi->count; ++k) {
            const AAX_CMidiPacket& packet = context->midi->packets[k];
            IMidiEvent event{int32_t(packet.timestamp), packet.status, packet.data1, packet.data2};
            ProcessMidiEvent(&event);
        }
    }
    mCurrentTransport = context->transport;
    if (frames <= 0) return;  // nothing to render

    ClearScratch();
    ConnectInputs(context->inputs, nIn);
    IFxTrace(__func__, __LINE__, "attach input buffers: 0 - %d\n", NInChannels());
    AttachFloatInputs(0, nIn, mHostInputs.data(), frames);
    SetOutputsConnected(0, nOut, true);
    SetOutputsConnected(nOut, NOutChannels() - nOut, false);
    AttachFloatOutputs(0, NOutChannels(), context->outputs);

    if (bypass)
        PassThroughFloat(frames);
    else
        ProcessAttachedFloat(frames);
}

// Inputs [0, count) of the host's array: a channel without a buffer (a null array or a null
// pointer) is disconnected and reads silence. The connected channels' buffers are listed in
// order in mHostInputs, as the core's attach call takes them; nothing is allocated.
void IFxAAX::ConnectInputs(float* const* inputs, int count) {
    SetInputsConnected(0, NInChannels(), false);
    count = std::min(count, NInChannels());
    for (int i = 0, next = 0; inputs && i < count; ++i) {
        if (!inputs[i]) continue;
        SetInputsConnected(i, 1, true);
        mHostInputs[size_t(next++)] = inputs[i];
    }
}

// ---- The chunk ----

int32_t ACF_CALL IFxAAX::GetStateChunkId(int32_t index, uint32_t* out) const {
    if (!out) return kAAXNullOut;
    *out = index == 0 ? uint32_t(GetUniqueId()) : 0;
    return index == 0 ? 0 : kAAXBadChunkIndex;
}

int32_t ACF_CALL IFxAAX::GetStateChunkSize(uint32_t chunkId, int32_t* out) {
    if (!out) return kAAXNullOut;
    if (chunkId != uint32_t(GetUniqueId())) {
        *out = 0;
        return kAAXBadChunkId;
    }
    IByteBlock block;
    if (WriteState(&block)) *out = block.Size();
    return 0;
}

// The host sized the record from GetStateChunkSize (the parameter block has a fixed length).
int32_t ACF_CALL IFxAAX::GetStateChunk(uint32_t chunkId, AAX_ChunkRecord* out) {
    if (!out) return kAAXNullOut;
    if (chunkId != uint32_t(GetUniqueId())) return kAAXBadChunkId;
    IByteBlock block;
    if (!WriteState(&block)) return kAAXBadChunkId;
    out->dataSize = block.Size();
    std::memcpy(ChunkData(out), block.GetBytes(), size_t(block.Size()));
    return 0;
}

// Any host thread. A negative size is refused untouched; a chunk too short for every parameter
// is still applied as far as it goes (the rest keep their values) but reported as bad.
int32_t ACF_CALL IFxAAX::SetStateChunk(uint32_t chunkId, const AAX_ChunkRecord* chunk) {
    if (!chunk) return kAAXNullOut;
    if (chunkId != uint32_t(GetUniqueId())) return kAAXBadChunkId;
    if (chunk->dataSize < 0) return kAAXBadChunkSize;
    IByteBlock block;
    if (block.Put(ChunkData(chunk), chunk->dataSize) != chunk->dataSize) return kAAXBadChunkSize;
    const int end = ReadState(&block, 0);
    for (int i = 0; i < NParams(); ++i) SetParameterNormalized(ParamId(i), GetParam(i)->NormalizedValue());
    PushValuesToGui();
    CountChange();
    return end < 0 ? kAAXBadChunkSize : 0;
}

// A chunk of another id counts as equal (it is not this plug-in's to judge); one too short to
// hold every parameter differs.
int32_t ACF_CALL IFxAAX::CompareStateChunk(const AAX_ChunkRecord* chunk, bool* out) {
    if (!out) return kAAXNullOut;
    if (!chunk || chunk->chunkId != uint32_t(GetUniqueId())) {
        *out = true;
        return 0;
    }
    const int bytes = NParams() * int(sizeof(double));
    if (chunk->dataSize < bytes) {
        *out = false;
        return 0;
    }
    IByteBlock block;
    block.Put(ChunkData(chunk), bytes);
    *out = block.Size() == bytes && StateEquals(reinterpret_cast<const double*>(block.GetBytes()), 0);
    return 0;
}
