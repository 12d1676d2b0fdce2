#include <mutex>
#include <new>

#include "framework/plugmutex.h"

static_assert(sizeof(std::recursive_mutex) <= 64, "recursive mutex fits the opaque storage");

static std::recursive_mutex* Lock(unsigned char* storage) {
    return std::launder(reinterpret_cast<std::recursive_mutex*>(storage));
}

PlugMutex::PlugMutex() { new (mLock) std::recursive_mutex(); }
PlugMutex::~PlugMutex() { Lock(mLock)->~recursive_mutex(); }

void PlugMutex::Enter() {
    Lock(mLock)->lock();
    Acquired();
}

bool PlugMutex::TryEnter() {
    if (!Lock(mLock)->try_lock()) return false;
    Acquired();
    return true;
}

void PlugMutex::Leave() {
    Releasing();
    Lock(mLock)->unlock();
}
