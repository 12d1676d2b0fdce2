#include "sdk/vst3/fobject.h"

namespace Sdk {

tresult PLUGIN_API FObject::queryInterface(const TUID iid, void** obj) {
    if (tryInterface<FUnknown>(iid, obj, unknownCast())) return kResultOk;
    if (tryInterface<IDependent>(iid, obj, this)) return kResultOk;
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
