// The VST2 module's entry. The .def file exports it as VSTPluginMain and, for hosts that look
// for the older name, as main.
#include "effect/tavrelzel4.h"

// The host owns the returned record until it sends the close opcode.
// [main thread, takes the module's creation lock]
extern "C" Vst2::AEffect* VST2_CALL VSTPluginMain(Vst2::audioMasterCallback audioMaster) {
    return IFxVST::CreateEffect(audioMaster, [] { return static_cast<IFxVST*>(new TavrelZel4()); });
}
