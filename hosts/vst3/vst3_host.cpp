#include "vst3_host.h"

#include <algorithm>
#include <cstring>

namespace tzhost {

// The host's texts are ASCII; anything else in the plug-in's texts shows as '?'.
std::string FromString128(const TChar* text) {
    std::string out;
    for (int i = 0; i < 128 && text[i]; ++i) out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    return out;
}

tresult PLUGIN_API HostApplication::getName(String128 out) {
    size_t n = std::min<size_t>(name.size(), 127);
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(name[i]);
    out[n] = 0;
    return kResultOk;
}

tresult PLUGIN_API MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
    if (numBytesRead) *numBytesRead = 0;
    if (failReads || numBytes < 0) return kResultFalse;
    const int64 size = static_cast<int64>(data.size());
    const int64 n = std::max<int64>(0, std::min<int64>(numBytes, size - position));
    if (n > 0) std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
    position += n;
    if (numBytesRead) *numBytesRead = static_cast<int32>(n);
    return kResultOk;
}

tresult PLUGIN_API MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
    if (numBytesWritten) *numBytesWritten = 0;
    if (numBytes < 0 || position < 0) return kInvalidArgument;
    const size_t end = static_cast<size_t>(position) + static_cast<size_t>(numBytes);
    if (data.size() < end) data.resize(end);
    if (numBytes > 0) std::memcpy(data.data() + position, buffer, static_cast<size_t>(numBytes));
    position += numBytes;
    if (numBytesWritten) *numBytesWritten = numBytes;
    return kResultOk;
}

tresult PLUGIN_API MemoryStream::seek(int64 pos, int32 mode, int64* result) {
    int64 base = 0;
    if (mode == kIBSeekCur)
        base = position;
    else if (mode == kIBSeekEnd)
        base = static_cast<int64>(data.size());
    else if (mode != kIBSeekSet)
        return kInvalidArgument;
    if (base + pos < 0) return kResultFalse;
    position = base + pos;
    if (result) *result = position;
    return kResultOk;
}

tresult PLUGIN_API MemoryStream::tell(int64* pos) {
    if (!pos) return kInvalidArgument;
    *pos = position;
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value) {
    if (index < 0 || index >= getPointCount()) return kResultFalse;
    sampleOffset = points[index].offset;
    value = points[index].value;
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index) {
    index = getPointCount();
    points.push_back({sampleOffset, value});
    return kResultOk;
}

ParameterChanges::~ParameterChanges() { Clear(); }

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index) {
    return index >= 0 && index < getParameterCount() ? queues[index] : nullptr;
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const ParamID& id, int32& index) {
    for (size_t i = 0; i < queues.size(); ++i) {
        if (queues[i]->id == id) {
            index = static_cast<int32>(i);
            return queues[i];
        }
    }
    index = getParameterCount();
    queues.push_back(new ParamValueQueue(id));
    return queues.back();
}

void ParameterChanges::Add(ParamID id, int32 offset, ParamValue value) {
    int32 index = 0, point = 0;
    addParameterData(id, index)->addPoint(offset, value, point);
}

void ParameterChanges::Clear() {
    for (ParamValueQueue* q : queues) delete q;
    queues.clear();
}

bool Module::Load(const std::string& path, std::string* error) {
    handle = LoadModule(path, error);
    if (!handle) return false;
    using GetFactoryProc = IClassFactory*(PLUGIN_API*)();
    auto getFactory = reinterpret_cast<GetFactoryProc>(Symbol("GetPluginFactory"));
    if (!getFactory) {
        *error = path + " exports no GetPluginFactory";
        return false;
    }
    entered = EnterModule(handle, path, error);
    if (!entered) return false;
    factory = getFactory();
    if (!factory) *error = "GetPluginFactory returned null";
    return factory != nullptr;
}

void* Module::Symbol(const char* name) const { return handle ? ModuleSymbol(handle, name) : nullptr; }

Module::~Module() {
    if (factory) factory->release();
    if (entered) LeaveModule(handle);
    if (handle) UnloadModule(handle);
}

bool Plugin::Create(IClassFactory* factory, std::string* error) {
    PClassInfo info{};
    if (!factory || factory->countClasses() < 1 || factory->getClassInfo(0, &info) != kResultOk) {
        *error = "the factory offers no class";
        return false;
    }
    void* obj = nullptr;
    if (factory->createInstance(info.cid, IComponent::iid, &obj) != kResultOk || !obj) {
        *error = "createInstance failed";
        return false;
    }
    component = static_cast<IComponent*>(obj);
    obj = nullptr;
    if (component->queryInterface(IAudioProcessor::iid, &obj) == kResultOk)
        processor = static_cast<IAudioProcessor*>(obj);
    obj = nullptr;
    if (component->queryInterface(IEditController::iid, &obj) == kResultOk)
        controller = static_cast<IEditController*>(obj);
    if (!processor || !controller) *error = "the component answers no IAudioProcessor or IEditController";
    return processor && controller;
}

bool Plugin::Initialize(FUnknown* context) {
    if (component->initialize(context) != kResultOk) return false;
    initialized = true;
    for (BusDirection dir : {kInput, kOutput}) {
        for (int32 i = 0; i < component->getBusCount(kAudio, dir); ++i) component->activateBus(kAudio, dir, i, true);
    }
    return true;
}

tresult Plugin::Prepare(int32 sampleSize, double rate, int32 maxBlock) {
    ProcessSetup setup{kRealtime, sampleSize, maxBlock, rate};
    const tresult r = processor->setupProcessing(setup);
    if (r != kResultOk) return r;
    component->setActive(true);
    processor->setProcessing(true);
    active = true;
    return kResultOk;
}

tresult Plugin::Process64(double** in, double** out, int channels, int frames, IParameterChanges* changes) {
    return Process(kSample64, reinterpret_cast<void**>(in), reinterpret_cast<void**>(out), channels, frames, changes);
}

tresult Plugin::Process32(float** in, float** out, int channels, int frames, IParameterChanges* changes) {
    return Process(kSample32, reinterpret_cast<void**>(in), reinterpret_cast<void**>(out), channels, frames, changes);
}

tresult Plugin::Process(int32 sampleSize, void** in, void** out, int channels, int frames, IParameterChanges* changes) {
    AudioBusBuffers inBus{}, outBus{};
    inBus.numChannels = outBus.numChannels = channels;
    if (sampleSize == kSample64) {
        inBus.channelBuffers64 = reinterpret_cast<Sample64**>(in);
        outBus.channelBuffers64 = reinterpret_cast<Sample64**>(out);
    } else {
        inBus.channelBuffers32 = reinterpret_cast<Sample32**>(in);
        outBus.channelBuffers32 = reinterpret_cast<Sample32**>(out);
    }
    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = sampleSize;
    data.numSamples = frames;
    data.numInputs = in ? 1 : 0;
    data.numOutputs = 1;
    data.inputs = in ? &inBus : nullptr;
    data.outputs = &outBus;
    data.inputParameterChanges = changes;
    return processor->process(data);
}

bool Plugin::FindParameter(const std::string& title, ParameterInfo* info) {
    for (int32 i = 0; i < controller->getParameterCount(); ++i) {
        if (controller->getParameterInfo(i, *info) == kResultOk && FromString128(info->title) == title) return true;
    }
    return false;
}

bool Plugin::Shutdown() {
    if (active) {
        processor->setProcessing(false);
        component->setActive(false);
        active = false;
    }
    if (initialized) {
        component->terminate();
        initialized = false;
    }
    if (controller) controller->release();
    if (processor) processor->release();
    const bool freed = !component || component->release() == 0;
    controller = nullptr;
    processor = nullptr;
    component = nullptr;
    return freed;
}

Plugin::~Plugin() { Shutdown(); }

}  // namespace tzhost
