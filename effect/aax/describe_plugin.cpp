// The effect description: names, category, one component per accepted channel configuration,
// the factories, the manufacturer and the package version.
#include "effect/aax/describe_plugin.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "effect/product.h"
#include "effect/tavrelzel4.h"
#include "framework/aax/effect_gui_ifx.h"

namespace {
constexpr uint32_t kNoTypeId = ACFFourCC("none");
constexpr int kTypeIdPairs = int(std::size(Product::kAaxTypeIds));

// Node types of DeclareMidiNode, and the procedure ids of the factories.
constexpr uint32_t kMidiLocalInput = 0, kMidiGlobal = 2, kMidiTransport = 3;
constexpr uint32_t kProcEffectParameters = 0, kProcGui = 1;

// Property ids of a component's map.
constexpr uint32_t kPropInputStem = 51, kPropOutputStem = 52, kPropFlag56 = 56, kPropFlag60 = 60;
constexpr uint32_t kPropManufacturer = 11, kPropProduct = 12, kPropNativeType = 13, kPropSecondType = 14;
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
    node(kFieldMidi, config.localMidi, kMidiLocalInput, (std::string(Product::kName) + " Midi").c_str(), 1);
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
    result |= effect->DeclareName(Product::kName);
    result |= collection->DeclarePackageName(Product::kName);
    result |= effect->DeclareCategory(Product::kAaxCategory);

    // One component per "IN-OUT" token; tokens that do not read as two numbers are skipped.
    // Configurations beyond the type-id pairs are not declared (they would have no ids).
    const std::string io = Product::kChannelIo;
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
                                 uint32_t(Product::kMakerId),
                                 uint32_t(Product::kUniqueId),
                                 uint32_t(Product::kAaxTypeIds[pair].native),
                                 uint32_t(Product::kAaxTypeIds[pair].second)};
        ++pair;
        result |= DescribeIOConfig(effect, config);
    }

    result |= effect->DeclareProcedure(reinterpret_cast<void*>(&NewEffectParametersInstance), kProcEffectParameters);
    result |= effect->DeclareProcedure(reinterpret_cast<void*>(&NewEffectGuiInstance), kProcGui);
    if (result == 0) result |= collection->DeclareEffect(Product::kAaxEffectId, effect);
    result |= collection->DeclareManufacturerName(Product::kVendor);
    result |= collection->DeclarePackageVersion(uint32_t(Product::kVersion));
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
