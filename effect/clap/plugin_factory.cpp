// The product's CLAP plug-in factory: its one descriptor and the plug-ins it makes.
#include "effect/clap/plugin_factory.h"

#include <cstring>

#include "effect/product.h"
#include "effect/tavrelzel4.h"

namespace {
const Clap::PluginDescriptor kDescriptor = {Clap::kVersion,
                                            Product::kClapId,
                                            Product::kName,
                                            Product::kVendor,
                                            Product::kUrl,
                                            "",
                                            "",
                                            Product::kVersionText,
                                            "",
                                            Product::kClapFeatures};

// [any thread]
uint32_t CLAP_CALL PluginCount(const Clap::PluginFactory* /*f*/) { return 1; }

const Clap::PluginDescriptor* CLAP_CALL Descriptor(const Clap::PluginFactory* /*f*/, uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}

// Null for another id, no host, or a host of a pre-release version; the host is not called.
// [any thread, takes the module's creation lock]
const Clap::Plugin* CLAP_CALL CreatePlugin(const Clap::PluginFactory* /*f*/, const Clap::Host* host,
                                           const char* pluginId) {
    if (!IFxCLAP::HostUsable(host) || !pluginId || std::strcmp(pluginId, Product::kClapId) != 0) return nullptr;
    TavrelZel4* plug = CreateInstance();
    return plug ? plug->Record(&kDescriptor, host) : nullptr;
}
}  // namespace

const Clap::PluginFactory* ClapPluginFactory() {
    static const Clap::PluginFactory factory = {PluginCount, Descriptor, CreatePlugin};
    return &factory;
}
