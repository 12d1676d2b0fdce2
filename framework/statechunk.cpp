#include "framework/statechunk.h"

#include "framework/fxbase.h"

bool TakeStateChunk(IFxBase* plug, IByteBlock* block) {
    ScopedPlugLock lock(plug->GetMutex());
    if (!plug->WriteState(block)) return false;
    block->PutInt32(plug->IsBypassed() ? 1 : 0);
    return true;
}

int ApplyStateChunk(IFxBase* plug, IByteBlock* block) {
    ScopedPlugLock lock(plug->GetMutex());
    const int pos = plug->ReadState(block, 0);
    int32_t bypass = 0;
    if (pos < 0 || block->GetInt32(&bypass, pos) < 0) return -1;
    plug->SetBypassed(bypass != 0);
    return pos + 4;
}
