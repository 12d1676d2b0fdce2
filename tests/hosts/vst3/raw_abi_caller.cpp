// Drives the module through raw vtable slots and records laid out byte by byte, with no
// interface declarations shared with the module: slot numbers, interface ids and offsets
// are written down here from the binary interface itself, for 32-bit and 64-bit Windows and
// x86-64 Linux. Only loading goes through the stand-in host (its module loader).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "module_loader.h"

namespace {

constexpr bool k64 = sizeof(void*) == 8;

// Every interface method: the object first; on Windows __stdcall, on Linux the C convention.
#ifdef _WIN32
#define TZ_ABI __stdcall
#else
#define TZ_ABI
#endif
using Slot = void*;
template <class R, class... A>
R Call(void* object, int slot, A... args) {
    using Fn = R(TZ_ABI*)(void*, A...);
    Slot* vtable = *static_cast<Slot**>(object);
    return reinterpret_cast<Fn>(vtable[slot])(object, args...);
}

struct Iid {
    uint8_t b[16];
};
// Words 3 and 4 big-endian; on Windows word 1 and the two halves of word 2 little-endian, on
// Linux those big-endian too.
Iid MakeIid(uint32_t l1, uint32_t l2, uint32_t l3, uint32_t l4) {
    Iid id{};
    for (int i = 0; i < 4; ++i) {
        id.b[i] = uint8_t(l1 >> (24 - 8 * i)), id.b[4 + i] = uint8_t(l2 >> (24 - 8 * i));
        id.b[8 + i] = uint8_t(l3 >> (24 - 8 * i)), id.b[12 + i] = uint8_t(l4 >> (24 - 8 * i));
    }
#ifdef _WIN32
    std::swap(id.b[0], id.b[3]), std::swap(id.b[1], id.b[2]), std::swap(id.b[4], id.b[5]), std::swap(id.b[6], id.b[7]);
#endif
    return id;
}
const Iid kUnknownIid = MakeIid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
const Iid kComponentIid = MakeIid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
const Iid kProcessorIid = MakeIid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
const Iid kControllerIid = MakeIid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
const Iid kStreamIid = MakeIid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
const Iid kHostAppIid = MakeIid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);

enum { kQueryInterface = 0, kAddRef = 1, kRelease = 2 };
enum { kGetFactoryInfo = 3, kCountClasses = 4, kGetClassInfo = 5, kCreateInstance = 6 };
enum { kInitialize = 3, kTerminate = 4 };  // component and controller alike
enum {
    kGetBusCount = 7,
    kGetBusInfo = 8,
    kActivateBus = 10,
    kSetActive = 11,
    kComponentSetState = 12,
    kComponentGetState = 13
};
enum { kSetupProcessing = 7, kSetProcessing = 8, kProcess = 9 };
enum { kGetParameterCount = 8, kGetParameterInfo = 9, kPlainToNormalized = 13, kCreateView = 17 };
#ifdef _WIN32
constexpr int32_t kNoInterface = int32_t(0x80004002u), kInvalidArgument = int32_t(0x80070057u),
                  kNotImplemented = int32_t(0x80004001u);
#else
constexpr int32_t kNoInterface = -1, kInvalidArgument = 2, kNotImplemented = 3;
#endif

// Byte offsets of the records, per architecture.
constexpr int kSetupSize = 24, kSetupMode = 0, kSetupSampleSize = 4, kSetupMaxBlock = 8, kSetupRate = 16;
constexpr int kBusBuffersSize = 24, kBusChannels = 0, kBusSilence = 8, kBusPointers = 16;
constexpr int kDataSize = k64 ? 80 : 48;
constexpr int kDataSampleSize = 4, kDataSamples = 8, kDataInputs = 12, kDataOutputs = 16;
constexpr int kDataInputBuses = k64 ? 24 : 20, kDataOutputBuses = k64 ? 32 : 24, kDataContext = k64 ? 72 : 44;
constexpr int kParamInfoSize = 792, kParamId = 0, kParamTitle = 4, kParamStepCount = 772, kParamFlags = 788;
constexpr int kBusInfoSize = 276, kBusInfoChannels = 8, kBusInfoName = 12, kBusInfoType = 268;
constexpr int kClassInfoSize = 116, kClassName = 52;

template <class T>
void Put(std::vector<uint8_t>& rec, int at, T v) {
    std::memcpy(rec.data() + at, &v, sizeof v);
}
template <class T>
T Get(const uint8_t* rec, int at) {
    T v;
    std::memcpy(&v, rec + at, sizeof v);
    return v;
}
std::string Utf16At(const uint8_t* rec, int at) {
    std::string s;
    for (int i = 0; i < 128; ++i) {
        uint16_t c = Get<uint16_t>(rec, at + 2 * i);
        if (!c) break;
        s += char(c);
    }
    return s;
}

// A host stream: an object whose first word points at its own table of seven slots.
struct RawStream {
    Slot* vtable;
    std::vector<uint8_t> bytes;
    int64_t position = 0;

    static int32_t TZ_ABI Query(RawStream* self, const uint8_t* iid, void** obj) {
        const bool known = !std::memcmp(iid, kStreamIid.b, 16) || !std::memcmp(iid, kUnknownIid.b, 16);
        *obj = known ? self : nullptr;
        return known ? 0 : kNoInterface;
    }
    static uint32_t TZ_ABI Ref(RawStream*) { return 1; }
    static int32_t TZ_ABI Read(RawStream* self, void* buffer, int32_t n, int32_t* got) {
        int32_t k = int32_t(std::min<int64_t>(n, int64_t(self->bytes.size()) - self->position));
        if (k > 0) std::memcpy(buffer, self->bytes.data() + self->position, size_t(k));
        self->position += std::max(k, 0);
        if (got) *got = std::max(k, 0);
        return 0;
    }
    static int32_t TZ_ABI Write(RawStream* self, void* buffer, int32_t n, int32_t* put) {
        self->bytes.resize(size_t(self->position + n));
        std::memcpy(self->bytes.data() + self->position, buffer, size_t(n));
        self->position += n;
        if (put) *put = n;
        return 0;
    }
    static int32_t TZ_ABI Seek(RawStream* self, int64_t pos, int32_t mode, int64_t* result) {
        self->position = (mode == 1 ? self->position : mode == 2 ? int64_t(self->bytes.size()) : 0) + pos;
        if (result) *result = self->position;
        return 0;
    }
    static int32_t TZ_ABI Tell(RawStream* self, int64_t* pos) {
        *pos = self->position;
        return 0;
    }
    static Slot table[7];
    RawStream() : vtable(table) {}
};
Slot RawStream::table[7] = {reinterpret_cast<Slot>(&Query), reinterpret_cast<Slot>(&Ref),
                            reinterpret_cast<Slot>(&Ref),   reinterpret_cast<Slot>(&Read),
                            reinterpret_cast<Slot>(&Write), reinterpret_cast<Slot>(&Seek),
                            reinterpret_cast<Slot>(&Tell)};

// A host context answering its name.
struct RawHost {
    Slot* vtable;
    int nameCalls = 0;
    static int32_t TZ_ABI Query(RawHost* self, const uint8_t* iid, void** obj) {
        const bool known = !std::memcmp(iid, kHostAppIid.b, 16) || !std::memcmp(iid, kUnknownIid.b, 16);
        *obj = known ? self : nullptr;
        return known ? 0 : kNoInterface;
    }
    static uint32_t TZ_ABI Ref(RawHost*) { return 1; }
    static int32_t TZ_ABI GetName(RawHost* self, uint16_t* name) {
        ++self->nameCalls;
        const char* text = "raw caller";
        int i = 0;
        for (; text[i]; ++i) name[i] = uint16_t(text[i]);
        name[i] = 0;
        return 0;
    }
    static int32_t TZ_ABI CreateInstance(RawHost*, void*, void*, void** obj) {
        *obj = nullptr;
        return kNotImplemented;
    }
    static Slot table[5];
    RawHost() : vtable(table) {}
};
Slot RawHost::table[5] = {reinterpret_cast<Slot>(&Query), reinterpret_cast<Slot>(&Ref), reinterpret_cast<Slot>(&Ref),
                          reinterpret_cast<Slot>(&GetName), reinterpret_cast<Slot>(&CreateInstance)};

const Iid kClassId = MakeIid(0xF2AEE70D, 0x00DE4F4E, 0x5476526C, 0x5A656C34);  // ..., 'TvRl', 'Zel4'

// The module loaded and entered as a host does, for one test.
class LoadedModule {
public:
    LoadedModule() {
        std::string error;
        mHandle = tzhost::LoadModule(TZ_VST3_MODULE, &error);
        mEntered = mHandle && tzhost::EnterModule(mHandle, TZ_VST3_MODULE, &error);
        EXPECT_TRUE(mEntered) << error;
    }
    ~LoadedModule() {
        if (mEntered) tzhost::LeaveModule(mHandle);
        if (mHandle) tzhost::UnloadModule(mHandle);
    }
    // A new reference on the factory; null when the module is not loaded.
    void* Factory() const {
        using GetFactory = void*(TZ_ABI*)();
        auto get = mEntered ? reinterpret_cast<GetFactory>(tzhost::ModuleSymbol(mHandle, "GetPluginFactory")) : nullptr;
        return get ? get() : nullptr;
    }

private:
    void* mHandle = nullptr;
    bool mEntered = false;
};

// One block of two channels on the road of `sampleSize` (0: 32-bit, 1: 64-bit).
void ProcessBlock(void* processor, int32_t sampleSize, void** in, void** out, int32_t frames) {
    std::vector<uint8_t> inBus(kBusBuffersSize), outBus(kBusBuffersSize), data(kDataSize);
    Put<int32_t>(inBus, kBusChannels, 2);
    Put<uint64_t>(inBus, kBusSilence, 0);
    Put<void**>(inBus, kBusPointers, in);
    Put<int32_t>(outBus, kBusChannels, 2);
    Put<void**>(outBus, kBusPointers, out);
    Put<int32_t>(data, kDataSampleSize, sampleSize);
    Put<int32_t>(data, kDataSamples, frames);
    Put<int32_t>(data, kDataInputs, 1);
    Put<int32_t>(data, kDataOutputs, 1);
    Put<void*>(data, kDataInputBuses, inBus.data());
    Put<void*>(data, kDataOutputBuses, outBus.data());
    Put<void*>(data, kDataContext, nullptr);
    EXPECT_EQ(Call<int32_t>(processor, kProcess, static_cast<void*>(data.data())), 0);
}

void SetupProcessing(void* processor, int32_t sampleSize, int32_t maxBlock, double rate) {
    std::vector<uint8_t> setup(kSetupSize);
    Put<int32_t>(setup, kSetupMode, 0);
    Put<int32_t>(setup, kSetupSampleSize, sampleSize);
    Put<int32_t>(setup, kSetupMaxBlock, maxBlock);
    Put<double>(setup, kSetupRate, rate);
    EXPECT_EQ(Call<int32_t>(processor, kSetupProcessing, static_cast<void*>(setup.data())), 0);
}

// One instance: the component with its processor and controller interfaces.
struct RawInstance {
    void* component = nullptr;
    void* processor = nullptr;
    void* controller = nullptr;
};

void Create(void* factory, const Iid& cid, RawInstance* inst) {
    ASSERT_EQ(Call<int32_t>(factory, kCreateInstance, cid.b, kComponentIid.b, &inst->component), 0);
    ASSERT_NE(inst->component, nullptr);
    ASSERT_EQ(Call<int32_t>(inst->component, kQueryInterface, kProcessorIid.b, &inst->processor), 0);
    ASSERT_EQ(Call<int32_t>(inst->component, kQueryInterface, kControllerIid.b, &inst->controller), 0);
}

// Buses start inactive; a host activates the ones it uses.
void ActivateBuses(void* component) {
    for (int32_t dir = 0; dir < 2; ++dir)
        EXPECT_EQ(Call<int32_t>(component, kActivateBus, int32_t(0), dir, int32_t(0), uint8_t(1)), 0);
}

void Destroy(RawInstance* inst) {
    Call<int32_t>(inst->processor, kSetProcessing, uint8_t(0));
    EXPECT_EQ(Call<int32_t>(inst->component, kSetActive, uint8_t(0)), 0);
    EXPECT_EQ(Call<int32_t>(inst->component, kTerminate), 0);
    Call<uint32_t>(inst->controller, kRelease);
    Call<uint32_t>(inst->processor, kRelease);
    EXPECT_EQ(Call<uint32_t>(inst->component, kRelease), 0u);
}

}  // namespace

TEST(RawAbiCaller, WholeLifeThroughRawSlots) {
    LoadedModule module;
    void* factory = module.Factory();
    ASSERT_NE(factory, nullptr);

    std::vector<uint8_t> factoryInfo(452);
    EXPECT_EQ(Call<int32_t>(factory, kGetFactoryInfo, static_cast<void*>(factoryInfo.data())), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(factoryInfo.data()), "Tavrel");
    EXPECT_EQ(Get<int32_t>(factoryInfo.data(), 448), 16);
    ASSERT_EQ(Call<int32_t>(factory, kCountClasses), 1);
    std::vector<uint8_t> classInfo(kClassInfoSize);
    ASSERT_EQ(Call<int32_t>(factory, kGetClassInfo, int32_t(0), static_cast<void*>(classInfo.data())), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(classInfo.data() + kClassName), "TavrelZel4");
    const Iid& cid = kClassId;
    EXPECT_EQ(std::memcmp(classInfo.data(), cid.b, 16), 0);

    RawInstance a;
    Create(factory, cid, &a);
    if (HasFatalFailure()) return;
    RawHost host;
    ASSERT_EQ(Call<int32_t>(a.component, kInitialize, static_cast<void*>(&host)), 0);
    EXPECT_EQ(host.nameCalls, 1);

    for (int32_t dir = 0; dir < 2; ++dir) {
        ASSERT_EQ(Call<int32_t>(a.component, kGetBusCount, int32_t(0), dir), 1);
        std::vector<uint8_t> bus(kBusInfoSize);
        ASSERT_EQ(Call<int32_t>(a.component, kGetBusInfo, int32_t(0), dir, int32_t(0), static_cast<void*>(bus.data())),
                  0);
        EXPECT_EQ(Get<int32_t>(bus.data(), kBusInfoChannels), 2);
        EXPECT_EQ(Get<int32_t>(bus.data(), kBusInfoType), 0);
        EXPECT_EQ(Utf16At(bus.data(), kBusInfoName), dir ? "Output" : "Main Input");
    }
    ActivateBuses(a.component);

    ASSERT_EQ(Call<int32_t>(a.controller, kGetParameterCount), 10);
    const uint32_t ids[] = {0x70727374, 0x62706173, 0, 1, 2, 3, 4, 5, 6, 7};
    std::vector<uint8_t> info(kParamInfoSize);
    for (int32_t i = 0; i < 10; ++i) {
        ASSERT_EQ(Call<int32_t>(a.controller, kGetParameterInfo, i, static_cast<void*>(info.data())), 0);
        EXPECT_EQ(Get<uint32_t>(info.data(), kParamId), ids[i]) << i;
    }
    ASSERT_EQ(Call<int32_t>(a.controller, kGetParameterInfo, int32_t(3), static_cast<void*>(info.data())), 0);
    EXPECT_EQ(Utf16At(info.data(), kParamTitle), "Dist. Amount");
    EXPECT_EQ(Get<int32_t>(info.data(), kParamStepCount), 0);
    EXPECT_EQ(Get<int32_t>(info.data(), kParamFlags) & 1, 1);
    // A double comes back in x87 ST0 on 32-bit and XMM0 on 64-bit: Tone is shaped (exponent 2).
    EXPECT_DOUBLE_EQ(Call<double>(a.controller, kPlainToNormalized, uint32_t(2), 25.0), 0.5);

    // The saved state: eight plain values as little-endian doubles, then the bypass flag.
    RawStream stream;
    ASSERT_EQ(Call<int32_t>(a.component, kComponentGetState, static_cast<void*>(&stream)), 0);
    ASSERT_EQ(stream.bytes.size(), 68u);
    const double defaults[] = {0, 0, 25, 25, 1, 1, 100, 1};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Get<double>(stream.bytes.data(), 8 * i), defaults[i]) << i;
    EXPECT_EQ(Get<int32_t>(stream.bytes.data(), 64), 0);
    // "Analog Hiss" off, so that two instances give the same audio.
    const double off = 0.0;
    std::memcpy(stream.bytes.data() + 8 * 5, &off, 8);

    // A second instance, restored from the same state, runs the 64-bit road.
    RawInstance b;
    Create(factory, cid, &b);
    if (HasFatalFailure()) return;
    ASSERT_EQ(Call<int32_t>(b.component, kInitialize, static_cast<void*>(&host)), 0);
    ActivateBuses(b.component);
    for (void* component : {a.component, b.component}) {
        stream.position = 0;
        ASSERT_EQ(Call<int32_t>(component, kComponentSetState, static_cast<void*>(&stream)), 0);
    }

    // The same samples, rounded to float, through the 32-bit road of one and the 64-bit road
    // of the other.
    constexpr int32_t kFrames = 256;
    std::vector<float> in32[2], out32[2];
    std::vector<double> in64[2], out64[2];
    for (int c = 0; c < 2; ++c) {
        in32[c].resize(kFrames), out32[c].assign(kFrames, 0.0f), out64[c].assign(kFrames, 0.0);
        for (int k = 0; k < kFrames; ++k) in32[c][k] = float(0.5 * std::sin(0.05 * (c + 1) * k));
        in64[c].assign(in32[c].begin(), in32[c].end());
    }
    void* ins32[] = {in32[0].data(), in32[1].data()};
    void* outs32[] = {out32[0].data(), out32[1].data()};
    void* ins64[] = {in64[0].data(), in64[1].data()};
    void* outs64[] = {out64[0].data(), out64[1].data()};
    const int32_t sampleSizes[] = {0, 1};
    void** ins[] = {ins32, ins64};
    void** outs[] = {outs32, outs64};
    RawInstance* instances[] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        SetupProcessing(instances[i]->processor, sampleSizes[i], kFrames, 48000.0);
        EXPECT_EQ(Call<int32_t>(instances[i]->component, kSetActive, uint8_t(1)), 0);
        Call<int32_t>(instances[i]->processor, kSetProcessing, uint8_t(1));
        ProcessBlock(instances[i]->processor, sampleSizes[i], ins[i], outs[i], kFrames);
    }
    double energy = 0;
    for (int c = 0; c < 2; ++c) {
        for (int k = 0; k < kFrames; ++k) {
            ASSERT_EQ(out32[c][k], static_cast<float>(out64[c][k])) << c << " " << k;
            energy += out64[c][k] * out64[c][k];
        }
    }
    EXPECT_GT(energy, 1.0);

    Destroy(&a);
    Destroy(&b);
    Call<uint32_t>(factory, kRelease);
}

// A query with no id or no out pointer is refused on every object a host gets, writing nothing.
TEST(RawAbiCaller, QueriesWithoutIdOrOutPointerAreRefused) {
    LoadedModule module;
    void* factory = module.Factory();
    ASSERT_NE(factory, nullptr);
    RawInstance inst;
    Create(factory, kClassId, &inst);
    if (HasFatalFailure()) return;
    RawHost host;
    ASSERT_EQ(Call<int32_t>(inst.component, kInitialize, static_cast<void*>(&host)), 0);
    void* view = Call<void*>(inst.controller, kCreateView, "editor");
    ASSERT_NE(view, nullptr);

    struct Object {
        const char* name;
        void* object;
    } objects[] = {{"factory", factory},
                   {"component", inst.component},
                   {"processor", inst.processor},
                   {"controller", inst.controller},
                   {"view", view}};
    const uint8_t* noIid = nullptr;
    void** noOut = nullptr;
    for (const Object& o : objects) {
        void* out = &host;  // a value that must stay
        EXPECT_EQ(Call<int32_t>(o.object, kQueryInterface, noIid, &out), kInvalidArgument) << o.name;
        EXPECT_EQ(out, static_cast<void*>(&host)) << o.name;
        EXPECT_EQ(Call<int32_t>(o.object, kQueryInterface, kUnknownIid.b, noOut), kInvalidArgument) << o.name;
        EXPECT_EQ(Call<int32_t>(o.object, kQueryInterface, noIid, noOut), kInvalidArgument) << o.name;
    }
    EXPECT_EQ(Call<uint32_t>(view, kRelease), 0u);
    Destroy(&inst);
    Call<uint32_t>(factory, kRelease);
}
