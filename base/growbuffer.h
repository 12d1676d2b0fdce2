#pragma once
// GrowBuffer: the framework's growable heap buffer. Its size is always the exact byte count in
// use; growth is by at least half the request and at least one granularity, and a failed growth
// leaves data, capacity and size as they were.

class GrowBuffer {
public:
    explicit GrowBuffer(int granularity) : mGranularity(granularity) {}
    ~GrowBuffer() { Free(); }
    GrowBuffer(const GrowBuffer&) = delete;
    GrowBuffer& operator=(const GrowBuffer&) = delete;

    // Sets the size; returns the data, or null when the new size is 0. On allocation failure the
    // old data comes back unchanged: callers compare GetSize() with what they asked for.
    void* Resize(int newSize, bool allowShrink);
    void* Get() const { return mSize > 0 ? mData : nullptr; }
    int GetSize() const { return mSize; }
    int GetCapacity() const { return mCapacity; }
    int GetGranularity() const { return mGranularity; }
    void Free();

    // Allocation seam, so tests can make growth fail; null restores the runtime allocator.
    using ReallocFn = void* (*)(void*, unsigned long);
    using MallocFn = void* (*)(unsigned long);
    static void SetAllocatorForTesting(ReallocFn reallocFn, MallocFn mallocFn);

private:
    int NewCapacity(int newSize) const;

    char* mData = nullptr;
    int mCapacity = 0;
    int mSize = 0;
    const int mGranularity;
};
