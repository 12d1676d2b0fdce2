#include "framework/midievent.h"

#include <algorithm>
#include <cmath>

namespace {
uint8_t DataByte(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 127)); }
uint8_t Status(int type, int channel) { return static_cast<uint8_t>(type | (channel & 0x0F)); }
}  // namespace

IMidiEvent NoteOnEvent(int pitch, int velocity, int sampleOffset, int channel) {
    return {sampleOffset, Status(0x90, channel), DataByte(pitch), DataByte(velocity)};
}

IMidiEvent NoteOffEvent(int pitch, int sampleOffset, int channel) {
    return {sampleOffset, Status(0x80, channel), DataByte(pitch), 0};
}

IMidiEvent ControlChangeEvent(int controller, double value, int channel) {
    const double scaled = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0) * 127.0;
    return {0, Status(0xB0, channel), DataByte(controller), DataByte(static_cast<int>(scaled))};
}
