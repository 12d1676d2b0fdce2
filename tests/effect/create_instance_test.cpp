// CreateInstance when an allocation fails partway through construction: no object comes back and
// nothing that was made is left behind. Its own program, since it replaces operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "effect/tavrelzel4.h"
#include "effect/zl4.h"

namespace {
bool gRecording = false;
int gFailAt = -1;                 // index among model-sized allocations that throws
std::vector<void*>* gModelSized;  // model-sized allocations while recording, null once freed

static_assert(alignof(zl4) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "the models come from plain operator new");

void* Allocate(std::size_t n) {
    if (gRecording && n == sizeof(zl4)) {
        gRecording = false;
        const bool fail = static_cast<int>(gModelSized->size()) == gFailAt;
        gRecording = true;
        if (fail) throw std::bad_alloc();
    }
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    if (gRecording && n == sizeof(zl4)) {
        gRecording = false;
        gModelSized->push_back(p);
        gRecording = true;
    }
    return p;
}

void Release(void* p) {
    if (gModelSized && p)
        for (void*& q : *gModelSized)
            if (q == p) q = nullptr;
    std::free(p);
}
}  // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }

TEST(CreateInstance, RightModelFailingFreesTheLeftOne) {
    std::vector<void*> made;
    gModelSized = &made;
    made.reserve(256);
    gRecording = true;
    TavrelZel4* plug = CreateInstance();
    gRecording = false;
    ASSERT_NE(plug, nullptr);
    int right = -1;
    for (size_t i = 0; i < made.size(); ++i)
        if (made[i] == plug->RightModel()) right = static_cast<int>(i);
    delete plug;
    ASSERT_GE(right, 1);

    made.clear();
    gFailAt = right;
    gRecording = true;
    plug = CreateInstance();
    gRecording = false;
    gFailAt = -1;
    EXPECT_EQ(plug, nullptr);
    ASSERT_EQ(static_cast<int>(made.size()), right);
    for (void* p : made) EXPECT_EQ(p, nullptr) << "a model-sized block made before the failure was not freed";
    gModelSized = nullptr;
}
