#include "aax-library/acf_unknown.h"

static std::atomic<uint32_t> gLiveObjects{0};

uint32_t ACFLiveObjectCount() { return gLiveObjects.load(); }

CACFUnknown::CACFUnknown() : mOuter(&mInner), mInner(this) { gLiveObjects.fetch_add(1); }

CACFUnknown::~CACFUnknown() { gLiveObjects.fetch_sub(1); }

// A null out pointer is refused without writing, so a faulty host query cannot crash the module.
ACFRESULT CACFUnknown::InternalQueryInterface(const acfUID& iid, void** out) {
    if (!out) return kACFNullInterface;
    *out = nullptr;
    if (iid != kIID_ACFUnknown) return kACFNoInterface;
    *out = static_cast<IACFUnknown*>(&mInner);
    mInner.AddRef();
    return kACFOk;
}

uint32_t CACFUnknown::InternalAddRef() { return mRefCount.fetch_add(1) + 1; }

// Exactly the thread whose decrement reaches zero destroys the object.
uint32_t CACFUnknown::InternalRelease() {
    const uint32_t count = mRefCount.fetch_sub(1) - 1;
    if (count == 0) {
        FinalRelease();
        DeleteThis();
    }
    return count;
}

// Host thread, no lock: the three root slots forward to the owner.
ACFRESULT ACF_CALL CACFUnknown::PrivateUnknown::QueryInterface(const acfUID& iid, void** out) {
    return mOwner->InternalQueryInterface(iid, out);
}
uint32_t ACF_CALL CACFUnknown::PrivateUnknown::AddRef() { return mOwner->InternalAddRef(); }
uint32_t ACF_CALL CACFUnknown::PrivateUnknown::Release() { return mOwner->InternalRelease(); }
