#pragma once
// CACFUnknown: the reference-counted base of every object handed to the host, with the
// module-wide count of live objects that decides whether the module may be unloaded.
#include <atomic>
#include <cstdint>

#include "aax-library/acf.h"

// Number of CACFUnknown objects alive in the module.
uint32_t ACFLiveObjectCount();

class CACFUnknown {
public:
    CACFUnknown();
    virtual ~CACFUnknown();
    CACFUnknown(const CACFUnknown&) = delete;
    CACFUnknown& operator=(const CACFUnknown&) = delete;

    virtual int32_t InternalReserved() { return 0; }
    // Runs when the last reference goes, before the object is destroyed.
    virtual void FinalRelease() {}
    virtual void DeleteThis() { delete this; }
    // Answers the root id with the inner unknown; derived classes test their own ids first.
    virtual ACFRESULT InternalQueryInterface(const acfUID& iid, void** out);
    virtual uint32_t InternalAddRef();
    virtual uint32_t InternalRelease();

    // Where every outward interface forwards QueryInterface, AddRef and Release.
    IACFUnknown* ControllingUnknown() const { return mOuter; }

private:
    class PrivateUnknown final : public IACFUnknown {
    public:
        explicit PrivateUnknown(CACFUnknown* owner) : mOwner(owner) {}
        ACFRESULT ACF_CALL QueryInterface(const acfUID& iid, void** out) override;
        uint32_t ACF_CALL AddRef() override;
        uint32_t ACF_CALL Release() override;

    private:
        CACFUnknown* mOwner;
    };

    std::atomic<uint32_t> mRefCount{0};
    IACFUnknown* mOuter;
    PrivateUnknown mInner;
};
