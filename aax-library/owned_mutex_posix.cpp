#include <mutex>

#include "aax-library/owned_mutex.h"

std::unique_ptr<OwnedMutex> OwnedMutex::Create() {
    return std::unique_ptr<OwnedMutex>(new OwnedMutex(new std::mutex()));
}

OwnedMutex::~OwnedMutex() { delete static_cast<std::mutex*>(mHandle); }

// Ids handed out once per thread, from 1.
uint32_t OwnedMutex::CurrentThread() {
    static std::atomic<uint32_t> next{1};
    thread_local const uint32_t id = next.fetch_add(1);
    return id;
}

bool OwnedMutex::Wait() {
    static_cast<std::mutex*>(mHandle)->lock();
    return true;
}

void OwnedMutex::Release() { static_cast<std::mutex*>(mHandle)->unlock(); }
