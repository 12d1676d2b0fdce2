#pragma once
// The seven functions through which the host enters the module. The product supplies the
// description callback that ACFRegisterPlugin runs.
#include <cstdint>

#include "aax-library/acf.h"
#include "aax-library/description.h"

// The product's: declares its effects on the collection; 0 or the OR of the codes met.
// [main thread] (ACFRegisterPlugin)
int32_t DescribePlugin(AAX_ICollection* collection);

extern "C" {
// Each runs inside a catch-all: an escaping exception answers 0x8000FFFF.
// Describes the plug-in; *definition receives the host's plug-in definition (one reference).
// [main thread] (the host's loading thread, as for every export here)
ACFRESULT ACF_CALL ACFRegisterPlugin(IACFUnknown* host, IACFUnknown** definition);
// No components or class factories are offered: both out pointers are set to null.
// [main thread]
ACFRESULT ACF_CALL ACFRegisterComponent(IACFUnknown* host, uint32_t index, IACFUnknown** component);
ACFRESULT ACF_CALL ACFGetClassFactory(IACFUnknown* host, const acfUID& clsid, const acfUID& iid, void** factory);
// The number of live ACF objects: 0 exactly when the module may be unloaded.
// [main thread]
ACFRESULT ACF_CALL ACFCanUnloadNow(IACFUnknown* host);
// Creates (once) and deletes the module-wide host-services object; the host calls each once.
// [main thread]
ACFRESULT ACF_CALL ACFStartup(IACFUnknown* host);
ACFRESULT ACF_CALL ACFShutdown(IACFUnknown* host);
ACFRESULT ACF_CALL ACFGetSDKVersion(uint64_t* version);
}
