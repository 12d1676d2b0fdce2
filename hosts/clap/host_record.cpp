// The host side of an instance: the host record and the extensions it offers (log, thread-check,
// params, latency, state, audio-ports, gui, and on Linux timer-support and posix-fd-support).
// Every callback counts or records what the plug-in asked in the Plugin that owns the record.
#include "host_record.h"

#include <algorithm>
#include <cstring>

#include "clap_host.h"
#include "clap_layout.h"

namespace tzclap {

namespace {

Plugin& Owner(const void* host) { return *Get<Plugin*>(host, L.host.data); }

// A table of function pointers as the plug-in reads it: slot n at n * P.
template <class... F>
struct Table {
    const void* slots[sizeof...(F)];
};
template <class... F>
Table<F...> MakeTable(F... functions) {
    return {{reinterpret_cast<const void*>(functions)...}};
}

// [any thread]
void TZCLAP_CALL RequestRestart(const void* host) { ++Owner(host).requestRestart; }
void TZCLAP_CALL RequestProcess(const void* host) { ++Owner(host).requestProcess; }
void TZCLAP_CALL RequestCallback(const void* host) { ++Owner(host).requestCallback; }

// [any thread] log
void TZCLAP_CALL Log(const void* host, int32_t, const char* message) {
    Plugin& owner = Owner(host);
    ++owner.logs;
    owner.lastLog = message ? message : "";
}

// [any thread] thread-check
bool TZCLAP_CALL IsMainThread(const void* host) { return Owner(host).OnMainThread(); }
bool TZCLAP_CALL IsAudioThread(const void* host) { return !Owner(host).OnMainThread(); }

// [main thread] params; request_flush from any thread but the audio thread
void TZCLAP_CALL ParamsRescan(const void* host, uint32_t) { ++Owner(host).rescans; }
void TZCLAP_CALL ParamsClear(const void* host, uint32_t, uint32_t) { ++Owner(host).clears; }
void TZCLAP_CALL ParamsRequestFlush(const void* host) { ++Owner(host).requestFlush; }

// [main thread] latency (while being activated), state, audio-ports
void TZCLAP_CALL LatencyChanged(const void* host) { ++Owner(host).latencyChanged; }
void TZCLAP_CALL MarkDirty(const void* host) { ++Owner(host).markDirty; }
bool TZCLAP_CALL PortsRescanFlagSupported(const void*, uint32_t) { return true; }
void TZCLAP_CALL PortsRescan(const void* host, uint32_t) { ++Owner(host).portRescans; }

// [any thread] gui: a resize is accepted as asked; the window shows and hides as the host
// pleases, so those requests are declined.
void TZCLAP_CALL ResizeHintsChanged(const void*) {}
bool TZCLAP_CALL RequestResize(const void* host, uint32_t width, uint32_t height) {
    Plugin& owner = Owner(host);
    ++owner.resizes;
    owner.resizeWidth = width;
    owner.resizeHeight = height;
    return true;
}
bool TZCLAP_CALL RequestShowOrHide(const void*) { return false; }
void TZCLAP_CALL GuiClosed(const void*, bool) {}

#ifndef _WIN32
// [main thread] timer-support: ids from 1, unique among the registered timers.
bool TZCLAP_CALL RegisterTimer(const void* host, uint32_t periodMs, uint32_t* id) {
    auto& timers = Owner(host).timers;
    uint32_t next = 1;
    for (const Plugin::Timer& timer : timers) next = std::max(next, timer.id + 1);
    timers.push_back({next, periodMs});
    *id = next;
    return true;
}
bool TZCLAP_CALL UnregisterTimer(const void* host, uint32_t id) {
    auto& timers = Owner(host).timers;
    auto found = std::find_if(timers.begin(), timers.end(), [id](const Plugin::Timer& t) { return t.id == id; });
    if (found == timers.end()) return false;
    timers.erase(found);
    return true;
}

// [main thread] posix-fd-support
std::vector<Plugin::Fd>::iterator FindFd(std::vector<Plugin::Fd>& fds, int fd) {
    return std::find_if(fds.begin(), fds.end(), [fd](const Plugin::Fd& f) { return f.fd == fd; });
}
bool TZCLAP_CALL RegisterFd(const void* host, int fd, uint32_t flags) {
    auto& fds = Owner(host).fds;
    if (FindFd(fds, fd) != fds.end()) return false;
    fds.push_back({fd, flags});
    return true;
}
bool TZCLAP_CALL ModifyFd(const void* host, int fd, uint32_t flags) {
    auto& fds = Owner(host).fds;
    auto found = FindFd(fds, fd);
    if (found == fds.end()) return false;
    found->flags = flags;
    return true;
}
bool TZCLAP_CALL UnregisterFd(const void* host, int fd) {
    auto& fds = Owner(host).fds;
    auto found = FindFd(fds, fd);
    if (found == fds.end()) return false;
    fds.erase(found);
    return true;
}
#endif

const auto kLog = MakeTable(Log);
const auto kThreadCheck = MakeTable(IsMainThread, IsAudioThread);
const auto kParams = MakeTable(ParamsRescan, ParamsClear, ParamsRequestFlush);
const auto kLatency = MakeTable(LatencyChanged);
const auto kState = MakeTable(MarkDirty);
const auto kAudioPorts = MakeTable(PortsRescanFlagSupported, PortsRescan);
const auto kGui = MakeTable(ResizeHintsChanged, RequestResize, RequestShowOrHide, RequestShowOrHide, GuiClosed);
#ifndef _WIN32
const auto kTimerSupport = MakeTable(RegisterTimer, UnregisterTimer);
const auto kPosixFdSupport = MakeTable(RegisterFd, ModifyFd, UnregisterFd);
#endif

struct Extension {
    const char* id;
    const void* table;
};
const Extension kExtensions[] = {
    {"clap.log", &kLog},
    {"clap.thread-check", &kThreadCheck},
    {"clap.params", &kParams},
    {"clap.latency", &kLatency},
    {"clap.state", &kState},
    {"clap.audio-ports", &kAudioPorts},
    {"clap.gui", &kGui},
#ifndef _WIN32
    {"clap.timer-support", &kTimerSupport},
    {"clap.posix-fd-support", &kPosixFdSupport},
#endif
};

// [any thread]
const void* TZCLAP_CALL GetExtension(const void*, const char* id) {
    for (const Extension& extension : kExtensions)
        if (id && std::strcmp(id, extension.id) == 0) return extension.table;
    return nullptr;
}

}  // namespace

void FillHostRecord(unsigned char* record, Plugin* owner) {
    std::memset(record, 0, L.host.size);
    const uint32_t version[3] = {1, 2, 0};
    std::memcpy(record, version, sizeof version);
    Put(record, L.host.data, owner);
    Put(record, L.host.name, "TavrelZel4 CLAP test host");
    Put(record, L.host.vendor, "Tavrel");
    Put(record, L.host.url, "https://tavrel.invalid");
    Put(record, L.host.version, "1.0.0");
    Put(record, L.host.getExtension, &GetExtension);
    Put(record, L.host.requestRestart, &RequestRestart);
    Put(record, L.host.requestProcess, &RequestProcess);
    Put(record, L.host.requestCallback, &RequestCallback);
}

}  // namespace tzclap
