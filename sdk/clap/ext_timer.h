#pragma once
// The timer-support extension: periodic ticks on the main thread from the host's loop.
#include "sdk/clap/plugin.h"

namespace Clap {

constexpr const char* kExtTimerSupport = "clap.timer-support";

struct PluginTimerSupport {
    void(CLAP_CALL* on_timer)(const Plugin* p, Id timer_id);  // main
};

// Main thread. The host may lengthen short periods; 30 Hz is expected to pass.
struct HostTimerSupport {
    bool(CLAP_CALL* register_timer)(const Host* h, uint32_t period_ms, Id* timer_id);
    bool(CLAP_CALL* unregister_timer)(const Host* h, Id timer_id);
};

CLAP_TABLE(PluginTimerSupport, 1);
CLAP_TABLE(HostTimerSupport, 2);
CLAP_SLOT(HostTimerSupport, unregister_timer, 1);

}  // namespace Clap
