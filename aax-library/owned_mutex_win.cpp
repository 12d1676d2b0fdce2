#include <windows.h>

#include "aax-library/owned_mutex.h"

std::unique_ptr<OwnedMutex> OwnedMutex::Create() {
    HANDLE handle = CreateMutexA(nullptr, FALSE, nullptr);
    if (!handle) return nullptr;
    return std::unique_ptr<OwnedMutex>(new OwnedMutex(handle));
}

OwnedMutex::~OwnedMutex() { CloseHandle(mHandle); }

uint32_t OwnedMutex::CurrentThread() { return GetCurrentThreadId(); }

// An abandoned mutex is held by the caller all the same.
bool OwnedMutex::Wait() {
    const DWORD result = WaitForSingleObject(mHandle, INFINITE);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void OwnedMutex::Release() { ReleaseMutex(mHandle); }
