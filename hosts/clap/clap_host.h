#pragma once
// A small CLAP host that reaches every record of a module by its byte offsets alone
// (clap_layout.h), without the plug-in side's declarations: it loads the module, walks the entry
// and the plug-in factory, creates an instance with a host record of its own (log, thread-check,
// params, latency, state, audio-ports, gui, and on Linux timer-support and posix-fd-support),
// and calls the instance's lifecycle and extensions as a host program does, in any order the
// caller asks for.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace tzclap {

// A PARAM_VALUE event in plain units, at a frame of the block.
struct ParamEvent {
    uint32_t time;
    uint32_t id;
    double value;
};
// An event the plug-in pushed: type 5 a value (plain), 7 a gesture's begin, 8 its end.
struct OutEvent {
    uint16_t type;
    uint32_t time;
    uint32_t id;
    double value;
};
struct ParamInfo {
    uint32_t id, flags;
    std::string name, module;
    double min, max, def;
};
// An audio port as audio-ports.get gives it.
struct PortInfo {
    uint32_t id, flags, channels, inPlacePair;
    std::string name, type;
};
// A port configuration as audio-ports-config.get gives it: its main ports' channels and types.
struct PortsConfig {
    uint32_t id, inputs, outputs;
    bool hasMainIn, hasMainOut;
    uint32_t inChannels, outChannels;
    std::string name, inType, outType;
};
// The plug-in descriptor's fields.
struct Descriptor {
    uint32_t version[3];
    std::string id, name, vendor, url, manualUrl, supportUrl, versionText, description;
    std::vector<std::string> features;
};

// Ids and flags the callers check against.
constexpr int32_t kProcessError = 0;
constexpr uint32_t kParamIsStepped = 1;
constexpr uint32_t kPortIsMain = 1, kPortSupports64Bits = 2;
constexpr const char* kPluginFactoryId = "clap.plugin-factory";

// A loaded module: clap_entry found and its version checked (major >= 1), init called with the
// module's path; deinit (when init succeeded) and the unload on destruction.
class Module {
public:
    Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    ~Module();

    // [main thread]
    bool Load(const std::string& path, std::string* error);
    // The raw clap_entry record.
    const void* Entry() const { return mEntry; }
    // entry.get_factory; null for an unknown id.
    const void* Factory(const char* id) const;
    // The plug-in factory's count and descriptors; false for an index it has no descriptor for.
    uint32_t PluginCount() const;
    bool GetDescriptor(uint32_t index, Descriptor* out) const;
    // entry.init and entry.deinit once more (the module counts them).
    bool Init();
    void Deinit();

private:
    void* mHandle = nullptr;
    const void* mEntry = nullptr;
    std::string mPath;
    bool mInitialized = false;
};

// One instance. The calls pass straight to the plug-in (out of order too); the destructor ends
// processing and deactivates as the calls that succeeded left it, then destroys it.
class Plugin {
public:
    Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;
    ~Plugin();

    // [main thread] create_plugin, then init (the instance is destroyed when init refuses). The
    // creating thread is the main thread thread-check answers for.
    bool Create(Module& module, const char* pluginId, std::string* error);
    // The clap_plugin record.
    const void* Raw() const { return mPlugin; }
    // plugin.get_extension; null for one the plug-in does not offer.
    const void* Extension(const char* id) const;

    // [main thread]
    bool Activate(double rate, uint32_t minFrames, uint32_t maxFrames);
    void Deactivate();
    // [audio thread]
    bool StartProcessing();
    void StopProcessing();
    void Reset();
    // [audio thread] One process call with one input and one output port of `channels`
    // channels; events sorted by time; what the plug-in pushes is appended to outEvents.
    // Returns the status.
    int32_t Process(float* const* in, float* const* out, uint32_t channels, uint32_t frames,
                    const std::vector<ParamEvent>& events = {});
    int32_t Process(double* const* in, double* const* out, uint32_t channels, uint32_t frames,
                    const std::vector<ParamEvent>& events = {});

    // [main thread] The params extension (false or 0 without it).
    uint32_t ParamCount();
    bool GetParamInfo(uint32_t index, ParamInfo* info);
    bool GetParamValue(uint32_t id, double* value);
    bool ValueToText(uint32_t id, double value, std::string* text);
    bool TextToValue(uint32_t id, const std::string& text, double* value);
    // params.flush with these events; what the plug-in pushes is appended to outEvents.
    void Flush(const std::vector<ParamEvent>& events = {});

    // [main thread] The state extension, through host streams that move at most `chunk` bytes a
    // call (so the plug-in meets short reads and writes).
    bool SaveState(std::vector<uint8_t>* bytes, size_t chunk = SIZE_MAX);
    bool LoadState(const std::vector<uint8_t>& bytes, size_t chunk = SIZE_MAX);

    // [main thread] latency.get; 0 without the extension.
    uint32_t Latency();
    // [main thread] audio-ports.count and .get.
    uint32_t PortCount(bool input);
    bool GetPort(bool input, uint32_t index, PortInfo* info);
    // [main thread] audio-ports-config.count, .get and .select.
    uint32_t PortsConfigCount();
    bool GetPortsConfig(uint32_t index, PortsConfig* config);
    bool SelectPortsConfig(uint32_t configId);

    // [main thread] The editor: gui.is_api_supported/create/get_size/set_parent/show, and
    // hide/destroy. window is an HWND on Windows, an X11 Window (as uintptr_t) on Linux.
    bool GuiOpen(uintptr_t window, uint32_t* width, uint32_t* height);
    void GuiClose();

    // Linux: what the plug-in registered through the host's timer-support and posix-fd-support
    // (in the order registered, unregistered ones removed). FireTimers calls on_timer for each
    // timer; FireFds calls on_fd for each fd that poll finds ready without waiting, with the
    // ready flags among those registered.
    struct Timer {
        uint32_t id, periodMs;
    };
    struct Fd {
        int fd;
        uint32_t flags;
    };
    std::vector<Timer> timers;
    std::vector<Fd> fds;
    void FireTimers();
    void FireFds();

    std::vector<OutEvent> outEvents;
    // What the plug-in asked of the host, counted: rescans are params.rescan, portRescans
    // audio-ports.rescan, clears params.clear; resizes the gui's request_resize (the last size in
    // resizeWidth/resizeHeight).
    int requestFlush = 0, requestProcess = 0, requestCallback = 0, requestRestart = 0, rescans = 0, latencyChanged = 0,
        markDirty = 0, logs = 0;
    int portRescans = 0, clears = 0, resizes = 0;
    uint32_t resizeWidth = 0, resizeHeight = 0;
    std::string lastLog;

    // [any thread] For thread-check: the creating thread, outside the audio-thread calls.
    bool OnMainThread() const;
    bool InAudioCall() const { return mAudioCalls > 0; }

private:
    // Counts an audio-thread call for thread-check while it runs.
    struct AudioCall;
    int32_t Run(void* const* in, void* const* out, bool doubles, uint32_t channels, uint32_t frames,
                const std::vector<ParamEvent>& events);
    // Slot n of the extension `id`, called with the plug-in first; R() without the extension.
    template <class R, class... A>
    R CallExtension(const char* id, size_t slot, A... args);

    alignas(8) unsigned char mHost[96] = {};
    const void* mPlugin = nullptr;
    bool mActive = false, mProcessing = false, mGuiCreated = false;
    std::atomic<int> mAudioCalls{0};
    std::thread::id mMainThread;
    int64_t mSteadyTime = 0;
};

}  // namespace tzclap
