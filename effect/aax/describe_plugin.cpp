// The effect description: names, category, one component per accepted channel configuration,
// the factories, the manufacturer and the package version.
#include "effect/aax/describe_plugin.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "effect/tavrelzel4.h"
#include "framework/aax/effect_gui_ifx.h"

namespace {
constexpr const char* kEffectId = "com.Tavrel.aax.TavrelZel4";
constexpr const char* kEffectNames = "TavrelZel4\n";
constexpr const char* kManufacturerNames = "Tavrel\n";
constexpr const char* kChannelIo = "1-1 2-2";
constexpr uint32_t kCategory = 64;
constexpr uint32_t kPackageVersion = 0x10101;
constexpr uint32_t kManufacturerId = ACFFourCC("TvRl");
constexpr uint32_t kProductId = ACFFourCC("Zel4");
constexpr uint32_t kNativeTypeIds[] = {ACFFourCC("EFN1"), ACFFourCC("EFN2")};
constexpr uint32_t kSecondTypeIds[] = {ACFFourCC("EFA1"), ACFFourCC("EFA2")};
constexpr uint32_t kNoTypeId = ACFFourCC("none");
constexpr int kTypeIdPairs = 2;

// Node types of DeclareMidiNode, and the procedure ids of the factories.
constexpr uint32_t kMidiLocalInput = 0, kMidiGlobal = 2, kMidiTransport = 3;
constexpr uint32_t kProcEffectParameters = 0, kProcGui = 1;

// Property ids of a component's map.
constexpr uint32_t kPropInputStem = 51, kPropOutputStem = 52, kPropFlag56 = 56, kPropFlag60 = 60;
constexpr uint32_t kPropManufacturer = 11, kPropProduct = 12, kPropNativeType = 13, kPropSecondType = 14;

// Calls f on each line of text up to the first empty one.
template <class F>
void ForEachLine(const char* text, F f) {
    for (const char* p = text; *p && *p != '\n';) {
        const char* end = std::strchr(p, '\n');
        const std::string line = end ? std::string(p, end) : std::string(p);
        f(line.c_str());
        if (!end) break;
        p = end + 1;
    }
}
}  // namespace

uint32_t StemFormatOfChannels(int channels) {
    switch (channels) {
        case 1: return 0x00000001;
        case 2: return 0x00010002;
        case 3: return 0x00020003;
        case 4: return 0x00040004;
        case 5: return 0x00050005;
        case 6: return 0x00060006;
        case 7: return 0x00080007;
        case 8: return 0x000C0008;
        default: return 0xFF9C0000;
    }
}

int32_t DescribeIOConfig(AAX_IEffectDescriptor* effect, const AAXIOConfig& config) {
    AAX_IComponentDescriptor* component = effect->CreateComponentDescriptor();
    if (!component) return kAAXNoHostInterface;
    int32_t result = 0;
    auto node = [&](uint32_t field, bool wanted, uint32_t type, const char* name, uint32_t mask) {
        result |=
            wanted ? component->DeclareMidiNode(field, type, name, mask) : component->DeclarePrivateData(field, 4, 0);
    };
    node(kFieldGlobalMidi, config.globalMidi, kMidiGlobal, "GlobalMIDI", 0xFFFF);
    node(kFieldMidi, config.localMidi, kMidiLocalInput, "TavrelZel4 Midi", 1);
    node(kFieldTransport, config.transport, kMidiTransport, "Transport", 0xFFFF);
    result |= component->DeclareAudioInput(kFieldInputs);
    result |= component->DeclareAudioOutput(kFieldOutputs);
    result |= component->DeclareFrameCountField(kFieldFrames);
    result |= component->DeclarePrivateData(kFieldMeters, 4, 0);  // no meters
    result |= component->DeclarePrivateData(kFieldPrivate, 8, 0);

    AAX_IPropertyMap* map = component->CreatePropertyMap();
    if (!map) return result | kAAXNoHostInterface;
    result |= map->WriteProperty(kPropFlag56, 0);
    result |= map->WriteProperty(kPropInputStem, int32_t(config.inputStem));
    result |= map->WriteProperty(kPropOutputStem, int32_t(config.outputStem));
    result |= map->WriteProperty(kPropFlag60, 1);
    result |= map->WriteProperty(kPropManufacturer, int32_t(config.manufacturerId));
    result |= map->WriteProperty(kPropProduct, int32_t(config.productId));
    result |= map->WriteProperty(kPropNativeType, int32_t(config.nativeTypeId));
    if (config.secondTypeId != kNoTypeId) result |= map->WriteProperty(kPropSecondType, int32_t(config.secondTypeId));
    result |= component->DeclareProcessProcedure(reinterpret_cast<void*>(&ProcessAllInstances), map, nullptr, nullptr,
                                                 nullptr);
    result |= effect->DeclareComponent(component);
    return result;
}

// Host loading thread, inside ACFRegisterPlugin.
int32_t DescribePlugin(AAX_ICollection* collection) {
    AAX_IEffectDescriptor* effect = collection->CreateEffectDescriptor();
    if (!effect) return kAAXNoHostInterface;
    int32_t result = 0;
    ForEachLine(kEffectNames, [&](const char* name) {
        result |= effect->DeclareName(name);
        result |= collection->DeclarePackageName(name);
    });
    result |= effect->DeclareCategory(kCategory);

    // One component per "IN-OUT" token; tokens that do not read as two numbers are skipped.
    // Configurations beyond the type-id pairs are not declared (they would have no ids).
    const std::string io = kChannelIo;
    int pair = 0;
    for (size_t start = 0; start < io.size();) {
        size_t end = io.find(' ', start);
        if (end == std::string::npos) end = io.size();
        const std::string token = io.substr(start, end - start);
        start = end + 1;
        int nIn = 0, nOut = 0;
        if (std::sscanf(token.c_str(), "%d-%d", &nIn, &nOut) != 2) continue;
        if (pair == kTypeIdPairs) {
            result |= kAAXNotSupported;
            break;
        }
        nIn = nIn < 1 ? 1 : nIn;
        // A diagnostic line per configuration, kept for compatibility.
        std::printf("***** inputs %d *****\n", nIn);
        const AAXIOConfig config{nIn,
                                 nOut,
                                 false,
                                 false,
                                 true,
                                 StemFormatOfChannels(nIn),
                                 StemFormatOfChannels(nOut),
                                 kManufacturerId,
                                 kProductId,
                                 kNativeTypeIds[pair],
                                 kSecondTypeIds[pair]};
        ++pair;
        result |= DescribeIOConfig(effect, config);
    }

    result |= effect->DeclareProcedure(reinterpret_cast<void*>(&NewEffectParametersInstance), kProcEffectParameters);
    result |= effect->DeclareProcedure(reinterpret_cast<void*>(&NewEffectGuiInstance), kProcGui);
    if (result == 0) result |= collection->DeclareEffect(kEffectId, effect);
    ForEachLine(kManufacturerNames, [&](const char* name) { result |= collection->DeclareManufacturerName(name); });
    result |= collection->DeclarePackageVersion(kPackageVersion);
    return result;
}

void ACF_CALL ProcessAllInstances(void* const* first, const void* end) {
    for (void* const* p = first; p && p != end; ++p) {
        const auto* context = static_cast<const AAX_CIFxContext*>(*p);
        if (context && context->self && *context->self) (*context->self)->RenderBlock(context);
    }
}

// A construction that throws must not reach the host: it gets null instead.
void* ACF_CALL NewEffectParametersInstance() {
    try {
        TavrelZel4* plug = CreateInstance();
        return plug ? static_cast<AAX_IEffectParameters*>(plug) : nullptr;
    } catch (...) {
        return nullptr;
    }
}

void* ACF_CALL NewEffectGuiInstance() {
    try {
        return static_cast<AAX_IEffectGUI*>(new AAX_CEffectGUI_IFX());
    } catch (...) {
        return nullptr;
    }
}
