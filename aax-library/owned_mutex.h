#pragma once
// OwnedMutex: a system mutex paired with the id of its owning thread. The owner takes it again
// without waiting, and only the owner's outermost guard releases it.
#include <atomic>
#include <cstdint>
#include <memory>

class OwnedMutex {
public:
    // Null when the system mutex cannot be created.
    static std::unique_ptr<OwnedMutex> Create();
    ~OwnedMutex();
    OwnedMutex(const OwnedMutex&) = delete;
    OwnedMutex& operator=(const OwnedMutex&) = delete;

    // The calling thread's id, never 0.
    static uint32_t CurrentThread();
    uint32_t Owner() const { return mOwner.load(std::memory_order_relaxed); }

private:
    friend class OwnedMutexGuard;
    explicit OwnedMutex(void* handle) : mHandle(handle) {}
    // Waits without a time limit; false when the wait failed and the mutex is not held.
    bool Wait();
    void Release();

    std::atomic<uint32_t> mOwner{0};  // written only by the thread that holds the system mutex
    void* mHandle;
};

// Holds the mutex for a scope; a nested guard on the owning thread does nothing. A null mutex
// (or a failed wait) leaves the scope unlocked.
class OwnedMutexGuard {
public:
    explicit OwnedMutexGuard(OwnedMutex* mutex);
    ~OwnedMutexGuard();
    OwnedMutexGuard(const OwnedMutexGuard&) = delete;
    OwnedMutexGuard& operator=(const OwnedMutexGuard&) = delete;

private:
    OwnedMutex* mMutex = nullptr;  // set only when this guard acquired
};
