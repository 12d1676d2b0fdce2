// The VST2 module's entry. On Windows the .def file exports it as VSTPluginMain and, for hosts
// that look for the older name, as main; a Linux module exports VSTPluginMain alone, the one
// symbol its build leaves visible.
#include "effect/tavrelzel4.h"

#ifdef _WIN32
#define TZ_VST2_EXPORT
#else
#define TZ_VST2_EXPORT __attribute__((visibility("default")))
#endif

// The host owns the returned record until it sends the close opcode.
// [main thread, takes the module's creation lock]
extern "C" TZ_VST2_EXPORT Vst2::AEffect* VST2_CALL VSTPluginMain(Vst2::audioMasterCallback audioMaster) {
    return IFxVST::CreateEffect(audioMaster, [] { return static_cast<IFxVST*>(new TavrelZel4()); });
}
