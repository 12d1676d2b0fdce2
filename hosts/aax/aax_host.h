#pragma once
// The stand-in AAX host: the host's objects declared by raw slot number, independently of the
// library's headers. Every call the plug-in makes on them is recorded, and every object counts
// its references.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Host methods: __stdcall on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define HOST_CALL __stdcall
#else
#define HOST_CALL
#endif

namespace aaxhost {

// A 16-byte id in memory order, parsed from "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX": the first
// three groups little-endian, the last eight bytes in text order.
struct Guid {
    uint8_t bytes[16];
    bool operator==(const Guid& o) const;
};
Guid ParseGuid(const char* text);

// Ids of the host's interfaces and classes, as the host knows them.
namespace id {
extern const Guid kUnknown, kFactory, kDefinitionClass, kDefinition, kDefinitionExport, kEffectClass, kEffect, kEffect2,
    kComponentClass, kComponent, kComponent2, kMapClass, kMap, kMap2, kServicesClass, kServices, kController,
    kController2, kTransport, kTransport2, kAutomation, kViewContainer, kEffectParameters, kEffectGui;
}  // namespace id

class Host;

// One host object. The plug-in sees a pointer to `table`, a vtable of host slot functions.
struct Object {
    const void* const* table;
    Host* host;
    std::string name;
    int refs;
    bool created;                            // made by the factory (the plug-in holds every reference)
    std::map<std::string, Object*> answers;  // id bytes -> object handed out by QueryInterface
    std::map<std::string, void*> foreign;    // id bytes -> another module's object (AddRef by slot 1)
    std::map<uint32_t, int32_t> properties;  // property maps only
};

enum class Kind {
    kUnknown,
    kFactory,
    kDefinition,
    kEffect,
    kComponent,
    kMap,
    kServices,
    kController,
    kTransport,
    kAutomation,
    kViewContainer,
    kBlockTransport
};

// How the registration host's unknown answers the factory query.
enum class FactoryMode { kOffered, kAbsent, kNullPointer };

class Host {
public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // A host-owned object (one reference held by the host).
    Object* Make(Kind kind, const std::string& name);
    // `from` answers `iid` with `with` (adding a reference to it).
    void Answer(Object* from, const Guid& iid, Object* with);
    // The same with an object of another module, such as the plug-in's own interfaces.
    void AnswerForeign(Object* from, const Guid& iid, void* with);

    // The registration host: an unknown offering (or not) the component factory. With
    // `secondInterfaces` the created descriptors and maps also answer their second ids.
    Object* RegistrationUnknown(FactoryMode mode, bool secondInterfaces = true);
    // The instance host: an unknown offering the interfaces listed (ids from namespace id).
    Object* InstanceUnknown(const std::vector<Guid>& offered);
    Object* Find(const std::string& name) const;

    // Every call recorded as "object.Operation(arguments)".
    std::vector<std::string> log;
    // The calls whose text starts with prefix.
    std::vector<std::string> Calls(const std::string& prefix) const;
    // The same without the root slots (QueryInterface, AddRef, Release) and the factory.
    std::vector<std::string> Operations(const std::string& prefix = "") const;
    // Any thread: the audio thread's calls and the host thread's may interleave.
    void Record(const Object* self, const std::string& call) {
        if (!recording) return;
        std::lock_guard<std::mutex> lock(mLogLock);
        log.push_back(self->name + "." + call);
    }
    // Off: nothing is recorded (a timing run keeps the record's growth off its audio thread).
    bool recording = true;

    // References: host-owned objects back at 1 and created objects at 0.
    bool Balanced(std::string* report = nullptr) const;

    // Answers of the controller and the transport.
    float sampleRate = 48000.0f;
    int32_t inputStem = 0x00010002, outputStem = 0x00010002;
    double tempo = 120.0;
    int64_t samplePosition = 4096;
    void* nativeView = reinterpret_cast<void*>(uintptr_t(0x1234));
    // The SSE control register as the render found it when it read the input stem format.
    unsigned renderFpMode = 0;
    // Called for every RequestValueChange (the host's answer to a parameter change).
    std::function<void(const char* id, double normalized)> onValueRequest;
    // Result of every recorded operation that returns a code.
    int32_t result = 0;

    // What the description declared: the procedures by id (0 effect parameters, 1 GUI), each
    // component's process procedure, and the private-data fields with their sizes.
    std::map<uint32_t, void*> procedures;
    std::vector<void*> processProcedures;
    std::map<uint32_t, uint32_t> privateData;
    // The transport handed with each rendered block: no root slots, slot 0 deletes (nothing
    // here), then the transport's reads from slot 1.
    Object* BlockTransport();

private:
    friend Object* CreateFromFactory(Object*, const Guid&, const Guid&);
    std::mutex mLogLock;
    std::vector<std::unique_ptr<Object>> mObjects;
    bool mSecondInterfaces = true;
    Object* New(Kind kind, const std::string& name, int refs, bool created);
};

// The host's own string object, by slot number: 0 delete, 1 length, 2 maximum length, 3 text,
// 4 set, 5 assign a text, 6 assign another string (read through its slot 3).
class HostString {
public:
    HostString();
    const char* Text() const { return mText.c_str(); }
    void* Interface() { return this; }

private:
    friend struct StringSlots;
    [[maybe_unused]] const void* const* mTable;  // the slot table, read by the plug-in through the object
    std::string mText;
};

// Calls slot `slot` of a plug-in object the way a host does.
template <class R, class... A>
R CallSlot(void* object, int slot, A... args) {
    using Method = R(HOST_CALL*)(void*, A...);
    return reinterpret_cast<Method>((*static_cast<void***>(object))[slot])(object, args...);
}

}  // namespace aaxhost
