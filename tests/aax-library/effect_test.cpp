// The effect-parameters and GUI objects as the stand-in host drives them: raw slots, the host's
// own strings, automation round trips, the library chunk and the editor container.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "aax-library/description.h"
#include "aax-library/effect_gui.h"
#include "aax-library/effect_parameters.h"
#include "aax_host.h"

namespace {

using aaxhost::CallSlot;
using aaxhost::HostString;

enum {
    kQueryInterface = 0,
    kAddRef,
    kRelease,
    kInitialize,
    kUninitialize,
    kNotify,
    kCount,
    kBypassId,
    kAutomatable,
    kStepCount,
    kName,
    kShortName,
    kDefault,
    kSetDefault,
    kType,
    kOrientation,
    kById,
    kIndexById,
    kIdAtIndex,
    kValueInfo,
    kValueFromString,
    kStringFromValue,
    kValueString,
    kNormalized,
    kSetNormalized,
    kSetRelative,
    kTouch,
    kReleaseTouch,
    kUpdate = 29,
    kUpdateRelative,
    kDispatch,
    kCustomData,
    kChunkCount,
    kChunkId,
    kChunkSize,
    kGetChunk,
    kSetChunk,
    kCompareChunk,
    kChanges
};

// The bypass under the empty ID, then a double, an int and a bool parameter.
struct TestEffect : AAX_CEffectParameters {
    int32_t ACF_CALL SetUpParameters() override {
        auto* bypass =
            new AAX_CParameter<bool>("", AAX_CString("Master Bypass"), false, AAX_CBinaryTaperDelegate<bool>(),
                                     AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
        bypass->SetType(0);
        AddParameter(bypass);
        AddParameter(new AAX_CParameter<double>("1", AAX_CString("Dist. Amount"), 0.5,
                                                AAX_CIFxTaperDelegate<double>(0, 1, 1),
                                                AAX_CNumberDisplayDelegate<double, 2, 0>(), true));
        AddParameter(new AAX_CParameter<int32_t>("2", AAX_CString("Twelve chars\nDrive"), 7,
                                                 AAX_CLinearTaperDelegate<int32_t, 0>(0, 10),
                                                 AAX_CNumberDisplayDelegate<int32_t, 2, 0>(), false));
        AddParameter(new AAX_CParameter<bool>("3", AAX_CString("Analog Hiss"), true, AAX_CBinaryTaperDelegate<bool>(),
                                              AAX_CBinaryDisplayDelegate<bool>("off", "on"), true));
        return 0;
    }
};

// A host with an automation interface that answers every request at once, and one instance.
struct Fixture : ::testing::Test {
    void SetUp() override {
        live = ACFLiveObjectCount();
        unknown = host.InstanceUnknown(
            {aaxhost::id::kController, aaxhost::id::kController2, aaxhost::id::kTransport, aaxhost::id::kAutomation});
        auto* object = new TestEffect;
        ASSERT_EQ(0, object->QueryInterface(kIID_EffectParameters, &ep));
        host.onValueRequest = [this](const char* id, double v) { CallSlot<int32_t>(ep, kUpdate, id, v, 0); };
        ASSERT_EQ(0, CallSlot<int32_t>(ep, kInitialize, unknown));
    }
    void TearDown() override {
        if (ep) {
            EXPECT_EQ(0u, CallSlot<uint32_t>(ep, kRelease));
        }
        std::string report;
        EXPECT_TRUE(host.Balanced(&report)) << report;
        EXPECT_EQ(live, ACFLiveObjectCount());
    }
    std::string Text(int slot, const char* id, int32_t n) {
        HostString s;
        EXPECT_EQ(0, CallSlot<int32_t>(ep, slot, id, s.Interface(), n));
        return s.Text();
    }
    std::vector<uint8_t> Chunk() {
        int32_t size = 0;
        EXPECT_EQ(0, CallSlot<int32_t>(ep, kChunkSize, kAAXLibraryChunkId, &size));
        std::vector<uint8_t> chunk(56 + size_t(size));
        EXPECT_EQ(0, CallSlot<int32_t>(ep, kGetChunk, kAAXLibraryChunkId, chunk.data()));
        return chunk;
    }

    aaxhost::Host host;
    aaxhost::Object* unknown = nullptr;
    void* ep = nullptr;
    uint32_t live = 0;
};

using EffectParameters = Fixture;

TEST_F(EffectParameters, InterfacesAndReferences) {
    void* v2 = nullptr;
    void* root = nullptr;
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(0, CallSlot<int32_t>(ep, kQueryInterface, &kIID_EffectParametersV2, &v2));
    EXPECT_EQ(ep, v2);
    EXPECT_EQ(0, CallSlot<int32_t>(ep, kQueryInterface, &kIID_ACFUnknown, &root));
    EXPECT_EQ(kACFNoInterface, CallSlot<int32_t>(ep, kQueryInterface, &kIID_EffectGUI, &none));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(2u, CallSlot<uint32_t>(root, kRelease));
    EXPECT_EQ(1u, CallSlot<uint32_t>(v2, kRelease));
    EXPECT_EQ((std::vector<std::string>{"automation.AddParameterId()", "automation.AddParameterId(1)",
                                        "automation.AddParameterId(2)", "automation.AddParameterId(3)"}),
              host.Operations("automation."));
}

TEST_F(EffectParameters, QueriesAnswerTheirCodes) {
    int32_t n = -5;
    EXPECT_EQ(0, CallSlot<int32_t>(ep, kCount, &n));
    EXPECT_EQ(4, n);
    HostString bypass;
    CallSlot<void*>(bypass.Interface(), 5, "junk");
    EXPECT_EQ(0, CallSlot<int32_t>(ep, kBypassId, bypass.Interface()));
    EXPECT_STREQ("", bypass.Text());
    EXPECT_EQ("Dist", Text(kShortName, "1", 4));
    EXPECT_EQ("Dist. Amount", Text(kShortName, "1", 20));
    EXPECT_EQ("", Text(kShortName, "1", 0));
    EXPECT_EQ("Drive", Text(kShortName, "2", 10));
    EXPECT_EQ("Twelve chars", Text(kShortName, "2", 30));
    EXPECT_EQ("0.50", Text(kValueString, "1", 8));
    EXPECT_EQ(kAAXNullOut, CallSlot<int32_t>(ep, kShortName, "1", nullptr, 4));

    double d = 0;
    const struct {
        int slot;
        const char* id;
        int32_t code;
    } unknownIds[] = {{kStepCount, "9", kAAXUnknownParameter},
                      {kDefault, "9", kAAXUnknownParameter},
                      {kType, nullptr, kAAXUnknownParameter},
                      {kIndexById, "9", kAAXUnknownParameter},
                      {kNormalized, "9", kAAXUnknownParameter},
                      {kNormalized, "1", 0},
                      {kChunkCount, nullptr, 0}};
    for (const auto& c : unknownIds) {
        void* out = &n;
        if (c.slot == kDefault || c.slot == kNormalized) out = &d;
        const int32_t code =
            c.slot == kChunkCount ? CallSlot<int32_t>(ep, c.slot, out) : CallSlot<int32_t>(ep, c.slot, c.id, out);
        EXPECT_EQ(c.code, code) << c.slot;
        EXPECT_EQ(kAAXNullOut, c.slot == kChunkCount ? CallSlot<int32_t>(ep, c.slot, nullptr)
                                                     : CallSlot<int32_t>(ep, c.slot, "1", nullptr))
            << c.slot;
    }
    for (int32_t index : {-1, 4}) {
        HostString s;
        EXPECT_EQ(kAAXUnknownParameter, CallSlot<int32_t>(ep, kIdAtIndex, index, s.Interface()));
        EXPECT_STREQ("", s.Text());
    }
    uint32_t id = 1;
    EXPECT_EQ(kAAXBadChunkIndex, CallSlot<int32_t>(ep, kChunkId, 1, &id));
    EXPECT_EQ(0u, id);
    EXPECT_EQ(kAAXBadChunkId, CallSlot<int32_t>(ep, kChunkSize, ACFFourCC("xxxx"), &n));
    std::vector<uint8_t> chunk(64);
    EXPECT_EQ(kAAXBadChunkSize, CallSlot<int32_t>(ep, kGetChunk, kAAXLibraryChunkId, chunk.data()));
    HostString typed;
    CallSlot<void*>(typed.Interface(), 5, "abc");
    EXPECT_EQ(kAAXNullOut, CallSlot<int32_t>(ep, kValueFromString, "1", &d, typed.Interface()));
    const int32_t preview = 1;
    EXPECT_EQ(0, CallSlot<int32_t>(ep, kNotify, kAAXPreviewNotification, &preview, 4u));
}

TEST_F(EffectParameters, ChangesRoundTripThroughTheHost) {
    EXPECT_EQ(0, CallSlot<int32_t>(ep, kSetNormalized, "1", 0.9));
    EXPECT_EQ(0, CallSlot<int32_t>(ep, kSetRelative, "1", 0.3));
    double d = 0;
    CallSlot<int32_t>(ep, kNormalized, "1", &d);
    EXPECT_EQ(1.0, d);
    EXPECT_EQ(0, CallSlot<int32_t>(ep, kSetRelative, "1", -2.0));
    CallSlot<int32_t>(ep, kNormalized, "1", &d);
    EXPECT_EQ(0.0, d);
    HostString typed;
    CallSlot<void*>(typed.Interface(), 5, "0.25");
    EXPECT_EQ(0, CallSlot<int32_t>(ep, kValueFromString, "1", &d, typed.Interface()));
    EXPECT_EQ(0.25, d);
    int32_t changes = 0;
    CallSlot<int32_t>(ep, kChanges, &changes);
    EXPECT_EQ(3, changes);
    EXPECT_EQ(kAAXUnknownParameter, CallSlot<int32_t>(ep, kUpdate, "9", 0.5, 0));
}

// The library chunk for the three chunked parameters: 0.5, 7 and true.
const uint8_t kChunkData[] = {1,   1,   1,   1, 'd', '_', '1', 0, 0x3F, 0xE0, 0,   0, 0, 0, 0, 0,
                              'l', '_', '2', 0, 0,   0,   0,   7, 'l',  '_',  '3', 0, 0, 0, 0, 1};

TEST_F(EffectParameters, LibraryChunkIsExactAndRefusesDamage) {
    std::vector<uint8_t> chunk = Chunk();
    ASSERT_EQ(56 + sizeof kChunkData, chunk.size());
    const auto* record = reinterpret_cast<const AAX_ChunkRecord*>(chunk.data());
    EXPECT_EQ(int32_t(sizeof kChunkData), record->dataSize);
    EXPECT_EQ(-1, record->version);
    EXPECT_STREQ("Complete Controls State", record->name);
    EXPECT_EQ(0, std::memcmp(kChunkData, chunk.data() + 56, sizeof kChunkData));
    reinterpret_cast<AAX_ChunkRecord*>(chunk.data())->chunkId = kAAXLibraryChunkId;

    auto compare = [&](const std::vector<uint8_t>& c) {
        bool equal = false;
        EXPECT_EQ(0, CallSlot<int32_t>(ep, kCompareChunk, c.data(), &equal));
        return equal;
    };
    EXPECT_TRUE(compare(chunk));
    CallSlot<int32_t>(ep, kSetNormalized, "1", 0.75);
    EXPECT_FALSE(compare(chunk));
    EXPECT_EQ(0, CallSlot<int32_t>(ep, kSetChunk, kAAXLibraryChunkId, chunk.data()));
    EXPECT_TRUE(compare(chunk));

    // Every cut, and trailing bytes, are read within the declared bytes only (sanitizers watch).
    for (size_t cut = 0; cut < sizeof kChunkData; ++cut) {
        std::vector<uint8_t> shorter(chunk.begin(), chunk.begin() + 56 + long(cut));
        reinterpret_cast<AAX_ChunkRecord*>(shorter.data())->dataSize = int32_t(cut);
        EXPECT_FALSE(compare(shorter)) << cut;
        EXPECT_EQ(0, CallSlot<int32_t>(ep, kSetChunk, kAAXLibraryChunkId, shorter.data()));
    }
    std::vector<uint8_t> longer = chunk;
    longer.insert(longer.end(), {'d', '_', 'x', 0xFF, 0xFF, 0xFF});
    reinterpret_cast<AAX_ChunkRecord*>(longer.data())->dataSize += 6;
    EXPECT_TRUE(compare(longer));
    for (size_t at = 56; at < chunk.size(); ++at) {
        std::vector<uint8_t> damaged = chunk;
        damaged[at] ^= 0xFF;
        compare(damaged);
        CallSlot<int32_t>(ep, kSetChunk, kAAXLibraryChunkId, damaged.data());
    }
}

TEST(ChunkParser, OverflowIsTracedToTheHost) {
    aaxhost::Host host;
    {
        AAX_VHostServices services(
            reinterpret_cast<IACFUnknown*>(host.RegistrationUnknown(aaxhost::FactoryMode::kOffered)));
        SetModuleHostServices(&services);
        AAX_CChunkDataParser parser;
        parser.AddText("n", "ab");
        EXPECT_EQ(12, parser.ChunkSize());
        uint8_t data[12];
        EXPECT_EQ(0, parser.WriteData(data, 12));
        EXPECT_EQ(0, std::memcmp("\1\1\1\1r_n\0ab\0\0", data, 12));
        EXPECT_EQ(kAAXChunkOverflow, parser.WriteData(data, 11));
        SetModuleHostServices(nullptr);
    }
    EXPECT_EQ((std::vector<std::string>{"services1.SendTrace(134217728,AAX_CChunkDataParser::GetChunkData ERROR: "
                                        "aborting: chunk data will overflow buffer)"}),
              host.Operations("services1."));
    EXPECT_TRUE(host.Balanced());
}

TEST_F(EffectParameters, SecondInitializationUndoesTheFirst) {
    ASSERT_EQ(0, CallSlot<int32_t>(ep, kInitialize, unknown));
    int32_t n = 0;
    CallSlot<int32_t>(ep, kCount, &n);
    EXPECT_EQ(4, n);
    EXPECT_EQ(4u, host.Operations("automation.RemoveParameterId").size());
    EXPECT_EQ(8u, host.Operations("automation.AddParameterId").size());
}

TEST_F(EffectParameters, ReleaseWithoutUninitializeFreesTheProxies) {
    CallSlot<int32_t>(ep, kTouch, "1");
    EXPECT_EQ(0u, CallSlot<uint32_t>(ep, kRelease));
    ep = nullptr;
    EXPECT_EQ(4u, host.Operations("automation.RemoveParameterId").size());
}

// Records the binding's slots.
struct TestGui : AAX_CEffectGUI {
    int32_t ACF_CALL FetchGraphics() override { return Note("fetch"); }
    int32_t ACF_CALL OpenEditorInContainer() override { return Note("open"); }
    int32_t ACF_CALL CloseEditorWindow() override { return Note("close"); }
    int32_t ACF_CALL ParameterUpdated(const char* id) override { return Note(std::string("updated ") + id); }
    int32_t Note(const std::string& s) {
        calls.push_back(s);
        return 0;
    }
    std::vector<std::string> calls;
};

using EffectGui = Fixture;

TEST_F(EffectGui, ContainerOpensSyncsAndCloses) {
    aaxhost::Object* guiUnknown = host.InstanceUnknown({aaxhost::id::kController, aaxhost::id::kTransport});
    host.AnswerForeign(guiUnknown, aaxhost::id::kEffectParameters, ep);
    aaxhost::Object* container = host.Make(aaxhost::Kind::kViewContainer, "view");
    host.Answer(container, aaxhost::id::kViewContainer, container);

    // The references on the host's objects and on the effect parameters, before the GUI holds any.
    auto held = [&] {
        std::vector<int> refs;
        for (const auto& answer : guiUnknown->answers) refs.push_back(answer.second->refs);
        refs.push_back(int(CallSlot<uint32_t>(ep, kAddRef)));
        CallSlot<uint32_t>(ep, kRelease);
        return refs;
    };
    const std::vector<int> before = held();
    auto* gui = new TestGui;
    void* iface = nullptr;
    ASSERT_EQ(0, gui->QueryInterface(kIID_EffectGUI, &iface));
    EXPECT_EQ(kAAXNoController, CallSlot<int32_t>(iface, 3, static_cast<void*>(nullptr)));
    EXPECT_EQ(0, CallSlot<int32_t>(iface, 3, guiUnknown));
    EXPECT_EQ(0, CallSlot<int32_t>(iface, 6, container));
    EXPECT_EQ(host.nativeView, gui->NativeViewOfContainer());
    EXPECT_EQ(0, CallSlot<int32_t>(iface, 6, static_cast<void*>(nullptr)));
    EXPECT_EQ(nullptr, gui->NativeViewOfContainer());
    EXPECT_EQ(kAAXNoHostInterface, CallSlot<int32_t>(iface, 11));
    EXPECT_EQ(0, CallSlot<int32_t>(iface, 7, static_cast<void*>(nullptr)));
    EXPECT_EQ((std::vector<std::string>{"fetch", "open", "updated ", "updated 1", "updated 2", "updated 3", "close"}),
              gui->calls);
    // Initialized again without a host: nothing of the first host is kept.
    EXPECT_EQ(kAAXNoController, CallSlot<int32_t>(iface, 3, static_cast<void*>(nullptr)));
    EXPECT_EQ(before, held());
    EXPECT_EQ(0, CallSlot<int32_t>(iface, 4));
    EXPECT_EQ(0u, CallSlot<uint32_t>(iface, 2));
}

}  // namespace
