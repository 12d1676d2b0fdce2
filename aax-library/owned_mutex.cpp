#include "aax-library/owned_mutex.h"

OwnedMutexGuard::OwnedMutexGuard(OwnedMutex* mutex) {
    if (!mutex) return;
    const uint32_t self = OwnedMutex::CurrentThread();
    if (mutex->Owner() == self) return;
    if (!mutex->Wait()) return;
    mutex->mOwner.store(self, std::memory_order_relaxed);
    mMutex = mutex;
}

OwnedMutexGuard::~OwnedMutexGuard() {
    if (!mMutex || mMutex->Owner() != OwnedMutex::CurrentThread()) return;
    mMutex->mOwner.store(0, std::memory_order_relaxed);
    mMutex->Release();
}
