#pragma once
// Whether another thread (the audio thread, say) could take the plug-in mutex right now. The
// mutex is recursive, so only another thread's try shows whether the caller holds it.
#include <thread>

#include "framework/plugmutex.h"

inline bool FreeForAnotherThread(PlugMutex& mutex) {
    bool free = false;
    std::thread([&] {
        free = mutex.TryEnter();
        if (free) mutex.Leave();
    }).join();
    return free;
}
