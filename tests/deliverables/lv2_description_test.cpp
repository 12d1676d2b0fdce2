// The bundle's generated descriptions as a host reads them (lilv): each plug-in lists every
// parameter of the plug-in class at its own port with its symbol, name, default and range, a
// switch as a toggle, then its audio ports.
#include <gtest/gtest.h>
#include <lilv/lilv.h>

#include <memory>
#include <string>

#include "effect/lv2/plugin_factory.h"
#include "effect/product.h"

namespace {
std::string Text(const LilvNode* node) { return node ? lilv_node_as_string(node) : "(none)"; }

bool Has(LilvWorld* world, const LilvPlugin* plugin, const LilvPort* port, const char* property) {
    LilvNode* uri = lilv_new_uri(world, property);
    const bool has = lilv_port_has_property(plugin, port, uri);
    lilv_node_free(uri);
    return has;
}
}  // namespace

TEST(Lv2Description, ListsEveryParameterAndPortAsThePluginReportsThem) {
    std::unique_ptr<IFxLV2> plug(CreateLV2Plugin());
    ASSERT_TRUE(plug);
    LilvWorld* world = lilv_world_new();
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, TZ_LV2_BUNDLE "/");
    lilv_world_load_bundle(world, bundle);
    for (const Product::Lv2Plugin& product : Product::kLv2Plugins) {
        SCOPED_TRACE(product.uri);
        LilvNode* uri = lilv_new_uri(world, product.uri);
        LilvNode* type = lilv_new_uri(world, LILV_NS_RDF "type");
        LilvNode* distortion = lilv_new_uri(world, LV2_CORE__DistortionPlugin);
        const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
        ASSERT_NE(plugin, nullptr);
        LilvNodes* types = lilv_plugin_get_value(plugin, type);
        EXPECT_TRUE(lilv_nodes_contains(types, distortion));
        lilv_nodes_free(types);
        for (LilvNode* node : {uri, type, distortion}) lilv_node_free(node);
        const int audio = plug->FirstAudioPort();
        // "Bypass" is a switch of the plug-in's own, not the host's bypass.
        LilvNode* input = lilv_new_uri(world, LV2_CORE__InputPort);
        LilvNode* enabled = lilv_new_uri(world, LV2_CORE__enabled);
        EXPECT_EQ(lilv_plugin_get_port_by_designation(plugin, input, enabled), nullptr);
        lilv_node_free(input);
        lilv_node_free(enabled);
        ASSERT_EQ(lilv_plugin_get_num_ports(plugin), static_cast<uint32_t>(audio + 2 * product.channels));
        for (int i = 0; i < plug->NParams(); ++i) {
            const IFxParam& param = *plug->GetParam(i);
            SCOPED_TRACE(param.ParamNameText());
            const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
            EXPECT_EQ(Text(lilv_port_get_symbol(plugin, port)), Product::kLv2ParamSymbols[i]);
            LilvNode* name = lilv_port_get_name(plugin, port);
            EXPECT_EQ(Text(name), param.ParamNameText());
            lilv_node_free(name);
            LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
            lilv_port_get_range(plugin, port, &def, &min, &max);
            ASSERT_TRUE(def && min && max);
            EXPECT_FLOAT_EQ(lilv_node_as_float(def), param.Default());
            EXPECT_FLOAT_EQ(lilv_node_as_float(min), param.Min());
            EXPECT_FLOAT_EQ(lilv_node_as_float(max), param.Max());
            for (LilvNode* node : {def, min, max}) lilv_node_free(node);
            EXPECT_EQ(Has(world, plugin, port, LV2_CORE__toggled), param.Kind() == kParamBool);
        }
        for (int c = 0; c < product.channels; ++c) {
            EXPECT_EQ(Text(lilv_port_get_symbol(plugin, lilv_plugin_get_port_by_index(plugin, audio + c))),
                      product.inputs[c]);
            EXPECT_EQ(
                Text(lilv_port_get_symbol(plugin, lilv_plugin_get_port_by_index(plugin, audio + product.channels + c))),
                product.outputs[c]);
        }
    }
    lilv_node_free(bundle);
    lilv_world_free(world);
}
