#include "aax-library/acf_exports.h"

#include "aax-library/acf_unknown.h"

namespace {
constexpr uint64_t kSDKVersion = 0x00000201007756BFull;

// Runs body; any exception it lets out becomes the framework's "unexpected" code.
template <class Body>
ACFRESULT Guarded(Body body) {
    try {
        return body();
    } catch (...) {
        return kACFUnexpected;
    }
}
}  // namespace

// A failed registration hands back a null definition.
ACFRESULT ACF_CALL ACFRegisterPlugin(IACFUnknown* host, IACFUnknown** definition) {
    if (definition) *definition = nullptr;
    return Guarded([&] {
        AAX_VCollection collection(host);
        int32_t result = DescribePlugin(&collection);
        if (result == 0) {
            IACFUnknown* defined = collection.DefinitionInterface();
            // Without the host's definition (no component factory) there is nothing to hand back.
            if (!defined || !definition ||
                HostQueryInterface(defined, kIID_PluginDefinitionExport, reinterpret_cast<void**>(definition)) != 0)
                result = kAAXNoHostInterface;
        }
        return result;
    });
}

ACFRESULT ACF_CALL ACFRegisterComponent(IACFUnknown*, uint32_t, IACFUnknown** component) {
    return Guarded([&] {
        if (component) *component = nullptr;
        return kACFOk;
    });
}

ACFRESULT ACF_CALL ACFGetClassFactory(IACFUnknown*, const acfUID&, const acfUID&, void** factory) {
    return Guarded([&] {
        if (factory) *factory = nullptr;
        return kAAXNotSupported;
    });
}

ACFRESULT ACF_CALL ACFCanUnloadNow(IACFUnknown*) {
    return Guarded([] { return ACFRESULT(ACFLiveObjectCount()); });
}

ACFRESULT ACF_CALL ACFStartup(IACFUnknown* host) {
    return Guarded([&] {
        if (AAX_IHostServices* services = ModuleHostServices()) {
            if (!host) {
                SetModuleHostServices(nullptr);
                delete services;
            }
        } else if (host) {
            SetModuleHostServices(new AAX_VHostServices(host));
        }
        return kACFOk;
    });
}

ACFRESULT ACF_CALL ACFShutdown(IACFUnknown*) {
    return Guarded([] {
        AAX_IHostServices* services = ModuleHostServices();
        SetModuleHostServices(nullptr);
        delete services;
        return kACFOk;
    });
}

ACFRESULT ACF_CALL ACFGetSDKVersion(uint64_t* version) {
    return Guarded([&] {
        if (version) *version = kSDKVersion;
        return kACFOk;
    });
}
