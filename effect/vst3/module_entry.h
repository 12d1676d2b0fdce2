#pragma once
// The VST3 module's exports: the host loads the DLL, calls InitDll, GetPluginFactory, creates
// instances through the factory, and calls ExitDll before unloading.
#include "sdk/vst3/pluginbase.h"

// The plug-in's class id, as saved projects know it (Product::kVst3ClassId).
extern const Sdk::FUID kTavrelZel4ClassId;

extern "C" {
// The process-wide factory with one class; every call hands the caller one reference. After the
// last release the next call builds a new one.
// [any thread, takes the module's factory lock]
Sdk::IClassFactory* PLUGIN_API GetPluginFactory();
// [main thread]
bool InitDll();
bool ExitDll();
}
