#include "aax_plugin.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace aaxhost {

bool Exports::Complete() const {
    return registerPlugin && registerComponent && getClassFactory && canUnloadNow && startup && shutdown &&
           getSDKVersion;
}

bool Module::Load(const std::string& path, std::string* error) {
#ifdef _WIN32
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    mHandle = module;
    auto get = [&](auto& fn, const char* name) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(
            reinterpret_cast<void*>(GetProcAddress(module, name)));
    };
    get(exports.registerPlugin, "ACFRegisterPlugin");
    get(exports.registerComponent, "ACFRegisterComponent");
    get(exports.getClassFactory, "ACFGetClassFactory");
    get(exports.canUnloadNow, "ACFCanUnloadNow");
    get(exports.startup, "ACFStartup");
    get(exports.shutdown, "ACFShutdown");
    get(exports.getSDKVersion, "ACFGetSDKVersion");
    if (!exports.Complete()) *error = path + " lacks one of the seven exports";
    return exports.Complete();
#else
    *error = "cannot load " + path + ": modules load only on Windows";
    return false;
#endif
}

void Module::Unload() {
#ifdef _WIN32
    if (mHandle) FreeLibrary(static_cast<HMODULE>(mHandle));
#endif
    mHandle = nullptr;
    exports = Exports();
}

int32_t Session::Register() {
    registration = host.RegistrationUnknown(FactoryMode::kOffered);
    exports.startup(registration);
    mStarted = true;
    return exports.registerPlugin(registration, &definition);
}

void Session::Finish() {
    if (definition) CallSlot<uint32_t>(definition, 2);
    definition = nullptr;
    if (mStarted) exports.shutdown(registration);
    mStarted = false;
}

void* Session::EffectParametersFactory() const {
    auto it = host.procedures.find(0);
    return it == host.procedures.end() ? nullptr : it->second;
}

void* Session::GuiFactory() const {
    auto it = host.procedures.find(1);
    return it == host.procedures.end() ? nullptr : it->second;
}

std::vector<uint8_t> ChunkRecord(uint32_t id, const std::vector<uint8_t>& data, int32_t sizeField) {
    std::vector<uint8_t> record(56 + data.size());
    std::memcpy(record.data(), &sizeField, 4);
    std::memcpy(record.data() + 20, &id, 4);
    if (!data.empty()) std::memcpy(record.data() + 56, data.data(), data.size());
    return record;
}

std::vector<uint8_t> ChunkDataOf(const std::vector<uint8_t>& record) {
    int32_t size = 0;
    std::memcpy(&size, record.data(), 4);
    return std::vector<uint8_t>(record.begin() + 56, record.begin() + 56 + size);
}

Instance::Instance(Session& s, const std::vector<Guid>& offered) : session(s) {
    using Factory = void*(HOST_CALL*)();
    auto factory = reinterpret_cast<Factory>(s.EffectParametersFactory());
    void* made = factory ? factory() : nullptr;
    if (!made) return;
    if (CallSlot<int32_t>(made, 0, &id::kEffectParameters, &params) != 0) return;
    unknown = s.host.InstanceUnknown(offered);
    CallSlot<int32_t>(params, slot::kInitialize, static_cast<void*>(unknown));
    // The private data blocks the description declared, filled by the plug-in.
    mPrivate.resize(10);
    for (const auto& [field, size] : s.host.privateData) {
        if (field >= 10) continue;
        mPrivate[field].assign(size, 0xEE);
        CallSlot<int32_t>(params, slot::kCustomData, field, static_cast<void*>(mPrivate[field].data()), size);
        mContext[field] = mPrivate[field].data();
    }
    mContext[7] = s.host.BlockTransport();
}

Instance::~Instance() {
    if (!params) return;
    CallSlot<int32_t>(params, slot::kUninitialize);
    CallSlot<uint32_t>(params, 2);
}

void Instance::Render(float** inputs, float** outputs, int32_t frames) {
    mContext[0] = inputs;
    mContext[1] = outputs;
    mContext[3] = &frames;
    void* contexts[1] = {mContext};
    using Process = void(HOST_CALL*)(void* const*, const void*);
    auto process = reinterpret_cast<Process>(session.host.processProcedures.at(0));
    process(contexts, contexts + 1);
}

int32_t Instance::Update(const char* id, double normalized) {
    return CallSlot<int32_t>(params, slot::kUpdateFromHost, id, normalized, int32_t(0));
}

std::string Instance::Text(int slotNumber, const char* id) {
    HostString text;
    if (slotNumber == slot::kValueString)
        CallSlot<int32_t>(params, slotNumber, id, text.Interface(), int32_t(64));
    else
        CallSlot<int32_t>(params, slotNumber, id, text.Interface());
    return text.Text();
}

std::vector<uint8_t> Instance::GetChunk(uint32_t chunkId, int32_t* result) {
    int32_t size = -1;
    *result = CallSlot<int32_t>(params, slot::kChunkSize, chunkId, &size);
    if (*result != 0 || size < 0) return {};
    std::vector<uint8_t> record = ChunkRecord(chunkId, std::vector<uint8_t>(size_t(size)), size);
    *result = CallSlot<int32_t>(params, slot::kGetChunk, chunkId, static_cast<void*>(record.data()));
    return record;
}

int32_t Instance::SetChunk(uint32_t chunkId, const std::vector<uint8_t>& record) {
    return CallSlot<int32_t>(params, slot::kSetChunk, chunkId, static_cast<const void*>(record.data()));
}

Gui::Gui(Session& session, Instance& instance) : mSession(session) {
    using Factory = void*(HOST_CALL*)();
    auto factory = reinterpret_cast<Factory>(session.GuiFactory());
    void* made = factory ? factory() : nullptr;
    if (!made || CallSlot<int32_t>(made, 0, &id::kEffectGui, &gui) != 0) return;
    mUnknown = session.host.InstanceUnknown({id::kController, id::kTransport});
    session.host.AnswerForeign(mUnknown, id::kEffectParameters, instance.params);
    CallSlot<int32_t>(gui, slot::kGuiInitialize, static_cast<void*>(mUnknown));
}

Gui::~Gui() {
    if (!gui) return;
    CallSlot<int32_t>(gui, slot::kGuiUninitialize);
    CallSlot<uint32_t>(gui, 2);
}

int32_t Gui::Open(void* nativeView) {
    if (!container) {
        container = mSession.host.Make(Kind::kViewContainer, "view");
        mSession.host.Answer(container, id::kViewContainer, container);
    }
    mSession.host.nativeView = nativeView;
    return CallSlot<int32_t>(gui, slot::kSetViewContainer, static_cast<void*>(container));
}

int32_t Gui::Close() { return CallSlot<int32_t>(gui, slot::kSetViewContainer, static_cast<void*>(nullptr)); }

}  // namespace aaxhost
