#pragma once

#include <cstddef>

// A 16-byte-aligned buffer of doubles that only grows, so that steady block processing does
// not allocate.
class ScratchBuffer {
public:
    ScratchBuffer() = default;
    ~ScratchBuffer();
    ScratchBuffer(const ScratchBuffer&) = delete;
    ScratchBuffer& operator=(const ScratchBuffer&) = delete;

    // Makes room for count doubles; false (and the old contents kept) when memory runs out.
    bool Reserve(size_t count);
    double* Data() { return mData; }

private:
    double* mData = nullptr;
    size_t mCapacity = 0;
};
