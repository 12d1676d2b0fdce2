#include "base/growbuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
void* RuntimeRealloc(void* p, unsigned long n) { return std::realloc(p, n); }
void* RuntimeMalloc(unsigned long n) { return std::malloc(n); }
GrowBuffer::ReallocFn gRealloc = RuntimeRealloc;
GrowBuffer::MallocFn gMalloc = RuntimeMalloc;

constexpr int kPage = 4096;
constexpr int kAllocatorOverhead = 96;
constexpr int kMaxStep = 0x400000;
}  // namespace

void GrowBuffer::SetAllocatorForTesting(ReallocFn reallocFn, MallocFn mallocFn) {
    gRealloc = reallocFn ? reallocFn : RuntimeRealloc;
    gMalloc = mallocFn ? mallocFn : RuntimeMalloc;
}

// Computed in 64 bits; a capacity no int can hold comes back clamped, below the size asked for,
// and Resize then refuses the size.
int GrowBuffer::NewCapacity(int newSize) const {
    if (newSize == 0) return 0;
    int g = std::max(mGranularity, newSize / 2);
    if (mGranularity < kPage)
        return static_cast<int>(std::min<long long>(static_cast<long long>(newSize) + g, 0x7FFFFFFF));
    // Whole pages, so the allocation plus the allocator's own overhead ends on a page boundary.
    g = std::clamp(g / kPage * kPage, kPage, kMaxStep);
    long long total = (static_cast<long long>(newSize) + kAllocatorOverhead + g) / kPage * kPage;
    return static_cast<int>(std::min<long long>(total - kAllocatorOverhead, 0x7FFFFFFF));
}

void* GrowBuffer::Resize(int newSize, bool allowShrink) {
    newSize = std::max(newSize, 0);
    if (newSize == mSize) return Get();

    int threshold = 0;
    if (allowShrink && newSize < mSize) threshold = std::max(1, std::min(mCapacity / 2, mCapacity - 4 * mGranularity));

    if (newSize > mCapacity || newSize < threshold) {
        int capacity = NewCapacity(newSize);
        if (capacity < newSize) return Get();  // no int-sized allocation can hold it
        if (capacity == 0) {
            Free();
            return nullptr;
        }
        if (capacity != mCapacity) {
            char* moved = static_cast<char*>(gRealloc(mData, static_cast<unsigned long>(capacity)));
            if (!moved) {
                moved = static_cast<char*>(gMalloc(static_cast<unsigned long>(capacity)));
                if (!moved) return Get();
                if (mData) std::memcpy(moved, mData, static_cast<size_t>(std::min(newSize, mSize)));
                std::free(mData);
            }
            mData = moved;
            mCapacity = capacity;
        }
    }
    mSize = newSize;
    return Get();
}

void GrowBuffer::Free() {
    std::free(mData);
    mData = nullptr;
    mCapacity = 0;
    mSize = 0;
}
