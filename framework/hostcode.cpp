#include <cctype>
#include <cstring>

#include "framework/fxbase.h"

namespace {
struct HostName {
    const char* substring;
    HostCode code;
};

// Searched in this order; the first substring found anywhere in the name wins, so "live" only
// matches names that none of the six entries before it did.
constexpr HostName kHostNames[] = {
    {"cubase", kHostCubase},
    {"reaper", kHostReaper},
    {"nuendo", kHostNuendo},
    {"cakewalk", kHostCakewalk},
    {"samplitude", kHostSamplitude},
    {"fruity", kHostFruity},
    {"live", kHostLive},
    {"melodyne", kHostMelodyne},
    {"vstmanlib", kHostVstManLib},
    {"aulab", kHostAULab},
    {"garageband", kHostGarageBand},
    {"forte", kHostForte},
    {"chainer", kHostChainer},
    {"audition", kHostAudition},
    {"orion", kHostOrion},
    {"sawstudio", kHostSawStudio},
    {"logic", kHostLogic},
    {"digital", kHostDigital},
    {"audiomulch", kHostAudioMulch},
    {"presonus", kHostPresonus},
    {"vst3plugintesthost", kHostVst3TestHost},
    {"protools", kHostProTools},
    {"ardour", kHostArdour},
    {"openmpt", kHostOpenMPT},
    {"renoise", kHostRenoise},
    {"standalone", kHostStandalone},
    {"wavelab", kHostWaveLab},
};
}  // namespace

int IFxBase::IdentifyHost(const char* hostName) {
    char lower[256] = {};
    for (int i = 0; hostName && hostName[i] && i < 255; ++i)
        lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(hostName[i])));
    for (const HostName& entry : kHostNames)
        if (std::strstr(lower, entry.substring)) return entry.code;
    return kHostUnknown;
}
