#pragma once
// The latency and tail extensions: frame counts the host compensates for or keeps running for.
#include "sdk/clap/plugin.h"

namespace Clap {

constexpr const char* kExtLatency = "clap.latency";
constexpr const char* kExtTail = "clap.tail";

struct PluginLatency {
    uint32_t(CLAP_CALL* get)(const Plugin* p);  // main, while being activated or active
};

struct HostLatency {
    void(CLAP_CALL* changed)(const Host* h);  // main, only inside activate; else request_restart
};

struct PluginTail {
    uint32_t(CLAP_CALL* get)(const Plugin* p);  // main or audio; INT32_MAX and above: endless
};

struct HostTail {
    void(CLAP_CALL* changed)(const Host* h);  // audio
};

CLAP_TABLE(PluginLatency, 1);
CLAP_TABLE(HostLatency, 1);
CLAP_TABLE(PluginTail, 1);
CLAP_TABLE(HostTail, 1);

}  // namespace Clap
