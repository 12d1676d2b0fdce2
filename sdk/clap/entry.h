#pragma once
// The module's one export, the data object `clap_entry` (C linkage), and the plug-in factory
// it hands out.
#include "sdk/clap/host.h"
#include "sdk/clap/plugin.h"

namespace Clap {

// init first (repeatable, reference-counted: true when already initialised), deinit last;
// never concurrent with any other call. get_factory from any thread.
struct PluginEntry {
    Version clap_version;
    bool(CLAP_CALL* init)(const char* plugin_path);
    void(CLAP_CALL* deinit)();
    const void*(CLAP_CALL* get_factory)(const char* factory_id);  // null for an unknown id
};

constexpr const char* kPluginFactoryId = "clap.plugin-factory";

// Every entry from any thread. No host call inside create_plugin.
struct PluginFactory {
    uint32_t(CLAP_CALL* get_plugin_count)(const PluginFactory* f);
    const PluginDescriptor*(CLAP_CALL* get_plugin_descriptor)(const PluginFactory* f, uint32_t index);
    const Plugin*(CLAP_CALL* create_plugin)(const PluginFactory* f, const Host* host, const char* plugin_id);
};

CLAP_SIZE(PluginEntry, 40, 24, 24, 8, 4, 4);
CLAP_AT(PluginEntry, init, 16, 12, 12);
CLAP_AT(PluginEntry, deinit, 24, 16, 16);
CLAP_AT(PluginEntry, get_factory, 32, 20, 20);

CLAP_TABLE(PluginFactory, 3);
CLAP_SLOT(PluginFactory, get_plugin_descriptor, 1);
CLAP_SLOT(PluginFactory, create_plugin, 2);

}  // namespace Clap
