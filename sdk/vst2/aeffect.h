#pragma once
// The VST 2.4 plug-in interface as this project uses it: the effect record the host drives the
// plug-in through, the records passed with the opcodes, and the opcode numbers of both
// directions. Every record has the published layout; the static_asserts pin the offsets for
// 32-bit x86 and for x86-64, so a layout slip fails the build instead of a host.
#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VST2_CALL __cdecl
#else
#define VST2_CALL
#endif

namespace Vst2 {

struct AEffect;

// Host callback and plug-in entries. Every call crosses the module boundary in C convention.
using audioMasterCallback = intptr_t(VST2_CALL*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                                 void* data, float opt);
using DispatcherProc = intptr_t(VST2_CALL*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* data,
                                            float opt);
using ProcessProc = void(VST2_CALL*)(AEffect* effect, float** inputs, float** outputs, int32_t frames);
using ProcessDoubleProc = void(VST2_CALL*)(AEffect* effect, double** inputs, double** outputs, int32_t frames);
using SetParameterProc = void(VST2_CALL*)(AEffect* effect, int32_t index, float value);
using GetParameterProc = float(VST2_CALL*)(AEffect* effect, int32_t index);
using EntryProc = AEffect*(VST2_CALL*)(audioMasterCallback audioMaster);

constexpr int32_t kEffectMagic = 0x56737450;  // 'VstP'

// The effect record: what the host reads and calls. Fields not named by the plug-in stay zero.
struct AEffect {
    int32_t magic;
    DispatcherProc dispatcher;
    ProcessProc process;  // accumulating: adds to the output buffers
    SetParameterProc setParameter;
    GetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    intptr_t resvd1;
    intptr_t resvd2;
    int32_t initialDelay;
    int32_t realQualities;
    int32_t offQualities;
    float ioRatio;
    void* object;  // the plug-in object
    void* user;
    int32_t uniqueID;
    int32_t version;
    ProcessProc processReplacing;
    ProcessDoubleProc processDoubleReplacing;
    char future[56];
};

// Effect record flags.
enum EffectFlags : int32_t {
    kFlagHasEditor = 0x1,
    kFlagMonoCapable = 0x8,
    kFlagCanReplace = 0x10,
    kFlagProgramChunks = 0x20,
    kFlagIsSynth = 0x100,
    kFlagCanDoubleReplace = 0x1000,
};

// Editor rectangle in pixels.
struct ERect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    int32_t type;
    char future[28];
};

struct VstSpeakerArrangement {
    int32_t type;  // kArrangement... below
    int32_t numChannels;
    VstSpeakerProperties speakers[8];
};

enum ArrangementType : int32_t {
    kArrangementUserDefined = -2,
    kArrangementEmpty = -1,
    kArrangementMono = 0,
    kArrangementStereo = 1,
};

struct VstPinProperties {
    char label[64];
    int32_t flags;  // kPin... below
    int32_t arrangementType;
    char shortLabel[8];
    char future[48];
};

enum PinFlags : int32_t { kPinIsActive = 0x1, kPinIsStereo = 0x2 };

struct MidiKeyName {
    int32_t thisProgramIndex;
    int32_t thisKeyNumber;
    char keyName[64];
    int32_t reserved;
    int32_t flags;
};

// Events: a list of pointers to records that start with type and byteSize.
enum EventType : int32_t { kEventMidi = 1, kEventSysEx = 6 };

struct VstEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    char data[16];
};

struct VstMidiEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    int32_t noteLength;
    int32_t noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

struct VstMidiSysexEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    int32_t dumpBytes;
    intptr_t resvd1;
    char* sysexDump;
    intptr_t resvd2;
};

struct VstEvents {
    int32_t numEvents;
    intptr_t reserved;
    VstEvent* events[2];  // numEvents entries in fact
};

// The host's transport record.
struct VstTimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;  // kTime... below
};

enum TimeFlags : int32_t {
    kTimeTransportPlaying = 0x2,
    kTimeCycleActive = 0x4,
    kTimePpqValid = 0x200,
    kTimeTempoValid = 0x400,
    kTimeBarsValid = 0x800,
    kTimeCycleValid = 0x1000,
    kTimeSignatureValid = 0x2000,
};

// Dispatcher opcodes: host to plug-in.
namespace EffectOp {
enum : int32_t {
    kOpen = 0,
    kClose = 1,
    kSetProgram = 2,
    kGetProgram = 3,
    kSetProgramName = 4,
    kGetProgramName = 5,
    kGetParamLabel = 6,
    kGetParamDisplay = 7,
    kGetParamName = 8,
    kSetSampleRate = 10,
    kSetBlockSize = 11,
    kMainsChanged = 12,
    kEditGetRect = 13,
    kEditOpen = 14,
    kEditClose = 15,
    kEditIdle = 19,
    kIdentify = 22,
    kGetChunk = 23,
    kSetChunk = 24,
    kProcessEvents = 25,
    kCanBeAutomated = 26,
    kString2Parameter = 27,
    kGetProgramNameIndexed = 29,
    kGetInputProperties = 33,
    kGetOutputProperties = 34,
    kGetPlugCategory = 35,
    kSetSpeakerArrangement = 42,
    kGetEffectName = 45,
    kGetVendorString = 47,
    kGetProductString = 48,
    kGetVendorVersion = 49,
    kVendorSpecific = 50,
    kCanDo = 51,
    kGetTailSize = 52,
    kIdle = 53,
    kGetVstVersion = 58,
    kGetMidiKeyName = 66,
    kGetSpeakerArrangement = 69,
};
}  // namespace EffectOp

// Host-callback opcodes: plug-in to host.
namespace HostOp {
enum : int32_t {
    kAutomate = 0,
    kWantMidi = 6,
    kGetTime = 7,
    kProcessEvents = 8,
    kGetCurrentProcessLevel = 23,
    kGetProductString = 33,
    kGetVendorVersion = 34,
    kUpdateDisplay = 42,
    kBeginEdit = 43,
    kEndEdit = 44,
};
}  // namespace HostOp

constexpr int32_t kProcessLevelOffline = 4;

// ---- Layout: 32-bit x86 and x86-64 ----
constexpr bool k64 = sizeof(void*) == 8;
#define VST2_AT(type, field, off32, off64) \
    static_assert(offsetof(type, field) == (k64 ? (off64) : (off32)), #type "::" #field " offset")

VST2_AT(AEffect, magic, 0, 0);
VST2_AT(AEffect, dispatcher, 4, 8);
VST2_AT(AEffect, process, 8, 16);
VST2_AT(AEffect, setParameter, 12, 24);
VST2_AT(AEffect, getParameter, 16, 32);
VST2_AT(AEffect, numPrograms, 20, 40);
VST2_AT(AEffect, numParams, 24, 44);
VST2_AT(AEffect, numInputs, 28, 48);
VST2_AT(AEffect, numOutputs, 32, 52);
VST2_AT(AEffect, flags, 36, 56);
VST2_AT(AEffect, resvd1, 40, 64);
VST2_AT(AEffect, resvd2, 44, 72);
VST2_AT(AEffect, initialDelay, 48, 80);
VST2_AT(AEffect, realQualities, 52, 84);
VST2_AT(AEffect, offQualities, 56, 88);
VST2_AT(AEffect, ioRatio, 60, 92);
VST2_AT(AEffect, object, 64, 96);
VST2_AT(AEffect, user, 68, 104);
VST2_AT(AEffect, uniqueID, 72, 112);
VST2_AT(AEffect, version, 76, 116);
VST2_AT(AEffect, processReplacing, 80, 120);
VST2_AT(AEffect, processDoubleReplacing, 84, 128);
VST2_AT(AEffect, future, 88, 136);
static_assert(sizeof(AEffect) == (k64 ? 192 : 144), "AEffect size");

static_assert(sizeof(ERect) == 8 && offsetof(ERect, right) == 6, "ERect layout");
VST2_AT(VstSpeakerProperties, name, 16, 16);
VST2_AT(VstSpeakerProperties, type, 80, 80);
static_assert(sizeof(VstSpeakerProperties) == 112, "VstSpeakerProperties size");
VST2_AT(VstSpeakerArrangement, speakers, 8, 8);
static_assert(sizeof(VstSpeakerArrangement) == 904, "VstSpeakerArrangement size");
VST2_AT(VstPinProperties, flags, 64, 64);
VST2_AT(VstPinProperties, shortLabel, 72, 72);
static_assert(sizeof(VstPinProperties) == 128, "VstPinProperties size");
VST2_AT(MidiKeyName, keyName, 8, 8);
static_assert(sizeof(MidiKeyName) == 80, "MidiKeyName size");
static_assert(sizeof(VstEvent) == 32, "VstEvent size");
VST2_AT(VstMidiEvent, midiData, 24, 24);
static_assert(sizeof(VstMidiEvent) == 32, "VstMidiEvent size");
VST2_AT(VstMidiSysexEvent, dumpBytes, 16, 16);
VST2_AT(VstMidiSysexEvent, sysexDump, 24, 32);
static_assert(sizeof(VstMidiSysexEvent) == (k64 ? 48 : 32), "VstMidiSysexEvent size");
VST2_AT(VstEvents, events, 8, 16);
VST2_AT(VstTimeInfo, tempo, 32, 32);
VST2_AT(VstTimeInfo, timeSigNumerator, 64, 64);
VST2_AT(VstTimeInfo, flags, 84, 84);
static_assert(sizeof(VstTimeInfo) == 88, "VstTimeInfo size");
#undef VST2_AT

}  // namespace Vst2
