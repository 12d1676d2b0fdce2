// ACF objects through raw vtables: id bytes, result codes, the inner unknown's three slots and
// the live-object count.
#include <gtest/gtest.h>

#include <cstring>

#include "aax-library/acf.h"
#include "aax-library/acf_unknown.h"
#include "aax_host.h"

namespace {

TEST(Acf, IdBytesMatchTheHostsTextForm) {
    const struct {
        const acfUID* library;
        const aaxhost::Guid* host;
    } cases[] = {
        {&kIID_ACFUnknown, &aaxhost::id::kUnknown},
        {&kIID_ComponentFactory, &aaxhost::id::kFactory},
        {&kCLSID_PluginDefinition, &aaxhost::id::kDefinitionClass},
        {&kIID_PluginDefinition, &aaxhost::id::kDefinition},
        {&kIID_PluginDefinitionExport, &aaxhost::id::kDefinitionExport},
        {&kCLSID_HostServices, &aaxhost::id::kServicesClass},
        {&kIID_HostServices, &aaxhost::id::kServices},
        {&kIID_EffectParameters, &aaxhost::id::kEffectParameters},
        {&kIID_EffectGUI, &aaxhost::id::kEffectGui},
    };
    for (const auto& c : cases) EXPECT_EQ(0, std::memcmp(c.library, c.host->bytes, 16));
    EXPECT_EQ(0x8000FFFFu, uint32_t(kACFUnexpected));
    EXPECT_EQ(0x80000004u, uint32_t(kACFNoInterface));
    EXPECT_EQ(0x656C636Bu, ACFFourCC("elck"));
    acfUID other = kIID_EffectGUI;
    other.Data4[7] ^= 1;
    EXPECT_FALSE(other == kIID_EffectGUI);
}

struct Counted : CACFUnknown {
    explicit Counted(int* deletions) : mDeletions(deletions) {}
    ~Counted() override { ++*mDeletions; }
    int* mDeletions;
};

template <class R, class... A>
R Slot(void* iface, int slot, A... args) {
    using Fn = R(ACF_CALL*)(void*, A...);
    return reinterpret_cast<Fn>((*static_cast<void***>(iface))[slot])(iface, args...);
}

TEST(Acf, InnerUnknownCountsAndDeletesOnce) {
    const uint32_t live = ACFLiveObjectCount();
    int deletions = 0;
    auto* object = new Counted(&deletions);
    EXPECT_EQ(live + 1, ACFLiveObjectCount());

    void* inner = nullptr;
    ASSERT_EQ(kACFOk, object->InternalQueryInterface(kIID_ACFUnknown, &inner));
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(2u, Slot<uint32_t>(inner, 1));  // AddRef

    void* same = reinterpret_cast<void*>(1);
    EXPECT_EQ(kACFOk, Slot<int32_t>(inner, 0, &kIID_ACFUnknown, &same));
    EXPECT_EQ(inner, same);
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(kACFNoInterface, Slot<int32_t>(inner, 0, &kIID_EffectGUI, &none));
    EXPECT_EQ(nullptr, none);
    // A null out pointer is refused, not written.
    EXPECT_EQ(kACFNullInterface, Slot<int32_t>(inner, 0, &kIID_ACFUnknown, static_cast<void**>(nullptr)));

    for (uint32_t left = 2; left >= 1; --left) EXPECT_EQ(left, Slot<uint32_t>(inner, 2));
    EXPECT_EQ(0, deletions);
    EXPECT_EQ(0u, Slot<uint32_t>(inner, 2));
    EXPECT_EQ(1, deletions);
    EXPECT_EQ(live, ACFLiveObjectCount());
}

}  // namespace
