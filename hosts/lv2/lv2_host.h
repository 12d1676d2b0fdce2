#pragma once
// A small LV2 host on lilv: finds a plug-in in a bundle (or wherever LV2_PATH points), creates an
// instance with a URI map of its own, connects its ports by symbol, runs blocks of 32-bit samples
// with control values set between them, and saves and restores its state through the plug-in's
// state interface as raw bytes.
#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace tzlv2 {

constexpr const char* kStereoUri = "urn:tavrelzel4:stereo";
constexpr const char* kMonoUri = "urn:tavrelzel4:mono";
constexpr const char* kStateKey = "urn:tavrelzel4:state";

// URIs to numbers and back, numbered from 1 in the order first asked for.
class UridMap {
public:
    UridMap();
    UridMap(const UridMap&) = delete;
    UridMap& operator=(const UridMap&) = delete;
    // [main thread] (the plug-in maps its URIs while it is created)
    LV2_URID Map(const char* uri);
    const char* Unmap(LV2_URID urid) const;
    // The urid:map feature handing out this map.
    const LV2_Feature* Feature() const { return &mFeature; }

private:
    std::deque<std::string> mUris;
    LV2_URID_Map mMap;
    LV2_Feature mFeature;
};

// The plug-ins lilv knows: those of one bundle folder, or with no folder every bundle on LV2_PATH.
class World {
public:
    explicit World(const std::string& bundle = "");
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The plug-in of that URI, or null.
    const LilvPlugin* Find(const char* uri) const;
    LilvWorld* world;
};

// A port as the plug-in's description gives it.
struct Port {
    std::string symbol, name;
    bool audio = false, input = false, toggle = false;
    float lo = 0, hi = 0, def = 0;
};

// One running instance: control ports connected to values of its own, audio ports to the
// caller's buffers on each Run.
class Instance {
public:
    Instance() = default;
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    // [main thread] Instantiates the plug-in of that URI at `rate` with urid:map (or with no
    // feature at all), sets every control input to its default and activates it; false with the
    // reason otherwise.
    bool Create(const World& world, const char* uri, double rate, std::string* error, bool withMap = true);

    // The index of the port of that symbol; -1 when none.
    int PortIndex(const std::string& symbol) const;
    void SetControl(int port, float value) { mControls[size_t(port)] = value; }
    float Control(int port) const { return mControls[size_t(port)]; }
    // The latency the plug-in reported on its last run, in frames; 0 without a latency port.
    float Latency() const;

    // [audio thread] One block: audio inputs from in[0..], outputs into out[0..], in port order.
    void Run(float* const* in, float* const* out, uint32_t frames);

    // [main thread] The bytes the plug-in stores under kStateKey; false when it stores none or
    // fails.
    bool SaveState(std::vector<uint8_t>* bytes);
    // [main thread] Hands the plug-in those bytes under kStateKey as `type` (default
    // atom:Chunk); the status restore returned (LV2_STATE_SUCCESS is 0).
    int RestoreState(const std::vector<uint8_t>& bytes, const char* type = nullptr);

    std::vector<Port> ports;
    UridMap map;

private:
    LilvInstance* mInstance = nullptr;
    std::vector<float> mControls;
    int mLatencyPort = -1;
};

}  // namespace tzlv2
