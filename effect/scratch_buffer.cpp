#include "effect/scratch_buffer.h"

#include <new>

namespace {

constexpr std::align_val_t kAlignment{16};

}  // namespace

ScratchBuffer::~ScratchBuffer() { ::operator delete[](mData, kAlignment); }

bool ScratchBuffer::Reserve(size_t count) {
    if (count <= mCapacity) return true;
    if (count > static_cast<size_t>(-1) / sizeof(double)) return false;
    void* p = ::operator new[](count * sizeof(double), kAlignment, std::nothrow);
    if (!p) return false;
    ::operator delete[](mData, kAlignment);
    mData = static_cast<double*>(p);
    mCapacity = count;
    return true;
}
