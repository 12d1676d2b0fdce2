// The block road: channel records between host buffers and ProcessDoubles. Every operation here
// runs inside a binding's process or set-up call with the plug-in mutex held, or in the binding's
// constructor before any other thread can reach the plug-in; the per-block ones check the mutex.
#include <algorithm>
#include <climits>
#include <cstring>

#include "framework/fxassert.h"
#include "framework/fxbase.h"

namespace {
double* ScratchOf(GrowBuffer& scratch) { return static_cast<double*>(scratch.Get()); }

void ZeroScratch(GrowBuffer& scratch) {
    if (scratch.Get()) std::memset(scratch.Get(), 0, static_cast<size_t>(scratch.GetSize()));
}

// Resizes a scratch buffer to frames zeroed doubles and returns how many doubles it now holds:
// fewer than asked when the memory could not be had, and the old buffer then stays. An entry
// that referred to the old memory is pointed at the new one, so no entry is left dangling.
int ResizeScratch(GrowBuffer& scratch, double** entry, bool connected, int frames) {
    double* old = ScratchOf(scratch);
    const long long bytes = static_cast<long long>(frames) * sizeof(double);
    if (bytes <= INT_MAX) scratch.Resize(static_cast<int>(bytes), true);
    ZeroScratch(scratch);
    if (!connected || *entry == old) *entry = ScratchOf(scratch);
    return scratch.GetSize() / static_cast<int>(sizeof(double));
}
}  // namespace

bool IFxBase::LegalIO(int nIn, int nOut) const {
    for (int i = 0; i < NChannelPairs(); ++i) {
        const IChannelPair* pair = GetChannelPair(i);
        if ((nIn < 0 || nIn == pair->inputs) && (nOut < 0 || nOut == pair->outputs)) return true;
    }
    return false;
}

void IFxBase::SetInputsConnected(int start, int count, bool connected) {
    const int end = std::min(start + count, NInChannels());
    for (int i = std::max(start, 0); i < end; ++i) {
        IInputChannel* channel = GetInChannel(i);
        channel->connected = connected;
        if (!connected) {
            *channel->source = ScratchOf(channel->scratch);
            channel->floatSource = nullptr;
        }
    }
}

void IFxBase::SetOutputsConnected(int start, int count, bool connected) {
    const int end = std::min(start + count, NOutChannels());
    for (int i = std::max(start, 0); i < end; ++i) {
        IOutputChannel* channel = GetOutChannel(i);
        channel->connected = connected;
        if (!connected) {
            *channel->dest = ScratchOf(channel->scratch);
            channel->floatDest = nullptr;
        }
    }
}

// A disconnected input reads its scratch, which the plug-in may have used as work space in the
// last block: it is cleared so that the channel reads silence. A connected channel whose host
// buffer is null is treated as disconnected for this block; it still takes its place in the
// host's array.
void IFxBase::AttachInputs(int start, int count, double** buffers) {
    IFX_ASSERT_LOCK_HELD(mMutex);
    const int end = std::min(start + count, NInChannels());
    for (int i = std::max(start, 0), next = 0; i < end; ++i) {
        IInputChannel* channel = GetInChannel(i);
        double* host = channel->connected ? buffers[next++] : nullptr;
        channel->floatSource = nullptr;
        if (host) {
            *channel->source = host;
        } else {
            ZeroScratch(channel->scratch);
            *channel->source = ScratchOf(channel->scratch);
        }
    }
}

// Converts the first piece of the block (at most the block size); the process calls convert the
// rest piece by piece. A null host buffer reads silence, as for AttachInputs.
void IFxBase::AttachFloatInputs(int start, int count, float** buffers, int frames) {
    IFX_ASSERT_LOCK_HELD(mMutex);
    const int n = std::clamp(frames, 0, mBlockSize);
    const int end = std::min(start + count, NInChannels());
    for (int i = std::max(start, 0), next = 0; i < end; ++i) {
        IFxTrace(__func__, __LINE__, "attaching channel %d ...", i);
        IInputChannel* channel = GetInChannel(i);
        double* scratch = ScratchOf(channel->scratch);
        channel->floatSource = channel->connected ? buffers[next++] : nullptr;
        if (channel->floatSource) {
            for (int k = 0; k < n; ++k) scratch[k] = channel->floatSource[k];
        } else {
            ZeroScratch(channel->scratch);
        }
        *channel->source = scratch;
    }
    IFxTrace(__func__, __LINE__, "done\n");
}

// A connected channel whose host buffer is null writes into its own scratch for this block, as a
// disconnected one does.
void IFxBase::AttachOutputs(int start, int count, double** buffers) {
    IFX_ASSERT_LOCK_HELD(mMutex);
    const int end = std::min(start + count, NOutChannels());
    for (int i = std::max(start, 0), next = 0; i < end; ++i) {
        IOutputChannel* channel = GetOutChannel(i);
        if (channel->connected) {
            double* host = buffers[next++];
            *channel->dest = host ? host : ScratchOf(channel->scratch);
            channel->floatDest = nullptr;
        }
    }
}

// A null host buffer leaves floatDest null, which every convert skips: that output is not written.
void IFxBase::AttachFloatOutputs(int start, int count, float** buffers) {
    IFX_ASSERT_LOCK_HELD(mMutex);
    const int end = std::min(start + count, NOutChannels());
    for (int i = std::max(start, 0), next = 0; i < end; ++i) {
        IOutputChannel* channel = GetOutChannel(i);
        if (channel->connected) {
            *channel->dest = ScratchOf(channel->scratch);
            channel->floatDest = buffers[next++];
        }
    }
}

// Runs step(n, offset) over the attached block in pieces of at most the block size, so a block
// longer than the binding announced never overruns a scratch buffer, whichever binding calls, and
// nothing is allocated. Host buffers attached directly move along with each piece and are put
// back at the end; 32-bit inputs are converted piece by piece. A block that fits (also one of 0
// frames) is one step, as it always was; with no block size set, a longer one is not run.
template <typename Step>
void IFxBase::InPieces(int frames, Step step) {
    IFX_ASSERT_LOCK_HELD(mMutex);
    if (frames <= mBlockSize) {
        step(frames, 0);
        return;
    }
    if (mBlockSize <= 0) return;
    int offset = 0;
    for (;;) {
        const int n = std::min(mBlockSize, frames - offset);
        step(n, offset);
        if (offset + n == frames) break;
        offset += n;
        MoveAttached(n);
        for (int i = 0; i < NInChannels(); ++i) {
            IInputChannel* channel = GetInChannel(i);
            double* scratch = ScratchOf(channel->scratch);
            if (channel->floatSource) {
                const int next = std::min(mBlockSize, frames - offset);
                for (int k = 0; k < next; ++k) scratch[k] = channel->floatSource[offset + k];
            } else if (*channel->source == scratch) {
                ZeroScratch(channel->scratch);  // a disconnected input reads silence in every piece
            }
        }
    }
    MoveAttached(-offset);
}

// Host buffers attached directly are the entries that are not the channel's own scratch.
void IFxBase::MoveAttached(int delta) {
    for (int i = 0; i < NInChannels(); ++i) {
        IInputChannel* channel = GetInChannel(i);
        if (*channel->source && *channel->source != ScratchOf(channel->scratch)) *channel->source += delta;
    }
    for (int i = 0; i < NOutChannels(); ++i) {
        IOutputChannel* channel = GetOutChannel(i);
        if (*channel->dest && *channel->dest != ScratchOf(channel->scratch)) *channel->dest += delta;
    }
}

void IFxBase::ProcessAttached(int frames) {
    InPieces(frames, [this](int n, int) { ProcessDoubles(InputPointers(), OutputPointers(), n); });
}

void IFxBase::ProcessAttachedFloat(int frames) {
    InPieces(frames, [this](int n, int offset) {
        ProcessDoubles(InputPointers(), OutputPointers(), n);
        ConvertOutputs(offset, n);
    });
}

void IFxBase::ProcessAttachedAccumulating(int frames) {
    InPieces(frames, [this](int n, int offset) {
        ProcessDoubles(InputPointers(), OutputPointers(), n);
        for (int i = 0; i < NOutChannels(); ++i) {
            IOutputChannel* channel = GetOutChannel(i);
            if (!channel->connected || !channel->floatDest) continue;
            const double* src = *channel->dest;
            float* dst = channel->floatDest + offset;
            for (int k = 0; k < n; ++k) dst[k] += static_cast<float>(src[k]);
        }
    });
}

void IFxBase::ConvertOutputs(int offset, int frames) {
    for (int i = 0; i < NOutChannels(); ++i) {
        IOutputChannel* channel = GetOutChannel(i);
        if (channel->connected && channel->floatDest)
            DoublesToFloats(channel->floatDest + offset, *channel->dest, frames);
    }
}

void IFxBase::ProcessDoubles(double** inputs, double** outputs, int frames) {
    const int copied = std::min(NInChannels(), NOutChannels());
    for (int i = 0; i < NOutChannels(); ++i) {
        if (i < copied)
            std::memmove(outputs[i], inputs[i], sizeof(double) * static_cast<size_t>(frames));
        else
            std::memset(outputs[i], 0, sizeof(double) * static_cast<size_t>(frames));
    }
}

void IFxBase::CopyInputsToOutputs(int frames) { IFxBase::ProcessDoubles(InputPointers(), OutputPointers(), frames); }

// The bypass copy: inputs delayed by the latency line when there is one, so a bypassed plug-in
// stays time-aligned with its processed sound. Each input sample is read before its output is
// written, which keeps in-place host buffers right.
void IFxBase::PassThrough(int frames) {
    InPieces(frames, [this](int n, int) { PassThroughPiece(n); });
}

void IFxBase::PassThroughPiece(int frames) {
    ILatencyLine* line = mLatencyLine;
    const uint32_t delay = line ? line->delaySamples : 0;
    const bool lineReady = line && mLatency != 0 && delay > 0 &&
                           line->buffer.GetSize() >= static_cast<int>(delay * line->inputs * sizeof(double));
    if (!lineReady) {
        CopyInputsToOutputs(frames);
        return;
    }
    const int channels = static_cast<int>(std::min(
        {line->inputs, line->outputs, static_cast<uint32_t>(NInChannels()), static_cast<uint32_t>(NOutChannels())}));
    double* buffer = ScratchOf(line->buffer);
    double** inputs = InputPointers();
    double** outputs = OutputPointers();
    for (int i = 0; i < frames; ++i) {
        for (int j = 0; j < channels; ++j) {
            double& slot = buffer[j * delay + line->writePos];
            const double in = inputs[j][i];
            outputs[j][i] = slot;
            slot = in;
        }
        line->writePos = (line->writePos + 1) % delay;
    }
}

void IFxBase::PassThroughFloat(int frames) {
    InPieces(frames, [this](int n, int offset) {
        PassThroughPiece(n);
        ConvertOutputs(offset, n);
    });
}

void IFxBase::ClearScratch() {
    for (int i = 0; i < NInChannels(); ++i) ZeroScratch(GetInChannel(i)->scratch);
    for (int i = 0; i < NOutChannels(); ++i) ZeroScratch(GetOutChannel(i)->scratch);
}

void IFxBase::DoublesToFloats(float* dst, const double* src, int n) {
    for (int k = 0; k < n; ++k) dst[k] = static_cast<float>(src[k]);
}

// Sizes above kMaxBlockSize are limited to it. The size is taken only once every scratch buffer
// holds it; when memory runs out, the block size is what every buffer does hold (the old size,
// when growing), so the pieces never overrun one.
void IFxBase::ChangeBlockSize(int frames) {
    frames = std::clamp(frames, 0, kMaxBlockSize);
    if (frames == mBlockSize) return;
    int held = frames;
    for (int i = 0; i < NInChannels(); ++i) {
        IInputChannel* channel = GetInChannel(i);
        held = std::min(held, ResizeScratch(channel->scratch, channel->source, channel->connected, frames));
    }
    for (int i = 0; i < NOutChannels(); ++i) {
        IOutputChannel* channel = GetOutChannel(i);
        held = std::min(held, ResizeScratch(channel->scratch, channel->dest, channel->connected, frames));
    }
    mBlockSize = held;
}

void IFxBase::CreateLatencyLine() {
    if (mLatencyLine || NInChannels() == 0) return;
    mLatencyLine = new ILatencyLine();
    mLatencyLine->inputs = static_cast<uint32_t>(NInChannels());
    mLatencyLine->outputs = static_cast<uint32_t>(NOutChannels());
    IFxBase::ChangeLatency(mLatency);
}

void IFxBase::ChangeLatency(int samples) {
    ScopedPlugLock lock(mMutex);
    mLatency = std::max(samples, 0);
    if (!mLatencyLine) return;
    ILatencyLine* line = mLatencyLine;
    line->delaySamples = static_cast<uint32_t>(mLatency);
    const long long bytes = static_cast<long long>(mLatency) * line->inputs * sizeof(double);
    line->buffer.Resize(static_cast<int>(std::min<long long>(bytes, 0x7FFFFFFF)), true);
    ZeroScratch(line->buffer);
    line->writePos = 0;
}

namespace {
void LabelBus(PointerList<GrowString>& labels, int index, const char* text) {
    labels.DeleteAt(index);
    auto* label = new GrowString(text);
    if (!labels.Insert(std::min(index, labels.GetSize()), label)) delete label;
}
}  // namespace

void IFxBase::LabelInputBus(int index, const char* text) {
    if (index == 0 || index == 1) LabelBus(mInputBusLabels, index, text);
}

void IFxBase::LabelOutputBus(int index, const char* text) {
    if (index >= 0) LabelBus(mOutputBusLabels, index, text);
}

const char* IFxBase::GetInputBusLabel(int index) const {
    const GrowString* label = mInputBusLabels.Get(index);
    return label ? label->Get() : "";
}

const char* IFxBase::GetOutputBusLabel(int index) const {
    const GrowString* label = mOutputBusLabels.Get(index);
    return label ? label->Get() : "";
}
