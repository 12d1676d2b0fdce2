#include "lv2_host.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

namespace tzlv2 {

UridMap::UridMap() : mMap{this, nullptr}, mFeature{LV2_URID__map, &mMap} {
    mMap.map = [](LV2_URID_Map_Handle handle, const char* uri) { return static_cast<UridMap*>(handle)->Map(uri); };
}

LV2_URID UridMap::Map(const char* uri) {
    for (size_t i = 0; i < mUris.size(); ++i)
        if (mUris[i] == uri) return LV2_URID(i + 1);
    mUris.emplace_back(uri);
    return LV2_URID(mUris.size());
}

const char* UridMap::Unmap(LV2_URID urid) const {
    return urid >= 1 && urid <= mUris.size() ? mUris[urid - 1].c_str() : nullptr;
}

World::World(const std::string& bundle) : world(lilv_world_new()) {
    if (bundle.empty()) {
        lilv_world_load_all(world);
        return;
    }
    // lilv takes a bundle as a file URI ending in '/'.
    const std::string folder = bundle.back() == '/' ? bundle : bundle + "/";
    LilvNode* uri = lilv_new_file_uri(world, nullptr, folder.c_str());
    lilv_world_load_bundle(world, uri);
    lilv_node_free(uri);
}

World::~World() { lilv_world_free(world); }

const LilvPlugin* World::Find(const char* uri) const {
    LilvNode* node = lilv_new_uri(world, uri);
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), node);
    lilv_node_free(node);
    return plugin;
}

namespace {
// The ports of a plug-in as its description gives them.
std::vector<Port> ReadPorts(LilvWorld* world, const LilvPlugin* plugin) {
    LilvNode* audio = lilv_new_uri(world, LV2_CORE__AudioPort);
    LilvNode* input = lilv_new_uri(world, LV2_CORE__InputPort);
    LilvNode* toggled = lilv_new_uri(world, LV2_CORE__toggled);
    std::vector<Port> ports(lilv_plugin_get_num_ports(plugin));
    std::vector<float> lo(ports.size()), hi(ports.size()), def(ports.size());
    lilv_plugin_get_port_ranges_float(plugin, lo.data(), hi.data(), def.data());
    for (uint32_t i = 0; i < ports.size(); ++i) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
        Port& p = ports[i];
        p.symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
        LilvNode* name = lilv_port_get_name(plugin, port);
        p.name = name ? lilv_node_as_string(name) : p.symbol;
        lilv_node_free(name);
        p.audio = lilv_port_is_a(plugin, port, audio);
        p.input = lilv_port_is_a(plugin, port, input);
        p.toggle = lilv_port_has_property(plugin, port, toggled);
        p.lo = lo[i], p.hi = hi[i], p.def = def[i];
    }
    for (LilvNode* node : {audio, input, toggled}) lilv_node_free(node);
    return ports;
}

// What a save stored under the state key, and what a restore hands back.
struct StateValue {
    LV2_URID key = 0, type = 0;
    std::vector<uint8_t> bytes;
    bool stored = false;
};

LV2_State_Status Store(LV2_State_Handle handle, uint32_t key, const void* value, size_t size, uint32_t type, uint32_t) {
    auto* state = static_cast<StateValue*>(handle);
    if (key != state->key) return LV2_STATE_ERR_NO_PROPERTY;
    state->type = type;
    state->bytes.assign(static_cast<const uint8_t*>(value), static_cast<const uint8_t*>(value) + size);
    state->stored = true;
    return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags) {
    auto* state = static_cast<StateValue*>(handle);
    if (key != state->key) return nullptr;
    if (size) *size = state->bytes.size();
    if (type) *type = state->type;
    if (flags) *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    return state->bytes.data();
}
}  // namespace

bool Instance::Create(const World& world, const char* uri, double rate, std::string* error, bool withMap) {
    const LilvPlugin* plugin = world.Find(uri);
    if (!plugin) {
        *error = std::string("no plug-in ") + uri + " found";
        return false;
    }
    const LV2_Feature* features[] = {withMap ? map.Feature() : nullptr, nullptr};
    mInstance = lilv_plugin_instantiate(plugin, rate, features);
    if (!mInstance) {
        *error = std::string("the plug-in ") + lilv_node_as_uri(lilv_plugin_get_uri(plugin)) + " refused to start";
        return false;
    }
    ports = ReadPorts(world.world, plugin);
    mControls.assign(ports.size(), 0.f);
    for (uint32_t i = 0; i < ports.size(); ++i) {
        if (ports[i].audio) continue;
        mControls[i] = ports[i].input ? ports[i].def : 0.f;
        lilv_instance_connect_port(mInstance, i, &mControls[i]);
    }
    mLatencyPort = PortIndex("latency");
    lilv_instance_activate(mInstance);
    return true;
}

int Instance::PortIndex(const std::string& symbol) const {
    for (size_t i = 0; i < ports.size(); ++i)
        if (ports[i].symbol == symbol) return int(i);
    return -1;
}

float Instance::Latency() const { return mLatencyPort >= 0 ? mControls[size_t(mLatencyPort)] : 0.f; }

void Instance::Run(float* const* in, float* const* out, uint32_t frames) {
    int ins = 0, outs = 0;
    for (uint32_t i = 0; i < ports.size(); ++i)
        if (ports[i].audio) lilv_instance_connect_port(mInstance, i, ports[i].input ? in[ins++] : out[outs++]);
    lilv_instance_run(mInstance, frames);
}

bool Instance::SaveState(std::vector<uint8_t>* bytes) {
    auto* iface =
        static_cast<const LV2_State_Interface*>(lilv_instance_get_extension_data(mInstance, LV2_STATE__interface));
    StateValue state;
    state.key = map.Map(kStateKey);
    if (!iface ||
        iface->save(lilv_instance_get_handle(mInstance), Store, &state, LV2_STATE_IS_POD, nullptr) != LV2_STATE_SUCCESS)
        return false;
    *bytes = state.bytes;
    return state.stored && state.type == map.Map(LV2_ATOM__Chunk);
}

int Instance::RestoreState(const std::vector<uint8_t>& bytes, const char* type) {
    auto* iface =
        static_cast<const LV2_State_Interface*>(lilv_instance_get_extension_data(mInstance, LV2_STATE__interface));
    if (!iface) return LV2_STATE_ERR_UNKNOWN;
    StateValue state;
    state.key = map.Map(kStateKey);
    state.type = map.Map(type ? type : LV2_ATOM__Chunk);
    state.bytes = bytes;
    return iface->restore(lilv_instance_get_handle(mInstance), Retrieve, &state, LV2_STATE_IS_POD, nullptr);
}

Instance::~Instance() {
    if (!mInstance) return;
    lilv_instance_deactivate(mInstance);
    lilv_instance_free(mInstance);
}

}  // namespace tzlv2
