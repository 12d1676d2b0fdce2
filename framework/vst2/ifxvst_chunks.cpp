// IFxVST: program and bank chunks. Both start with the 8-byte header; a program chunk then holds
// the parameter block, a bank chunk every preset slot (IFxBase::SerializePresets). A chunk
// without the header is read as a bare parameter block. Called by the dispatcher without the
// plug-in mutex, which they take only to build or apply a chunk: the host reads the chunk handed
// out after the call, from the plug-in's buffer, and the host's bytes are copied in before it.
#include <climits>

#include "framework/vst2/ifxvst.h"

void IFxVST::WriteChunkHeader(IByteBlock* block) {
    block->Clear();
    block->PutInt32(kChunkMagic);
    block->PutInt32(kChunkVersion);
}

int IFxVST::ReadChunkHeader(IByteBlock* block, int* pos) {
    int32_t magic = 0;
    if (block->GetInt32(&magic, *pos) < 0 || magic != kChunkMagic) return 0;
    int32_t version = 0;
    *pos = block->GetInt32(&version, *pos + 4);
    return *pos < 0 ? 0 : version;
}

int IFxVST::GetChunk(void** data, bool isProgram) {
    ScopedPlugLock lock(GetMutex());
    IByteBlock& block = isProgram ? mStateChunk : mBankChunk;
    WriteChunkHeader(&block);
    bool ok;
    if (isProgram) {
        ok = WriteState(&block);
    } else {
        ModifyCurrentPreset(nullptr);  // the bank carries the current values in the current slot
        ok = SerializePresets(&block);
    }
    if (!ok || block.Size() == 0) return 0;
    *data = const_cast<unsigned char*>(block.GetBytes());
    return block.Size();
}

// A size that is negative or that the block cannot hold changes nothing.
bool IFxVST::SetChunk(const void* data, intptr_t size, bool isProgram) {
    if (size < 0 || size > INT_MAX) return false;
    IByteBlock block;
    if (block.Put(data, static_cast<int>(size)) != size) return false;
    int pos = 0;
    const int version = ReadChunkHeader(&block, &pos);
    {
        ScopedPlugLock lock(GetMutex());
        if (isProgram || version < kChunkVersion) {
            pos = ReadState(&block, pos);
            ModifyCurrentPreset(nullptr);
        } else {
            pos = UnserializePresets(&block, pos);
        }
    }
    if (pos < 0) return false;
    PushValuesToGui();
    return true;
}
