// IFxCLAP: the audio-ports, audio-ports-config and latency extensions. One main input port and
// one main output port (id 0 each, an in-place pair) carry the channels of the configuration in
// use; the configurations are the plug-in's channel pairs, id i the i-th.
#include <cstdio>

#include "framework/clap/ifxclap.h"

namespace {
const char* PortType(int channels) { return channels == 1 ? Clap::kPortMono : channels == 2 ? Clap::kPortStereo : ""; }
}  // namespace

uint32_t IFxCLAP::PortCount(const Clap::Plugin* p, bool isInput) {
    const IFxCLAP* plug = From(p);
    if (!plug || plug->NChannelPairs() == 0) return 0;
    const IChannelPair* pair = plug->GetChannelPair(plug->mConfig);
    return (isInput ? pair->inputs : pair->outputs) > 0 ? 1 : 0;
}

bool IFxCLAP::PortInfo(const Clap::Plugin* p, uint32_t index, bool isInput, Clap::AudioPortInfo* info) {
    if (!info || index >= PortCount(p, isInput)) return false;
    const IFxCLAP* plug = From(p);
    const IChannelPair* pair = plug->GetChannelPair(plug->mConfig);
    const int channels = isInput ? pair->inputs : pair->outputs;
    *info = Clap::AudioPortInfo{};
    info->id = 0;
    std::snprintf(info->name, sizeof info->name, "%s", isInput ? "Input" : "Output");
    info->flags = Clap::kAudioPortIsMain | Clap::kAudioPortSupports64Bits;
    info->channel_count = static_cast<uint32_t>(channels);
    info->port_type = PortType(channels);
    info->in_place_pair = PortCount(p, !isInput) > 0 ? 0 : Clap::kInvalidId;
    return true;
}

uint32_t IFxCLAP::ConfigCount(const Clap::Plugin* p) {
    const IFxCLAP* plug = From(p);
    return plug ? static_cast<uint32_t>(plug->NChannelPairs()) : 0;
}

// Named for its channels: "Mono", "Stereo", else "<in> in, <out> out".
bool IFxCLAP::ConfigInfo(const Clap::Plugin* p, uint32_t index, Clap::AudioPortsConfig* config) {
    if (!config || index >= ConfigCount(p)) return false;
    const IChannelPair* pair = From(p)->GetChannelPair(static_cast<int>(index));
    *config = Clap::AudioPortsConfig{};
    config->id = index;
    if (pair->inputs == pair->outputs && pair->inputs <= 2)
        std::snprintf(config->name, sizeof config->name, "%s", pair->inputs == 1 ? "Mono" : "Stereo");
    else
        std::snprintf(config->name, sizeof config->name, "%d in, %d out", pair->inputs, pair->outputs);
    config->input_port_count = pair->inputs > 0 ? 1 : 0;
    config->output_port_count = pair->outputs > 0 ? 1 : 0;
    config->has_main_input = pair->inputs > 0;
    config->main_input_channel_count = static_cast<uint32_t>(pair->inputs);
    config->main_input_port_type = PortType(pair->inputs);
    config->has_main_output = pair->outputs > 0;
    config->main_output_channel_count = static_cast<uint32_t>(pair->outputs);
    config->main_output_port_type = PortType(pair->outputs);
    return true;
}

bool IFxCLAP::SelectConfig(const Clap::Plugin* p, Clap::Id configId) {
    IFxCLAP* plug = From(p);
    if (!plug || configId >= ConfigCount(p)) return false;
    plug->CheckThread(kMainThread, __func__);
    if (plug->mStage.load() >= kActive) {
        plug->Log(Clap::kLogHostMisbehaving, "audio ports configuration selected while active");
        return false;
    }
    plug->UseConfig(static_cast<int>(configId));
    return true;
}

void IFxCLAP::UseConfig(int index) {
    ScopedPlugLock lock(GetMutex());
    mConfig = index;
    const IChannelPair* pair = GetChannelPair(index);
    SetInputsConnected(0, NInChannels(), false);
    SetOutputsConnected(0, NOutChannels(), false);
    if (!pair) return;
    SetInputsConnected(0, pair->inputs, true);
    SetOutputsConnected(0, pair->outputs, true);
}

uint32_t IFxCLAP::LatencyGet(const Clap::Plugin* p) {
    const IFxCLAP* plug = From(p);
    return plug ? static_cast<uint32_t>(plug->GetLatency()) : 0;
}
