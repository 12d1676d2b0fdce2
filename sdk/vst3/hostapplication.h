// IHostApplication: the context a host hands to initialize, giving its name.
#pragma once

#include "sdk/vst3/funknown.h"

namespace Sdk {
namespace Vst {

class IHostApplication : public FUnknown {
public:
    virtual tresult PLUGIN_API getName(String128 name) = 0;
    virtual tresult PLUGIN_API createInstance(TUID cid, TUID iid, void** obj) = 0;

    static constexpr FUID iid{0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5};
};

}  // namespace Vst
}  // namespace Sdk
