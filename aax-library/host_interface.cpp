#include "aax-library/host_interface.h"

void HostRef::Reset() {
    if (IACFUnknown* iface = mIface) {
        mIface = nullptr;
        HostRelease(iface);
    }
}

ACFRESULT HostRef::Query(IACFUnknown* from, const acfUID& iid) {
    Reset();
    void* out = nullptr;
    const ACFRESULT result = HostQueryInterface(from, iid, &out);
    if (result == kACFOk) mIface = static_cast<IACFUnknown*>(out);
    return result;
}

void CreateHostObject(IACFUnknown* host, const acfUID& clsid, const acfUID& iid, const acfUID* secondIid,
                      HostRef& first, HostRef* second) {
    if (!host) return;
    HostRef factory;
    if (factory.Query(host, kIID_ComponentFactory) != kACFOk) return;
    if (!factory) throw kACFNullInterface;
    IACFUnknown* const noOuter = nullptr;
    void* created = nullptr;
    if (HostCall<ACFRESULT>(factory.Get(), 3, &clsid, noOuter, &iid, &created) == kACFOk && created)
        *first.Slot() = created;
    if (first && secondIid && second) second->Query(first.Get(), *secondIid);
}
