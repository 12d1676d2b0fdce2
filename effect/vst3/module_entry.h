#pragma once
// The VST3 module's exports: the host loads the module, calls InitDll (ModuleEntry on Linux),
// GetPluginFactory, creates instances through the factory, and calls ExitDll (ModuleExit) before
// unloading.
#include "sdk/vst3/pluginbase.h"

// The plug-in's class id, as saved projects know it (Product::kVst3ClassId).
extern const Sdk::FUID kTavrelZel4ClassId;

extern "C" {
// The process-wide factory with one class; every call hands the caller one reference. After the
// last release the next call builds a new one.
// [any thread, takes the module's factory lock]
Sdk::IClassFactory* PLUGIN_API GetPluginFactory();
#ifdef _WIN32
// [main thread]
bool InitDll();
bool ExitDll();
#else
// Counted: each ModuleEntry wants one ModuleExit. The argument (the module's handle) is not used:
// a host may pass none. GetPluginFactory works before the first ModuleEntry too.
// [main thread, takes the module's entry lock]
bool ModuleEntry(void* moduleHandle);
// False without a matching ModuleEntry; the last one frees the process-wide GUI caches, as
// unloading the module does on Windows.
// [main thread, takes the module's entry lock]
bool ModuleExit();
#endif
}
