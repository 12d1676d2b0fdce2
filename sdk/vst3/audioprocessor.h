// IAudioProcessor with the processing set-up, block and buffer records and speaker arrangements.
#pragma once

#include "sdk/vst3/funknown.h"

namespace Sdk {
namespace Vst {

class IParameterChanges;
class IEventList;
struct ProcessContext;

enum SymbolicSampleSizes : int32 { kSample32 = 0, kSample64 };
enum ProcessModes : int32 { kRealtime = 0, kPrefetch, kOffline };

constexpr uint32 kNoTail = 0;
constexpr uint32 kInfiniteTail = 0xFFFFFFFFu;

namespace SpeakerArr {
constexpr SpeakerArrangement kEmpty = 0;
constexpr SpeakerArrangement kMono = 0x80000;
constexpr SpeakerArrangement kStereo = 0x3;
constexpr SpeakerArrangement k30Cine = 0x7;
constexpr SpeakerArrangement k30Music = 0x103;
constexpr SpeakerArrangement k40Music = 0x33;
constexpr SpeakerArrangement k50 = 0x37;
constexpr SpeakerArrangement k51 = 0x3F;
constexpr SpeakerArrangement kBFormat1stOrder = 0xF00000;

// One channel per speaker bit.
inline int32 getChannelCount(SpeakerArrangement arr) {
    int32 count = 0;
    for (; arr != 0; arr &= arr - 1) ++count;
    return count;
}
}  // namespace SpeakerArr

struct ProcessSetup {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 maxSamplesPerBlock;
    SampleRate sampleRate;
};

struct AudioBusBuffers {
    int32 numChannels;
    uint64 silenceFlags;
    union {
        Sample32** channelBuffers32;
        Sample64** channelBuffers64;
    };
};

struct ProcessData {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 numSamples;
    int32 numInputs;
    int32 numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    ProcessContext* processContext;
};

class IAudioProcessor : public FUnknown {
public:
    virtual tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                                  int32 numOuts) = 0;
    virtual tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) = 0;
    virtual tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) = 0;
    virtual uint32 PLUGIN_API getLatencySamples() = 0;
    virtual tresult PLUGIN_API setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult PLUGIN_API setProcessing(TBool state) = 0;
    virtual tresult PLUGIN_API process(ProcessData& data) = 0;
    virtual uint32 PLUGIN_API getTailSamples() = 0;

    static constexpr FUID iid{0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D};
};

}  // namespace Vst
}  // namespace Sdk
