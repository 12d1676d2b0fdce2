#pragma once
// One block of audio with its events. Every pointer is valid only during Plugin::process.
#include "sdk/clap/events.h"

namespace Clap {

enum ProcessStatusCode : int32_t {
    kProcessError = 0,  // the host discards the output
    kProcessContinue = 1,
    kProcessContinueIfNotQuiet = 2,
    kProcessTail = 3,   // the tail extension tells how long
    kProcessSleep = 4,  // nothing to do until events or the input change
};

struct AudioBuffer {
    float** data32;  // one of data32 and data64 is set; data32 always supported
    double** data64;
    uint32_t channel_count;
    uint32_t latency;        // to or from the audio interface
    uint64_t constant_mask;  // bit i: channel i holds one value throughout (a hint; still filled)
};

struct Process {
    int64_t steady_time;  // -1 when unknown; else grows by at least frames_count per block
    uint32_t frames_count;
    const EventTransport* transport;  // null: free running
    const AudioBuffer* audio_inputs;  // one per input port, in port order
    AudioBuffer* audio_outputs;
    uint32_t audio_inputs_count;
    uint32_t audio_outputs_count;
    const InputEvents* in_events;
    const OutputEvents* out_events;
};

CLAP_SIZE(AudioBuffer, 32, 24, 24, 8, 8, 4);
CLAP_AT(AudioBuffer, data64, 8, 4, 4);
CLAP_AT(AudioBuffer, channel_count, 16, 8, 8);
CLAP_AT(AudioBuffer, latency, 20, 12, 12);
CLAP_AT(AudioBuffer, constant_mask, 24, 16, 16);

CLAP_SIZE(Process, 64, 40, 40, 8, 8, 4);
CLAP_AT(Process, frames_count, 8, 8, 8);
CLAP_AT(Process, transport, 16, 12, 12);
CLAP_AT(Process, audio_inputs, 24, 16, 16);
CLAP_AT(Process, audio_outputs, 32, 20, 20);
CLAP_AT(Process, audio_inputs_count, 40, 24, 24);
CLAP_AT(Process, audio_outputs_count, 44, 28, 28);
CLAP_AT(Process, in_events, 48, 32, 32);
CLAP_AT(Process, out_events, 56, 36, 36);

}  // namespace Clap
