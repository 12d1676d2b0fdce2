#pragma once
// PlugMutex: the per-instance recursive plug-in lock (a critical section on Windows, a recursive
// mutex elsewhere). The owner may take it again; only its outermost Leave frees it.
#include <atomic>
#include <thread>

#include "framework/fxassert.h"

class PlugMutex {
public:
    PlugMutex();
    ~PlugMutex();
    PlugMutex(const PlugMutex&) = delete;
    PlugMutex& operator=(const PlugMutex&) = delete;

    void Enter();
    void Leave();
    bool TryEnter();
    // Whether the calling thread holds the lock (for assertions and tests).
    bool IsHeldByCurrentThread() const { return mOwner.load() == std::this_thread::get_id(); }

private:
    void Acquired();
    void Releasing();

    alignas(8) unsigned char mLock[64];  // the system lock, kept opaque so no system header leaks
    std::atomic<std::thread::id> mOwner{};
    int mDepth = 0;
};

// Reports through IFxAssert a call that needs the mutex held by the calling thread but runs
// without it. Only debug and test builds check (IFX_LOCK_CHECKS); the others leave it out.
#if IFX_LOCK_CHECKS
#define IFX_ASSERT_LOCK_HELD(mutex) \
    ((mutex).IsHeldByCurrentThread() ? void() : IFxAssert("plug-in lock held", __func__, __LINE__))
#else
#define IFX_ASSERT_LOCK_HELD(mutex) ((void)0)
#endif

class ScopedPlugLock {
public:
    explicit ScopedPlugLock(PlugMutex& mutex) : mMutex(mutex) { mMutex.Enter(); }
    ~ScopedPlugLock() { mMutex.Leave(); }
    ScopedPlugLock(const ScopedPlugLock&) = delete;
    ScopedPlugLock& operator=(const ScopedPlugLock&) = delete;

private:
    PlugMutex& mMutex;
};
