#include "framework/plugmutex.h"

// Owner bookkeeping shared by both system locks; only the owning thread changes it.
void PlugMutex::Acquired() {
    if (mDepth++ == 0) mOwner.store(std::this_thread::get_id());
}

void PlugMutex::Releasing() {
    if (--mDepth == 0) mOwner.store(std::thread::id());
}
