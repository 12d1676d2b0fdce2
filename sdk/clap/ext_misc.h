#pragma once
// Small extensions: the host's thread check and log, the plug-in's render mode.
#include "sdk/clap/plugin.h"

namespace Clap {

constexpr const char* kExtThreadCheck = "clap.thread-check";
constexpr const char* kExtLog = "clap.log";
constexpr const char* kExtRender = "clap.render";

struct HostThreadCheck {  // any thread
    bool(CLAP_CALL* is_main_thread)(const Host* h);
    bool(CLAP_CALL* is_audio_thread)(const Host* h);
};

enum LogSeverity : int32_t {
    kLogDebug = 0,
    kLogInfo = 1,
    kLogWarning = 2,
    kLogError = 3,
    kLogFatal = 4,
    kLogHostMisbehaving = 5,
    kLogPluginMisbehaving = 6,
};

struct HostLog {
    void(CLAP_CALL* log)(const Host* h, int32_t severity, const char* msg);  // any thread
};

enum RenderMode : int32_t { kRenderRealtime = 0, kRenderOffline = 1 };

struct PluginRender {  // main thread
    bool(CLAP_CALL* has_hard_realtime_requirement)(const Plugin* p);
    bool(CLAP_CALL* set)(const Plugin* p, int32_t mode);
};

CLAP_TABLE(HostThreadCheck, 2);
CLAP_SLOT(HostThreadCheck, is_audio_thread, 1);
CLAP_TABLE(HostLog, 1);
CLAP_TABLE(PluginRender, 2);
CLAP_SLOT(PluginRender, set, 1);

}  // namespace Clap
