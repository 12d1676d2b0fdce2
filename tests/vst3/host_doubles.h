#pragma once
// Host-side objects for in-process tests of the VST3 binding. They live on the test's stack:
// reference counting is accepted and ignored.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "effect/tavrelzel4.h"
#include "sdk/vst3/bstream.h"
#include "sdk/vst3/hostapplication.h"
#include "sdk/vst3/paramchanges.h"
#include "sdk/vst3/strings.h"

namespace testhost {
using namespace Sdk;
using namespace Sdk::Vst;

// The editor window type of this platform's hosts, and the other platform's.
#ifdef _WIN32
constexpr FIDString kOwnWindowType = "HWND", kOtherWindowType = "X11EmbedWindowID";
#else
constexpr FIDString kOwnWindowType = "X11EmbedWindowID", kOtherWindowType = "HWND";
#endif

template <class I>
class Stub : public I {
public:
    tresult PLUGIN_API queryInterface(const TUID queryIid, void** obj) override {
        if (iidEqual(queryIid, I::iid) || iidEqual(queryIid, FUnknown::iid)) {
            *obj = this;
            return kResultOk;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

class HostApp : public Stub<IHostApplication> {
public:
    explicit HostApp(std::string appName = "Test Host") : name(std::move(appName)) {}
    tresult PLUGIN_API getName(String128 out) override {
        toString128(name.c_str(), out);
        for (size_t i = 0; i < 128 && name.size() >= 128; ++i) out[i] = static_cast<TChar>(name[i]);  // no NUL
        return kResultOk;
    }
    tresult PLUGIN_API createInstance(TUID, TUID, void** obj) override {
        *obj = nullptr;
        return kNotImplemented;
    }
    std::string name;
};

// A memory stream; reads can be made to report failure after delivering their bytes, and
// writes to stop taking bytes beyond a limit.
class MemoryStream : public Stub<IBStream> {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<char> bytes) : data(std::move(bytes)) {}

    tresult PLUGIN_API read(void* buffer, int32 n, int32* got) override {
        Called();
        const int32 count = std::min<int32>(n, static_cast<int32>(data.size()) - pos);
        if (count > 0) std::memcpy(buffer, data.data() + pos, count);
        pos += count;
        if (got) *got = count;
        return failReads && count > 0 ? kResultFalse : kResultOk;
    }
    tresult PLUGIN_API write(void* buffer, int32 n, int32* written) override {
        Called();
        const int32 count = std::min<int32>(n, writeLimit - static_cast<int32>(data.size()));
        data.insert(data.end(), static_cast<char*>(buffer), static_cast<char*>(buffer) + count);
        pos = static_cast<int32>(data.size());
        if (written) *written = count;
        return count == n ? kResultOk : kResultFalse;
    }
    tresult PLUGIN_API seek(int64 to, int32 mode, int64* result) override {
        Called();
        const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? pos : static_cast<int64>(data.size());
        pos = static_cast<int32>(base + to);
        if (result) *result = pos;
        return kResultOk;
    }
    tresult PLUGIN_API tell(int64* at) override {
        Called();
        *at = pos;
        return kResultOk;
    }

    std::vector<char> data;
    int32 pos = 0;
    bool failReads = false;
    int32 writeLimit = 1 << 30;
    std::function<void()> onCall;  // told of every call

private:
    void Called() {
        if (onCall) onCall();
    }
};

class Queue final : public Stub<IParamValueQueue> {
public:
    Queue(ParamID paramId, std::vector<ParamValue> points) : id(paramId), values(std::move(points)) {}
    ParamID PLUGIN_API getParameterId() override { return id; }
    int32 PLUGIN_API getPointCount() override { return static_cast<int32>(values.size()); }
    tresult PLUGIN_API getPoint(int32 index, int32& offset, ParamValue& value) override {
        if (index < 0 || index >= getPointCount()) {
            ++badReads;
            return kInvalidArgument;
        }
        offset = index;
        value = values[index];
        return kResultOk;
    }
    tresult PLUGIN_API addPoint(int32, ParamValue, int32&) override { return kNotImplemented; }

    ParamID id;
    std::vector<ParamValue> values;
    int badReads = 0;
};

class Changes : public Stub<IParameterChanges> {
public:
    void Add(ParamID id, std::vector<ParamValue> values) { queues.emplace_back(id, std::move(values)); }
    int32 PLUGIN_API getParameterCount() override { return static_cast<int32>(queues.size()); }
    IParamValueQueue* PLUGIN_API getParameterData(int32 index) override { return &queues.at(index); }
    IParamValueQueue* PLUGIN_API addParameterData(const ParamID&, int32&) override { return nullptr; }

    std::vector<Queue> queues;
};

// A plug-in created and initialized as a host does it, with both stereo buses active.
struct Plugin {
    explicit Plugin(const char* hostName = "Test Host") : host(hostName), plug(CreateInstance()) {
        plug->initialize(&host);
        plug->activateBus(kAudio, kInput, 0, true);
        plug->activateBus(kAudio, kOutput, 0, true);
    }
    ~Plugin() {
        plug->terminate();
        plug->release();
    }
    // Sets up processing and switches the hiss off, so output is repeatable.
    void Setup(int32 sampleSize, int32 maxBlock = 256, double rate = 48000.0) {
        ProcessSetup setup{kRealtime, sampleSize, maxBlock, rate};
        plug->setupProcessing(setup);
        plug->setActive(true);
        Changes changes;
        changes.Add(TavrelZel4::kHiss, {0.0});
        Process(&changes, nullptr, nullptr, 0);
    }
    // One block with the given host buffers (stereo in and out, or no bus for a null array).
    template <typename Sample>
    void Process(IParameterChanges* changes, Sample** in, Sample** out, int32 frames) {
        AudioBusBuffers inBus{2, 0, {}}, outBus{2, 0, {}};
        inBus.channelBuffers32 = reinterpret_cast<Sample32**>(in);
        outBus.channelBuffers32 = reinterpret_cast<Sample32**>(out);
        ProcessData data{};
        data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
        data.numSamples = frames;
        data.numInputs = in ? 1 : 0;
        data.numOutputs = out ? 1 : 0;
        data.inputs = in ? &inBus : nullptr;
        data.outputs = out ? &outBus : nullptr;
        data.inputParameterChanges = changes;
        plug->process(data);
    }
    void Process(IParameterChanges* changes, float** in, float** out, int32 frames) {
        Process<float>(changes, in, out, frames);
    }

    HostApp host;
    TavrelZel4* plug;
};
}  // namespace testhost
