#pragma once
// The audio-ports extension. Without it a plug-in has no audio ports; the ports change only while
// deactivated.
#include "sdk/clap/plugin.h"

namespace Clap {

constexpr const char* kExtAudioPorts = "clap.audio-ports";
constexpr const char* kPortMono = "mono";
constexpr const char* kPortStereo = "stereo";

enum AudioPortFlags : uint32_t {
    kAudioPortIsMain = 1,  // one main input and one main output, each at index 0
    kAudioPortSupports64Bits = 2,
    kAudioPortPrefers64Bits = 4,
    kAudioPortRequiresCommonSampleSize = 8,
};

struct AudioPortInfo {
    Id id;  // stable; an input and an output may share one
    char name[kNameSize];
    uint32_t flags;  // AudioPortFlags
    uint32_t channel_count;
    const char* port_type;  // kPortMono, kPortStereo, or null/"" for no type given
    Id in_place_pair;       // the paired port's id or kInvalidId
};

struct PluginAudioPorts {  // main thread
    uint32_t(CLAP_CALL* count)(const Plugin* p, bool is_input);
    bool(CLAP_CALL* get)(const Plugin* p, uint32_t index, bool is_input, AudioPortInfo* out);
};

// All but names need the plug-in deactivated.
enum AudioPortsRescanFlags : uint32_t {
    kAudioPortsRescanNames = 1,
    kAudioPortsRescanFlags = 2,
    kAudioPortsRescanChannelCount = 4,
    kAudioPortsRescanPortType = 8,
    kAudioPortsRescanInPlacePair = 16,
    kAudioPortsRescanList = 32,
};

struct HostAudioPorts {  // main thread
    bool(CLAP_CALL* is_rescan_flag_supported)(const Host* h, uint32_t flag);
    void(CLAP_CALL* rescan)(const Host* h, uint32_t flags);
};

CLAP_SIZE(AudioPortInfo, 288, 276, 276, 8, 4, 4);
CLAP_AT(AudioPortInfo, name, 4, 4, 4);
CLAP_AT(AudioPortInfo, flags, 260, 260, 260);
CLAP_AT(AudioPortInfo, channel_count, 264, 264, 264);
CLAP_AT(AudioPortInfo, port_type, 272, 268, 268);
CLAP_AT(AudioPortInfo, in_place_pair, 280, 272, 272);

CLAP_TABLE(PluginAudioPorts, 2);
CLAP_SLOT(PluginAudioPorts, get, 1);
CLAP_TABLE(HostAudioPorts, 2);
CLAP_SLOT(HostAudioPorts, rescan, 1);

}  // namespace Clap
