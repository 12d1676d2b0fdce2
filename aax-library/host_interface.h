#pragma once
// Calling the host's objects: a host interface is reached only through its three root slots
// and by slot number (slot 3 is an interface's first own operation), and the proxies hold each
// host reference in a HostRef, which releases it exactly once.
#include "aax-library/acf.h"

// Calls host slot `slot` of `iface` with the given arguments.
template <class R, class... A>
R HostCall(IACFUnknown* iface, int slot, A... args) {
    using Method = R(ACF_CALL*)(IACFUnknown*, A...);
    return reinterpret_cast<Method>((*reinterpret_cast<void***>(iface))[slot])(iface, args...);
}

// The root slots of a host object (which need not be a C++ object of this module).
inline ACFRESULT HostQueryInterface(IACFUnknown* iface, const acfUID& iid, void** out) {
    return HostCall<ACFRESULT>(iface, 0, &iid, out);
}
inline uint32_t HostAddRef(IACFUnknown* iface) { return HostCall<uint32_t>(iface, 1); }
inline uint32_t HostRelease(IACFUnknown* iface) { return HostCall<uint32_t>(iface, 2); }

// One reference to a host interface (or null).
class HostRef {
public:
    HostRef() = default;
    ~HostRef() { Reset(); }
    HostRef(const HostRef&) = delete;
    HostRef& operator=(const HostRef&) = delete;

    IACFUnknown* Get() const { return mIface; }
    explicit operator bool() const { return mIface != nullptr; }
    void Reset();
    // Queries `from` for `iid` into this reference; a failed query leaves it null.
    ACFRESULT Query(IACFUnknown* from, const acfUID& iid);
    // The raw field, for a creator that queries straight into it.
    void** Slot() { return reinterpret_cast<void**>(&mIface); }

private:
    IACFUnknown* mIface = nullptr;
};

// Builds a host object through the component factory that `host` offers: creates class `clsid`
// with interface `iid` into `first` and, when `secondIid` is given, queries that second
// interface from the first. A host without a factory leaves both null. A host that answers the
// factory query with success and a null pointer makes this throw kACFNullInterface.
void CreateHostObject(IACFUnknown* host, const acfUID& clsid, const acfUID& iid, const acfUID* secondIid,
                      HostRef& first, HostRef* second);

// Calls host slot `slot` of `iface`, or answers `absent` without a call when it is null.
template <class... A>
int32_t Forward(const HostRef& iface, int32_t absent, int slot, A... args) {
    return iface ? HostCall<int32_t>(iface.Get(), slot, args...) : absent;
}
