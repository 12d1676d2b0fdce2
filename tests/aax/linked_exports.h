#pragma once
// The exports of the product linked into the test program, taken as the stand-in host takes a
// loaded module's.
#include "aax-library/acf_exports.h"
#include "aax_plugin.h"

namespace aaxtest {
template <class F, class G>
void Bind(F& slot, G function) {
    slot = reinterpret_cast<F>(reinterpret_cast<void*>(function));
}

inline const aaxhost::Exports& Linked() {
    static aaxhost::Exports e = [] {
        aaxhost::Exports x;
        Bind(x.registerPlugin, &ACFRegisterPlugin);
        Bind(x.registerComponent, &ACFRegisterComponent);
        Bind(x.getClassFactory, &ACFGetClassFactory);
        Bind(x.canUnloadNow, &ACFCanUnloadNow);
        Bind(x.startup, &ACFStartup);
        Bind(x.shutdown, &ACFShutdown);
        Bind(x.getSDKVersion, &ACFGetSDKVersion);
        return x;
    }();
    return e;
}
}  // namespace aaxtest
