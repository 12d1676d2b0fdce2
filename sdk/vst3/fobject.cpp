#include "sdk/vst3/fobject.h"

namespace Sdk {

// Every query chain of the objects derived from FObject ends here; a chain's tryInterface steps
// pass over a bad query, which is answered here.
tresult PLUGIN_API FObject::queryInterface(const TUID queryIid, void** obj) {
    if (badQuery(queryIid, obj)) return kInvalidArgument;
    if (tryInterface<FUnknown>(queryIid, obj, unknownCast())) return kResultOk;
    if (tryInterface<IDependent>(queryIid, obj, this)) return kResultOk;
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API FObject::addRef() { return static_cast<uint32>(++refCount); }

uint32 PLUGIN_API FObject::release() {
    int32 count = --refCount;
    if (count == 0) delete this;
    return static_cast<uint32>(count);
}

}  // namespace Sdk
