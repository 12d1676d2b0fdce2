#pragma once
// The product's CLAP plug-in factory: one descriptor, built from the product record.
#include "sdk/clap/entry.h"

// The process-wide factory; it stays valid while the module is loaded.
// [any thread]
const Clap::PluginFactory* ClapPluginFactory();
