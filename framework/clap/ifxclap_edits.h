#pragma once
// IFxClapEdits: the editor's gestures on their way to the host, in a fixed ring between the
// editor's thread (the one writer) and the params flush or process call that hands them on (the
// one reader: the host never runs those two at once). Nothing here allocates or waits.
#include <atomic>
#include <cstdint>

#include "sdk/clap/events.h"

struct IFxClapEdit {
    uint16_t type;  // Clap::kEventParamGestureBegin, kEventParamValue or kEventParamGestureEnd
    uint32_t id;    // the parameter
    double value;   // plain, for a value
};

class IFxClapEdits {
public:
    // Queues edit; false when it was dropped. A value needs more than kReserve free places and a
    // gesture's begin more than half of them, so the end of every gesture begun (one per
    // parameter at a time) still finds a place however long the host leaves the queue.
    // [UI thread]
    bool Push(const IFxClapEdit& edit) {
        const uint32_t write = mWrite.load(std::memory_order_relaxed);
        const uint32_t free = kCapacity - (write - mRead.load(std::memory_order_acquire));
        const uint32_t needed = edit.type == Clap::kEventParamValue          ? kReserve + 1
                                : edit.type == Clap::kEventParamGestureBegin ? kReserve / 2 + 1
                                                                             : 1;
        if (free < needed) return false;
        mRing[write % kCapacity] = edit;
        mWrite.store(write + 1, std::memory_order_release);
        return true;
    }

    // The oldest edit, or null when there is none; Drop takes it out once the host has it.
    // [audio thread] (or the main thread while the plug-in is not active)
    const IFxClapEdit* Front() const {
        const uint32_t read = mRead.load(std::memory_order_relaxed);
        return read == mWrite.load(std::memory_order_acquire) ? nullptr : &mRing[read % kCapacity];
    }
    void Drop() { mRead.store(mRead.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

private:
    static constexpr uint32_t kCapacity = 1024;  // a power of two: the counters wrap cleanly
    static constexpr uint32_t kReserve = 128;    // kept for gestures' begins and ends
    IFxClapEdit mRing[kCapacity] = {};
    std::atomic<uint32_t> mWrite{0};
    std::atomic<uint32_t> mRead{0};
};
