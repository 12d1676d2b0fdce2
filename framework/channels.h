#pragma once
// Channel records between the host's sample buffers and the plug-in's ProcessDoubles, the
// accepted channel configurations and the latency line of the bypass path.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "base/growbuffer.h"
#include "base/growstring.h"

struct IChannelPair {
    int32_t inputs;  // a negative count in a query means any count
    int32_t outputs;
};

struct IInputChannel {
    bool connected = false;
    double** source = nullptr;           // this channel's entry in the input pointer array
    const float* floatSource = nullptr;  // the host's 32-bit buffer of the current block
    GrowBuffer scratch{4096};            // block-size doubles, zeroed on resize
    GrowString label;
};

struct IOutputChannel {
    bool connected = false;
    double** dest = nullptr;     // this channel's entry in the output pointer array
    float* floatDest = nullptr;  // the host's 32-bit buffer of the current block
    GrowBuffer scratch{4096};
    GrowString label;
};

// Delays each input by delaySamples; channel j's samples lie at buffer[j * delaySamples ...].
struct ILatencyLine {
    GrowBuffer buffer{4096};
    uint32_t writePos = 0;
    uint32_t inputs = 0;
    uint32_t outputs = 0;
    uint32_t delaySamples = 0;
};

// Writes frames zero samples into each non-null buffer of a host's channel array: what a host
// gets from a block the plug-in does not process, rather than whatever its buffers held.
template <typename Sample>
void SilenceHostBuffers(Sample* const* buffers, int count, int frames) {
    if (!buffers || frames <= 0) return;
    for (int i = 0; i < count; ++i)
        if (buffers[i]) std::fill_n(buffers[i], static_cast<size_t>(frames), Sample(0));
}
