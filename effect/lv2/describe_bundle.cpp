// The build's Turtle generator: writes the bundle's manifest.ttl and TavrelZel4.ttl from an
// instance of the plug-in class, so the descriptions hosts read show the very parameter table the
// modules serve (names, ranges, defaults, units, switches and integer steps).
//   tz_lv2_describe BUNDLE [--ui]     (--ui: the bundle holds the UI module too)
// Status 1, with a line on stderr, when an instance could not be made or a file not written.
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "effect/lv2/plugin_factory.h"
#include "effect/product.h"

namespace {
constexpr const char* kPrefixes =
    "# Written by the build from the plug-in class (effect/lv2/describe_bundle.cpp): not to be edited.\n\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";
constexpr const char* kModule = "TavrelZel4.so";
constexpr const char* kUiModule = "TavrelZel4_ui.so";
constexpr const char* kDescription = "TavrelZel4.ttl";
constexpr const char* kProject = "urn:tavrelzel4";

// A Turtle string literal.
std::string Quoted(const char* text) {
    std::string out = "\"";
    for (; *text; ++text) {
        if (*text == '"' || *text == '\\') out += '\\';
        out += *text;
    }
    return out + '"';
}

// A decimal literal, so that every value reads as a number with a fraction.
std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", v);
    std::string out = text;
    return out.find_first_of(".e") == std::string::npos ? out + ".0" : out;
}

// The units vocabulary's unit for a parameter label, or null for none.
const char* UnitFor(const char* label) {
    static const struct {
        const char *label, *unit;
    } units[] = {{"%", "units:pc"}, {"dB", "units:db"}, {"Hz", "units:hz"}, {"ms", "units:ms"}, {"s", "units:s"}};
    for (const auto& u : units)
        if (std::strcmp(label, u.label) == 0) return u.unit;
    return nullptr;
}

void ControlPort(std::ostream& out, int index, const IFxParam& param) {
    out << "[\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " << index << " ;\n        lv2:symbol "
        << Quoted(Product::kLv2ParamSymbols[index]) << " ;\n        lv2:name " << Quoted(param.ParamNameText())
        << " ;\n        lv2:default " << Number(param.Default()) << " ;\n        lv2:minimum " << Number(param.Min())
        << " ;\n        lv2:maximum " << Number(param.Max());
    if (param.Kind() == kParamBool)
        out << " ;\n        lv2:portProperty lv2:toggled , lv2:integer";
    else if (param.Kind() == kParamInt || param.Kind() == kParamList)
        out << " ;\n        lv2:portProperty lv2:integer" << (param.Kind() == kParamList ? " , lv2:enumeration" : "");
    for (int k = 0; k < param.GetValueTextCount(); ++k) {
        const IValueText* entry = param.GetValueTextEntry(k);
        out << (k == 0 ? " ;\n        lv2:scalePoint " : " , ") << "[ rdfs:label " << Quoted(entry->text)
            << " ; rdf:value " << Number(entry->value) << " ]";
    }
    if (const char* unit = UnitFor(param.ParamLabelText())) out << " ;\n        units:unit " << unit;
    out << "\n    ]";
}

void LatencyPort(std::ostream& out, int index) {
    out << "[\n        a lv2:OutputPort , lv2:ControlPort ;\n        lv2:index " << index << " ;\n        lv2:symbol "
        << Quoted(Product::kLv2LatencySymbol) << " ;\n        lv2:name \"Latency\" ;\n"
        << "        lv2:portProperty lv2:reportsLatency , lv2:integer ;\n        lv2:designation lv2:latency ;\n"
        << "        units:unit units:frame\n    ]";
}

// Channel c of channels: "Input", or "Input L" and "Input R".
void AudioPort(std::ostream& out, int index, const char* symbol, bool input, int c, int channels) {
    std::string name = input ? "Input" : "Output";
    if (channels == 2) name += c == 0 ? " L" : " R";
    out << "[\n        a " << (input ? "lv2:InputPort" : "lv2:OutputPort") << " , lv2:AudioPort ;\n        lv2:index "
        << index << " ;\n        lv2:symbol " << Quoted(symbol) << " ;\n        lv2:name " << Quoted(name.c_str())
        << "\n    ]";
}

void Plugin(std::ostream& out, const Product::Lv2Plugin& plugin, IFxLV2& plug, bool withUi) {
    const int version = Product::kVersion;
    out << "<" << plugin.uri << ">\n    a lv2:Plugin , lv2:DistortionPlugin ;\n    doap:name " << Quoted(plugin.name)
        << " ;\n    lv2:project <" << kProject << "> ;\n    lv2:minorVersion " << (version >> 8 & 0xff)
        << " ;\n    lv2:microVersion " << (version & 0xff)
        << " ;\n    lv2:requiredFeature urid:map ;\n    lv2:optionalFeature lv2:hardRTCapable ;\n"
        << "    lv2:extensionData state:interface ;\n";
    if (withUi) out << "    ui:ui <" << Product::kLv2UiUri << "> ;\n";
    out << "    lv2:port ";
    int index = 0;
    for (; index < plug.NParams(); ++index) {
        ControlPort(out, index, *plug.GetParam(index));
        out << " , ";
    }
    if (plug.HasLatencyPort()) {
        LatencyPort(out, index++);
        out << " , ";
    }
    for (int c = 0; c < plugin.channels; ++c, ++index) {
        AudioPort(out, index, plugin.inputs[c], true, c, plugin.channels);
        out << " , ";
    }
    for (int c = 0; c < plugin.channels; ++c, ++index) {
        AudioPort(out, index, plugin.outputs[c], false, c, plugin.channels);
        out << (c + 1 < plugin.channels ? " , " : " .\n\n");
    }
}

// The project both plug-ins belong to, with its maker.
void Project(std::ostream& out) {
    out << "<" << kProject << ">\n    a doap:Project ;\n    doap:name " << Quoted(Product::kName)
        << " ;\n    doap:maintainer [ a foaf:Person ; foaf:name " << Quoted(Product::kVendor) << " ; foaf:homepage <"
        << Product::kUrl << "> ; foaf:mbox <mailto:" << Product::kEmail << "> ] .\n\n";
}

void Ui(std::ostream& out) {
    out << "<" << Product::kLv2UiUri << ">\n    a ui:X11UI ;\n    ui:binary <" << kUiModule
        << "> ;\n    lv2:requiredFeature ui:parent , urid:map ;\n"
        << "    lv2:optionalFeature ui:resize , ui:idleInterface , ui:touch ;\n"
        << "    lv2:extensionData ui:idleInterface .\n";
}

std::string Manifest(bool withUi) {
    std::ostringstream out;
    out << kPrefixes;
    for (const Product::Lv2Plugin& plugin : Product::kLv2Plugins)
        out << "<" << plugin.uri << ">\n    a lv2:Plugin ;\n    lv2:binary <" << kModule << "> ;\n    rdfs:seeAlso <"
            << kDescription << "> .\n\n";
    if (withUi)
        out << "<" << Product::kLv2UiUri << ">\n    a ui:X11UI ;\n    ui:binary <" << kUiModule
            << "> ;\n    rdfs:seeAlso <" << kDescription << "> .\n";
    return out.str();
}

bool WriteFile(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (argc == 3 && std::strcmp(argv[2], "--ui") != 0) || argc > 3) {
        std::fprintf(stderr, "usage: %s BUNDLE [--ui]\n", argv[0]);
        return 1;
    }
    const bool withUi = argc == 3;
    std::unique_ptr<IFxLV2> plug(CreateLV2Plugin());
    if (!plug) {
        std::fprintf(stderr, "%s: no instance of the plug-in could be made\n", argv[0]);
        return 1;
    }
    std::ostringstream description;
    description << kPrefixes;
    Project(description);
    for (const Product::Lv2Plugin& plugin : Product::kLv2Plugins) Plugin(description, plugin, *plug, withUi);
    if (withUi) Ui(description);
    const std::string bundle = std::string(argv[1]) + "/";
    for (const auto& [name, text] : {std::pair{std::string("manifest.ttl"), Manifest(withUi)},
                                     std::pair{std::string(kDescription), description.str()}}) {
        if (!WriteFile(bundle + name, text)) {
            std::fprintf(stderr, "%s: could not write %s%s\n", argv[0], bundle.c_str(), name.c_str());
            return 1;
        }
    }
    return 0;
}
