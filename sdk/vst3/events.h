// Note and data events and the host's per-block event list (IEventList).
#pragma once

#include "sdk/vst3/funknown.h"

namespace Sdk {
namespace Vst {

struct NoteOnEvent {
    int16 channel;
    int16 pitch;
    float tuning;
    float velocity;
    int32 length;
    int32 noteId;
};

struct NoteOffEvent {
    int16 channel;
    int16 pitch;
    float velocity;
    int32 noteId;
    float tuning;
};

struct DataEvent {
    enum DataTypes : uint32 { kMidiSysEx = 0 };

    uint32 size;
    uint32 type;
    const uint8* bytes;
};

struct PolyPressureEvent {
    int16 channel;
    int16 pitch;
    float pressure;
    int32 noteId;
};

// On 32-bit Windows hosts lay the two note-expression events out 4-aligned, which also
// makes the event union 4-aligned there.
#if defined(_WIN32) && !defined(_WIN64)
#pragma pack(push, 4)
#endif
struct NoteExpressionValueEvent {
    NoteExpressionTypeID typeId;
    int32 noteId;
    NoteExpressionValue value;
};

struct NoteExpressionTextEvent {
    NoteExpressionTypeID typeId;
    int32 noteId;
    uint32 textLen;
    const TChar* text;
};
#if defined(_WIN32) && !defined(_WIN64)
#pragma pack(pop)
#endif

struct ChordEvent {
    int16 root;
    int16 bassNote;
    int16 mask;
    uint16 textLen;
    const TChar* text;
};

struct ScaleEvent {
    int16 root;
    int16 mask;
    uint16 textLen;
    const TChar* text;
};

struct Event {
    enum EventFlags : uint16 { kIsLive = 1 << 0 };
    enum EventTypes : uint16 {
        kNoteOnEvent = 0,
        kNoteOffEvent,
        kDataEvent,
        kPolyPressureEvent,
        kNoteExpressionValueEvent,
        kNoteExpressionTextEvent,
        kChordEvent,
        kScaleEvent,
    };

    int32 busIndex;
    int32 sampleOffset;
    TQuarterNotes ppqPosition;
    uint16 flags;
    uint16 type;
    union {
        NoteOnEvent noteOn;
        NoteOffEvent noteOff;
        DataEvent data;
        PolyPressureEvent polyPressure;
        NoteExpressionValueEvent noteExpressionValue;
        NoteExpressionTextEvent noteExpressionText;
        ChordEvent chord;
        ScaleEvent scale;
    };
};

class IEventList : public FUnknown {
public:
    virtual int32 PLUGIN_API getEventCount() = 0;
    virtual tresult PLUGIN_API getEvent(int32 index, Event& e) = 0;
    virtual tresult PLUGIN_API addEvent(Event& e) = 0;

    static constexpr FUID iid{0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44};
};

}  // namespace Vst
}  // namespace Sdk
