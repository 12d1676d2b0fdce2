#include "clap_host.h"

#include <cstring>
#include <iterator>

#include "clap_layout.h"
#include "host_lists.h"
#include "host_record.h"
#include "module_loader.h"

#ifndef _WIN32
#include <poll.h>
#endif

namespace tzclap {

namespace {
// Slots of the plug-in factory and of the plug-in record.
enum FactorySlot { kPluginCount, kPluginDescriptor, kCreatePlugin };
enum PluginSlot {
    kInit = 2,
    kDestroy,
    kActivate,
    kDeactivate,
    kStartProcessing,
    kStopProcessing,
    kReset,
    kProcess,
    kGetExtension
};

// Slots of the extension tables the host calls.
enum ParamsSlot { kParamCount, kParamInfo, kParamValue, kValueToText, kTextToValue, kParamFlush };
enum StateSlot { kSave, kLoad };
enum GuiSlot {
    kGuiIsApiSupported,
    kGuiCreate = 2,
    kGuiDestroy,
    kGuiGetSize = 5,
    kGuiSetParent = 10,
    kGuiShow = 13,
    kGuiHide
};
constexpr size_t kConfigCount = 0, kConfigGet = 1, kSelectConfig = 2, kOnTimer = 0, kOnFd = 0, kLatencyGet = 0,
                 kPortCount = 0, kPortGet = 1;

// The plug-in's extensions the host calls.
constexpr const char *kParams = "clap.params", *kState = "clap.state", *kAudioPorts = "clap.audio-ports",
                     *kAudioPortsConfig = "clap.audio-ports-config", *kLatency = "clap.latency", *kGui = "clap.gui",
                     *kTimerSupport = "clap.timer-support", *kPosixFdSupport = "clap.posix-fd-support";

std::string Text(const char* text) { return text ? text : ""; }

// A text field of a record, up to its NUL or its capacity.
std::string Field(const unsigned char* record, size_t offset, size_t capacity) {
    const char* text = reinterpret_cast<const char*>(record + offset);
    return {text, strnlen(text, capacity)};
}

#ifdef _WIN32
constexpr const char* kGuiApi = "win32";
#else
constexpr const char* kGuiApi = "x11";
#endif
}  // namespace

// ---- Module ----

bool Module::Load(const std::string& path, std::string* error) {
    mHandle = tzhost::LoadModule(path, error);
    if (!mHandle) return false;
    mEntry = tzhost::ModuleSymbol(mHandle, "clap_entry");
    if (!mEntry) {
        *error = path + " exports no clap_entry";
        return false;
    }
    const uint32_t major = Get<uint32_t>(mEntry, 0);
    if (major < 1) {
        *error = "clap_entry has version " + std::to_string(major) + ".x";
        mEntry = nullptr;
        return false;
    }
    mPath = tzhost::HostPath(path);
    mInitialized = Init();
    if (!mInitialized) *error = "init refused";
    return mInitialized;
}

Module::~Module() {
    if (mInitialized) Deinit();
    if (mHandle) tzhost::UnloadModule(mHandle);
}

bool Module::Init() { return CallAt<bool>(mEntry, L.entry.init, mPath.c_str()); }

void Module::Deinit() { CallAt<void>(mEntry, L.entry.deinit); }

const void* Module::Factory(const char* id) const { return CallAt<const void*>(mEntry, L.entry.getFactory, id); }

uint32_t Module::PluginCount() const {
    const void* factory = Factory(kPluginFactoryId);
    return CallSlot<uint32_t>(factory, kPluginCount, factory);
}

bool Module::GetDescriptor(uint32_t index, Descriptor* out) const {
    const void* factory = Factory(kPluginFactoryId);
    const void* descriptor = CallSlot<const void*>(factory, kPluginDescriptor, factory, index);
    if (!descriptor) return false;
    std::memcpy(out->version, descriptor, sizeof out->version);
    std::string* strings[] = {&out->id,        &out->name,       &out->vendor,      &out->url,
                              &out->manualUrl, &out->supportUrl, &out->versionText, &out->description};
    for (size_t k = 0; k < std::size(strings); ++k)
        *strings[k] = Text(Get<const char*>(descriptor, L.descriptor.strings + k * L.P));
    out->features.clear();
    if (auto features = Get<const char* const*>(descriptor, L.descriptor.features))
        for (; *features; ++features) out->features.push_back(*features);
    return true;
}

// ---- Plugin: creation and lifecycle ----

Plugin::Plugin() : mMainThread(std::this_thread::get_id()) { FillHostRecord(mHost, this); }

bool Plugin::Create(Module& module, const char* pluginId, std::string* error) {
    mMainThread = std::this_thread::get_id();
    const void* factory = module.Factory(kPluginFactoryId);
    if (!factory) {
        *error = "the module offers no plug-in factory";
        return false;
    }
    mPlugin = CallSlot<const void*>(factory, kCreatePlugin, factory, static_cast<const void*>(mHost), pluginId);
    if (!mPlugin) {
        *error = std::string("create_plugin refused ") + Text(pluginId);
        return false;
    }
    if (!CallSlot<bool>(mPlugin, kInit, mPlugin)) {
        CallSlot<void>(mPlugin, kDestroy, mPlugin);
        mPlugin = nullptr;
        *error = "init refused";
        return false;
    }
    return true;
}

Plugin::~Plugin() {
    if (!mPlugin) return;
    GuiClose();
    if (mProcessing) StopProcessing();
    if (mActive) Deactivate();
    CallSlot<void>(mPlugin, kDestroy, mPlugin);
}

bool Plugin::OnMainThread() const { return std::this_thread::get_id() == mMainThread && mAudioCalls == 0; }

const void* Plugin::Extension(const char* id) const {
    return CallSlot<const void*>(mPlugin, kGetExtension, mPlugin, id);
}

template <class R, class... A>
R Plugin::CallExtension(const char* id, size_t slot, A... args) {
    return CallSlot<R>(Extension(id), slot, mPlugin, args...);
}

bool Plugin::Activate(double rate, uint32_t minFrames, uint32_t maxFrames) {
    const bool done = CallSlot<bool>(mPlugin, kActivate, mPlugin, rate, minFrames, maxFrames);
    mActive = mActive || done;
    return done;
}

void Plugin::Deactivate() {
    CallSlot<void>(mPlugin, kDeactivate, mPlugin);
    if (!mProcessing) mActive = false;
}

struct Plugin::AudioCall {
    explicit AudioCall(Plugin* plugin) : owner(plugin) { ++owner->mAudioCalls; }
    ~AudioCall() { --owner->mAudioCalls; }
    Plugin* owner;
};

bool Plugin::StartProcessing() {
    AudioCall call(this);
    const bool done = CallSlot<bool>(mPlugin, kStartProcessing, mPlugin);
    mProcessing = mProcessing || done;
    return done;
}

void Plugin::StopProcessing() {
    AudioCall call(this);
    CallSlot<void>(mPlugin, kStopProcessing, mPlugin);
    mProcessing = false;
}

void Plugin::Reset() {
    AudioCall call(this);
    CallSlot<void>(mPlugin, kReset, mPlugin);
}

// ---- Plugin: processing ----

int32_t Plugin::Process(float* const* in, float* const* out, uint32_t channels, uint32_t frames,
                        const std::vector<ParamEvent>& events) {
    return Run(reinterpret_cast<void* const*>(in), reinterpret_cast<void* const*>(out), false, channels, frames,
               events);
}

int32_t Plugin::Process(double* const* in, double* const* out, uint32_t channels, uint32_t frames,
                        const std::vector<ParamEvent>& events) {
    return Run(reinterpret_cast<void* const*>(in), reinterpret_cast<void* const*>(out), true, channels, frames, events);
}

int32_t Plugin::Run(void* const* in, void* const* out, bool doubles, uint32_t channels, uint32_t frames,
                    const std::vector<ParamEvent>& events) {
    alignas(8) unsigned char buffers[2][32] = {};
    void* const* data[2] = {in, out};
    for (int k = 0; k < 2; ++k) {
        Put(buffers[k], doubles ? L.buffer.data64 : 0, data[k]);
        Put(buffers[k], L.buffer.channels, channels);
    }
    InputEvents input(events);
    OutputEvents output(&outEvents);
    alignas(8) unsigned char process[64] = {};
    Put(process, 0, mSteadyTime);
    Put(process, 8, frames);
    Put(process, L.process.inputs, static_cast<const void*>(buffers[0]));
    Put(process, L.process.outputs, static_cast<void*>(buffers[1]));
    Put(process, L.process.inputCount, uint32_t{1});
    Put(process, L.process.outputCount, uint32_t{1});
    Put(process, L.process.inEvents, input.Record());
    Put(process, L.process.outEvents, output.Record());
    AudioCall call(this);
    const int32_t status = CallSlot<int32_t>(mPlugin, kProcess, mPlugin, static_cast<const void*>(process));
    mSteadyTime += frames;
    return status;
}

// ---- Plugin: extensions ----

uint32_t Plugin::ParamCount() { return CallExtension<uint32_t>(kParams, kParamCount); }

bool Plugin::GetParamInfo(uint32_t index, ParamInfo* info) {
    alignas(8) unsigned char record[1320] = {};
    if (!CallExtension<bool>(kParams, kParamInfo, index, static_cast<void*>(record))) return false;
    info->id = Get<uint32_t>(record, 0);
    info->flags = Get<uint32_t>(record, 4);
    info->name = Field(record, L.paramInfo.name, 256);
    info->module = Field(record, L.paramInfo.module, 1024);
    info->min = Get<double>(record, L.paramInfo.min);
    info->max = Get<double>(record, L.paramInfo.max);
    info->def = Get<double>(record, L.paramInfo.def);
    return true;
}

bool Plugin::GetParamValue(uint32_t id, double* value) { return CallExtension<bool>(kParams, kParamValue, id, value); }

bool Plugin::ValueToText(uint32_t id, double value, std::string* text) {
    char buffer[256] = {};
    if (!CallExtension<bool>(kParams, kValueToText, id, value, static_cast<char*>(buffer), uint32_t{sizeof buffer}))
        return false;
    text->assign(buffer, strnlen(buffer, sizeof buffer));
    return true;
}

bool Plugin::TextToValue(uint32_t id, const std::string& text, double* value) {
    return CallExtension<bool>(kParams, kTextToValue, id, text.c_str(), value);
}

void Plugin::Flush(const std::vector<ParamEvent>& events) {
    InputEvents input(events);
    OutputEvents output(&outEvents);
    const int audio = mActive ? 1 : 0;  // flush runs on the audio thread while active
    mAudioCalls += audio;
    CallExtension<void>(kParams, kParamFlush, input.Record(), output.Record());
    mAudioCalls -= audio;
}

bool Plugin::SaveState(std::vector<uint8_t>* bytes, size_t chunk) {
    bytes->clear();
    OutStream stream(bytes, chunk);
    return CallExtension<bool>(kState, kSave, stream.Record());
}

bool Plugin::LoadState(const std::vector<uint8_t>& bytes, size_t chunk) {
    InStream stream(bytes, chunk);
    return CallExtension<bool>(kState, kLoad, stream.Record());
}

uint32_t Plugin::Latency() { return CallExtension<uint32_t>(kLatency, kLatencyGet); }

uint32_t Plugin::PortCount(bool input) { return CallExtension<uint32_t>(kAudioPorts, kPortCount, input); }

bool Plugin::GetPort(bool input, uint32_t index, PortInfo* info) {
    alignas(8) unsigned char record[288] = {};
    if (!CallExtension<bool>(kAudioPorts, kPortGet, index, input, static_cast<void*>(record))) return false;
    info->id = Get<uint32_t>(record, 0);
    info->name = Field(record, 4, 256);
    info->flags = Get<uint32_t>(record, L.portInfo.flags);
    info->channels = Get<uint32_t>(record, L.portInfo.channels);
    info->type = Text(Get<const char*>(record, L.portInfo.type));
    info->inPlacePair = Get<uint32_t>(record, L.portInfo.inPlacePair);
    return true;
}

uint32_t Plugin::PortsConfigCount() { return CallExtension<uint32_t>(kAudioPortsConfig, kConfigCount); }

bool Plugin::GetPortsConfig(uint32_t index, PortsConfig* config) {
    alignas(8) unsigned char record[304] = {};
    if (!CallExtension<bool>(kAudioPortsConfig, kConfigGet, index, static_cast<void*>(record))) return false;
    config->id = Get<uint32_t>(record, 0);
    config->name = Field(record, 4, 256);
    config->inputs = Get<uint32_t>(record, 260);
    config->outputs = Get<uint32_t>(record, 264);
    config->hasMainIn = Get<bool>(record, 268);
    config->inChannels = Get<uint32_t>(record, 272);
    config->inType = Text(Get<const char*>(record, L.portsConfig.inType));
    config->hasMainOut = Get<bool>(record, L.portsConfig.hasOut);
    config->outChannels = Get<uint32_t>(record, L.portsConfig.outChannels);
    config->outType = Text(Get<const char*>(record, L.portsConfig.outType));
    return true;
}

bool Plugin::SelectPortsConfig(uint32_t configId) {
    return CallExtension<bool>(kAudioPortsConfig, kSelectConfig, configId);
}

// ---- Plugin: the editor ----

bool Plugin::GuiOpen(uintptr_t window, uint32_t* width, uint32_t* height) {
    if (mGuiCreated || !CallExtension<bool>(kGui, kGuiIsApiSupported, kGuiApi, false) ||
        !CallExtension<bool>(kGui, kGuiCreate, kGuiApi, false))
        return false;
    mGuiCreated = true;
    alignas(8) unsigned char parent[16] = {};
    Put(parent, 0, kGuiApi);
    Put(parent, L.P, window);
    if (CallExtension<bool>(kGui, kGuiGetSize, width, height) &&
        CallExtension<bool>(kGui, kGuiSetParent, static_cast<const void*>(parent)) &&
        CallExtension<bool>(kGui, kGuiShow))
        return true;
    GuiClose();
    return false;
}

void Plugin::GuiClose() {
    if (!mGuiCreated) return;
    CallExtension<bool>(kGui, kGuiHide);
    CallExtension<void>(kGui, kGuiDestroy);
    mGuiCreated = false;
}

void Plugin::FireTimers() {
    const std::vector<Timer> registered = timers;  // on_timer may unregister
    for (const Timer& timer : registered) CallExtension<void>(kTimerSupport, kOnTimer, timer.id);
}

void Plugin::FireFds() {
#ifndef _WIN32
    const std::vector<Fd> registered = fds;  // on_fd may unregister
    for (const Fd& fd : registered) {
        pollfd watch{fd.fd, short((fd.flags & 1 ? POLLIN : 0) | (fd.flags & 2 ? POLLOUT : 0)), 0};
        if (poll(&watch, 1, 0) <= 0) continue;
        const uint32_t ready = (watch.revents & POLLIN ? 1u : 0u) | (watch.revents & POLLOUT ? 2u : 0u) |
                               (watch.revents & (POLLERR | POLLHUP | POLLNVAL) ? 4u : 0u);
        CallExtension<void>(kPosixFdSupport, kOnFd, fd.fd, ready & (fd.flags | 4u));
    }
#endif
}

}  // namespace tzclap
