#pragma once
// Events: memcpy-able records of `size` bytes, each starting with the header, and the lists the
// host passes in and takes out during process and params flush.
#include "sdk/clap/abi.h"

namespace Clap {

struct EventHeader {
    uint32_t size;      // the whole event, header included
    uint32_t time;      // frame offset in the block
    uint16_t space_id;  // kCoreEventSpace: `type` is one of EventType
    uint16_t type;
    uint32_t flags;  // EventFlags
};

constexpr uint16_t kCoreEventSpace = 0;

enum EventFlags : uint32_t { kEventIsLive = 1, kEventDontRecord = 2 };

enum EventType : uint16_t {
    kEventNoteOn = 0,
    kEventNoteOff = 1,
    kEventNoteChoke = 2,
    kEventNoteEnd = 3,
    kEventNoteExpression = 4,
    kEventParamValue = 5,
    kEventParamMod = 6,
    kEventParamGestureBegin = 7,
    kEventParamGestureEnd = 8,
    kEventTransport = 9,
    kEventMidi = 10,
    kEventMidiSysex = 11,
    kEventMidi2 = 12,
};

// PARAM_VALUE (value: plain) and PARAM_MOD (amount: an offset) share one layout. -1 in the
// addressing fields means any.
struct EventParamValue {
    EventHeader header;
    Id param_id;
    void* cookie;  // ParamInfo::cookie or null
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double value;
};
using EventParamMod = EventParamValue;

struct EventParamGesture {  // GESTURE_BEGIN and GESTURE_END
    EventHeader header;
    Id param_id;
};

enum TransportFlags : uint32_t {
    kTransportHasTempo = 1 << 0,
    kTransportHasBeatsTimeline = 1 << 1,
    kTransportHasSecondsTimeline = 1 << 2,
    kTransportHasTimeSignature = 1 << 3,
    kTransportIsPlaying = 1 << 4,
    kTransportIsRecording = 1 << 5,
    kTransportIsLoopActive = 1 << 6,
    kTransportIsWithinPreRoll = 1 << 7,
};

struct EventTransport {
    EventHeader header;
    uint32_t flags;  // TransportFlags
    BeatTime song_pos_beats;
    SecTime song_pos_seconds;
    double tempo;      // beats per minute
    double tempo_inc;  // per frame
    BeatTime loop_start_beats;
    BeatTime loop_end_beats;
    SecTime loop_start_seconds;
    SecTime loop_end_seconds;
    BeatTime bar_start;
    int32_t bar_number;
    uint16_t tsig_num;
    uint16_t tsig_denom;
};

// Sorted by time; the results belong to the list.
struct InputEvents {
    void* ctx;
    uint32_t(CLAP_CALL* size)(const InputEvents* list);
    const EventHeader*(CLAP_CALL* get)(const InputEvents* list, uint32_t index);
};

// The host copies each event; false: not queued. Pushed in time order.
struct OutputEvents {
    void* ctx;
    bool(CLAP_CALL* try_push)(const OutputEvents* list, const EventHeader* event);
};

CLAP_SIZE(EventHeader, 16, 16, 16, 4, 4, 4);
CLAP_AT(EventHeader, time, 4, 4, 4);
CLAP_AT(EventHeader, space_id, 8, 8, 8);
CLAP_AT(EventHeader, type, 10, 10, 10);
CLAP_AT(EventHeader, flags, 12, 12, 12);

CLAP_SIZE(EventParamValue, 56, 48, 44, 8, 8, 4);
CLAP_AT(EventParamValue, param_id, 16, 16, 16);
CLAP_AT(EventParamValue, cookie, 24, 20, 20);
CLAP_AT(EventParamValue, note_id, 32, 24, 24);
CLAP_AT(EventParamValue, port_index, 36, 28, 28);
CLAP_AT(EventParamValue, channel, 38, 30, 30);
CLAP_AT(EventParamValue, key, 40, 32, 32);
CLAP_AT(EventParamValue, value, 48, 40, 36);

CLAP_SIZE(EventParamGesture, 20, 20, 20, 4, 4, 4);
CLAP_AT(EventParamGesture, param_id, 16, 16, 16);

CLAP_SIZE(EventTransport, 104, 104, 100, 8, 8, 4);
CLAP_AT(EventTransport, flags, 16, 16, 16);
CLAP_AT(EventTransport, song_pos_beats, 24, 24, 20);
CLAP_AT(EventTransport, song_pos_seconds, 32, 32, 28);
CLAP_AT(EventTransport, tempo, 40, 40, 36);
CLAP_AT(EventTransport, tempo_inc, 48, 48, 44);
CLAP_AT(EventTransport, loop_start_beats, 56, 56, 52);
CLAP_AT(EventTransport, loop_end_beats, 64, 64, 60);
CLAP_AT(EventTransport, loop_start_seconds, 72, 72, 68);
CLAP_AT(EventTransport, loop_end_seconds, 80, 80, 76);
CLAP_AT(EventTransport, bar_start, 88, 88, 84);
CLAP_AT(EventTransport, bar_number, 96, 96, 92);
CLAP_AT(EventTransport, tsig_num, 100, 100, 96);
CLAP_AT(EventTransport, tsig_denom, 102, 102, 98);

CLAP_TABLE(InputEvents, 3);
CLAP_SLOT(InputEvents, size, 1);
CLAP_SLOT(InputEvents, get, 2);
CLAP_TABLE(OutputEvents, 2);
CLAP_SLOT(OutputEvents, try_push, 1);

}  // namespace Clap
