#pragma once
// Driving a plug-in module the way an AAX host does, on top of the recording host objects: the
// seven exports, registration, one instance with its render context, chunks and the GUI.
#include <cstdint>
#include <string>
#include <vector>

#include "aax_host.h"

namespace aaxhost {

// The module's exports; every function pointer is null until loaded.
struct Exports {
    int32_t(HOST_CALL* registerPlugin)(void* host, void** definition) = nullptr;
    int32_t(HOST_CALL* registerComponent)(void* host, uint32_t index, void** component) = nullptr;
    int32_t(HOST_CALL* getClassFactory)(void* host, const Guid& clsid, const Guid& iid, void** out) = nullptr;
    int32_t(HOST_CALL* canUnloadNow)(void* host) = nullptr;
    int32_t(HOST_CALL* startup)(void* host) = nullptr;
    int32_t(HOST_CALL* shutdown)(void* host) = nullptr;
    int32_t(HOST_CALL* getSDKVersion)(uint64_t* version) = nullptr;
    bool Complete() const;
};

// A DLL loaded through its exports (Windows; elsewhere Load always fails).
class Module {
public:
    Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    ~Module() { Unload(); }
    bool Load(const std::string& path, std::string* error);
    void Unload();
    Exports exports;

private:
    void* mHandle = nullptr;
};

// Registration: ACFStartup, then ACFRegisterPlugin on a recording registration host. Finish
// releases the definition and calls ACFShutdown.
class Session {
public:
    Session(Host& registrationHost, const Exports& moduleExports) : host(registrationHost), exports(moduleExports) {}
    ~Session() { Finish(); }
    int32_t Register();
    void Finish();
    void* EffectParametersFactory() const;
    void* GuiFactory() const;

    Host& host;
    const Exports& exports;
    Object* registration = nullptr;
    void* definition = nullptr;

private:
    bool mStarted = false;
};

// Effect-parameters slots the host calls by number.
namespace slot {
enum : int {
    kInitialize = 3,
    kUninitialize = 4,
    kParameterCount = 6,
    kMasterBypassId = 7,
    kStepCount = 9,
    kName = 10,
    kType = 14,
    kParameterById = 16,
    kIdAtIndex = 18,
    kValueString = 22,
    kNormalized = 23,
    kUpdateFromHost = 29,
    kCustomData = 32,
    kChunkCount = 33,
    kChunkId = 34,
    kChunkSize = 35,
    kGetChunk = 36,
    kSetChunk = 37,
    kCompareChunk = 38,
    kChanges = 39
};
// GUI object.
enum : int { kGuiInitialize = 3, kGuiUninitialize = 4, kSetViewContainer = 6, kReportViewSize = 7 };
}  // namespace slot

// One chunk record: the header {size, version, 12 host bytes, id, 32-byte name}, then the data.
std::vector<uint8_t> ChunkRecord(uint32_t id, const std::vector<uint8_t>& data, int32_t sizeField);
std::vector<uint8_t> ChunkDataOf(const std::vector<uint8_t>& record);

// One plug-in instance: created through the effect-parameters factory, initialized with an
// instance host offering controller, transport and automation, rendered through the declared
// process procedure with a context whose private data the plug-in filled.
class Instance {
public:
    // offered: the interfaces the instance host answers (ids from namespace id).
    explicit Instance(Session& session,
                      const std::vector<Guid>& offered = {id::kController, id::kTransport, id::kAutomation});
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;
    bool Valid() const { return params != nullptr; }

    // Renders frames of inputs into outputs (as many channels as the host's stem formats say).
    void Render(float** inputs, float** outputs, int32_t frames);
    int32_t Update(const char* id, double normalized);
    std::string Text(int slotNumber, const char* id);
    std::vector<uint8_t> GetChunk(uint32_t id, int32_t* result);
    int32_t SetChunk(uint32_t id, const std::vector<uint8_t>& record);

    Session& session;
    Object* unknown = nullptr;
    void* params = nullptr;  // the plug-in's effect-parameters interface (one reference)

private:
    std::vector<std::vector<uint8_t>> mPrivate;  // by field
    void* mContext[10] = {};
};

// The GUI object of an instance, initialized with an instance host that answers the instance's
// effect-parameters interface.
class Gui {
public:
    Gui(Session& session, Instance& instance);
    ~Gui();
    bool Valid() const { return gui != nullptr; }
    int32_t Open(void* nativeView);
    int32_t Close();
    void* gui = nullptr;
    Object* container = nullptr;

private:
    Session& mSession;
    Object* mUnknown = nullptr;
};

}  // namespace aaxhost
