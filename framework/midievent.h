#pragma once
// MIDI records passed between bindings and the plug-in, and builders for the common messages.
#include <cstdint>

struct IMidiEvent {
    int32_t sampleOffset;  // frames from the block start
    uint8_t status;
    uint8_t data1;
    uint8_t data2;
};
static_assert(sizeof(IMidiEvent) == 8, "MIDI events are 8 bytes");

struct ISysExEvent {
    int32_t sampleOffset;
    int32_t size;         // bytes
    const uint8_t* data;  // not owned
};

// Channels are masked to 0..15 and data bytes kept to 0..127, so no argument can change the
// message type.
IMidiEvent NoteOnEvent(int pitch, int velocity, int sampleOffset, int channel);
IMidiEvent NoteOffEvent(int pitch, int sampleOffset, int channel);
IMidiEvent ControlChangeEvent(int controller, double value, int channel);
