// IFxVST3: the state chunk (framework/statechunk.h) and the
// host's bus arrangement request.
#include "framework/statechunk.h"
#include "framework/vst3/ifxvst3.h"
#include "sdk/vst3/bstream.h"
#include "sdk/vst3/strings.h"

using namespace Sdk;
using namespace Sdk::Vst;

namespace {
constexpr int32 kReadPiece = 128;

bool WriteAll(IBStream* stream, const void* bytes, int32 count) {
    int32 written = 0;
    return stream->write(const_cast<void*>(bytes), count, &written) == kResultOk && written == count;
}

// The stream's bytes from its current position to its end. One host reports failure on reads
// that did deliver bytes; its data goes on.
void ReadToEnd(IBStream* stream, bool failedReadsGoOn, IByteBlock* block) {
    unsigned char piece[kReadPiece];
    for (;;) {
        int32 got = 0;
        const tresult result = stream->read(piece, kReadPiece, &got);
        got = got < 0 ? 0 : (got > kReadPiece ? kReadPiece : got);
        if (got == 0) break;
        if (result != kResultOk && !failedReadsGoOn) break;
        block->Put(piece, got);
    }
}
}  // namespace

// Any thread the host saves from. The chunk is taken under the plug-in mutex and written to the
// stream after it is released, so the audio thread never waits on the host's stream. A stream
// that takes fewer bytes than the chunk has is reported, so the host never keeps a cut chunk as
// a saved state.
tresult PLUGIN_API IFxVST3::getState(IBStream* stream) {
    if (!stream) return kInvalidArgument;
    IByteBlock block;
    if (!TakeStateChunk(this, &block)) return kResultFalse;
    return WriteAll(stream, block.GetBytes(), block.Size()) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API IFxVST3::setState(IBStream* stream) { return RestoreState(stream); }
tresult PLUGIN_API IFxVST3::setComponentState(IBStream* stream) { return RestoreState(stream); }

// Any thread the host restores from. Reads the stream from its current position to its end,
// then applies the bytes under the plug-in mutex; the stream and the editor are served after it
// is released. An empty stream changes nothing. The trailer is taken from the bytes read, right
// after the parameter block, and the stream is left just after it.
tresult IFxVST3::RestoreState(IBStream* stream) {
    if (!stream) return kInvalidArgument;
    int64 start = -1;
    if (stream->tell(&start) != kResultOk) start = -1;
    IByteBlock block;
    ReadToEnd(stream, GetHostCode() == kHostWaveLab, &block);
    if (block.Size() == 0) return kResultFalse;
    const int end = ApplyStateChunk(this, &block);
    int64 at = 0;
    if (end >= 0 && start >= 0) stream->seek(start + end, IBStream::kIBSeekSet, &at);
    PushValuesToGui();
    return end >= 0 ? kResultOk : kResultFalse;
}

// Host's main thread; holds the plug-in mutex, so a block processed meanwhile never sees the
// channels or buses half changed. All channels stay disconnected until the next block. A bus
// whose speaker count changes is replaced in place and keeps its active state.
tresult PLUGIN_API IFxVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                               int32 numOuts) {
    ScopedPlugLock lock(GetMutex());
    SetInputsConnected(0, NInChannels(), false);
    SetOutputsConnected(0, NOutChannels(), false);
    auto speakers = [](SpeakerArrangement* arr, int32 count, int32 index) {
        return arr && index < count ? SpeakerArr::getChannelCount(arr[index]) : 0;
    };
    const int32 i = speakers(inputs, numIns, 0), o = speakers(outputs, numOuts, 0);
    if (!LegalIO(i, o)) return kResultFalse;
    auto replace = [](BusList& list, int32 index, int32 channels, const char* name, BusType type, int32 flags) {
        auto* bus = static_cast<AudioBus*>(list.at(index));
        if (!bus || SpeakerArr::getChannelCount(bus->getArrangement()) == channels) return;
        const TBool active = bus->isActive();
        auto* fresh = new AudioBus(UString128(name), type, flags, SpeakerArrangementForChannels(channels));
        fresh->setActive(active);
        list.replace(index, fresh);
    };
    replace(audioInputs, 0, i, "Input", kMain, BusInfo::kDefaultActive);
    replace(audioOutputs, 0, o, "Output", kMain, BusInfo::kDefaultActive);
    if (mSidechainChannels == 0) return numIns == 1 ? kResultOk : kResultFalse;
    if (numIns != 2) return kResultFalse;
    replace(audioInputs, 1, speakers(inputs, numIns, 1), "Sidechain Input", kAux, 0);
    return kResultOk;
}
