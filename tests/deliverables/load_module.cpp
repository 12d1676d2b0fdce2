// Loads a plug-in module as a host does, by its full path, and looks up its entry exports:
//   load_module MODULE EXPORT...
// On Linux a module exporting ModuleEntry (the VST3 module) also has its entries called as hosts
// call them, and one exporting lv2_descriptor (the LV2 plug-ins) hands out its plug-ins in order. Exit status 0 when
// all is well; otherwise a line names each fault. On both systems a module exporting clap_entry
// (the CLAP module) must carry a released version and hand out its plug-in through repeated inits.
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdio>
#include <cstring>

#include "effect/product.h"
#include "sdk/clap/entry.h"
#include "sdk/vst3/pluginbase.h"
#ifndef _WIN32
#include <lv2/core/lv2.h>
#endif

namespace {
#ifdef _WIN32
using Module = HMODULE;
Module Open(const char* path) { return LoadLibraryA(path); }
void* Find(Module module, const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); }
void Close(Module module) { FreeLibrary(module); }
const char* LastError() {
    static char text[32];
    std::snprintf(text, sizeof text, "error %lu", GetLastError());
    return text;
}
#else
using Module = void*;
// As hosts load plug-ins: every symbol bound now, none offered to later modules.
Module Open(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
void* Find(Module module, const char* name) { return dlsym(module, name); }
void Close(Module module) { dlclose(module); }
const char* LastError() {
    const char* text = dlerror();
    return text ? text : "no error text";
}

// Takes one factory reference and gives it back: true when it offers the one class.
bool OffersOneClass(Sdk::IClassFactory* factory) {
    if (!factory) return false;
    bool one = factory->countClasses() == 1;
    factory->release();
    return one;
}

// The VST3 entries in an order that shows their count: the factory before any entry (hosts do
// ask first), nested entries, one exit too many, and a new entry after the last exit.
int RunVst3Entries(Module module, const char* path) {
    auto entry = reinterpret_cast<bool (*)(void*)>(Find(module, "ModuleEntry"));
    auto exit = reinterpret_cast<bool (*)()>(Find(module, "ModuleExit"));
    auto factory = reinterpret_cast<Sdk::IClassFactory* (*)()>(Find(module, "GetPluginFactory"));
    if (!entry || !exit || !factory) return 0;  // reported as a missing export
    struct Step {
        const char* call;
        bool got, want;
    };
    // Braced initialisers run in order: this is the call sequence.
    const Step steps[] = {
        {"GetPluginFactory before ModuleEntry (a factory of one class)", OffersOneClass(factory()), true},
        {"ModuleEntry(null)", entry(nullptr), true},
        {"ModuleEntry(handle)", entry(module), true},
        {"GetPluginFactory (a factory of one class)", OffersOneClass(factory()), true},
        {"ModuleExit (1 of 2)", exit(), true},
        {"ModuleExit (2 of 2)", exit(), true},
        {"ModuleExit without ModuleEntry", exit(), false},
        {"ModuleEntry after the last ModuleExit", entry(module), true},
        {"GetPluginFactory after a new entry (a factory of one class)", OffersOneClass(factory()), true},
        {"its ModuleExit", exit(), true},
    };
    int faults = 0;
    for (const Step& s : steps) {
        if (s.got == s.want) continue;
        std::fprintf(stderr, "%s: %s answered %s\n", path, s.call, s.got ? "true" : "false");
        ++faults;
    }
    return faults;
}

// Each index names the product's plug-in in order, and the one after the last none.
int RunLv2Descriptors(Module module, const char* path) {
    auto descriptor = reinterpret_cast<LV2_Descriptor_Function>(Find(module, "lv2_descriptor"));
    if (!descriptor) return 0;
    constexpr uint32_t count = sizeof Product::kLv2Plugins / sizeof *Product::kLv2Plugins;
    int faults = 0;
    for (uint32_t i = 0; i <= count; ++i) {
        const LV2_Descriptor* d = descriptor(i);
        const char* want = i < count ? Product::kLv2Plugins[i].uri : "(none)";
        const char* got = d ? (d->URI ? d->URI : "(no URI)") : "(none)";
        if (std::strcmp(got, want) == 0) continue;
        std::fprintf(stderr, "%s: lv2_descriptor(%u) is %s, not %s\n", path, i, got, want);
        ++faults;
    }
    return faults;
}
#endif

// The factory's one plug-in is the product's.
bool OffersTheProduct(const void* factory) {
    const auto* f = static_cast<const Clap::PluginFactory*>(factory);
    const Clap::PluginDescriptor* d = f && f->get_plugin_count(f) == 1 ? f->get_plugin_descriptor(f, 0) : nullptr;
    return d && d->id && std::strcmp(d->id, Product::kClapId) == 0;
}

// The record's version, then init twice (both true) with the factory between, and the deinits.
int RunClapEntry(Module module, const char* path) {
    const auto* entry = static_cast<const Clap::PluginEntry*>(Find(module, "clap_entry"));
    if (!entry) return 0;
    if (!Clap::isCompatible(entry->clap_version)) {
        std::fprintf(stderr, "%s: clap_entry has version %u, a pre-release\n", path, entry->clap_version.major);
        return 1;
    }
    const bool first = entry->init(path), second = entry->init(path);
    const bool product = OffersTheProduct(entry->get_factory(Clap::kPluginFactoryId));
    const bool other = entry->get_factory("clap.no-such-factory") == nullptr;
    entry->deinit();
    entry->deinit();
    if (first && second && product && other) return 0;
    std::fprintf(stderr, "%s: clap_entry init %d, again %d, the product's factory %d, no other factory %d\n", path,
                 first, second, product, other);
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: load_module MODULE EXPORT...\n");
        return 2;
    }
    Module module = Open(argv[1]);
    if (!module) {
        std::fprintf(stderr, "%s: loading failed: %s\n", argv[1], LastError());
        return 1;
    }
    int faults = 0;
    for (int i = 2; i < argc; ++i) {
        if (!Find(module, argv[i])) {
            std::fprintf(stderr, "%s: no export %s (%s)\n", argv[1], argv[i], LastError());
            ++faults;
        }
    }
#ifndef _WIN32
    faults += RunVst3Entries(module, argv[1]);
    faults += RunLv2Descriptors(module, argv[1]);
#endif
    faults += RunClapEntry(module, argv[1]);
    Close(module);
    return faults ? 1 : 0;
}
