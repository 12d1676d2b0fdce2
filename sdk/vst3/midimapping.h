// IMidiMapping: maps MIDI controllers of an event bus to parameter ids.
#pragma once

#include "sdk/vst3/funknown.h"

namespace Sdk {
namespace Vst {

enum ControllerNumbers : CtrlNumber {
    kCtrlModWheel = 1,
    kCtrlVolume = 7,
    kCtrlPan = 10,
    kCtrlExpression = 11,
    kCtrlSustainOnOff = 64,
    kCtrlAllNotesOff = 123,
    kAfterTouch = 128,
    kPitchBend = 129,
    kCountCtrlNumber = 130,
};

class IMidiMapping : public FUnknown {
public:
    virtual tresult PLUGIN_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                           CtrlNumber midiControllerNumber, ParamID& id) = 0;

    static constexpr FUID iid{0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5};
};

}  // namespace Vst
}  // namespace Sdk
