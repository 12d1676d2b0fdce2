#include "aax_host.h"

#include <cstdio>
#include <cstring>

#include <xmmintrin.h>

namespace aaxhost {

bool Guid::operator==(const Guid& o) const { return std::memcmp(bytes, o.bytes, 16) == 0; }

Guid ParseGuid(const char* text) {
    uint8_t raw[16] = {};
    int n = 0;
    for (const char* p = text; *p && n < 32; ++p) {
        if (*p == '-' || *p == '{' || *p == '}') continue;
        const int digit = *p <= '9' ? *p - '0' : (*p | 0x20) - 'a' + 10;
        raw[n / 2] = uint8_t(raw[n / 2] << 4 | digit);
        ++n;
    }
    Guid g{};
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 16; ++i) g.bytes[i] = raw[order[i]];
    return g;
}

namespace id {
const Guid kUnknown = ParseGuid("00000000-0000-0000-C000-000000000046");
const Guid kFactory = ParseGuid("382B6A96-7FD0-11D6-BCFE-00306542A024");
const Guid kDefinitionClass = ParseGuid("89882C2D-77BC-42EF-707B-7981B7BD0CCA");
const Guid kDefinition = ParseGuid("96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA");
const Guid kDefinitionExport = ParseGuid("00EEF015-7FD0-11D6-8485-00306542A024");
const Guid kEffectClass = ParseGuid("89872C2D-75BC-423F-401B-F9A1BAAD0CCA");
const Guid kEffect = ParseGuid("96D42C2D-EBBC-41EF-D1CB-499442E40FDA");
const Guid kEffect2 = ParseGuid("41ECCC52-416B-4072-84BD-40B05210A74C");
const Guid kComponentClass = ParseGuid("94872C3D-95BC-413D-D0DB-D9B12AAD0CCA");
const Guid kComponent = ParseGuid("96E42C2D-E2BC-51EF-61C7-48994AEB0CDA");
const Guid kComponent2 = ParseGuid("1895259E-AAA9-4F0F-A985-149837B76F89");
const Guid kMapClass = ParseGuid("A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA");
const Guid kMap = ParseGuid("96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE");
const Guid kMap2 = ParseGuid("7177DF80-7C9C-11E2-B92A-0800200C9A66");
const Guid kServicesClass = ParseGuid("88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA");
const Guid kServices = ParseGuid("96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA");
const Guid kController = ParseGuid("9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E");
const Guid kController2 = ParseGuid("4C59AA0E-D7C0-4205-8B6C-32468D42D202");
const Guid kTransport = ParseGuid("5CEE4EF4-6337-4359-B63B-FE58DC36543A");
const Guid kTransport2 = ParseGuid("203CBD9F-982C-4FE6-A827-07480257AEC3");
const Guid kAutomation = ParseGuid("9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E");
const Guid kViewContainer = ParseGuid("22DA0BBC-D550-4D5E-8CC6-734483B8837F");
const Guid kEffectParameters = ParseGuid("964E333D-334C-533F-C2C7-3834C3C23E3E");
const Guid kEffectGui = ParseGuid("964E323D-424C-5E1A-2227-282423222E1E");
}  // namespace id

namespace {

std::string Key(const Guid& g) { return std::string(reinterpret_cast<const char*>(g.bytes), 16); }
std::string Text(const char* s) { return s ? s : "null"; }
std::string Name(const void* object) { return object ? static_cast<const Object*>(object)->name : "null"; }
std::string Num(double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%g", v);
    return b;
}
std::string Num(int64_t v) { return std::to_string(v); }
template <class... A>
std::string Args(const A&... a) {
    std::string s;
    ((s += (s.empty() ? "" : ",") + a), ...);
    return "(" + s + ")";
}

constexpr int32_t kNoInterface = int32_t(0x80000004);

}  // namespace

Object* CreateFromFactory(Object* factory, const Guid& clsid, const Guid& iid);

// The host's slot functions; `self` is the object the plug-in called.
struct Slots {
    static Host& H(Object* self) { return *self->host; }
    static int32_t Done(Object* self, const std::string& call) {
        H(self).Record(self, call);
        return H(self).result;
    }
    // A fixed text becomes a string only when recorded: with recording off, no call allocates.
    static int32_t Done(Object* self, const char* call) {
        if (H(self).recording) H(self).Record(self, call);
        return H(self).result;
    }

    static int32_t HOST_CALL QueryInterface(Object* self, const Guid* iid, void** out) {
        H(self).Record(self, "QueryInterface");
        if (!out) return int32_t(0x80004003);
        *out = nullptr;
        auto other = self->foreign.find(Key(*iid));
        if (other != self->foreign.end()) {
            CallSlot<uint32_t>(other->second, 1);
            *out = other->second;
            return 0;
        }
        auto it = self->answers.find(Key(*iid));
        if (it == self->answers.end()) return kNoInterface;
        if (!it->second) return 0;  // a faulty host: success without an object
        ++it->second->refs;
        *out = it->second;
        return 0;
    }
    static uint32_t HOST_CALL AddRef(Object* self) {
        H(self).Record(self, "AddRef");
        return uint32_t(++self->refs);
    }
    static uint32_t HOST_CALL Release(Object* self) {
        H(self).Record(self, "Release");
        return uint32_t(--self->refs);
    }
    // A slot this host gives no name: recorded, answering 1000 + its number.
    template <int K>
    static int32_t HOST_CALL Unnamed(Object* self) {
        H(self).Record(self, "slot" + std::to_string(K) + "()");
        return 1000 + K;
    }

    // Component factory.
    static int32_t HOST_CALL Create(Object* self, const Guid* clsid, void* outer, const Guid* iid, void** out) {
        H(self).Record(self, "Create" + Args(Name(outer)));
        *out = nullptr;
        Object* made = CreateFromFactory(self, *clsid, *iid);
        if (!made) return kNoInterface;
        *out = made;
        return 0;
    }

    // Plug-in definition.
    static int32_t HOST_CALL DeclareEffect(Object* self, const char* id, void* effect) {
        return Done(self, "DeclareEffect" + Args(Text(id), Name(effect)));
    }
    static int32_t HOST_CALL DeclareManufacturerName(Object* self, const char* text) {
        return Done(self, "DeclareManufacturerName" + Args(Text(text)));
    }
    static int32_t HOST_CALL DeclarePackageName(Object* self, const char* text) {
        return Done(self, "DeclarePackageName" + Args(Text(text)));
    }
    static int32_t HOST_CALL DeclarePackageVersion(Object* self, uint32_t version) {
        return Done(self, "DeclarePackageVersion" + Args(Num(int64_t(version))));
    }
    static int32_t HOST_CALL MapAndWord(Object* self, void* map, uint32_t a) {
        return Done(self, "MapAndWord" + Args(Name(map), Num(int64_t(a))));
    }
    static int32_t HOST_CALL TwoWordsAndMap(Object* self, uint32_t a, uint32_t b, void* map) {
        return Done(self, "TwoWordsAndMap" + Args(Num(int64_t(a)), Num(int64_t(b)), Name(map)));
    }

    // Effect descriptor.
    static int32_t HOST_CALL DeclareComponent(Object* self, void* component) {
        return Done(self, "DeclareComponent" + Args(Name(component)));
    }
    static int32_t HOST_CALL DeclareName(Object* self, const char* text) {
        return Done(self, "DeclareName" + Args(Text(text)));
    }
    static int32_t HOST_CALL DeclareCategory(Object* self, uint32_t category) {
        return Done(self, "DeclareCategory" + Args(Num(int64_t(category))));
    }
    static int32_t HOST_CALL DeclareProcedure(Object* self, void* proc, uint32_t procId) {
        H(self).procedures[procId] = proc;
        return Done(self, "DeclareProcedure" + Args(Num(int64_t(procId))));
    }

    // Component descriptor.
    static int32_t HOST_CALL DeclareAudioInput(Object* self, uint32_t f) {
        return Done(self, "DeclareAudioInput" + Args(Num(int64_t(f))));
    }
    static int32_t HOST_CALL DeclareAudioOutput(Object* self, uint32_t f) {
        return Done(self, "DeclareAudioOutput" + Args(Num(int64_t(f))));
    }
    static int32_t HOST_CALL DeclareFrameCountField(Object* self, uint32_t f) {
        return Done(self, "DeclareFrameCountField" + Args(Num(int64_t(f))));
    }
    static int32_t HOST_CALL WordsAndPointer(Object* self, uint32_t a, uint32_t b, const void*) {
        return Done(self, "WordsAndPointer" + Args(Num(int64_t(a)), Num(int64_t(b))));
    }
    static int32_t HOST_CALL DeclarePrivateData(Object* self, uint32_t f, uint32_t size, uint32_t options) {
        H(self).privateData[f] = size;
        return Done(self, "DeclarePrivateData" + Args(Num(int64_t(f)), Num(int64_t(size)), Num(int64_t(options))));
    }
    static int32_t HOST_CALL DeclareMidiNode(Object* self, uint32_t f, uint32_t type, const char* name, uint32_t mask) {
        return Done(self,
                    "DeclareMidiNode" + Args(Num(int64_t(f)), Num(int64_t(type)), Text(name), Num(int64_t(mask))));
    }
    static int32_t HOST_CALL DeclareProcessProcedure(Object* self, void* proc, void* map, void*, void*, void*) {
        H(self).processProcedures.push_back(proc);
        return Done(self, "DeclareProcessProcedure" + Args(Name(map)));
    }
    static int32_t HOST_CALL DeclareMeterField(Object* self, uint32_t f, const uint32_t*, uint32_t count) {
        return Done(self, "DeclareMeterField" + Args(Num(int64_t(f)), Num(int64_t(count))));
    }

    // Property map.
    static bool HOST_CALL ReadProperty(Object* self, uint32_t key, int32_t* value) {
        H(self).Record(self, "ReadProperty" + Args(Num(int64_t(key))));
        auto it = self->properties.find(key);
        if (it == self->properties.end()) return false;
        *value = it->second;
        return true;
    }
    static int32_t HOST_CALL WriteProperty(Object* self, uint32_t key, int32_t value) {
        self->properties[key] = value;
        return Done(self, "WriteProperty" + Args(Num(int64_t(key)), Num(int64_t(value))));
    }
    static bool HOST_CALL MapSlot7(Object* self) {
        H(self).Record(self, "slot7()");
        return true;
    }

    // Host services.
    static int32_t HOST_CALL SendTrace(Object* self, uint32_t priority, const char* text) {
        return Done(self, "SendTrace" + Args(Num(int64_t(priority)), Text(text)));
    }

    // Controller.
    static int32_t HOST_CALL ReadSampleRate(Object* self, float* rate) {
        *rate = H(self).sampleRate;
        return Done(self, "ReadSampleRate()");
    }
    static int32_t HOST_CALL ReadInputStemFormat(Object* self, int32_t* stem) {
        *stem = H(self).inputStem;
        H(self).renderFpMode = _mm_getcsr();
        return Done(self, "ReadInputStemFormat()");
    }
    static int32_t HOST_CALL ReadOutputStemFormat(Object* self, int32_t* stem) {
        *stem = H(self).outputStem;
        return Done(self, "ReadOutputStemFormat()");
    }
    static int32_t HOST_CALL ReportLatency(Object* self, int32_t samples) {
        return Done(self, "ReportLatency" + Args(Num(int64_t(samples))));
    }
    static int32_t HOST_CALL SendPacket(Object* self, uint32_t packet, const void* data, uint32_t size) {
        std::string bytes;
        for (uint32_t i = 0; i < size; ++i) bytes += Num(int64_t(static_cast<const uint8_t*>(data)[i])) + " ";
        return Done(self, "SendPacket" + Args(Num(int64_t(packet)), Num(int64_t(size)), bytes));
    }
    static int32_t HOST_CALL Slot22(Object* self, int64_t* out) {
        *out = 22;
        return Done(self, "slot22()");
    }

    // Transport.
    static int32_t HOST_CALL ReadTempo(Object* self, double* tempo) {
        *tempo = H(self).tempo;
        return Done(self, "ReadTempo()");
    }
    static int32_t HOST_CALL ReadMeter(Object* self, int32_t* num, int32_t* den) {
        *num = 3, *den = 4;
        return Done(self, "ReadMeter()");
    }
    static int32_t HOST_CALL ReadPlaying(Object* self, bool* playing) {
        *playing = true;
        return Done(self, "ReadPlaying()");
    }
    static int32_t HOST_CALL ReadTickPosition(Object* self, int64_t* ticks) {
        *ticks = 960000;
        return Done(self, "ReadTickPosition()");
    }
    static int32_t HOST_CALL ReadLoop(Object* self, bool* looping, int64_t* start, int64_t* end) {
        *looping = true, *start = 0, *end = 1920000;
        return Done(self, "ReadLoop()");
    }
    static int32_t HOST_CALL ReadSamplePosition(Object* self, int64_t* position) {
        *position = H(self).samplePosition;
        return Done(self, "ReadSamplePosition()");
    }

    static void HOST_CALL DeleteBlockTransport(Object*, uint32_t) {}

    // Automation.
    static int32_t HOST_CALL AddParameterId(Object* self, const char* id) {
        return Done(self, "AddParameterId" + Args(Text(id)));
    }
    static int32_t HOST_CALL RemoveParameterId(Object* self, const char* id) {
        return Done(self, "RemoveParameterId" + Args(Text(id)));
    }
    static int32_t HOST_CALL RequestValueChange(Object* self, const char* id, double value) {
        const int32_t result = Done(self, "RequestValueChange" + Args(Text(id), Num(value)));
        if (H(self).onValueRequest) H(self).onValueRequest(id, value);
        return result;
    }
    static int32_t HOST_CALL ReportCurrentValue(Object* self, const char* id, double value) {
        return Done(self, "ReportCurrentValue" + Args(Text(id), Num(value)));
    }
    static int32_t HOST_CALL RequestTouch(Object* self, const char* id) {
        return Done(self, "RequestTouch" + Args(Text(id)));
    }
    static int32_t HOST_CALL RequestRelease(Object* self, const char* id) {
        return Done(self, "RequestRelease" + Args(Text(id)));
    }

    // View container.
    static void* HOST_CALL NativeView(Object* self) {
        H(self).Record(self, "NativeView()");
        return H(self).nativeView;
    }
    static int32_t HOST_CALL ResizeView(Object* self, const float* size) {
        return Done(self, "ResizeView" + Args(Num(size[0]), Num(size[1])));
    }
};

namespace {

template <class F>
const void* P(F f) {
    return reinterpret_cast<const void*>(f);
}
#define ROOT P(&Slots::QueryInterface), P(&Slots::AddRef), P(&Slots::Release)
#define U(k) P(&Slots::Unnamed<k>)

// The slot tables, in slot order, several slots a line.
// clang-format off
const void* const kUnknownTable[] = {ROOT};
const void* const kFactoryTable[] = {ROOT, P(&Slots::Create)};
const void* const kDefinitionTable[] = {ROOT, U(3), U(4), U(5), U(6), P(&Slots::DeclareEffect),
                                        P(&Slots::DeclareManufacturerName), P(&Slots::DeclarePackageName),
                                        P(&Slots::DeclarePackageVersion), P(&Slots::MapAndWord)};
const void* const kEffectTable[] = {ROOT, P(&Slots::DeclareComponent), P(&Slots::DeclareName),
                                    P(&Slots::DeclareCategory), U(6), P(&Slots::DeclareProcedure),
                                    P(&Slots::MapAndWord), U(9), P(&Slots::TwoWordsAndMap), U(11)};
const void* const kComponentTable[] = {ROOT, U(3), U(4), P(&Slots::DeclareAudioInput), P(&Slots::DeclareAudioOutput),
                                       P(&Slots::DeclareFrameCountField), U(8), U(9), U(10), U(11),
                                       P(&Slots::WordsAndPointer), P(&Slots::DeclarePrivateData), U(14),
                                       P(&Slots::DeclareMidiNode), P(&Slots::DeclareProcessProcedure),
                                       P(&Slots::TwoWordsAndMap), P(&Slots::DeclareMeterField), U(19)};
const void* const kMapTable[] = {ROOT, P(&Slots::ReadProperty), P(&Slots::WriteProperty), U(5), U(6),
                                 P(&Slots::MapSlot7)};
const void* const kServicesTable[] = {ROOT, U(3), P(&Slots::SendTrace)};
const void* const kControllerTable[] = {ROOT, U(3), P(&Slots::ReadSampleRate), P(&Slots::ReadInputStemFormat),
                                        P(&Slots::ReadOutputStemFormat), U(7), U(8), U(9), P(&Slots::ReportLatency),
                                        U(11), P(&Slots::SendPacket), U(13), U(14), U(15), U(16), U(17), U(18), U(19),
                                        U(20), U(21), P(&Slots::Slot22), U(23)};
const void* const kTransportTable[] = {ROOT, P(&Slots::ReadTempo), P(&Slots::ReadMeter), P(&Slots::ReadPlaying),
                                       P(&Slots::ReadTickPosition), P(&Slots::ReadLoop), P(&Slots::ReadSamplePosition),
                                       U(9), U(10), U(11), U(12), U(13), U(14), U(15), U(16)};
const void* const kBlockTransportTable[] = {P(&Slots::DeleteBlockTransport), P(&Slots::ReadTempo),
                                            P(&Slots::ReadMeter), P(&Slots::ReadPlaying),
                                            P(&Slots::ReadTickPosition), P(&Slots::ReadLoop),
                                            P(&Slots::ReadSamplePosition), U(9), U(10), U(11), U(12), U(13), U(14),
                                            U(15), U(16)};
const void* const kAutomationTable[] = {ROOT, P(&Slots::AddParameterId), P(&Slots::RemoveParameterId),
                                        P(&Slots::RequestValueChange), P(&Slots::ReportCurrentValue),
                                        P(&Slots::RequestTouch), P(&Slots::RequestRelease), U(9)};
const void* const kViewTable[] = {ROOT, U(3), P(&Slots::NativeView), U(5), P(&Slots::ResizeView), U(7), U(8), U(9)};
// clang-format on
#undef ROOT
#undef U

const void* const* TableOf(Kind kind) {
    switch (kind) {
        case Kind::kUnknown: return kUnknownTable;
        case Kind::kFactory: return kFactoryTable;
        case Kind::kDefinition: return kDefinitionTable;
        case Kind::kEffect: return kEffectTable;
        case Kind::kComponent: return kComponentTable;
        case Kind::kMap: return kMapTable;
        case Kind::kServices: return kServicesTable;
        case Kind::kController: return kControllerTable;
        case Kind::kTransport: return kTransportTable;
        case Kind::kAutomation: return kAutomationTable;
        case Kind::kViewContainer: return kViewTable;
        case Kind::kBlockTransport: return kBlockTransportTable;
    }
    return kUnknownTable;
}

}  // namespace

// The classes the factory makes: class id -> kind, name, first id and second id.
Object* CreateFromFactory(Object* factory, const Guid& clsid, const Guid& iid) {
    struct Class {
        const Guid* clsid;
        Kind kind;
        const char* name;
        const Guid* first;
        const Guid* second;
    };
    static const Class kClasses[] = {
        {&id::kDefinitionClass, Kind::kDefinition, "definition", &id::kDefinition, &id::kDefinitionExport},
        {&id::kEffectClass, Kind::kEffect, "effect", &id::kEffect, &id::kEffect2},
        {&id::kComponentClass, Kind::kComponent, "component", &id::kComponent, &id::kComponent2},
        {&id::kMapClass, Kind::kMap, "map", &id::kMap, &id::kMap2},
        {&id::kServicesClass, Kind::kServices, "services", &id::kServices, nullptr},
    };
    Host& host = *factory->host;
    for (const Class& c : kClasses) {
        if (!(*c.clsid == clsid) || !(*c.first == iid)) continue;
        int serial = 1;
        for (const auto& o : host.mObjects) serial += o->name.rfind(c.name, 0) == 0;
        Object* made = host.New(c.kind, c.name + std::to_string(serial), 1, true);
        made->answers[Key(id::kUnknown)] = made;
        made->answers[Key(*c.first)] = made;
        if (c.second && (host.mSecondInterfaces || c.kind == Kind::kDefinition)) made->answers[Key(*c.second)] = made;
        return made;
    }
    return nullptr;
}

Host::Host() = default;
Host::~Host() = default;

Object* Host::New(Kind kind, const std::string& name, int refs, bool created) {
    mObjects.push_back(std::unique_ptr<Object>(new Object{TableOf(kind), this, name, refs, created, {}, {}, {}}));
    return mObjects.back().get();
}

Object* Host::Make(Kind kind, const std::string& name) {
    Object* o = New(kind, name, 1, false);
    o->answers[Key(id::kUnknown)] = o;
    return o;
}

void Host::Answer(Object* from, const Guid& iid, Object* with) { from->answers[Key(iid)] = with; }

void Host::AnswerForeign(Object* from, const Guid& iid, void* with) { from->foreign[Key(iid)] = with; }

struct StringSlots {
    static HostString* S(void* self) { return static_cast<HostString*>(self); }
    static void HOST_CALL Delete(void*, uint32_t) {}
    static uint32_t HOST_CALL Length(void* self) { return uint32_t(S(self)->mText.size()); }
    static uint32_t HOST_CALL MaxLength(void*) { return 1024; }
    static const char* HOST_CALL Text(void* self) { return S(self)->mText.c_str(); }
    static void HOST_CALL Set(void* self, const char* text) { S(self)->mText = text; }
    static void* HOST_CALL Assign(void* self, const char* text) {
        S(self)->mText = text;
        return self;
    }
    static void* HOST_CALL AssignString(void* self, void* other) {
        S(self)->mText = CallSlot<const char*>(other, 3);
        return self;
    }
};

namespace {
const void* const kStringTable[] = {P(&StringSlots::Delete),      P(&StringSlots::Length), P(&StringSlots::MaxLength),
                                    P(&StringSlots::Text),        P(&StringSlots::Set),    P(&StringSlots::Assign),
                                    P(&StringSlots::AssignString)};
}  // namespace

HostString::HostString() : mTable(kStringTable) {}

Object* Host::RegistrationUnknown(FactoryMode mode, bool secondInterfaces) {
    mSecondInterfaces = secondInterfaces;
    Object* unknown = Make(Kind::kUnknown, "host");
    if (mode == FactoryMode::kOffered) Answer(unknown, id::kFactory, Make(Kind::kFactory, "factory"));
    if (mode == FactoryMode::kNullPointer) Answer(unknown, id::kFactory, nullptr);
    return unknown;
}

Object* Host::InstanceUnknown(const std::vector<Guid>& offered) {
    Object* unknown = Make(Kind::kUnknown, "instance");
    struct Offer {
        const Guid* iid;
        Kind kind;
        const char* name;
    };
    // A second interface is answered by the same object as the first.
    const Offer kOffers[] = {
        {&id::kController, Kind::kController, "controller"}, {&id::kController2, Kind::kController, "controller"},
        {&id::kTransport, Kind::kTransport, "transport"},    {&id::kTransport2, Kind::kTransport, "transport"},
        {&id::kAutomation, Kind::kAutomation, "automation"},
    };
    for (const Offer& o : kOffers) {
        bool wanted = false;
        for (const Guid& g : offered) wanted |= g == *o.iid;
        if (!wanted) continue;
        Object* target = Find(o.name);
        if (!target) target = Make(o.kind, o.name);
        Answer(unknown, *o.iid, target);
    }
    return unknown;
}

Object* Host::BlockTransport() {
    Object* transport = Find("blockTransport");
    return transport ? transport : Make(Kind::kBlockTransport, "blockTransport");
}

Object* Host::Find(const std::string& name) const {
    for (const auto& o : mObjects)
        if (o->name == name) return o.get();
    return nullptr;
}

std::vector<std::string> Host::Calls(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& s : log)
        if (s.rfind(prefix, 0) == 0) out.push_back(s);
    return out;
}

std::vector<std::string> Host::Operations(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& s : Calls(prefix)) {
        const std::string op = s.substr(s.find('.') + 1);
        if (op != "QueryInterface" && op != "AddRef" && op != "Release" && s.rfind("factory.", 0) != 0)
            out.push_back(s);
    }
    return out;
}

bool Host::Balanced(std::string* report) const {
    bool ok = true;
    for (const auto& o : mObjects) {
        const int expected = o->created ? 0 : 1;
        if (o->refs == expected) continue;
        ok = false;
        if (report) *report += o->name + " holds " + std::to_string(o->refs) + "; ";
    }
    return ok;
}

}  // namespace aaxhost
