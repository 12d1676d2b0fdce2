#pragma once
// A small VST3 host: loads a module, creates the effect, and implements the host-side
// interfaces (application context, memory stream, parameter change queues) itself.
#include <atomic>
#include <string>
#include <vector>

#include "sdk/vst3/audioprocessor.h"
#include "sdk/vst3/bstream.h"
#include "sdk/vst3/component.h"
#include "sdk/vst3/editcontroller.h"
#include "sdk/vst3/hostapplication.h"
#include "sdk/vst3/paramchanges.h"
#include "sdk/vst3/pluginbase.h"
#include "module_loader.h"

namespace tzhost {

using namespace Sdk;
using namespace Sdk::Vst;

constexpr ParamID kPresetId = 0x70727374;  // 'prst'
constexpr ParamID kBypassId = 0x62706173;  // 'bpas'

std::string FromString128(const TChar* text);

// Host objects live as long as their owner; the count only records outstanding references.
template <class I>
class HostObject : public I {
public:
    // After every interface slot, so the host-visible vtable is unchanged.
    virtual ~HostObject() = default;
    tresult PLUGIN_API queryInterface(const TUID queryIid, void** obj) override {
        if (iidEqual(queryIid, FUnknown::iid) || iidEqual(queryIid, I::iid)) {
            addRef();
            *obj = static_cast<I*>(this);
            return kResultOk;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return ++refs; }
    uint32 PLUGIN_API release() override { return --refs; }
    int References() const { return refs; }

private:
    std::atomic<int> refs{1};
};

class HostApplication : public HostObject<IHostApplication> {
public:
    explicit HostApplication(std::string appName = "TavrelZel4 test host") : name(std::move(appName)) {}
    tresult PLUGIN_API getName(String128 out) override;
    tresult PLUGIN_API createInstance(TUID, TUID, void** obj) override {
        *obj = nullptr;
        return kNotImplemented;
    }

private:
    std::string name;
};

// A growable byte stream. failReads makes every read fail without delivering bytes.
class MemoryStream : public HostObject<IBStream> {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<char> bytes) : data(std::move(bytes)) {}
    tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) override;
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override;
    tresult PLUGIN_API seek(int64 pos, int32 mode, int64* result) override;
    tresult PLUGIN_API tell(int64* pos) override;

    std::vector<char> data;
    int64 position = 0;
    bool failReads = false;
};

class ParamValueQueue : public HostObject<IParamValueQueue> {
public:
    explicit ParamValueQueue(ParamID paramId) : id(paramId) {}
    ParamID PLUGIN_API getParameterId() override { return id; }
    int32 PLUGIN_API getPointCount() override { return static_cast<int32>(points.size()); }
    tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) override;
    tresult PLUGIN_API addPoint(int32 sampleOffset, ParamValue value, int32& index) override;

    struct Point {
        int32 offset;
        ParamValue value;
    };
    ParamID id;
    std::vector<Point> points;
};

class ParameterChanges : public HostObject<IParameterChanges> {
public:
    ~ParameterChanges() override;
    int32 PLUGIN_API getParameterCount() override { return static_cast<int32>(queues.size()); }
    IParamValueQueue* PLUGIN_API getParameterData(int32 index) override;
    IParamValueQueue* PLUGIN_API addParameterData(const ParamID& id, int32& index) override;

    // Appends one point to the queue of id (creating it).
    void Add(ParamID id, int32 offset, ParamValue value);
    void Clear();

private:
    std::vector<ParamValueQueue*> queues;
};

// A loaded module: its entry function on load, its exit function and the unload on destruction
// (module_loader.h).
class Module {
public:
    Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    ~Module();

    bool Load(const std::string& path, std::string* error);
    // The factory, with the reference GetPluginFactory handed over (released on unload).
    IClassFactory* Factory() const { return factory; }
    void* Symbol(const char* name) const;

private:
    void* handle = nullptr;
    bool entered = false;
    IClassFactory* factory = nullptr;
};

// One instance of the effect with its three interfaces.
class Plugin {
public:
    Plugin() = default;
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;
    ~Plugin();

    // Creates the first class of the factory and queries the processor and controller.
    bool Create(IClassFactory* factory, std::string* error);
    // initialize with the context, then activate every audio bus.
    bool Initialize(FUnknown* context);
    // setupProcessing, setActive(true) and setProcessing(true).
    tresult Prepare(int32 sampleSize, double rate, int32 maxBlock);
    // Ends processing, terminates and releases everything; true when that freed the instance.
    bool Shutdown();

    // One block on the 64-bit or 32-bit road, each bus with `channels` channels.
    tresult Process64(double** in, double** out, int channels, int frames, IParameterChanges* changes = nullptr);
    tresult Process32(float** in, float** out, int channels, int frames, IParameterChanges* changes = nullptr);

    // The exported parameter whose title is `title`; false when none.
    bool FindParameter(const std::string& title, ParameterInfo* info);

    IComponent* component = nullptr;
    IAudioProcessor* processor = nullptr;
    IEditController* controller = nullptr;

private:
    tresult Process(int32 sampleSize, void** in, void** out, int channels, int frames, IParameterChanges* changes);
    bool initialized = false;
    bool active = false;
};

}  // namespace tzhost
