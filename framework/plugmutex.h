#pragma once
// PlugMutex: the per-instance recursive plug-in lock (a critical section on Windows, a recursive
// mutex elsewhere). The owner may take it again; only its outermost Leave frees it.
#include <atomic>
#include <thread>

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

class ScopedPlugLock {
public:
    explicit ScopedPlugLock(PlugMutex& mutex) : mMutex(mutex) { mMutex.Enter(); }
    ~ScopedPlugLock() { mMutex.Leave(); }
    ScopedPlugLock(const ScopedPlugLock&) = delete;
    ScopedPlugLock& operator=(const ScopedPlugLock&) = delete;

private:
    PlugMutex& mMutex;
};
