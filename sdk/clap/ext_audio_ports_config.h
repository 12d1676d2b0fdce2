#pragma once
// The audio-ports-config extension: whole port layouts the host may choose from, each with an id
// of its own; the host selects one while the plug-in is deactivated, then rescans the ports.
#include "sdk/clap/plugin.h"

namespace Clap {

constexpr const char* kExtAudioPortsConfig = "clap.audio-ports-config";

struct AudioPortsConfig {
    Id id;  // stable
    char name[kNameSize];
    uint32_t input_port_count;
    uint32_t output_port_count;
    bool has_main_input;
    uint32_t main_input_channel_count;
    const char* main_input_port_type;  // kPortMono, kPortStereo, or null/""
    bool has_main_output;
    uint32_t main_output_channel_count;
    const char* main_output_port_type;
};

struct PluginAudioPortsConfig {  // main thread
    uint32_t(CLAP_CALL* count)(const Plugin* p);
    bool(CLAP_CALL* get)(const Plugin* p, uint32_t index, AudioPortsConfig* config);
    bool(CLAP_CALL* select)(const Plugin* p, Id config_id);  // deactivated only
};

struct HostAudioPortsConfig {
    void(CLAP_CALL* rescan)(const Host* h);  // main
};

CLAP_SIZE(AudioPortsConfig, 304, 292, 292, 8, 4, 4);
CLAP_AT(AudioPortsConfig, name, 4, 4, 4);
CLAP_AT(AudioPortsConfig, input_port_count, 260, 260, 260);
CLAP_AT(AudioPortsConfig, output_port_count, 264, 264, 264);
CLAP_AT(AudioPortsConfig, has_main_input, 268, 268, 268);
CLAP_AT(AudioPortsConfig, main_input_channel_count, 272, 272, 272);
CLAP_AT(AudioPortsConfig, main_input_port_type, 280, 276, 276);
CLAP_AT(AudioPortsConfig, has_main_output, 288, 280, 280);
CLAP_AT(AudioPortsConfig, main_output_channel_count, 292, 284, 284);
CLAP_AT(AudioPortsConfig, main_output_port_type, 296, 288, 288);

CLAP_TABLE(PluginAudioPortsConfig, 3);
CLAP_SLOT(PluginAudioPortsConfig, get, 1);
CLAP_SLOT(PluginAudioPortsConfig, select, 2);
CLAP_TABLE(HostAudioPortsConfig, 1);

}  // namespace Clap
