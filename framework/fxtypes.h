#pragma once
// Codes shared by the plug-in core and the bindings.
#include <cstdint>

// Why ParameterChanged runs.
enum ParamSource : int32_t { kSourceOpen = 0, kSourceHost = 1, kSourceRestore = 2, kSourceGui = 3 };

// Which host interface a build serves.
enum ApiCode : int32_t { kApiVST2 = 0, kApiVST3 = 1, kApiAAX = 4, kApiLV2 = 5, kApiCLAP = 6 };

// The host identified from its product name (-1 until a binding calls SetHost).
enum HostCode : int32_t {
    kHostNotIdentified = -1,
    kHostUnknown = 0,
    kHostReaper = 1,
    kHostProTools = 2,
    kHostCubase = 3,
    kHostNuendo = 4,
    kHostCakewalk = 5,
    kHostFruity = 7,
    kHostSamplitude = 8,
    kHostLive = 9,
    kHostMelodyne = 12,
    kHostVstManLib = 13,
    kHostAULab = 14,
    kHostForte = 15,
    kHostChainer = 16,
    kHostAudition = 17,
    kHostOrion = 18,
    kHostSawStudio = 20,
    kHostLogic = 21,
    kHostGarageBand = 22,
    kHostDigital = 23,
    kHostStandalone = 24,
    kHostAudioMulch = 25,
    kHostPresonus = 26,
    kHostVst3TestHost = 27,
    kHostArdour = 28,
    kHostRenoise = 29,
    kHostOpenMPT = 30,
    kHostWaveLab = 31,
};

// The host transport as every binding reports it.
struct ITimeInfo {
    double tempo = 0.0;
    double samplePos = 0.0;
    double ppqPos = 0.0;
    double lastBar = 0.0;
    double cycleStart = 0.0;
    double cycleEnd = 0.0;
    int32_t numerator = 0;
    int32_t denominator = 0;
    bool playing = false;
    bool looping = false;
};

// A four-character code with the first character in the most significant byte.
constexpr int32_t FourCC(const char (&code)[5]) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8) |
                                static_cast<uint32_t>(static_cast<uint8_t>(code[3])));
}
