// The product's LV2 module: its one export hands out the stereo plug-in (index 0) and the mono
// one (index 1).
#include "effect/lv2/plugin_factory.h"
#include "effect/product.h"

namespace {
IFxLV2Descriptor Describe(const Product::Lv2Plugin& plugin) {
    return IFxLV2::Describe(plugin.uri, plugin.channels, CreateLV2Plugin, Product::kLv2StateUri);
}
}  // namespace

// [any thread]
LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    static const IFxLV2Descriptor descriptors[] = {Describe(Product::kLv2Plugins[0]),
                                                   Describe(Product::kLv2Plugins[1])};
    return index < sizeof descriptors / sizeof *descriptors ? &descriptors[index].lv2 : nullptr;
}
