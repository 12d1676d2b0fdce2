#include <windows.h>

#include <new>

#include "framework/plugmutex.h"

static_assert(sizeof(CRITICAL_SECTION) <= 64, "critical section fits the opaque storage");

static CRITICAL_SECTION* Section(unsigned char* storage) { return reinterpret_cast<CRITICAL_SECTION*>(storage); }

PlugMutex::PlugMutex() { InitializeCriticalSection(Section(mLock)); }
PlugMutex::~PlugMutex() { DeleteCriticalSection(Section(mLock)); }

void PlugMutex::Enter() {
    EnterCriticalSection(Section(mLock));
    Acquired();
}

bool PlugMutex::TryEnter() {
    if (!TryEnterCriticalSection(Section(mLock))) return false;
    Acquired();
    return true;
}

void PlugMutex::Leave() {
    Releasing();
    LeaveCriticalSection(Section(mLock));
}
