// A stand-in module for the loader's refusals: GetPluginFactory, and ModuleEntry and ModuleExit
// as the build asks (TZ_NO_ENTRY, TZ_NO_EXIT; TZ_ENTRY_ANSWER what ModuleEntry answers).
#define TZ_EXPORT __attribute__((visibility("default")))
extern "C" {
TZ_EXPORT void* GetPluginFactory() { return nullptr; }
#ifndef TZ_NO_ENTRY
TZ_EXPORT bool ModuleEntry(void*) { return TZ_ENTRY_ANSWER; }
#endif
#ifndef TZ_NO_EXIT
TZ_EXPORT bool ModuleExit() { return true; }
#endif
}
