// The LV2 UI module's entry: the product's editor as the bundle's one UI, for both plug-ins. It is
// the one symbol the module's build leaves visible.
#include "effect/lv2/plugin_factory.h"
#include "effect/product.h"
#include "framework/lv2/ifxlv2_ui.h"

// [main thread]
extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? IFxLV2UIDescriptor(Product::kLv2UiUri, CreateLV2Plugin) : nullptr;
}
