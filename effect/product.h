#pragma once
// The product's identity: the names, version, channel layouts and ids that every deliverable
// shows its hosts. The plug-in class, the editor and each format's module entry read them here.
// The ids are what saved projects and sessions know the plug-in by: they never change.
#include <cstdint>

#include "framework/fxtypes.h"

namespace Product {
constexpr const char* kName = "TavrelZel4";
constexpr const char* kVendor = "Tavrel";
constexpr const char* kUrl = "https://tavrel.invalid";
constexpr const char* kEmail = "support@tavrel.invalid";

// "major.minor.revision"; the bindings report it packed as 0xMMMMmmrr (kVersion).
constexpr const char* kVersionText = "1.1.1";

// The packed form of a "major.minor.revision" text.
constexpr int32_t PackVersion(const char* text) {
    int32_t parts[3] = {0, 0, 0};
    for (int k = 0; *text && k < 3; ++text) {
        if (*text == '.')
            ++k;
        else
            parts[k] = parts[k] * 10 + (*text - '0');
    }
    return parts[0] << 16 | parts[1] << 8 | parts[2];
}
constexpr int32_t kVersion = PackVersion(kVersionText);

// The accepted "inputs-outputs" configurations: mono and stereo.
constexpr const char* kChannelIo = "1-1 2-2";

// The plug-in's own code (the VST2 unique id, the chunk id) and its maker's.
constexpr int32_t kUniqueId = FourCC("Zel4");
constexpr int32_t kMakerId = FourCC("TvRl");

// VST3: the class id as four words (the last two the maker's and the plug-in's codes), and the
// category.
constexpr uint32_t kVst3ClassId[4] = {0xF2AEE70D, 0x00DE4F4E, uint32_t(kMakerId), uint32_t(kUniqueId)};
constexpr const char* kVst3SubCategories = "Fx|Distortion";

// AAX: the effect id, the category bit, and the type ids of each channel configuration in
// kChannelIo's order.
constexpr const char* kAaxEffectId = "com.Tavrel.aax.TavrelZel4";
constexpr uint32_t kAaxCategory = 64;
struct AaxTypeIds {
    int32_t native, second;
};
constexpr AaxTypeIds kAaxTypeIds[] = {{FourCC("EFN1"), FourCC("EFA1")}, {FourCC("EFN2"), FourCC("EFA2")}};

// LV2: the plug-ins in the order lv2_descriptor hands them out, each with its audio ports' symbols;
// the control ports' symbols, port i for parameter i; the UI's URI and the state property's. A
// saved session refers to the plug-ins by URI and to their ports by symbol: none ever changes.
struct Lv2Plugin {
    const char* uri;
    const char* name;
    int channels;
    const char* inputs[2];
    const char* outputs[2];
};
constexpr Lv2Plugin kLv2Plugins[] = {{"urn:tavrelzel4:stereo", "TavrelZel4", 2, {"in_l", "in_r"}, {"out_l", "out_r"}},
                                     {"urn:tavrelzel4:mono", "TavrelZel4 Mono", 1, {"in"}, {"out"}}};
constexpr const char* kLv2ParamSymbols[] = {"bypass",     "dist_amount", "tone",    "level",
                                            "saturation", "hiss",        "dry_wet", "compensation"};
constexpr const char* kLv2LatencySymbol = "latency";
constexpr const char* kLv2UiUri = "urn:tavrelzel4:ui";
constexpr const char* kLv2StateUri = "urn:tavrelzel4:state";

// CLAP: the plug-in's id (reverse-domain, under the maker's own domain) and its features, the
// list null-terminated as hosts read it.
constexpr const char* kClapId = "invalid.tavrel.tavrelzel4";
constexpr const char* kClapFeatures[] = {"audio-effect", "distortion", "stereo", "mono", nullptr};
}  // namespace Product
