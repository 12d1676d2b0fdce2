// The LV2 UI module's entry: the product's editor as the bundle's one UI, for both plug-ins. It is
// the one symbol the module's build leaves visible.
#include "effect/tavrelzel4.h"
#include "framework/lv2/ifxlv2_ui.h"

// [main thread]
extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    if (index != 0) return nullptr;
    return IFxLV2UIDescriptor("urn:tavrelzel4:ui", [] { return static_cast<IFxLV2*>(CreateInstance()); });
}
