// The product's VST3 module: its factory and class records and the three exports.
#include "effect/vst3/module_entry.h"

#include <cstdio>
#include <mutex>

#include "effect/product.h"
#include "effect/tavrelzel4.h"
#include "framework/igraphics.h"
#include "framework/vst3/module_factory.h"

using namespace Sdk;

const FUID kTavrelZel4ClassId(Product::kVst3ClassId[0], Product::kVst3ClassId[1], Product::kVst3ClassId[2],
                              Product::kVst3ClassId[3]);

namespace {
// Text fields are NUL-padded: each record is zeroed before it is filled.
PFactoryInfo MakeFactoryInfo() {
    PFactoryInfo info{};
    std::snprintf(info.vendor, sizeof info.vendor, "%s", Product::kVendor);
    std::snprintf(info.url, sizeof info.url, "%s", Product::kUrl);
    std::snprintf(info.email, sizeof info.email, "%s", Product::kEmail);
    info.flags = PFactoryInfo::kUnicode;
    return info;
}

PClassInfo2 MakeClassInfo() {
    PClassInfo2 info{};
    kTavrelZel4ClassId.toTUID(info.cid);
    info.cardinality = PClassInfo::kManyInstances;
    std::snprintf(info.category, sizeof info.category, "%s", kVstAudioEffectClass);
    std::snprintf(info.name, sizeof info.name, "%s", Product::kName);
    info.classFlags = Vst::kSimpleModeSupported;
    std::snprintf(info.subCategories, sizeof info.subCategories, "%s", Product::kVst3SubCategories);
    std::snprintf(info.version, sizeof info.version, "%s", Product::kVersionText);
    std::snprintf(info.sdkVersion, sizeof info.sdkVersion, "%s", kVstVersionString);
    return info;
}

// The factory's create function: one new plug-in with the reference the factory hands on.
// [any thread, takes the module's creation lock] (the factory's createInstance)
FUnknown* CreatePlugin(void*) {
    TavrelZel4* plug = CreateInstance();
    return plug ? static_cast<Vst::IAudioProcessor*>(plug) : nullptr;
}
}  // namespace

IClassFactory* PLUGIN_API GetPluginFactory() {
    static const PFactoryInfo factoryInfo = MakeFactoryInfo();
    static const PClassInfo2 classInfo = MakeClassInfo();
    return AcquireModuleFactory(factoryInfo, classInfo, CreatePlugin);
}

#ifdef _WIN32
bool InitDll() { return true; }
bool ExitDll() { return true; }
#else
namespace {
std::mutex gEntryLock;
int gEntries = 0;  // ModuleEntry calls not yet matched by a ModuleExit
}  // namespace

// Nothing here needs the entry to have run: the factory builds itself on demand, so a host that
// asks for it first (or never calls ModuleEntry) still gets a working module.
bool ModuleEntry(void*) {
    std::lock_guard<std::mutex> lock(gEntryLock);
    ++gEntries;
    return true;
}

bool ModuleExit() {
    std::lock_guard<std::mutex> lock(gEntryLock);
    if (gEntries == 0) return false;
    if (--gEntries == 0) FreeGuiCaches();
    return true;
}
#endif
