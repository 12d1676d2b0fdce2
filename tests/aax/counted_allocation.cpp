// Global allocation functions that count while counting is on. Every form comes from one
// malloc-based allocator (the block's start kept just before the aligned address), so any form
// of delete frees any form of new.
#include "counted_allocation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "base/growbuffer.h"

namespace {
bool gCounting = false;
long gCount = 0;
constexpr std::size_t kPlain = alignof(std::max_align_t);

void* Take(std::size_t n, std::size_t align) noexcept {
    if (gCounting) ++gCount;
    void* raw = std::malloc(n + align + sizeof(void*));
    if (!raw) return nullptr;
    const uintptr_t at = (uintptr_t(raw) + sizeof(void*) + align - 1) & ~(uintptr_t(align) - 1);
    reinterpret_cast<void**>(at)[-1] = raw;
    return reinterpret_cast<void*>(at);
}

void* TakeOrThrow(std::size_t n, std::size_t align) {
    if (void* p = Take(n, align)) return p;
    throw std::bad_alloc();
}

void Give(void* p) noexcept {
    if (p) std::free(static_cast<void**>(p)[-1]);
}

void* CountedRealloc(void* p, unsigned long n) {
    if (gCounting) ++gCount;
    return std::realloc(p, n);
}
void* CountedMalloc(unsigned long n) {
    if (gCounting) ++gCount;
    return std::malloc(n);
}
}  // namespace

void StartCountingAllocations() {
    GrowBuffer::SetAllocatorForTesting(CountedRealloc, CountedMalloc);
    gCount = 0;
    gCounting = true;
}

long StopCountingAllocations() {
    gCounting = false;
    GrowBuffer::SetAllocatorForTesting(nullptr, nullptr);
    return gCount;
}

void* operator new(std::size_t n) { return TakeOrThrow(n, kPlain); }
void* operator new[](std::size_t n) { return TakeOrThrow(n, kPlain); }
void* operator new(std::size_t n, std::align_val_t a) { return TakeOrThrow(n, std::size_t(a)); }
void* operator new[](std::size_t n, std::align_val_t a) { return TakeOrThrow(n, std::size_t(a)); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Take(n, kPlain); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Take(n, kPlain); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return Take(n, std::size_t(a));
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return Take(n, std::size_t(a));
}
void operator delete(void* p) noexcept { Give(p); }
void operator delete[](void* p) noexcept { Give(p); }
void operator delete(void* p, std::size_t) noexcept { Give(p); }
void operator delete[](void* p, std::size_t) noexcept { Give(p); }
void operator delete(void* p, std::align_val_t) noexcept { Give(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Give(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { Give(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { Give(p); }
