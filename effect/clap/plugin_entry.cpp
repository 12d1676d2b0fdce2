// The product's CLAP module: its one export, the entry record clap_entry.
#include <cstring>
#include <mutex>

#include "effect/clap/plugin_factory.h"
#include "framework/igraphics.h"

namespace {
std::mutex gEntryLock;
int gEntries = 0;  // init calls not yet matched by a deinit

// Counted: a host may init again (true when already initialised); each init wants one deinit.
// Nothing needs the path.
// [any thread, takes the module's entry lock] (never beside another call of the module)
bool CLAP_CALL Init(const char* /*pluginPath*/) {
    std::lock_guard<std::mutex> lock(gEntryLock);
    ++gEntries;
    return true;
}

// The last one frees the process-wide GUI caches, as unloading the module would; one too many
// is ignored.
// [any thread, takes the module's entry lock] (never beside another call of the module)
void CLAP_CALL Deinit() {
    std::lock_guard<std::mutex> lock(gEntryLock);
    if (gEntries > 0 && --gEntries == 0) FreeGuiCaches();
}

// The plug-in factory only.
// [any thread]
const void* CLAP_CALL GetFactory(const char* factoryId) {
    return factoryId && std::strcmp(factoryId, Clap::kPluginFactoryId) == 0 ? ClapPluginFactory() : nullptr;
}
}  // namespace

extern "C" {
extern const Clap::PluginEntry clap_entry;
const Clap::PluginEntry clap_entry = {Clap::kVersion, Init, Deinit, GetFactory};
}
